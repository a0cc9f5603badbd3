// Text output of the metafile canvas.
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include "figures/render/text/fontmapping.h"
#include "figures/render/text/symbolcharset.h"
#include "figures/render/gbk.h"

#include <QFontMetricsF>

#include <cmath>

namespace figures {

namespace {

// Characters larger than this many output pixels are no text a picture shows.
constexpr double kMaxTextPixels = 8192;
// A font record of height 0 asks for the device's default size: 12 points.
constexpr double kDefaultTextInches = 12.0 / 72.0;

// Whether t only turns, moves and scales evenly (mirrored or not), within a hundredth.
bool Similarity(const QTransform& t)
{
    const double scale = std::sqrt(std::abs(t.determinant()));
    const double tolerance = 0.01 * scale;
    const bool turned = std::abs(t.m11() - t.m22()) + std::abs(t.m12() + t.m21()) <= tolerance;
    const bool mirrored = std::abs(t.m11() + t.m22()) + std::abs(t.m12() - t.m21()) <= tolerance;
    return scale > 0 && (turned || mirrored);
}

// The frame text is laid out in: logical units of the text to reference-device units,
// its origin at the reference point, its y axis down the page even where the mapping
// mirrors, turned by the escapement.
QTransform TextFrame(const QTransform& m, QPointF origin, int32_t escapement, bool flipped)
{
    QPointF down(m.m21(), m.m22());
    if (flipped) {
        down = -down;
    }
    QTransform frame(m.m11(), m.m12(), down.x(), down.y(), origin.x(), origin.y());
    const int32_t turn = escapement % 3600; // whole turns change nothing
    if (turn != 0) {
        frame = QTransform().rotate(-turn / 10.0) * frame;
    }
    return frame;
}

// The Western code page's characters on 0x80..0x9F, where it differs from Latin-1:
// quotation marks, dashes, the euro sign and a few letters. 0 keeps the code.
constexpr char16_t kWesternHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
constexpr uint8_t kAnsiCharset = 0;

QChar WesternChar(uint8_t b)
{
    if (b >= 0x80 && b <= 0x9F && kWesternHigh[b - 0x80] != 0) {
        return QChar(kWesternHigh[b - 0x80]);
    }
    return QChar(char16_t(b));
}

} // namespace

std::vector<TextCell> AnsiTextCells(std::span<const uint8_t> bytes, uint8_t charSet,
                                    std::span<const QPointF> advances)
{
    std::vector<TextCell> cells;
    cells.reserve(bytes.size());
    auto advance = [&](size_t i) { return i < advances.size() ? advances[i] : QPointF(); };
    for (size_t i = 0; i < bytes.size(); ++i) {
        TextCell cell;
        const uint8_t b = bytes[i];
        QPointF step = advance(i);
        if (charSet == kGb2312Charset && b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
            cell.text = FromGbk(std::string_view(reinterpret_cast<const char*>(&bytes[i]), 2));
            step += advance(i + 1);
            ++i;
        } else if (charSet == kAnsiCharset && b != 0) {
            cell.text = WesternChar(b);
        } else if (b != 0) {
            cell.text = QChar(char16_t(b));
        }
        cell.dx = step.x();
        cell.dy = step.y();
        cells.push_back(cell);
    }
    return cells;
}

std::vector<TextCell> WideTextCells(std::span<const uint8_t> utf16,
                                    std::span<const QPointF> advances)
{
    const size_t units = utf16.size() / 2;
    auto unit = [&](size_t i) { return char16_t(utf16[2 * i] | utf16[2 * i + 1] << 8); };
    auto advance = [&](size_t i) { return i < advances.size() ? advances[i] : QPointF(); };
    std::vector<TextCell> cells;
    cells.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        TextCell cell;
        const char16_t u = unit(i);
        QPointF step = advance(i);
        if (QChar::isHighSurrogate(u) && i + 1 < units && QChar::isLowSurrogate(unit(i + 1))) {
            const QChar pair[2] = {QChar(u), QChar(unit(i + 1))};
            cell.text = QString(pair, 2);
            step += advance(i + 1);
            ++i;
        } else if (u != 0) {
            cell.text = QChar(u);
        }
        cell.dx = step.x();
        cell.dy = step.y();
        cells.push_back(cell);
    }
    return cells;
}

struct MetafileCanvas::TextFont {
    QFont font;
    SymbolEncoding encoding = SymbolEncoding::None;
    double pixelsPerLogical = 1; // font pixels per logical unit
    double ascent = 0;           // font pixels
    double descent = 0;
};

// The selected font for text drawn through toOutput (text-frame logical units to output
// pixels), sized in whole pixels of the output so that glyphs are hinted for where they
// land; false when the text would be too small to see or absurdly large.
bool MetafileCanvas::PrepareFont(const QTransform& toOutput, TextFont& out)
{
    const GdiFont& f = state_.font;
    const double outScale = std::sqrt(std::abs(toOutput.determinant()));
    if (!std::isfinite(outScale) || outScale <= 0) {
        return false;
    }
    double em = std::abs(double(f.height));
    if (f.height == 0) {
        const QTransform m = LogicalToDevice();
        em = dpiY_ * kDefaultTextInches / std::hypot(m.m21(), m.m22());
    }
    if (!std::isfinite(em) || em * outScale > kMaxTextPixels) {
        return false;
    }
    const FaceSubstitute face = SubstituteFace(f.face, f.charSet);
    QFont font;
    ApplyFace(font, face, f.weight);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    int pixels = int(std::max(1L, std::lround(em * outScale)));
    font.setPixelSize(pixels);
    if (f.height > 0) {
        // A positive height is the cell, ascent plus descent; the em is smaller.
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) {
            em = em * pixels / cell;
            pixels = int(std::max(1L, std::lround(em * outScale)));
            font.setPixelSize(pixels);
        }
    }
    if (em <= 0) {
        return false;
    }
    out.pixelsPerLogical = pixels / em;
    // A width asks for an average character that wide.
    ApplyWidth(font, face, std::abs(double(f.width)) * out.pixelsPerLogical);
    const QFontMetricsF metrics(font);
    out.font = font;
    out.encoding = face.encoding;
    out.ascent = metrics.ascent();
    out.descent = metrics.descent();
    return true;
}

void MetafileCanvas::FillDeviceRect(const QRectF& logical, const QColor& colour)
{
    QPainterPath rect;
    rect.addRect(logical.normalized());
    const QPainterPath device = LogicalToDevice().map(rect);
    if (!Drawable(device)) {
        return;
    }
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    painter_.fillPath(device, colour);
    painter_.restore();
}

// Text is laid out in a frame whose x axis is the logical x axis and whose y axis points
// down the device, so that a mapping that turns the y axis over never mirrors glyphs; the
// escapement turns the frame. Lengths in the frame are logical units.
// A string laid out in font pixels: where each cell starts from the string's start, the
// whole text, its width, and the point the text alignment puts at the reference.
struct MetafileCanvas::TextRun {
    std::vector<QPointF> at;
    QString whole;
    double width = 0;
    QPointF start;
};

MetafileCanvas::TextRun MetafileCanvas::LayOutText(const TextRequest& request, const TextFont& tf,
                                                   bool flipped) const
{
    const double k = tf.pixelsPerLogical;
    const QFontMetricsF metrics(tf.font);
    TextRun run;
    run.at.reserve(request.cells.size());
    QPointF pen(0, 0);
    for (const TextCell& cell : request.cells) {
        run.at.push_back(pen);
        run.whole += cell.text;
        if (request.hasAdvances) {
            pen += QPointF(cell.dx * k, (flipped ? -cell.dy : cell.dy) * k);
        } else {
            pen.rx() += metrics.horizontalAdvance(cell.text) + state_.charExtra * k;
        }
    }
    run.width = pen.x();
    double x0 = 0;
    switch (state_.textAlign & kTaHorizontalMask) {
    case kTaCenter: x0 = -run.width / 2; break;
    case kTaRight: x0 = -run.width; break;
    default: break;
    }
    double baseline = tf.ascent;
    switch (state_.textAlign & kTaVerticalMask) {
    case kTaBaseline: baseline = 0; break;
    case kTaBottom: baseline = -tf.descent; break;
    default: break;
    }
    run.start = QPointF(x0, baseline);
    return run;
}

QPainterPath MetafileCanvas::GlyphOutlines(const TextRequest& request, const QFont& font,
                                           const TextRun& run) const
{
    QPainterPath glyphs;
    for (size_t i = 0; i < request.cells.size(); ++i) {
        glyphs.addText(run.start + run.at[i], font, request.cells[i].text);
    }
    return glyphs;
}

bool MetafileCanvas::PaintText(const TextRequest& request, const TextFont& tf, const TextRun& run,
                               const QTransform& toDevice, const QTransform& logicalToDevice)
{
    QPainterPath extent;
    extent.addRect(
        QRectF(run.start.x(), run.start.y() - tf.ascent, run.width, tf.ascent + tf.descent));
    if (!Drawable(toDevice.map(extent))) {
        return false;
    }
    painter_.save();
    if (request.options & kEtoClipped) {
        QPainterPath box;
        box.addRect(request.rect.normalized());
        painter_.setWorldTransform(deviceTransform_);
        painter_.setClipPath(logicalToDevice.map(box), Qt::IntersectClip);
    }
    painter_.setWorldTransform(toDevice * deviceTransform_);
    if (state_.bkMode == kBkOpaque) {
        painter_.fillRect(extent.boundingRect(), state_.bkColour);
    }
    if (Similarity(toDevice * deviceTransform_)) {
        painter_.setFont(tf.font);
        painter_.setPen(state_.textColour);
        if (!request.hasAdvances && state_.charExtra == 0) {
            painter_.drawText(run.start, run.whole);
        } else {
            for (size_t i = 0; i < request.cells.size(); ++i) {
                painter_.drawText(run.start + run.at[i], request.cells[i].text);
            }
        }
    } else {
        // Glyphs squeezed or sheared by the mapping are filled as outlines: the
        // rasteriser's glyph cache is made for glyphs that are only turned.
        painter_.fillPath(GlyphOutlines(request, tf.font, run), state_.textColour);
    }
    painter_.restore();
    return true;
}

void MetafileCanvas::DrawText(const TextRequest& request)
{
    const bool updateCp = (state_.textAlign & kTaUpdateCp) != 0;
    const QPointF reference = updateCp ? state_.currentPos : request.reference;
    if ((request.options & kEtoOpaque) && !inBracket_) {
        FillDeviceRect(request.rect, state_.bkColour);
    }
    if (request.cells.empty() || (request.options & kEtoGlyphIndex)) {
        // Glyph numbers belong to a font we do not have; the substitute would show others.
        return;
    }
    const QTransform m = LogicalToDevice();
    const bool flipped = m.determinant() < 0;
    const QTransform frame = TextFrame(m, m.map(reference), state_.font.escapement, flipped);
    TextFont tf;
    if (!PrepareFont(frame * deviceTransform_, tf)) {
        return;
    }
    if (tf.encoding != SymbolEncoding::None) {
        // The codes of a symbol font become the characters they show; each keeps its
        // cell, so the record's advances still apply.
        TextRequest shown = request;
        for (TextCell& cell : shown.cells) {
            cell.text = SymbolTextToUnicode(tf.encoding, cell.text);
        }
        DrawLaidOut(shown, tf, frame, m, flipped, updateCp);
        return;
    }
    DrawLaidOut(request, tf, frame, m, flipped, updateCp);
}

void MetafileCanvas::DrawLaidOut(const TextRequest& request, const TextFont& tf,
                                 const QTransform& frame, const QTransform& m, bool flipped,
                                 bool updateCp)
{
    const TextRun run = LayOutText(request, tf, flipped);
    const double k = tf.pixelsPerLogical;
    const QTransform toDevice = QTransform::fromScale(1 / k, 1 / k) * frame;
    if (inBracket_) {
        // Text in a path adds the outlines of its glyphs.
        path_.addPath(toDevice.map(GlyphOutlines(request, tf.font, run)));
        figureOpen_ = false;
    } else if (!PaintText(request, tf, run, toDevice, m)) {
        return;
    }
    if (updateCp) {
        // The current position moves past the string along the logical x axis.
        const uint32_t horizontal = state_.textAlign & kTaHorizontalMask;
        if (horizontal == kTaRight) {
            state_.currentPos.rx() -= run.width / k;
        } else if (horizontal != kTaCenter) {
            state_.currentPos.rx() += run.width / k;
        }
    }
}

} // namespace figures
