#pragma once

#include "figures/model/document.h"
#include "figures/model/geometrycache.h"
#include "figures/render/devicemapping.h"
#include "figures/render/geometry.h"
#include "figures/view/partialpainter.h"
#include "figures/view/spatialindex.h"
#include "figures/view/viewcanvas.h"
#include "figures/view/viewnotify.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace figures {

class CBaseCom;
class DragMachine;
class DrawContext;
class ObjectUi;
class PickerPanel;
class ViewCommands;

// The editing canvas: shows one view of the document it owns, scrolled and zoomed, and
// turns mouse input into selection changes, creation, moves and handle drags.
//
// Coordinates: document units (0.1 mm, y down) in the model; client pixels are the
// viewport's pixels; absolute device pixels are document units times the view's scale,
// so that client = absolute device - scroll offset. Scroll positions count units of
// ScrollUnitX/Y pixels and never go below 0: the canvas only scrolls towards positive
// document coordinates.
//
// The view keeps an index of its objects' bounds for hit tests. Operations of the view
// keep it current; whoever changes objects, layers or the object list behind the view's
// back calls ObjectsChanged afterwards (or ObjectChanged for one object).
class CViewWnd : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int32_t kScrollUnit = 20;      // pixels per scroll position
    static constexpr int32_t kPreviewZoom = 100;    // per mille
    static constexpr int32_t kCreateClickSlop = 3;  // pixels: a creation without dragging
    static constexpr int32_t kDefaultWidth = 500;   // units given to a click-created shape
    static constexpr int32_t kDefaultHeight = 300;
    static constexpr int kAutoScrollMs = 100;

    // The scroll actions of OnScroll, one byte per direction.
    enum ScrollAction : uint8_t {
        SB_LINEUP = 0,
        SB_LINEDOWN = 1,
        SB_PAGEUP = 2,
        SB_PAGEDOWN = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_BOTTOM = 7,
        SB_NONE = 0xFF,
    };
    static constexpr uint16_t VerticalScroll(uint8_t action) { return uint16_t(action << 8 | 0xFF); }
    static constexpr uint16_t HorizontalScroll(uint8_t action) { return uint16_t(0xFF00 | action); }

    // A document with one new view, shown.
    explicit CViewWnd(QWidget* parent = nullptr);
    ~CViewWnd() override;

    // --- document and views ---
    Document& GetDocument() { return document_; }
    const Document& GetDocument() const { return document_; }
    // Replaces the document by the content bytes; the selection is emptied, the first
    // view shown. False (with the reason) when the bytes could not be read completely;
    // the views read before the fault are kept.
    bool SetDocumentContent(std::span<const uint8_t> bytes, std::string* error = nullptr);
    // Shows view index (or none for an invalid index). The selection belongs to the
    // view shown, so it is emptied when another view is shown.
    void SelectView(int index);
    int CurrentIndex() const { return currentIndex_; }
    View* CurrentView() const { return currentView_; }
    // Marks the shown view and the document modified.
    void SetModified();

    // --- appearance ---
    void SetZoom(int percent);
    void SetScrollBarsShown(bool shown);
    bool ScrollBarsShown() const { return scrollBarsShown_; }
    // A fixed 10 % scale without scroll bars, for previews.
    void SetPreviewMode(bool preview);
    bool PreviewMode() const { return previewMode_; }
    void SetBackground(uint32_t colour);
    uint32_t Background() const { return background_; }
    void SetTextEditEnabled(bool enabled) { textEditEnabled_ = enabled; }
    void SetPopupEnabled(bool enabled) { popupEnabled_ = enabled; }
    bool PopupEnabled() const { return popupEnabled_; }
    void SetPickerPanel(PickerPanel* picker) { picker_ = picker; }
    // Moved and created frames rest on a grid of this spacing (document units, 0 = off)
    // and, with guides on, against the edges and centres of the visible objects within
    // 5 pixels, shown as thin lines while dragging. Both are off by default.
    void SetGridSpacing(int32_t units);
    int32_t GridSpacing() const;
    void SetAlignmentGuides(bool on);
    bool AlignmentGuides() const;
    void SetObjectUi(ObjectUi* ui) { objectUi_ = ui; }

    // --- coordinates ---
    // The document-to-absolute-device mapping of the shown view (scale only).
    DeviceMapping Mapping() const;
    // The scroll position in absolute device pixels.
    QPoint ScrollOffset() const;
    // The document point shown at the client area's top-left.
    Point ScrollOrigin() const;
    Point ClientToDocument(Point client) const;
    Point DocumentToClient(Point doc) const;
    Rect DocumentToClient(const Rect& doc) const;
    // The client area's size in document units (without the scroll origin).
    Rect VisibleRect() const;
    int ScrollUnitX() const { return scrollUnitX_; }
    int ScrollUnitY() const { return scrollUnitY_; }

    // --- scrolling ---
    // Recomputes the scroll ranges from the view's content and the client size.
    void UpdateScrollBars();
    // Scrolls by an action pair: low byte horizontal, high byte vertical (ScrollAction).
    void OnScroll(uint16_t code, int position = 0);

    // --- objects ---
    // Repaints the object's area (with its marks when selected), one pixel larger.
    void InvalidateObject(const CBaseCom* object);
    int ObjectIndex(const CBaseCom* object) const;
    // A new catalogue shape (a custom one for a negative index) in the shown view;
    // its index, or -1.
    int AddShape(int shapeIndex);
    // Moves and sizes an object, repainting both places; nothing when rect is its frame.
    void SetObjectRect(CBaseCom* object, const Rect& rect);
    // The object's bounds (with its marks when selected) in client pixels.
    Rect ClientBounds(const CBaseCom* object) const;
    // Deletes objects of the shown view; they leave the selections first.
    void DeleteObjects(std::span<CBaseCom* const> objects);
    // After changes made outside the view: re-reads the objects' order and bounds, drops
    // selected objects that are no longer in the view, repaints and rescales.
    void ObjectsChanged();
    // After objects changed their layers or places in the list, joined the view or left it,
    // with every area that looks different already repainted (InvalidateObject before the
    // change for objects that leave or move down, after it for objects that arrive or move
    // up): re-reads the order and bounds and drops selected objects that left, repainting
    // nothing more.
    void ObjectsReordered();
    // After one object's frame, angle or look changed outside the view.
    void ObjectChanged(const CBaseCom* object);

    // --- selection ---
    bool IsSelected(const CBaseCom* object) const;
    void Select(CBaseCom* object, bool add);
    // Null deselects everything.
    void Deselect(CBaseCom* object);
    void SelectAll();
    const std::vector<CBaseCom*>& Selection() const { return selection_; }
    const std::vector<CBaseCom*>& SavedSelection() const { return savedSelection_; }
    void SaveSelection();
    void RestoreSelection();
    // Replaces the selection (objects not in the shown view are left out).
    void SetSelection(std::span<CBaseCom* const> objects, bool saveFirst);
    // The index of each selected object in the shown view, in selection order.
    std::vector<int> SelectionIndices() const;

    // The topmost object whose bounds hold the client point and that answers the hit
    // test, with its frame and bounds in client pixels; null for none.
    CBaseCom* ObjectAt(Point client, Rect* clientFrame = nullptr, Rect* clientBounds = nullptr);

    bool IsDragging() const;
    // Cancels a running drag as Esc would.
    void CancelDrag();
    // The popup menu was opened: the arrow cursor stays until the next left press.
    bool PopupShown() const { return popupShown_; }

    // Objects handed to the painter for the cached picture since the view was made, counted
    // once per repainted piece they meet: what repaints cost, for tests and benchmarks.
    uint64_t PaintedObjectCount() const { return paintedObjects_; }

    // The view's commands by id, with their popup menu and keyboard actions.
    ViewCommands& Commands() { return *commands_; }

signals:
    // Posted notifications (delivered from the event loop, only while the object is
    // still in the shown view).
    void mouseOver(figures::CBaseCom* object);
    void mouseEnter(figures::CBaseCom* object);
    void mouseLeave(figures::CBaseCom* object);
    // Sent notifications.
    void leftButtonDown(const figures::ViewMouseEvent& event);
    void leftButtonUp(const figures::ViewMouseEvent& event);
    // A right press when the popup menu is enabled: the menu belongs at pos (client).
    void popupRequested(QPoint pos);
    // The shown view changed its zoom.
    void zoomChanged(int zoomX);
    // SetModified marked the shown view: a drag step, a command or a dialog changed it.
    void modified();
    // Another view (or none, -1) is shown.
    void viewShown(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class DragMachine;

    // The index is rebuilt when first asked after the objects changed behind its back.
    void ResetIndex();
    SpatialIndex& Index();
    // After an object was appended to the shown view's list.
    void Appended(const CBaseCom* object);
    // The shown view's extent, worked out again after any change but an append.
    Rect ContentExtent();
    bool PaintOverCanvas(const CBaseCom* object);
    QRect ClientArea(const CBaseCom* object) const;
    void PaintCanvas(QImage& picture, const QRect& client);
    BandedPaint CanvasMapping() const;
    void PaintMarks(const DrawContext& dc, const Rect& docClip);
    int32_t SelectionMargin() const;
    Rect ObjectBounds(const CBaseCom* object) const;
    void InvalidateClient(const Rect& client);
    void SetScrollPositions(int x, int y);
    void ApplyScrollRange(QScrollBar* bar, int64_t corner, int client, int& unit);
    void UpdatePageSteps();

    void LeftPress(QMouseEvent* event);
    void RightPress(QMouseEvent* event);
    CBaseCom* Hover(Point client);
    void UpdateCursor(Point client, CBaseCom* hovered);
    void Forward(const QEvent* event);
    void PostNotification(void (CViewWnd::*signal)(CBaseCom*), CBaseCom* object);
    ViewMouseEvent MouseEventFor(CBaseCom* object, const QMouseEvent* event) const;
    void PruneSelections();

    Document document_;
    int currentIndex_ = -1;
    View* currentView_ = nullptr;
    bool scrollBarsShown_ = true;
    bool textEditEnabled_ = true;
    bool popupEnabled_ = true;
    bool previewMode_ = false;
    bool popupShown_ = false;
    uint32_t background_ = 0xFFFFFF;
    int scrollUnitX_ = kScrollUnit;
    int scrollUnitY_ = kScrollUnit;
    PickerPanel* picker_ = nullptr;
    ObjectUi* objectUi_ = nullptr;
    CBaseCom* lastHovered_ = nullptr;
    std::vector<CBaseCom*> selection_;
    std::vector<CBaseCom*> savedSelection_;
    SpatialIndex index_;
    bool indexStale_ = false;
    Rect extent_;
    bool extentKnown_ = false;
    PartialPainter partial_;
    uint64_t paintedObjects_ = 0;
    ViewCanvas canvas_;
    // The shown objects' geometry between repaints of the canvas.
    GeometryCache geometry_;
    std::unique_ptr<DragMachine> drag_;
    mutable std::vector<CBaseCom*> candidates_;
    bool updatingScrollBars_ = false;
    // Last: its keyboard actions and menu hook into the finished view.
    std::unique_ptr<ViewCommands> commands_;
};

} // namespace figures
