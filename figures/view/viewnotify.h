#pragma once

#include <QEvent>
#include <QPoint>

#include <cstdint>
#include <memory>

namespace figures {

class CBaseCom;

// What the view reports to its control about the mouse. The numbers are the codes of the
// component's documented notification protocol.
enum ViewNotification : int32_t {
    VN_MOUSE_OVER = 1,   // posted: the object under the mouse
    VN_LBUTTON_DOWN = 2, // sent: the left button pressed on an object
    VN_LBUTTON_UP = 3,   // sent: the left button released over an object
    VN_MOUSE_ENTER = 4,  // posted: the mouse moved onto an object
    VN_MOUSE_LEAVE = 5,  // posted: the mouse left an object
};

// A mouse event on an object: the buttons and keys held and the point in the view's
// client pixels.
struct ViewMouseEvent {
    CBaseCom* object = nullptr;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    QPoint pos;
};

// An unchanged copy of a mouse, key or focus event of the view, posted to the view's
// parent so that the control can turn it into its own events. Coordinates stay in the
// view's client space. Widgets that do not know the type ignore it.
class ForwardedInputEvent : public QEvent {
public:
    explicit ForwardedInputEvent(std::unique_ptr<QEvent> input)
        : QEvent(EventType()), input_(std::move(input))
    {}
    static QEvent::Type EventType()
    {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    const QEvent& Input() const { return *input_; }

private:
    std::unique_ptr<QEvent> input_;
};

} // namespace figures
