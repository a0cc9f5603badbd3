// The canvas's pens, brushes and binary raster operations: the selected objects as Qt
// pens and brushes for the device the picture lands on.
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include <algorithm>
#include <cmath>

namespace figures {

namespace {

// Dash and gap lengths of the one-pixel pens, in device pixels.
const QList<qreal> kCosmeticDash{18, 6};
const QList<qreal> kCosmeticDot{3, 3};
const QList<qreal> kCosmeticDashDot{9, 6, 3, 6};
const QList<qreal> kCosmeticDashDotDot{9, 3, 3, 3, 3, 3};
const QList<qreal> kCosmeticAlternate{1, 1};

// One pixel of whatever device the picture lands on, dashed in device pixels.
void MakeCosmetic(QPen& out, uint32_t style)
{
    out.setWidth(0);
    out.setCapStyle(Qt::FlatCap);
    switch (style) {
    case kPsDash: out.setDashPattern(kCosmeticDash); break;
    case kPsDot: out.setDashPattern(kCosmeticDot); break;
    case kPsDashDot: out.setDashPattern(kCosmeticDashDot); break;
    case kPsDashDotDot: out.setDashPattern(kCosmeticDashDotDot); break;
    case kPsAlternate: out.setDashPattern(kCosmeticAlternate); break;
    default: break;
    }
}

// The user's dash and gap lengths in logical units as multiples of the width; a pattern
// of nothing but zeros draws solid.
void SetUserDashes(QPen& out, const GdiPen& pen)
{
    QList<qreal> dashes;
    double total = 0;
    for (double d : pen.userDashes) {
        const double w = std::clamp(d / pen.width, 0.0, 1e4);
        dashes.append(w);
        total += w;
    }
    if (dashes.size() % 2) {
        dashes += dashes;
    }
    if (total > 1e-3) {
        out.setDashPattern(dashes);
    }
}

// The end caps, joins and line style of a wide extended pen.
void SetExtendedStyle(QPen& out, const GdiPen& pen)
{
    switch (pen.style & kPsEndCapMask) {
    case kPsEndCapSquare: out.setCapStyle(Qt::SquareCap); break;
    case kPsEndCapFlat: out.setCapStyle(Qt::FlatCap); break;
    default: out.setCapStyle(Qt::RoundCap); break;
    }
    switch (pen.style & kPsJoinMask) {
    case kPsJoinBevel: out.setJoinStyle(Qt::BevelJoin); break;
    case kPsJoinMiter: out.setJoinStyle(Qt::MiterJoin); break;
    default: out.setJoinStyle(Qt::RoundJoin); break;
    }
    switch (pen.style & kPsStyleMask) {
    case kPsDash: out.setStyle(Qt::DashLine); break;
    case kPsDot: out.setStyle(Qt::DotLine); break;
    case kPsDashDot: out.setStyle(Qt::DashDotLine); break;
    case kPsDashDotDot: out.setStyle(Qt::DashDotDotLine); break;
    case kPsUserStyle: SetUserDashes(out, pen); break;
    default: break;
    }
}

} // namespace

QPen MetafileCanvas::MakePen() const
{
    const GdiPen& pen = state_.pen;
    const uint32_t style = pen.style & kPsStyleMask;
    if (style == kPsNull) {
        return Qt::NoPen;
    }
    const QTransform m = LogicalToDevice();
    // Widths are lengths along the x axis of the logical space.
    const double deviceWidth = pen.width * std::hypot(m.m11(), m.m12());
    QPen out(state_.rop2 == kR2White   ? QColor(Qt::white)
             : state_.rop2 == kR2Black ? QColor(Qt::black)
                                       : pen.colour);
    const bool cosmetic =
        !std::isfinite(deviceWidth) || deviceWidth <= 1 || deviceWidth * outputScale_ < 1;
    if (cosmetic) {
        MakeCosmetic(out, style);
        return out;
    }
    // As wide as the largest picture of 16-bit coordinates; QPen takes no wider pens.
    constexpr double kMaxPenWidth = 32767;
    out.setWidthF(std::min(deviceWidth, kMaxPenWidth));
    out.setMiterLimit(state_.miterLimit);
    if (!pen.extended) {
        // The older pens draw round ends and joins, and solid once wider than a pixel.
        out.setCapStyle(Qt::RoundCap);
        out.setJoinStyle(Qt::RoundJoin);
        return out;
    }
    SetExtendedStyle(out, pen);
    return out;
}

// A monochrome pattern in the colours current now: black pixels in the text colour, white
// ones in the background colour. Patterns up to a size are kept, a few at a time, so that
// fills with one brush in colours seen before copy nothing.
QImage MetafileCanvas::Recoloured(const QImage& pattern) const
{
    constexpr size_t kKept = 16;
    constexpr int64_t kMaxKeptPixels = 256 * 256;
    const QRgb text = state_.textColour.rgb();
    const QRgb background = state_.bkColour.rgb();
    for (const RecolouredPattern& kept : recoloured_) {
        if (kept.pattern == pattern.cacheKey() && kept.text == text &&
            kept.background == background) {
            return kept.image;
        }
    }
    QImage out = pattern.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            row[x] = (row[x] & 0x00FFFFFF) == 0 ? text : background;
        }
    }
    if (int64_t(out.width()) * out.height() <= kMaxKeptPixels) {
        if (recoloured_.size() >= kKept) {
            recoloured_.erase(recoloured_.begin());
        }
        recoloured_.push_back({pattern.cacheKey(), text, background, out});
    }
    return out;
}

QBrush MetafileCanvas::MakeBrush(const GdiBrush& brush) const
{
    const QColor colour = state_.rop2 == kR2White   ? QColor(Qt::white)
                          : state_.rop2 == kR2Black ? QColor(Qt::black)
                                                    : brush.colour;
    switch (brush.kind) {
    case GdiBrush::Kind::Null: return Qt::NoBrush;
    case GdiBrush::Kind::Solid: return colour;
    case GdiBrush::Kind::Hatched: {
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                      Qt::FDiagPattern, Qt::BDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        const int32_t hatch = brush.hatch >= 0 && brush.hatch < 6 ? brush.hatch : 0;
        return QBrush(colour, kHatches[hatch]);
    }
    case GdiBrush::Kind::Pattern: {
        if (brush.pattern.isNull()) {
            return colour;
        }
        QBrush out(brush.monochrome ? Recoloured(brush.pattern) : brush.pattern);
        out.setTransform(QTransform::fromTranslate(state_.brushOrg.x(), state_.brushOrg.y()));
        return out;
    }
    }
    return Qt::NoBrush;
}

// Sets the painter's combination of pixels for the binary raster operation; false when
// the operation draws nothing.
bool MetafileCanvas::BeginRasterOp(int32_t rop2)
{
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (rop2 == kR2Nop) {
        return false;
    }
    if (!rasterOps_) {
        return true;
    }
    switch (rop2) {
    case kR2Not: painter_.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case kR2XorPen: painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case kR2MaskPen: painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case kR2MergePen: painter_.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    default: break;
    }
    return true;
}

} // namespace figures
