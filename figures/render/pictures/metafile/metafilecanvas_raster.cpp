// Bitmaps, raster operations, gradients and regions of the metafile canvas.
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include <QLinearGradient>

#include <cmath>

namespace figures {

namespace {

// The ternary raster operation's index: the result bit for every combination of pattern,
// source and destination bits.
uint32_t RopCode(uint32_t rop)
{
    return (rop >> 16) & 0xFF;
}

bool UsesSource(uint32_t code)
{
    return ((code >> 2) & 0x33) != (code & 0x33);
}

bool UsesPattern(uint32_t code)
{
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// Source operations the painter can combine pixel by pixel.
bool SourceComposition(uint32_t code, QPainter::CompositionMode& mode)
{
    switch (code) {
    case 0xCC: mode = QPainter::CompositionMode_SourceOver; return true;    // S
    case 0xEE: mode = QPainter::RasterOp_SourceOrDestination; return true;  // S | D
    case 0x88: mode = QPainter::RasterOp_SourceAndDestination; return true; // S & D
    case 0x66: mode = QPainter::RasterOp_SourceXorDestination; return true; // S ^ D
    case 0x44: mode = QPainter::RasterOp_SourceAndNotDestination; return true;
    case 0x33: mode = QPainter::RasterOp_NotSource; return true;
    case 0x11: mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
    case 0xBB: mode = QPainter::RasterOp_NotSourceOrDestination; return true;
    case 0x22: mode = QPainter::RasterOp_NotSourceAndDestination; return true;
    case 0x99: mode = QPainter::RasterOp_NotSourceXorDestination; return true;
    case 0x77: mode = QPainter::RasterOp_NotSourceOrNotDestination; return true;
    case 0xDD: mode = QPainter::RasterOp_SourceOrNotDestination; return true;
    default: return false;
    }
}

// Where the engine cannot combine pixels (vector output), the mask idioms of clip art
// still come out right: AND with a mask leaves what is under its white, OR and XOR leave
// what is under the image's black.
QImage EmulatedSource(const QImage& image, uint32_t code)
{
    if (code == 0x33) {
        QImage inverted = image.convertToFormat(QImage::Format_ARGB32);
        inverted.invertPixels(QImage::InvertRgb);
        return inverted;
    }
    QRgb clear;
    if (code == 0x88) {
        clear = qRgb(255, 255, 255);
    } else if (code == 0xEE || code == 0x66) {
        clear = qRgb(0, 0, 0);
    } else {
        return image;
    }
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] | 0xFF000000) == clear) {
                line[x] = 0;
            }
        }
    }
    return out;
}

} // namespace

// Draws the visible part of the image (in image pixels) through imageToOutput. The
// rasteriser reads outside images it draws mirrored and squeezed, so a mapping that only
// scales and moves is drawn as a plain stretch of the image turned round beforehand.
void MetafileCanvas::DrawImageThrough(const QTransform& imageToOutput, const QImage& image,
                                      const QRectF& visible)
{
    if (imageToOutput.m12() != 0 || imageToOutput.m21() != 0) {
        painter_.setWorldTransform(imageToOutput);
        painter_.drawImage(visible, image, visible);
        return;
    }
    const bool mirrorX = imageToOutput.m11() < 0;
    const bool mirrorY = imageToOutput.m22() < 0;
    const QRectF target = imageToOutput.mapRect(visible);
    QRectF source = visible;
    if (mirrorX) {
        source.moveLeft(image.width() - visible.right());
    }
    if (mirrorY) {
        source.moveTop(image.height() - visible.bottom());
    }
    painter_.setWorldTransform(QTransform());
    painter_.drawImage(target, mirrorX || mirrorY ? image.mirrored(mirrorX, mirrorY) : image,
                       source);
}

void MetafileCanvas::StretchBlt(const QRectF& dest, const QImage& image, QRectF source,
                                uint32_t rop)
{
    const uint32_t code = RopCode(rop);
    if (!UsesSource(code)) {
        FillPatternRect(dest, rop);
        return;
    }
    if (image.isNull() || source.width() == 0 || source.height() == 0 || dest.width() == 0 ||
        dest.height() == 0) {
        return;
    }
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    const bool known = SourceComposition(code, mode);
    QImage pixels = image;
    if (!rasterOps_ && mode != QPainter::CompositionMode_SourceOver) {
        pixels = EmulatedSource(image, code);
        mode = QPainter::CompositionMode_SourceOver;
    }
    QTransform toDevice;
    QRectF visible;
    if (!PlaceImage(dest, source, pixels.rect(), toDevice, visible)) {
        return;
    }
    painter_.save();
    painter_.setCompositionMode(mode);
    if (mode != QPainter::CompositionMode_SourceOver) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }
    if (state_.stretchMode == kStretchHalftone) {
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    DrawImageThrough(toDevice * deviceTransform_, pixels, visible);
    painter_.restore();
    if (!known && code == 0xC0 && rasterOps_) {
        // MERGECOPY: the source ANDed with the brush.
        FillPatternRect(dest, 0x00A000C9);
    }
}

// Image pixels to device pixels: the source rectangle lands on the logical destination,
// with opposite signs of their sizes mirroring. False when no pixel of the image's part
// would show.
bool MetafileCanvas::PlaceImage(const QRectF& dest, const QRectF& source, const QRect& pixels,
                                QTransform& toDevice, QRectF& visible) const
{
    const double sx = dest.width() / source.width();
    const double sy = dest.height() / source.height();
    const QTransform imageToLogical(sx, 0, 0, sy, dest.x() - source.x() * sx,
                                    dest.y() - source.y() * sy);
    visible = source.normalized().intersected(QRectF(pixels));
    if (visible.isEmpty()) {
        return false;
    }
    toDevice = imageToLogical * LogicalToDevice();
    QPainterPath extent;
    extent.addRect(visible);
    return Drawable(toDevice.map(extent));
}

void MetafileCanvas::BlendImage(const QRectF& dest, const QImage& image, QRectF source,
                                double opacity)
{
    if (image.isNull() || source.width() == 0 || source.height() == 0 || opacity <= 0) {
        return;
    }
    QTransform toDevice;
    QRectF visible;
    if (!PlaceImage(dest, source, image.rect(), toDevice, visible)) {
        return;
    }
    painter_.save();
    painter_.setOpacity(std::min(opacity, 1.0));
    if (state_.stretchMode == kStretchHalftone) {
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    DrawImageThrough(toDevice * deviceTransform_, image, visible);
    painter_.restore();
}

// Operations without a source: the brush, the destination or constants.
void MetafileCanvas::FillPatternRect(const QRectF& dest, uint32_t rop)
{
    QPainterPath rect;
    rect.addRect(dest.normalized());
    const QPainterPath device = LogicalToDevice().map(rect);
    if (!Drawable(device)) {
        return;
    }
    QBrush brush = MakeBrush(state_.brush);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    const uint32_t code = RopCode(rop);
    switch (code) {
    case 0x00: brush = QColor(Qt::black); break; // BLACKNESS
    case 0xFF: brush = QColor(Qt::white); break; // WHITENESS
    case 0xF0: break;                            // PATCOPY
    case 0xAA: return;                           // the destination as it is
    case 0x55:                                   // DSTINVERT: the brush plays no part
        brush = QColor(Qt::black);
        mode = QPainter::RasterOp_NotDestination;
        break;
    case 0x5A: mode = QPainter::RasterOp_SourceXorDestination; break;
    case 0x0F: mode = QPainter::RasterOp_NotSource; break;
    case 0xA0: mode = QPainter::RasterOp_SourceAndDestination; break;
    case 0xFA: mode = QPainter::RasterOp_SourceOrDestination; break;
    default:
        if (!UsesPattern(code)) {
            return;
        }
        break;
    }
    if (mode != QPainter::CompositionMode_SourceOver && !rasterOps_) {
        // Inverting what is already there cannot be done on vector output; painting the
        // brush instead would hide it.
        return;
    }
    if (brush.style() == Qt::NoBrush) {
        return;
    }
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    painter_.setCompositionMode(mode);
    painter_.setBackgroundMode(state_.bkMode == kBkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(state_.bkColour);
    if (mode != QPainter::CompositionMode_SourceOver) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }
    painter_.fillPath(device, brush);
    painter_.restore();
}

void MetafileCanvas::GradientRect(const GradientVertex& a, const GradientVertex& b, bool vertical)
{
    const QRectF box = QRectF(a.point, b.point).normalized();
    QPainterPath rect;
    rect.addRect(box);
    const QTransform m = LogicalToDevice();
    if (box.isEmpty() || !Drawable(m.map(rect))) {
        return;
    }
    QLinearGradient gradient(vertical ? QPointF(0, a.point.y()) : QPointF(a.point.x(), 0),
                             vertical ? QPointF(0, b.point.y()) : QPointF(b.point.x(), 0));
    gradient.setColorAt(0, a.colour);
    gradient.setColorAt(1, b.colour);
    painter_.save();
    painter_.setWorldTransform(m * deviceTransform_);
    painter_.fillRect(box, QBrush(gradient));
    painter_.restore();
}

// Colours blend linearly across the triangle. The painter has no such fill, so the
// triangle is cut into small ones, each in the colour at its centre.
void MetafileCanvas::GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                                      const GradientVertex& c)
{
    constexpr int kSteps = 8;
    const QTransform m = LogicalToDevice();
    const QPolygonF corners = m.map(QPolygonF({a.point, b.point, c.point}));
    QPainterPath outline;
    outline.addPolygon(corners);
    if (!Drawable(outline)) {
        return;
    }
    auto at = [&](double u, double v) {
        return corners[0] + (corners[1] - corners[0]) * u + (corners[2] - corners[0]) * v;
    };
    auto colourAt = [&](double u, double v) {
        const double w = 1 - u - v;
        return QColor::fromRgbF(
            float(w * a.colour.redF() + u * b.colour.redF() + v * c.colour.redF()),
            float(w * a.colour.greenF() + u * b.colour.greenF() + v * c.colour.greenF()),
            float(w * a.colour.blueF() + u * b.colour.blueF() + v * c.colour.blueF()));
    };
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    // Neighbouring pieces must meet without the seams smoothing would leave.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Qt::NoPen);
    const double step = 1.0 / kSteps;
    for (int i = 0; i < kSteps; ++i) {
        for (int j = 0; i + j < kSteps; ++j) {
            const double u = i * step;
            const double v = j * step;
            painter_.setBrush(colourAt(u + step / 3, v + step / 3));
            painter_.drawPolygon(QPolygonF({at(u, v), at(u + step, v), at(u, v + step)}));
            if (i + j + 1 < kSteps) {
                painter_.setBrush(colourAt(u + 2 * step / 3, v + 2 * step / 3));
                painter_.drawPolygon(
                    QPolygonF({at(u + step, v), at(u + step, v + step), at(u, v + step)}));
            }
        }
    }
    painter_.restore();
}

void MetafileCanvas::FillRegion(const QRegion& region, const GdiBrush& brush)
{
    QPainterPath path;
    path.addRegion(region);
    const QBrush fill = MakeBrush(brush);
    if (!Drawable(path) || fill.style() == Qt::NoBrush || inBracket_) {
        return;
    }
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    painter_.setBackgroundMode(state_.bkMode == kBkOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(state_.bkColour);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.fillPath(path, fill);
    painter_.restore();
}

// The frame is the part of the region within the stroke's width and height of its edge.
void MetafileCanvas::FrameRegion(const QRegion& region, const GdiBrush& brush, QSizeF logicalStroke)
{
    const QTransform m = LogicalToDevice();
    const double w = std::abs(logicalStroke.width() * std::hypot(m.m11(), m.m12()));
    const double h = std::abs(logicalStroke.height() * std::hypot(m.m21(), m.m22()));
    if (!(w < (1 << 20) && h < (1 << 20))) {
        return;
    }
    const int dx = std::max(1, int(std::lround(w)));
    const int dy = std::max(1, int(std::lround(h)));
    const QRegion inner = region.intersected(region.translated(dx, 0))
                              .intersected(region.translated(-dx, 0))
                              .intersected(region.translated(0, dy))
                              .intersected(region.translated(0, -dy));
    FillRegion(region.subtracted(inner), brush);
}

void MetafileCanvas::InvertRegion(const QRegion& region)
{
    QPainterPath path;
    path.addRegion(region);
    if (!rasterOps_ || !Drawable(path) || inBracket_) {
        return;
    }
    painter_.save();
    painter_.setWorldTransform(deviceTransform_);
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.fillPath(path, Qt::black);
    painter_.restore();
}

} // namespace figures
