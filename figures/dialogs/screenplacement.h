#pragma once

#include <QPoint>

class QWidget;

namespace figures {

// Moves a top-level window's top-left to a screen point without resizing it, then shifts
// it back onto the screen that holds the point where it would stick out (left or right,
// then top or bottom).
void PlaceOnScreen(QWidget& window, QPoint screenPoint);

} // namespace figures
