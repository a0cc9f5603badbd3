#include "figures/view/dragmachine.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/model/view.h"
#include "figures/render/numeric.h"
#include "figures/view/cviewwnd.h"
#include "figures/view/pickerpanel.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace figures {

namespace {

// The feedback pen: one-pixel dots that invert what they cover, so they show on any
// canvas (black on white).
QPen FeedbackPen()
{
    QPen pen(Qt::white, 0);
    pen.setCosmetic(true);
    pen.setDashPattern({1.0, 1.0});
    return pen;
}

// Guides catch a frame's line this close to them.
constexpr int32_t kGuideTolerancePixels = 5;

QRect NormalisedClientRect(Point a, Point b)
{
    return QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)).normalized();
}

} // namespace

DragMachine::DragMachine(CViewWnd& view) : view_(view)
{
    autoScroll_.setInterval(CViewWnd::kAutoScrollMs);
    QObject::connect(&autoScroll_, &QTimer::timeout, [this] { Tick(); });
}

DragMachine::~DragMachine() = default;

bool DragMachine::Begin(Kind kind, bool autoScroll)
{
    if (view_.CurrentView() == nullptr || QWidget::mouseGrabber() != nullptr) {
        return false;
    }
    kind_ = kind;
    last_ = press_;
    shownRect_ = QRect();
    view_.viewport()->grabMouse();
    view_.grabKeyboard();
    if (autoScroll) {
        autoScroll_.start();
    }
    return true;
}

void DragMachine::End()
{
    autoScroll_.stop();
    view_.viewport()->releaseMouse();
    view_.releaseKeyboard();
    kind_ = Kind::None;
    hasOutline_ = false;
    outline_ = QPainterPath();
    moved_.clear();
    guides_.clear();
    view_.viewport()->update(shownRect_);
    shownRect_ = QRect();
}

bool DragMachine::GrabLost() const
{
    return QWidget::mouseGrabber() != view_.viewport();
}

// --- starts ---

void DragMachine::StartRubberBand(Point press)
{
    press_ = press;
    pressDoc_ = view_.ClientToDocument(press);
    if (Begin(Kind::RubberBand, true)) {
        SetFeedback();
    }
}

void DragMachine::StartCreate(std::unique_ptr<CBaseCom> object, Point press)
{
    press_ = press;
    pressDoc_ = view_.ClientToDocument(press);
    if (object == nullptr || !Begin(Kind::Create, true)) {
        return; // the new object dies here
    }
    created_ = std::move(object);
    if (snapper_.Active()) {
        CollectTargets({});
        pressDoc_ = SnappedDocument(press);
    }
    BeginCreateArgs begin{pressDoc_};
    created_->OnMessage(OM_BEGIN_CREATE, &begin);
}

void DragMachine::StartMove(Point press)
{
    if (view_.CurrentView() == nullptr || QWidget::mouseGrabber() != nullptr) {
        return;
    }
    press_ = press;
    pressDoc_ = view_.ClientToDocument(press);
    std::vector<Outline> moved;
    for (CBaseCom* object : view_.Selection()) {
        if (object->HasFlag(OF_LOCKED)) {
            continue;
        }
        OutlineRequest request;
        if (object->OnMessage(OM_MAKE_OUTLINE, &request) != 0 || !request.found) {
            continue;
        }
        moved.push_back({object,
                         std::move(request.outline),
                         {pressDoc_.x - object->frame.left, pressDoc_.y - object->frame.top}});
    }
    if (moved.empty() || !Begin(Kind::Move, true)) {
        return;
    }
    moved_ = std::move(moved);
    if (snapper_.Active()) {
        CollectTargets(moved_);
    }
    moveDelta_ = {};
    SetFeedback();
}

void DragMachine::StartHandleDrag(CBaseCom* object, int32_t hitCode, Point press,
                                  const Rect& clientFrame)
{
    if (view_.CurrentView() == nullptr || QWidget::mouseGrabber() != nullptr) {
        return;
    }
    // The copy puts everything back when the drag is cancelled: frame, angle and the
    // shape's own parameters.
    std::unique_ptr<CBaseCom> backup = ClassFromTypeId(object->TypeId());
    if (backup == nullptr || !CopyObject(*backup, *object)) {
        return;
    }
    record_ = HandleDragRecord();
    record_.handle = hitCode;
    if (object->OnMessage(OM_BEGIN_HANDLE_DRAG, &record_) != 0) {
        return;
    }
    press_ = press;
    pressDoc_ = view_.ClientToDocument(press);
    if (!Begin(Kind::Handle, false)) {
        HandleDragRecord end = record_;
        end.success = false;
        object->OnMessage(OM_END_HANDLE_DRAG, &end);
        return;
    }
    handleObject_ = object;
    backup_ = std::move(backup);
    startFrame_ = object->frame;
    pressClientFrame_ = clientFrame;
    oldClientBounds_ = view_.ClientBounds(object);
}

// --- events ---

void DragMachine::MouseMove(Point client)
{
    if (GrabLost()) {
        Cancel();
        return;
    }
    Track(client, TrackEvent::MouseMove);
}

void DragMachine::Retrack()
{
    if (Active()) {
        Track(last_, TrackEvent::MouseMove);
    }
}

void DragMachine::Track(Point client, TrackEvent event)
{
    last_ = client;
    switch (kind_) {
    case Kind::RubberBand: SetFeedback(); break;
    case Kind::Move:
        moveDelta_ = MoveDelta(client);
        SetFeedback();
        break;
    case Kind::Create: TrackCreate(client, event); break;
    case Kind::Handle: TrackHandle(client); break;
    case Kind::None: break;
    }
}

void DragMachine::LeftRelease(Point client, Qt::KeyboardModifiers modifiers)
{
    last_ = client;
    switch (kind_) {
    case Kind::RubberBand: FinishRubberBand(client, modifiers.testFlag(Qt::ShiftModifier)); break;
    case Kind::Create: TrackCreate(client, TrackEvent::LeftButtonUp); break;
    case Kind::Move: FinishMove(client); break;
    case Kind::Handle: FinishHandle(true); break;
    case Kind::None: break;
    }
}

bool DragMachine::Key(int key)
{
    QPoint step;
    switch (key) {
    case Qt::Key_Escape: Cancel(); return true;
    case Qt::Key_Left: step = {-1, 0}; break;
    case Qt::Key_Right: step = {1, 0}; break;
    case Qt::Key_Up: step = {0, -1}; break;
    case Qt::Key_Down: step = {0, 1}; break;
    default: return false;
    }
    // The platform reports the pointer's move as an ordinary mouse move.
    QCursor::setPos(QCursor::pos() + step);
    return true;
}

void DragMachine::Cancel()
{
    switch (kind_) {
    case Kind::RubberBand:
    case Kind::Move: End(); break;
    case Kind::Create: FinishCreate(false, last_); break;
    case Kind::Handle: FinishHandle(false); break;
    case Kind::None: break;
    }
}

void DragMachine::Tick()
{
    if (GrabLost()) {
        Cancel();
        return;
    }
    const QSize size = view_.viewport()->size();
    uint8_t horizontal = CViewWnd::SB_NONE;
    uint8_t vertical = CViewWnd::SB_NONE;
    if (last_.x <= 0) {
        horizontal = CViewWnd::SB_LINEUP;
    } else if (last_.x >= size.width()) {
        horizontal = CViewWnd::SB_LINEDOWN;
    }
    if (last_.y <= 0) {
        vertical = CViewWnd::SB_LINEUP;
    } else if (last_.y >= size.height()) {
        vertical = CViewWnd::SB_LINEDOWN;
    }
    if (horizontal == CViewWnd::SB_NONE && vertical == CViewWnd::SB_NONE) {
        return;
    }
    view_.OnScroll(uint16_t(vertical << 8 | horizontal));
    Track(last_, TrackEvent::TimerTick);
}

// --- the four drags ---

void DragMachine::FinishRubberBand(Point client, bool shift)
{
    End();
    if (!shift) {
        view_.Deselect(nullptr);
    }
    const Rect band = Rect{pressDoc_.x, pressDoc_.y, view_.ClientToDocument(client).x,
                           view_.ClientToDocument(client).y}
                          .Normalised();
    if (band.IsEmpty()) {
        return;
    }
    // An object is taken when its turned frame's bounding box lies inside the band; the
    // band's right and bottom edges belong outside, as for any rectangle.
    for (const auto& owned : view_.CurrentView()->objects) {
        CBaseCom* object = owned.get();
        const Corners corners = RotatedCorners(object->frame, object->angle);
        const Rect box = BoundsOfAnyPoints(corners.p);
        if (!band.Contains({box.left, box.top}) || !band.Contains({box.right, box.bottom})) {
            continue;
        }
        if (shift && view_.IsSelected(object)) {
            view_.Deselect(object);
        } else {
            view_.Select(object, true);
        }
    }
}

void DragMachine::TrackCreate(Point client, TrackEvent event)
{
    const Point doc = SnappedDocument(client);
    TrackCreateArgs track(event, doc.x - pressDoc_.x, doc.y - pressDoc_.y);
    const int32_t answer = created_->OnMessage(OM_TRACK_CREATE, &track);
    hasOutline_ = track.hasOutline;
    outline_ = std::move(track.outline);
    outlineOrigin_ = view_.DocumentToClient(Point{created_->frame.left, created_->frame.top});
    SetFeedback();
    if (answer == 0) {
        FinishCreate(true, client);
    } else if (answer == OM_NOT_TRACKED) {
        FinishCreate(false, client);
    }
}

void DragMachine::FinishCreate(bool completed, Point release)
{
    End();
    std::unique_ptr<CBaseCom> object = std::move(created_);
    EndCreateArgs end{completed};
    object->OnMessage(OM_END_CREATE, &end);
    if (!completed) {
        return;
    }
    // A click without dragging gives the shape a usable size instead of the smallest.
    Rect frame = object->frame;
    if (std::abs(release.x - press_.x) <= CViewWnd::kCreateClickSlop) {
        frame.right = frame.left + CViewWnd::kDefaultWidth;
    }
    if (std::abs(release.y - press_.y) <= CViewWnd::kCreateClickSlop) {
        frame.bottom = frame.top + CViewWnd::kDefaultHeight;
    }
    object->frame = frame;
    CBaseCom* added = object.get();
    view_.CurrentView()->Append(std::move(object));
    view_.SetModified();
    view_.Appended(added);
    view_.Select(added, false);
    view_.UpdateScrollBars();
    if (view_.picker_ != nullptr) {
        view_.picker_->ClearChoice();
    }
}

void DragMachine::FinishMove(Point client)
{
    const Point delta = MoveDelta(client);
    const int32_t dx = delta.x;
    const int32_t dy = delta.y;
    std::vector<Outline> moved = std::move(moved_);
    End();
    for (const Outline& o : moved) {
        view_.SetObjectRect(o.object, o.object->frame.Offset(dx, dy));
    }
    view_.UpdateScrollBars();
    view_.SetModified();
}

void DragMachine::TrackHandle(Point client)
{
    const DeviceMapping map = view_.Mapping();
    const Point delta = map.ToDocument(Point{client.x - press_.x, client.y - press_.y});
    record_.dx = delta.x;
    record_.dy = delta.y;
    record_.hasOutline = false;
    handleObject_->OnMessage(OM_TRACK_HANDLE_DRAG, &record_);
    view_.SetModified();
    // The outline sits on the frame as it is now: the frame on screen at the press,
    // shifted by the frame's own movement since.
    const Point moved = map.ToDevice(Point{handleObject_->frame.left - startFrame_.left,
                                           handleObject_->frame.top - startFrame_.top});
    outlineOrigin_ = {pressClientFrame_.left + moved.x, pressClientFrame_.top + moved.y};
    hasOutline_ = record_.hasOutline;
    outline_ = record_.outline;
    SetFeedback();
}

void DragMachine::FinishHandle(bool completed)
{
    CBaseCom* object = handleObject_;
    std::unique_ptr<CBaseCom> backup = std::move(backup_);
    handleObject_ = nullptr;
    End();
    HandleDragRecord end = record_;
    end.success = completed;
    object->OnMessage(OM_END_HANDLE_DRAG, &end);
    view_.InvalidateClient(oldClientBounds_);
    if (!completed) {
        CopyObject(*object, *backup);
        view_.ObjectChanged(object);
        return;
    }
    if (object->frame == startFrame_) {
        // The angle or the shape's parameters may have changed.
        view_.ObjectChanged(object);
        return;
    }
    const Rect newFrame = object->frame;
    object->frame = startFrame_;
    view_.SetObjectRect(object, newFrame);
    view_.UpdateScrollBars();
    view_.SetModified();
}

// --- snapping ---

void DragMachine::CollectTargets(const std::vector<Outline>& skip)
{
    const QSize size = view_.viewport()->size();
    const Rect visible{view_.ClientToDocument({0, 0}).x, view_.ClientToDocument({0, 0}).y,
                       view_.ClientToDocument({size.width(), size.height()}).x,
                       view_.ClientToDocument({size.width(), size.height()}).y};
    std::vector<CBaseCom*> near;
    view_.Index().ObjectsMeeting(visible, 0, near);
    std::vector<Rect> frames;
    for (const CBaseCom* object : near) {
        const bool moving = std::any_of(skip.begin(), skip.end(),
                                        [object](const Outline& o) { return o.object == object; });
        if (!moving) {
            frames.push_back(object->frame);
        }
    }
    snapper_.SetTargets(frames);
}

Point DragMachine::MoveDelta(Point client)
{
    const Point doc = view_.ClientToDocument(client);
    Point delta{doc.x - pressDoc_.x, doc.y - pressDoc_.y};
    if (!snapper_.Active() || moved_.empty()) {
        return delta;
    }
    // The moved objects snap as one box.
    Rect box = moved_.front().object->frame;
    for (const Outline& o : moved_) {
        box = box.Spanning(o.object->frame);
    }
    const int32_t tolerance = view_.Mapping().DocumentLengthX(kGuideTolerancePixels);
    const Point correction = snapper_.SnapFrame(box.Offset(delta.x, delta.y), tolerance, guides_);
    return {delta.x + correction.x, delta.y + correction.y};
}

Point DragMachine::SnappedDocument(Point client)
{
    const Point doc = view_.ClientToDocument(client);
    if (!snapper_.Active()) {
        return doc;
    }
    const int32_t tolerance = view_.Mapping().DocumentLengthX(kGuideTolerancePixels);
    return snapper_.SnapPoint(doc, tolerance, guides_);
}

// --- feedback ---

void DragMachine::SetFeedback()
{
    const QRect now = OverlayRect();
    view_.viewport()->update(shownRect_.united(now));
    shownRect_ = now;
}

QRect DragMachine::OverlayRect() const
{
    const DeviceMapping map = view_.Mapping();
    const QTransform scale(map.ScaleX(), 0, 0, map.ScaleY(), 0, 0);
    QRect area;
    switch (kind_) {
    case Kind::RubberBand:
        area = NormalisedClientRect(view_.DocumentToClient(pressDoc_), last_);
        break;
    case Kind::Move:
        for (const Outline& o : moved_) {
            const Point origin = MovedOrigin(o);
            const QRectF box = scale.map(o.path).boundingRect();
            area |= box.toAlignedRect().translated(origin.x, origin.y);
        }
        break;
    case Kind::Create:
    case Kind::Handle:
        if (hasOutline_) {
            area = scale.map(outline_).boundingRect().toAlignedRect().translated(outlineOrigin_.x,
                                                                                 outlineOrigin_.y);
        }
        break;
    case Kind::None: break;
    }
    const QSize size = view_.viewport()->size();
    for (const GuideLine& g : guides_) {
        const Point at = view_.DocumentToClient(Point{g.at, g.at});
        area |=
            g.vertical ? QRect(at.x - 1, 0, 3, size.height()) : QRect(0, at.y - 1, size.width(), 3);
    }
    return area.isNull() ? area : area.adjusted(-2, -2, 2, 2);
}

void DragMachine::PaintOverlay(QPainter& painter) const
{
    if (!Active()) {
        return;
    }
    const DeviceMapping map = view_.Mapping();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(FeedbackPen());
    painter.setBrush(Qt::NoBrush);
    const auto drawAt = [&](const QPainterPath& path, Point origin) {
        painter.setTransform(QTransform(map.ScaleX(), 0, 0, map.ScaleY(), origin.x, origin.y));
        painter.drawPath(path);
    };
    switch (kind_) {
    case Kind::RubberBand: {
        // The band's last row and column are the pointer's own pixels.
        const QRect band = NormalisedClientRect(view_.DocumentToClient(pressDoc_), last_);
        painter.drawRect(band.adjusted(0, 0, -1, -1));
        break;
    }
    case Kind::Move:
        for (const Outline& o : moved_) {
            drawAt(o.path, MovedOrigin(o));
        }
        break;
    case Kind::Create:
    case Kind::Handle:
        if (hasOutline_) {
            drawAt(outline_, outlineOrigin_);
        }
        break;
    case Kind::None: break;
    }
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(QColor(0x00, 0x78, 0xD7), 0));
    const QSize size = view_.viewport()->size();
    for (const GuideLine& g : guides_) {
        const Point at = view_.DocumentToClient(Point{g.at, g.at});
        if (g.vertical) {
            painter.drawLine(at.x, 0, at.x, size.height());
        } else {
            painter.drawLine(0, at.y, size.width(), at.y);
        }
    }
    painter.restore();
}

Point DragMachine::MovedOrigin(const Outline& o) const
{
    // Without snapping every outline keeps its place relative to the pointer; with it,
    // the outlines show where the frames will land.
    if (!snapper_.Active()) {
        const Point grip = view_.Mapping().ToDevice(o.grip);
        return {last_.x - grip.x, last_.y - grip.y};
    }
    return view_.DocumentToClient(
        Point{o.object->frame.left + moveDelta_.x, o.object->frame.top + moveDelta_.y});
}

} // namespace figures
