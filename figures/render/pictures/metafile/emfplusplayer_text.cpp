// Strings of the newer metafile model: laid out in a rectangle, or glyph by glyph at the
// positions the record gives.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/text/facesubstitution.h"
#include "figures/render/text/fontmapping.h"
#include "figures/render/text/symbolcharset.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace figures {

using namespace emfplus;

namespace {

// Strings are laid out at a fixed pixel size, then scaled to the em size, so that small
// world units still give hinted glyphs of a sensible size.
constexpr double kLayoutPixels = 100;
// Glyphs larger than this many output pixels along either axis, or stretched or sheared
// more than this many times one way than the other, are no text a picture shows, and the
// rasteriser's glyph cache cannot hold them.
constexpr double kMaxTextPixels = 8192;
constexpr double kMaxTextDistortion = 16;

// String format flags.
constexpr uint32_t kRightToLeft = 0x0001;
constexpr uint32_t kVertical = 0x0002;
constexpr uint32_t kNoWrap = 0x1000;
constexpr uint32_t kNoClip = 0x4000; // lines may reach beyond the box

constexpr uint32_t kCmapLookup = 0x0001;      // the glyphs are characters
constexpr uint32_t kRealizedAdvance = 0x0004; // only the first position counts

QString ReadUtf16(RecordReader& r, uint32_t length)
{
    QString text;
    text.reserve(qsizetype(length));
    for (uint32_t i = 0; i < length; ++i) {
        text += QChar(char16_t(r.U16()));
    }
    return text;
}

// The face of font at layout pixels, and how its characters are coded.
QFont LayoutFont(const EmfPlusPlayer::Font& font, SymbolEncoding& encoding)
{
    const FaceSubstitute face = SubstituteFace(font.family, 0);
    QFont out;
    ApplyFace(out, face, (font.style & 1) ? 700 : 400);
    out.setItalic(font.style & 2);
    out.setUnderline(font.style & 4);
    out.setStrikeOut(font.style & 8);
    out.setPixelSize(int(kLayoutPixels));
    encoding = face.encoding;
    return out;
}

// The pen that paints glyphs with brush, whose world units are k layout pixels.
QPen TextPen(const EmfPlusPlayer::Brush& brush, double k)
{
    QBrush scaled = brush.brush;
    scaled.setTransform(scaled.transform() * QTransform::fromScale(1 / k, 1 / k));
    return QPen(scaled, 0);
}

} // namespace

struct EmfPlusPlayer::TextFrame {
    QTransform toOutput;
    double k = 1;
};

std::optional<EmfPlusPlayer::TextFrame> EmfPlusPlayer::TextFrameFor(const Font& font,
                                                                    const QTransform& extra) const
{
    // An em in world units: as given in world units, else through the page's scale.
    const double pageScale = page_.m11();
    const double em = font.unit == 0 || !(pageScale > 0)
                          ? font.emSize
                          : font.emSize * UnitScale(font.unit) * canvas_.DpiY() / dpiY_ / pageScale;
    const double k = em / kLayoutPixels;
    if (!(k > 0) || !Finite(k)) {
        return std::nullopt;
    }
    const QTransform toOutput = QTransform::fromScale(k, k) * extra * ToPainter();
    const double across = std::hypot(toOutput.m11(), toOutput.m12()) * kLayoutPixels;
    const double down = std::hypot(toOutput.m21(), toOutput.m22()) * kLayoutPixels;
    if (!(across > 0.5 && down > 0.5 && across < kMaxTextPixels && down < kMaxTextPixels)) {
        return std::nullopt;
    }
    // The area of an em square against what its two sides would span at right angles.
    const double area = std::abs(toOutput.determinant()) * kLayoutPixels * kLayoutPixels;
    if (!(across < kMaxTextDistortion * down && down < kMaxTextDistortion * across &&
          across * down < kMaxTextDistortion * area)) {
        return std::nullopt;
    }
    return TextFrame{toOutput, k};
}

void EmfPlusPlayer::DrawString(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> brush = BrushOf(flags, r.U32());
    const uint32_t formatId = r.U32();
    const uint32_t length = r.U32();
    const QRectF layout = ReadRect(r, false);
    const Font* font = FindAs<Font>(flags & 0xFF);
    if (!brush || font == nullptr || !Finite(layout) || !r.Has(length, 2)) {
        return;
    }
    const std::optional<TextFrame> frame = TextFrameFor(*font, QTransform());
    if (!frame) {
        return;
    }
    SymbolEncoding encoding = SymbolEncoding::None;
    const QFont qfont = LayoutFont(*font, encoding);
    const QString text = SymbolTextToUnicode(encoding, ReadUtf16(r, length));
    const StringFormat* format = FindAs<StringFormat>(formatId);
    const StringFormat layoutFormat = format != nullptr ? *format : StringFormat{};
    Drawing drawing(*this);
    QPainter& painter = drawing.painter;
    painter.setWorldTransform(frame->toOutput);
    painter.setFont(qfont);
    painter.setPen(TextPen(*brush, frame->k));
    const QRectF box(layout.topLeft() / frame->k, layout.size() / frame->k);
    if (layout.width() > 0 && layout.height() > 0) {
        DrawInBox(painter, box, text, layoutFormat);
    } else {
        // Without a box the string starts at the box's corner: runs from right to left end
        // there, vertical ones run down from it with their tops to the right.
        const bool rightToLeft = layoutFormat.flags & kRightToLeft;
        const QFontMetricsF metrics(qfont);
        painter.translate(box.topLeft());
        if (layoutFormat.flags & kVertical) {
            painter.rotate(90);
        }
        painter.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        const double x = rightToLeft ? -metrics.horizontalAdvance(text) : 0;
        painter.drawText(QPointF(x, metrics.ascent()), text);
    }
}

// Lays text out in box (layout pixels): wrapped at words and cut at the box's edges unless
// the format says not to, lines running right to left, or down the page with each new
// line to the left of the one before.
void EmfPlusPlayer::DrawInBox(QPainter& painter, const QRectF& box, const QString& text,
                              const StringFormat& format)
{
    const int h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const int v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    QRectF lines = box;
    if (format.flags & kVertical) {
        // Turned a quarter clockwise about the box's top right corner: lines run down it,
        // and their tops face right.
        painter.translate(box.topRight());
        painter.rotate(90);
        lines = QRectF(0, 0, box.height(), box.width());
    }
    int flags = h[std::min(format.alignment, 2u)] | v[std::min(format.lineAlignment, 2u)];
    flags |= (format.flags & kNoWrap) ? 0 : Qt::TextWordWrap;
    flags |= (format.flags & kNoClip) ? Qt::TextDontClip : 0;
    painter.setLayoutDirection((format.flags & kRightToLeft) ? Qt::RightToLeft : Qt::LeftToRight);
    painter.drawText(lines, flags, text);
}

// Glyphs at their own positions (baseline origins in world units), as characters or as
// glyph numbers of the record's face. A glyph number means a letter only in the face that
// numbered it, so such strings are drawn only when that face is installed under its own
// name; a stand-in face would show other letters.
void EmfPlusPlayer::DrawDriverString(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> brush = BrushOf(flags, r.U32());
    const uint32_t options = r.U32();
    const uint32_t matrixPresent = r.U32();
    const uint32_t count = r.U32();
    const Font* font = FindAs<Font>(flags & 0xFF);
    if (!r.Ok() || !brush || font == nullptr || count == 0 || !r.Has(count, 2 + 8)) {
        return;
    }
    std::vector<uint16_t> glyphs(count);
    for (uint16_t& glyph : glyphs) {
        glyph = r.U16();
    }
    const std::optional<QPolygonF> positions = ReadPoints(r, count, false);
    const QTransform extra = matrixPresent != 0 ? ReadMatrix(r) : QTransform();
    const std::optional<TextFrame> frame = TextFrameFor(*font, extra);
    if (!positions || !r.Ok() || !frame) {
        return;
    }
    SymbolEncoding encoding = SymbolEncoding::None;
    const QFont qfont = LayoutFont(*font, encoding);
    const double k = frame->k;
    Drawing drawing(*this);
    QPainter& painter = drawing.painter;
    painter.setWorldTransform(frame->toOutput);
    painter.setPen(TextPen(*brush, k));
    if (options & kCmapLookup) {
        QString text;
        for (const uint16_t glyph : glyphs) {
            text += QChar(char16_t(glyph));
        }
        text = SymbolTextToUnicode(encoding, text);
        painter.setFont(qfont);
        if (options & kRealizedAdvance) {
            painter.drawText((*positions)[0] / k, text);
            return;
        }
        // One cell a code unit; a surrogate pair is drawn whole at its first position.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            painter.drawText((*positions)[i] / k, text.mid(i, n));
            i += n - 1;
        }
        return;
    }
    const QRawFont raw = QRawFont::fromFont(qfont);
    if (!raw.isValid() || raw.familyName().compare(font->family, Qt::CaseInsensitive) != 0) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
    QList<QPointF> at;
    at.reserve(qsizetype(count));
    for (qsizetype i = 0; i < qsizetype(count); ++i) {
        at.append((options & kRealizedAdvance) && i > 0 ? at.back() : (*positions)[i] / k);
    }
    if (options & kRealizedAdvance) {
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(run.glyphIndexes());
        for (qsizetype i = 1; i < at.size(); ++i) {
            at[i] = at[i - 1] + advances[i - 1];
        }
    }
    run.setPositions(at);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

} // namespace figures
