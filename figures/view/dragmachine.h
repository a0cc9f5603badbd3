#pragma once

#include "figures/model/objects/objectmessages.h"
#include "figures/render/geometry.h"
#include "figures/view/framesnapper.h"

#include <QPainterPath>
#include <QRect>
#include <QTimer>

#include <memory>
#include <vector>

class QPainter;

namespace figures {

class CBaseCom;
class CViewWnd;

// The mouse drags of an editing view: the rubber band, creating an object from the
// shape picker, moving the selection and dragging one handle. One drag runs at a time,
// with the mouse and the keyboard grabbed; the view feeds it mouse, key and focus
// events. Esc, a right press or losing the focus or the grab cancel; the arrow keys move
// the pointer by one pixel. Feedback is dotted outlines painted over the view's cached
// picture, so objects are not repainted while the mouse moves; only the finished drag
// changes objects (a handle drag changes its object as it goes and puts it back from a
// copy when cancelled).
//
// While the pointer is outside the window, a timer scrolls the view one line towards it
// every 100 ms (not during handle drags) and the drag follows as if the mouse had moved.
class DragMachine {
public:
    enum class Kind { None, RubberBand, Create, Move, Handle };

    explicit DragMachine(CViewWnd& view);
    ~DragMachine();

    Kind Current() const { return kind_; }
    bool Active() const { return kind_ != Kind::None; }

    // Each start does nothing when there is no view shown or another widget holds the
    // mouse. Points are client pixels.
    void StartRubberBand(Point press);
    // Takes the new object; it is deleted unless the creation completes.
    void StartCreate(std::unique_ptr<CBaseCom> object, Point press);
    // Moves the unlocked selected objects that have an outline.
    void StartMove(Point press);
    // hitCode is what the press hit on the object; clientFrame its frame on screen.
    void StartHandleDrag(CBaseCom* object, int32_t hitCode, Point press, const Rect& clientFrame);

    void MouseMove(Point client);
    void LeftRelease(Point client, Qt::KeyboardModifiers modifiers);
    // Esc cancels, arrows nudge the pointer; true when the key was used.
    bool Key(int key);
    void Cancel();
    // Follows the pointer again after the view scrolled under it.
    void Retrack();

    // Paints the outlines or the rubber band over the canvas (client pixels).
    void PaintOverlay(QPainter& painter) const;
    // The client pixels the feedback covers.
    QRect OverlayRect() const;

    // Grid and alignment guides for moves and creation (off unless switched on).
    FrameSnapper& Snapper() { return snapper_; }
    // The lines the dragged frame rests against now.
    const std::vector<GuideLine>& Guides() const { return guides_; }

private:
    struct Outline {
        CBaseCom* object = nullptr;
        QPainterPath path; // document units, frame top-left at (0, 0)
        Point grip;        // the press point's offset from the frame's top-left, units
    };

    bool Begin(Kind kind, bool autoScroll);
    void End();
    void Track(Point client, TrackEvent event);
    void TrackCreate(Point client, TrackEvent event);
    void TrackHandle(Point client);
    void FinishRubberBand(Point client, bool shift);
    void FinishCreate(bool completed, Point release);
    void FinishMove(Point client);
    void FinishHandle(bool completed);
    void Tick();
    void SetFeedback();
    bool GrabLost() const;
    // Guide targets: the frames of the visible objects not in skip.
    void CollectTargets(const std::vector<Outline>& skip);
    // The move offset for the pointer at client, after snapping.
    Point MoveDelta(Point client);
    Point SnappedDocument(Point client);
    Point MovedOrigin(const Outline& o) const;

    CViewWnd& view_;
    QTimer autoScroll_;
    Kind kind_ = Kind::None;
    Point press_;     // client pixels
    Point pressDoc_;  // document units
    Point last_;      // the last pointer position, client pixels
    QRect shownRect_; // the feedback's client pixels as last painted

    // Creation.
    std::unique_ptr<CBaseCom> created_;
    // Moving: the moved objects with their outlines.
    std::vector<Outline> moved_;
    // Handle drag.
    CBaseCom* handleObject_ = nullptr;
    std::unique_ptr<CBaseCom> backup_;
    HandleDragRecord record_;
    Rect startFrame_;
    Rect pressClientFrame_;
    Rect oldClientBounds_;
    // The outline of a creation or handle drag and where its origin is on screen.
    QPainterPath outline_;
    bool hasOutline_ = false;
    Point outlineOrigin_;

    FrameSnapper snapper_;
    std::vector<GuideLine> guides_;
    Point moveDelta_; // document units, the offset the outlines show
};

} // namespace figures
