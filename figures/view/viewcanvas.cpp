#include "figures/view/viewcanvas.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace figures {

namespace {
constexpr int kMaxPieces = 8;
} // namespace

void ShiftImage(QImage& image, int dx, int dy)
{
    const int w = image.width();
    const int h = image.height();
    if (std::abs(dx) >= w || std::abs(dy) >= h || (dx == 0 && dy == 0)) {
        return;
    }
    const int bpp = image.depth() / 8;
    const qsizetype stride = image.bytesPerLine();
    uchar* bits = image.bits();
    const int rows = h - std::abs(dy);
    // Copy rows in the order that never reads a row already overwritten.
    for (int i = 0; i < rows; ++i) {
        const int to = dy >= 0 ? h - 1 - i : i;
        const int from = to - dy;
        uchar* dst = bits + to * stride;
        const uchar* src = bits + from * stride;
        const int count = (w - std::abs(dx)) * bpp;
        if (dx >= 0) {
            std::memmove(dst + dx * bpp, src, size_t(count));
        } else {
            std::memmove(dst, src - dx * bpp, size_t(count));
        }
    }
}

void ViewCanvas::Follow(QSize size, QPoint offset, qreal ratio)
{
    if (!(ratio > 0)) {
        ratio = 1.0;
    }
    if (size_ != size || image_.devicePixelRatio() != ratio || image_.isNull()) {
        // Whole screen pixels cover the client area even at a fractional ratio.
        const QSize pixels(int(std::ceil(size.width() * ratio)),
                           int(std::ceil(size.height() * ratio)));
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        size_ = size;
        offset_ = offset;
        InvalidateAll();
        return;
    }
    const QPoint delta = offset_ - offset;
    if (delta.isNull()) {
        return;
    }
    offset_ = offset;
    const QRect all(QPoint(0, 0), size);
    // At a fractional ratio a logical step is no whole number of screen pixels: the
    // picture cannot be moved without resampling, so it is painted anew.
    const bool wholePixels = ratio == std::round(ratio);
    if (!wholePixels || std::abs(delta.x()) >= size.width() ||
        std::abs(delta.y()) >= size.height()) {
        InvalidateAll();
        return;
    }
    const int step = int(ratio);
    ShiftImage(image_, delta.x() * step, delta.y() * step);
    // Pixels still waiting for a repaint moved with the picture; what scrolled in is new.
    dirty_.translate(delta);
    dirty_ |= QRegion(all).subtracted(QRegion(all.translated(delta)));
    dirty_ &= all;
}

void ViewCanvas::Invalidate(const QRegion& client)
{
    dirty_ |= client & QRect(QPoint(0, 0), size_);
}

void ViewCanvas::InvalidateAll()
{
    dirty_ = QRegion(QRect(QPoint(0, 0), size_));
}

void ViewCanvas::Refresh(const Painter& paint)
{
    if (dirty_.isEmpty() || image_.isNull()) {
        dirty_ = QRegion();
        return;
    }
    // Many small pieces (a selection of scattered objects) are repainted as one rectangle:
    // each piece costs a pass over the objects.
    if (dirty_.rectCount() > kMaxPieces) {
        dirty_ = dirty_.boundingRect();
    }
    for (const QRect& r : dirty_) {
        paint(image_, r);
    }
    dirty_ = QRegion();
}

} // namespace figures
