#pragma once

#include <QWidget>

namespace app {

// The vertical bar between the palette and the canvas. Dragging it reports the bar's new
// left edge in its parent's coordinates; the window lays its panes out from that.
class SplitterBar : public QWidget {
    Q_OBJECT

public:
    explicit SplitterBar(QWidget* parent = nullptr);

signals:
    void moved(int left);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int grabOffset_ = -1; // where in the bar the button went down, -1 when not dragging
};

} // namespace app
