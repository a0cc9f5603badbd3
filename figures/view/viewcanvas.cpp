#include "figures/view/viewcanvas.h"

#include <QPainter>

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

void ViewCanvas::Follow(QSize size, QPoint offset)
{
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
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
    if (std::abs(delta.x()) >= size.width() || std::abs(delta.y()) >= size.height()) {
        InvalidateAll();
        return;
    }
    ShiftImage(image_, delta.x(), delta.y());
    // Pixels still waiting for a repaint moved with the picture; what scrolled in is new.
    dirty_.translate(delta);
    dirty_ |= QRegion(all).subtracted(QRegion(all.translated(delta)));
    dirty_ &= all;
}

void ViewCanvas::Invalidate(const QRegion& client)
{
    dirty_ |= client & QRect(QPoint(0, 0), image_.size());
}

void ViewCanvas::InvalidateAll()
{
    dirty_ = QRegion(QRect(QPoint(0, 0), image_.size()));
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
