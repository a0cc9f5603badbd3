#include "figures/dialogs/screenplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace figures {

void PlaceOnScreen(QWidget& window, QPoint screenPoint)
{
    QScreen* screen = QGuiApplication::screenAt(screenPoint);
    if (screen == nullptr) {
        screen = window.screen();
    }
    const QRect area = screen != nullptr ? screen->geometry() : QRect();
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    QPoint at = screenPoint;
    if (area.isValid()) {
        if (at.x() < area.left()) {
            at.setX(area.left());
        } else if (at.x() + size.width() > area.right() + 1) {
            at.setX(area.right() + 1 - size.width());
        }
        if (at.y() < area.top()) {
            at.setY(area.top());
        } else if (at.y() + size.height() > area.bottom() + 1) {
            at.setY(area.bottom() + 1 - size.height());
        }
    }
    window.move(at);
}

} // namespace figures
