// CViewWnd: mouse, keyboard and focus input, notifications and cursors.
#include "figures/view/cviewwnd.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/view/dragmachine.h"
#include "figures/view/pickerpanel.h"
#include "figures/view/viewcursors.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace figures {

namespace {

Point ClientPoint(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

bool ShiftHeld(const QInputEvent* event)
{
    return event->modifiers().testFlag(Qt::ShiftModifier);
}

} // namespace

void CViewWnd::Forward(const QEvent* event)
{
    if (QWidget* parent = parentWidget()) {
        QCoreApplication::postEvent(parent,
                                    new ForwardedInputEvent(std::unique_ptr<QEvent>(event->clone())));
    }
}

ViewMouseEvent CViewWnd::MouseEventFor(CBaseCom* object, const QMouseEvent* event) const
{
    return {object, event->buttons(), event->modifiers(), event->position().toPoint()};
}

void CViewWnd::PostNotification(void (CViewWnd::*signal)(CBaseCom*), CBaseCom* object)
{
    // Hover news is posted: by the time it arrives the object may have been deleted, and
    // then it is not delivered at all.
    QMetaObject::invokeMethod(
        this,
        [this, signal, object] {
            if (Index().Rank(object) >= 0) {
                emit(this->*signal)(object);
            }
        },
        Qt::QueuedConnection);
}

void CViewWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        Forward(event);
    }
    if (drag_->Active()) {
        // A right press cancels a drag; other presses mean nothing during one.
        if (event->button() == Qt::RightButton) {
            drag_->Cancel();
        }
        return;
    }
    if (event->button() == Qt::LeftButton) {
        LeftPress(event);
    } else if (event->button() == Qt::RightButton) {
        RightPress(event);
    }
}

void CViewWnd::LeftPress(QMouseEvent* event)
{
    popupShown_ = false;
    setFocus(Qt::MouseFocusReason);
    if (currentView_ == nullptr) {
        return;
    }
    const Point p = ClientPoint(event);
    if (picker_ != nullptr && picker_->HasShape()) {
        drag_->StartCreate(picker_->NewObject(), p);
        return;
    }
    Rect clientFrame;
    CBaseCom* object = ObjectAt(p, &clientFrame);
    if (object == nullptr) {
        drag_->StartRubberBand(p);
        return;
    }
    if (ShiftHeld(event) && IsSelected(object)) {
        Deselect(object);
        return;
    }
    Select(object, ShiftHeld(event));
    emit leftButtonDown(MouseEventFor(object, event));
    // The control's handler runs the host's code, which may have deleted the object.
    if (Index().Rank(object) < 0) {
        return;
    }
    const Rect oldBounds = ClientBounds(object);
    const DeviceMapping map = Mapping();
    const QPoint offset = ScrollOffset();
    HitRecord hit;
    hit.map = &map;
    hit.devicePoint = {p.x + offset.x(), p.y + offset.y()};
    hit.ui = objectUi_;
    const int32_t answer = object->OnMessage(OM_MOUSE_DOWN, &hit);
    if (answer == 0) {
        // The object changed itself (a line's end cap chosen from its button).
        InvalidateClient(oldBounds);
        ObjectChanged(object);
        SetModified();
    } else if (object->HasFlag(OF_LOCKED)) {
        return;
    } else if (answer == OM_MOVE) {
        drag_->StartMove(p);
    } else if (answer == OM_HANDLE_DRAG) {
        drag_->StartHandleDrag(object, hit.hitCode, p, clientFrame);
    }
}

void CViewWnd::RightPress(QMouseEvent* event)
{
    if (currentView_ == nullptr) {
        return;
    }
    const Point p = ClientPoint(event);
    if (CBaseCom* object = ObjectAt(p)) {
        Select(object, false);
    } else {
        Deselect(nullptr);
    }
    viewport()->repaint();
    if (popupEnabled_) {
        popupShown_ = true;
        viewport()->setCursor(Qt::ArrowCursor);
        emit popupRequested(event->position().toPoint());
    }
}

void CViewWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        Forward(event);
    }
    if (drag_->Active()) {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        // The drag lets go of the mouse here; the release over an object is still news.
        drag_->LeftRelease(ClientPoint(event), event->modifiers());
    }
    if (event->button() == Qt::LeftButton) {
        if (CBaseCom* object = ObjectAt(ClientPoint(event))) {
            emit leftButtonUp(MouseEventFor(object, event));
        }
    }
}

void CViewWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        Forward(event);
    }
    if (drag_->Active() || event->button() != Qt::LeftButton || currentView_ == nullptr) {
        return;
    }
    const Point p = ClientPoint(event);
    CBaseCom* object = ObjectAt(p);
    if (object == nullptr) {
        return;
    }
    const Rect oldBounds = ClientBounds(object);
    const DeviceMapping map = Mapping();
    const QPoint offset = ScrollOffset();
    DoubleClickRecord click;
    click.map = &map;
    click.devicePoint = {p.x + offset.x(), p.y + offset.y()};
    click.textEditAllowed = textEditEnabled_;
    click.ui = objectUi_;
    if (object->OnMessage(OM_DOUBLE_CLICK, &click) == 0) {
        InvalidateClient(oldBounds);
        ObjectChanged(object);
        SetModified();
    }
}

void CViewWnd::mouseMoveEvent(QMouseEvent* event)
{
    Forward(event);
    if (drag_->Active()) {
        drag_->MouseMove(ClientPoint(event));
        return;
    }
    const Point p = ClientPoint(event);
    UpdateCursor(p, Hover(p));
}

CBaseCom* CViewWnd::Hover(Point client)
{
    CBaseCom* object = ObjectAt(client);
    if (picker_ != nullptr) {
        const View* target = nullptr;
        if (object != nullptr && !object->jumpTarget.empty()) {
            target = document_.ViewAt(document_.FindView(object->jumpTarget));
        }
        picker_->ShowJumpTarget(target);
    }
    if (object != lastHovered_) {
        if (lastHovered_ != nullptr) {
            PostNotification(&CViewWnd::mouseLeave, lastHovered_);
        }
        if (object != nullptr) {
            PostNotification(&CViewWnd::mouseEnter, object);
        }
    }
    if (object != nullptr) {
        PostNotification(&CViewWnd::mouseOver, object);
    }
    lastHovered_ = object;
    return object;
}

void CViewWnd::UpdateCursor(Point client, CBaseCom* hovered)
{
    QCursor cursor(Qt::ArrowCursor);
    if (popupShown_) {
        // The arrow stays from the popup menu until the next left press.
    } else if (picker_ != nullptr && picker_->HasShape()) {
        cursor = QCursor(Qt::CrossCursor);
    } else if (hovered != nullptr && !hovered->HasFlag(OF_LOCKED)) {
        const DeviceMapping map = Mapping();
        const QPoint offset = ScrollOffset();
        HitRecord hit;
        hit.map = &map;
        hit.devicePoint = {client.x + offset.x(), client.y + offset.y()};
        hit.mode = 1;
        hit.ui = objectUi_;
        if (hovered->OnMessage(OM_SET_CURSOR, &hit) == 0) {
            cursor = CursorForShape(hit.cursor);
        }
    }
    viewport()->setCursor(cursor);
}

void CViewWnd::wheelEvent(QWheelEvent* event)
{
    Forward(event);
    // Shift and Ctrl with the wheel belong to the host (zooming, sideways scrolling).
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // One line per wheel message, however many notches it carries.
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        OnScroll(VerticalScroll(notches > 0 ? SB_LINEUP : SB_LINEDOWN));
        drag_->Retrack();
    }
    event->accept();
}

void CViewWnd::keyPressEvent(QKeyEvent* event)
{
    Forward(event);
    // Accepted either way: the host hears of every key once, through the forwarded copy,
    // not a second time as a key bubbling up from its child.
    event->accept();
    if (drag_->Active()) {
        drag_->Key(event->key());
    }
}

void CViewWnd::keyReleaseEvent(QKeyEvent* event)
{
    Forward(event);
    event->accept();
}

void CViewWnd::focusInEvent(QFocusEvent* event)
{
    Forward(event);
    QAbstractScrollArea::focusInEvent(event);
}

void CViewWnd::focusOutEvent(QFocusEvent* event)
{
    Forward(event);
    // Losing the focus during a drag means another window took over: the drag ends as
    // if cancelled.
    drag_->Cancel();
    if (picker_ != nullptr) {
        picker_->ViewLostFocus();
    }
    QAbstractScrollArea::focusOutEvent(event);
}

} // namespace figures
