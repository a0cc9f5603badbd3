#include "app/splitterbar.h"

#include <QMouseEvent>

namespace app {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grabOffset_ = event->position().toPoint().x();
    }
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event)
{
    if (grabOffset_ < 0) {
        return;
    }
    const int left = mapToParent(event->position().toPoint()).x() - grabOffset_;
    // The palette keeps room for its border; the canvas keeps at least the bar's width.
    const int limit = parentWidget() ? parentWidget()->width() - 2 * width() : left;
    const int clamped = std::max(20, std::min(left, limit));
    if (clamped != x()) {
        emit moved(clamped);
    }
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grabOffset_ = -1;
    }
}

} // namespace app
