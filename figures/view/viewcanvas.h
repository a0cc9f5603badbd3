#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <functional>

namespace figures {

// The cached picture of an editing view's canvas: what the objects and the selection
// marks look like in the client area at the current zoom and scroll position. Client
// coordinates are the widget's logical pixels; the picture holds the screen's pixels
// (logical pixels times the device pixel ratio), so that a high-density screen shows
// edges and text as sharp as it can. The widget shows it and paints drag feedback over it, so that a drag never
// repaints objects; scrolling moves the pixels it already has and repaints only the
// exposed strip.
class ViewCanvas {
public:
    // Makes the picture cover a client area of size whose top-left is the absolute device
    // point offset (the scroll position in logical pixels), with ratio screen pixels per
    // logical pixel. A new size or ratio discards the picture; a new offset keeps the
    // part both positions show and marks the rest for repainting.
    void Follow(QSize size, QPoint offset, qreal ratio = 1.0);
    // Marks client pixels for repainting.
    void Invalidate(const QRegion& client);
    void InvalidateAll();
    // Repaints what is marked. paint draws the canvas into the picture for one client
    // rectangle (in client coordinates; the picture's device pixel ratio maps them onto
    // its pixels) with painters of its own, and touches no pixel outside the rectangle.
    using Painter = std::function<void(QImage& picture, const QRect& client)>;
    void Refresh(const Painter& paint);

    const QImage& Image() const { return image_; }
    // The picture to paint over directly, for changes that need no repaint of what is
    // under them; whoever does so keeps it what a repaint would give.
    QImage& Picture() { return image_; }
    // The client area the picture covers, in logical pixels.
    QSize Size() const { return size_; }
    const QRegion& Dirty() const { return dirty_; }
    QPoint Offset() const { return offset_; }

private:
    QImage image_;
    QSize size_;
    QPoint offset_;
    QRegion dirty_;
};

// Moves an image's pixels by (dx, dy); the uncovered pixels keep their old contents.
void ShiftImage(QImage& image, int dx, int dy);

} // namespace figures
