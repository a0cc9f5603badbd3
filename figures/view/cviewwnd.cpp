#include "figures/view/cviewwnd.h"

#include "figures/model/bandedpainter.h"

#include "figures/model/objects/cbasecom.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/viewpainter.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/view/dragmachine.h"
#include "figures/view/viewcommands.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <unordered_set>

namespace figures {

namespace {

// Scroll positions must fit the 16-bit positions of scroll messages: content larger than
// this many units gets a larger unit instead.
constexpr int64_t kMaxScrollPositions = 65535;
// Handles paint up to this many pixels beyond a selected object's frame.
constexpr int32_t kMarkMarginPixels = 20;
// Zooms outside this range (per mille) would divide by zero or overflow coordinates;
// views read from damaged documents are shown at 100 % instead.
constexpr int32_t kMinZoom = 10;
constexpr int32_t kMaxZoom = 100000;

QRect ToQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

int32_t SaneZoom(int32_t zoom)
{
    return zoom >= kMinZoom && zoom <= kMaxZoom ? zoom : DeviceMapping::kZoomScale;
}

} // namespace

CViewWnd::CViewWnd(QWidget* parent)
    : QAbstractScrollArea(parent), drag_(std::make_unique<DragMachine>(*this))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    document_.ResetDocument();
    SelectView(0);
    commands_ = std::make_unique<ViewCommands>(*this);
}

CViewWnd::~CViewWnd() = default;

// --- document and views ---

bool CViewWnd::SetDocumentContent(std::span<const uint8_t> bytes, std::string* error)
{
    drag_->Cancel();
    selection_.clear();
    savedSelection_.clear();
    lastHovered_ = nullptr;
    currentView_ = nullptr;
    index_.Clear();
    indexStale_ = false;
    const ReadDocumentResult result = ReadDocument(bytes, document_);
    if (error != nullptr) {
        *error = result.error;
    }
    SelectView(0);
    return result.ok;
}

void CViewWnd::SelectView(int index)
{
    drag_->Cancel();
    document_.SelectView(index);
    currentIndex_ = document_.CurrentIndex();
    currentView_ = document_.CurrentView();
    // Selected objects belong to the view they were selected in; showing another view
    // must not leave pointers the arrange commands would act on.
    selection_.clear();
    savedSelection_.clear();
    lastHovered_ = nullptr;
    ResetIndex();
    canvas_.InvalidateAll();
    viewport()->update();
    UpdateScrollBars();
    emit viewShown(currentIndex_);
}

void CViewWnd::SetModified()
{
    if (currentView_ != nullptr) {
        currentView_->modified = true;
        document_.SetModified(true);
        emit modified();
    }
}

// --- appearance ---

void CViewWnd::SetZoom(int percent)
{
    if (currentView_ == nullptr || percent * 10 < kMinZoom || percent * 10 > kMaxZoom) {
        return;
    }
    currentView_->zoomY = percent * 10;
    currentView_->zoomX = currentView_->zoomY;
    canvas_.InvalidateAll();
    viewport()->update();
    UpdateScrollBars();
    emit zoomChanged(currentView_->zoomX);
}

void CViewWnd::SetScrollBarsShown(bool shown)
{
    scrollBarsShown_ = shown;
    const Qt::ScrollBarPolicy policy =
        shown && !previewMode_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    UpdateScrollBars();
}

void CViewWnd::SetPreviewMode(bool preview)
{
    previewMode_ = preview;
    SetScrollBarsShown(scrollBarsShown_);
    canvas_.InvalidateAll();
    viewport()->update();
}

void CViewWnd::SetBackground(uint32_t colour)
{
    background_ = colour;
    canvas_.InvalidateAll();
    viewport()->update();
}

void CViewWnd::SetGridSpacing(int32_t units)
{
    drag_->Snapper().SetGrid(units);
}

int32_t CViewWnd::GridSpacing() const
{
    return drag_->Snapper().Grid();
}

void CViewWnd::SetAlignmentGuides(bool on)
{
    drag_->Snapper().SetGuides(on);
}

bool CViewWnd::AlignmentGuides() const
{
    return drag_->Snapper().Guides();
}

// --- coordinates ---

DeviceMapping CViewWnd::Mapping() const
{
    int32_t zoomX = DeviceMapping::kZoomScale;
    int32_t zoomY = DeviceMapping::kZoomScale;
    if (previewMode_) {
        zoomX = zoomY = kPreviewZoom;
    } else if (currentView_ != nullptr) {
        zoomX = SaneZoom(currentView_->zoomX);
        zoomY = SaneZoom(currentView_->zoomY);
    }
    return DeviceMapping(logicalDpiX(), logicalDpiY(), zoomX, zoomY);
}

QPoint CViewWnd::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value() * scrollUnitX_,
                  verticalScrollBar()->value() * scrollUnitY_);
}

Point CViewWnd::ScrollOrigin() const
{
    const QPoint offset = ScrollOffset();
    return Mapping().ToDocument(Point{offset.x(), offset.y()});
}

Point CViewWnd::ClientToDocument(Point client) const
{
    const QPoint offset = ScrollOffset();
    return Mapping().ToDocument(Point{client.x + offset.x(), client.y + offset.y()});
}

Point CViewWnd::DocumentToClient(Point doc) const
{
    const QPoint offset = ScrollOffset();
    const Point device = Mapping().ToDevice(doc);
    return {device.x - offset.x(), device.y - offset.y()};
}

Rect CViewWnd::DocumentToClient(const Rect& doc) const
{
    const QPoint offset = ScrollOffset();
    return Mapping().ToDevice(doc).Offset(-offset.x(), -offset.y());
}

Rect CViewWnd::VisibleRect() const
{
    return Mapping().ToDocument(Rect{0, 0, viewport()->width(), viewport()->height()});
}

// --- scrolling ---

void CViewWnd::ApplyScrollRange(QScrollBar* bar, int64_t corner, int client, int& unit)
{
    const int64_t oldPixels = int64_t(bar->value()) * unit;
    const auto positions = [&](int64_t u) { return corner / u - client / u + 1; };
    int64_t n = positions(kScrollUnit);
    int64_t k = 1;
    if (n >= kMaxScrollPositions) {
        // A larger unit keeps the position count below the limit; the first guess can
        // fall one short because of the integer divisions.
        k = n / (kMaxScrollPositions - 1) + 1;
        while (positions(kScrollUnit * k) >= kMaxScrollPositions) {
            ++k;
        }
        n = positions(kScrollUnit * k);
    }
    const int newUnit = int(kScrollUnit * k);
    const int max = n < 1 ? 0 : int(n);
    if (newUnit != unit) {
        unit = newUnit;
        bar->setRange(0, max);
        bar->setValue(int(oldPixels / unit));
    } else {
        bar->setRange(0, max);
    }
}

void CViewWnd::UpdatePageSteps()
{
    // The horizontal page is half a window, the vertical page a whole one.
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width() / scrollUnitX_ / 2));
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height() / scrollUnitY_));
}

void CViewWnd::UpdateScrollBars()
{
    // Showing or hiding a bar resizes the viewport, which asks again.
    if (updatingScrollBars_) {
        return;
    }
    updatingScrollBars_ = true;
    if (previewMode_ || currentView_ == nullptr || !scrollBarsShown_) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        scrollUnitX_ = scrollUnitY_ = kScrollUnit;
    } else {
        const Rect extent = ContentExtent();
        const Point corner = Mapping().ToDevice(Point{extent.right, extent.bottom});
        const int width = viewport()->width();
        const int height = viewport()->height();
        // The user can scroll half a window past the content.
        ApplyScrollRange(verticalScrollBar(), int64_t(corner.y) + height / 2, height,
                         scrollUnitY_);
        ApplyScrollRange(horizontalScrollBar(), int64_t(corner.x) + width / 2, width,
                         scrollUnitX_);
    }
    UpdatePageSteps();
    updatingScrollBars_ = false;
}

void CViewWnd::SetScrollPositions(int x, int y)
{
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

void CViewWnd::OnScroll(uint16_t code, int position)
{
    const auto step = [position](const QScrollBar* bar, uint8_t action, int page) {
        const int v = bar->value();
        switch (action) {
        case SB_LINEUP: return v > bar->minimum() ? v - 1 : v;
        case SB_LINEDOWN: return v < bar->maximum() ? v + 1 : v;
        case SB_PAGEUP: return std::max(bar->minimum(), v - page);
        case SB_PAGEDOWN: return std::min(bar->maximum(), v + page);
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: return std::clamp(position, bar->minimum(), bar->maximum());
        case SB_TOP: return bar->minimum();
        case SB_BOTTOM: return bar->maximum();
        default: return v;
        }
    };
    const QScrollBar* h = horizontalScrollBar();
    const QScrollBar* v = verticalScrollBar();
    const int x = step(h, uint8_t(code & 0xFF), h->pageStep());
    const int y = step(v, uint8_t(code >> 8), v->pageStep());
    if (x == h->value() && y == v->value()) {
        return;
    }
    SetScrollPositions(x, y);
}

void CViewWnd::scrollContentsBy(int, int)
{
    // The cached picture follows the new offset when painting; no pixels are moved on
    // screen here.
    viewport()->update();
}

void CViewWnd::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// --- painting ---

void CViewWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    if (currentView_ == nullptr) {
        painter.fillRect(event->rect(), ToQColor(background_));
        return;
    }
    const qreal ratio = viewport()->devicePixelRatioF();
    canvas_.Follow(viewport()->size(), ScrollOffset(), ratio);
    canvas_.Refresh([this](QImage& picture, const QRect& client) { PaintCanvas(picture, client); });
    // The picture holds screen pixels: the source is the same rectangle in its pixels, so
    // that the screen gets them one to one.
    const QRectF target(event->rect());
    const QRectF source(target.topLeft() * ratio, target.size() * ratio);
    painter.drawImage(target, canvas_.Image(), source);
    drag_->PaintOverlay(painter);
}

void CViewWnd::PaintCanvas(QImage& picture, const QRect& client)
{
    // Objects draw in absolute device pixels (document units times the scale); the
    // painters' window moves them by the scroll offset, so that every scroll position
    // shows exactly the same pixels.
    const QPoint offset = canvas_.Offset();
    const QRect device = client.translated(offset);
    const BandedPaint mapping = CanvasMapping();
    PaintOptions options;
    options.deviceClip = {device.left(), device.top(), device.right() + 1, device.bottom() + 1};
    options.background = background_;
    options.fromView = true;
    partial_.Paint(*currentView_, Index(), geometry_, picture, mapping, options);
    paintedObjects_ += partial_.LastCount();

    // The marks go over every band, so they are painted once the bands are done.
    QPainter painter(&picture);
    const QSize size = LogicalSize(picture);
    painter.setWindow(QRect(offset, size));
    painter.setViewport(QRect(QPoint(0, 0), size));
    painter.setClipRect(device);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY);
    PaintMarks(dc, dc.ToDocument(options.deviceClip));
}

BandedPaint CViewWnd::CanvasMapping() const
{
    const DeviceMapping map = Mapping();
    BandedPaint mapping;
    mapping.dpiX = map.DpiX();
    mapping.dpiY = map.DpiY();
    mapping.zoomX = previewMode_ ? kPreviewZoom : SaneZoom(currentView_->zoomX);
    mapping.zoomY = previewMode_ ? kPreviewZoom : SaneZoom(currentView_->zoomY);
    mapping.imageOffset = canvas_.Offset();
    return mapping;
}

void CViewWnd::PaintMarks(const DrawContext& dc, const Rect& docClip)
{
    if (selection_.empty()) {
        return;
    }
    // Marks go over all objects, in painting order.
    std::vector<CBaseCom*> ordered = selection_;
    const SpatialIndex& index = Index();
    std::sort(ordered.begin(), ordered.end(), [&index](const CBaseCom* a, const CBaseCom* b) {
        return index.Rank(a) < index.Rank(b);
    });
    DrawRequest request;
    request.dc = &dc;
    request.scaleX = previewMode_ ? kPreviewZoom : currentView_->zoomX;
    request.scaleY = previewMode_ ? kPreviewZoom : currentView_->zoomY;
    request.clip = docClip;
    request.background = background_;
    request.fromView = true;
    for (CBaseCom* object : ordered) {
        if (!ObjectBounds(object).Inflated(1).Intersects(docClip)) {
            continue;
        }
        request.target = object->frame;
        object->OnMessage(OM_DRAW_MARKS, &request);
    }
}

// --- objects ---

int32_t CViewWnd::SelectionMargin() const
{
    return Mapping().DocumentLengthX(kMarkMarginPixels);
}

Rect CViewWnd::ObjectBounds(const CBaseCom* object) const
{
    BoundsRequest request;
    if (IsSelected(object)) {
        request.selectionMargin = SelectionMargin();
    }
    const_cast<CBaseCom*>(object)->OnMessage(OM_GET_BOUNDS, &request);
    return request.bounds.Normalised();
}

Rect CViewWnd::ClientBounds(const CBaseCom* object) const
{
    return DocumentToClient(ObjectBounds(object));
}

QRect CViewWnd::ClientArea(const CBaseCom* object) const
{
    const QRect r = ToQRect(ClientBounds(object)) & viewport()->rect();
    // Antialiased edges reach into the pixels around the bounds.
    return r.isEmpty() ? QRect() : r.adjusted(-1, -1, 1, 1);
}

void CViewWnd::InvalidateClient(const Rect& client)
{
    const QRect r = ToQRect(client) & viewport()->rect();
    if (r.isEmpty()) {
        return;
    }
    const QRect grown = r.adjusted(-1, -1, 1, 1);
    // Dirty pixels are kept in the picture's coordinates: bring it to the current scroll
    // position first (at the screen's ratio, which a picture of another ratio would lose).
    canvas_.Follow(viewport()->size(), ScrollOffset(), viewport()->devicePixelRatioF());
    canvas_.Invalidate(grown);
    viewport()->update(grown);
}

// A new object on top of everything around it is painted over the cached picture: the
// picture already shows what lies under it, so the objects there need no repaint. False
// when the picture cannot take it (a repaint pending there, selection marks that must stay
// over the object, not the topmost object); the caller then repaints the area.
bool CViewWnd::PaintOverCanvas(const CBaseCom* object)
{
    SpatialIndex& index = Index();
    if (index.Rank(object) != index.Count() - 1 || IsSelected(object)) {
        return false;
    }
    const QRect area = ClientArea(object);
    if (area.isEmpty()) {
        return true;
    }
    canvas_.Follow(viewport()->size(), ScrollOffset(), viewport()->devicePixelRatioF());
    if (canvas_.Image().isNull() || canvas_.Dirty().intersects(area)) {
        return false;
    }
    for (const CBaseCom* selected : selection_) {
        if (ClientArea(selected).intersects(area)) {
            return false;
        }
    }
    const QRect device = area.translated(canvas_.Offset());
    PaintOptions options;
    options.deviceClip = {device.left(), device.top(), device.right() + 1, device.bottom() + 1};
    options.background = background_;
    options.fromView = true;
    partial_.PaintOnTop(*currentView_, *object, geometry_, canvas_.Picture(), CanvasMapping(),
                        options);
    paintedObjects_ += partial_.LastCount();
    viewport()->update(area);
    return true;
}

void CViewWnd::InvalidateObject(const CBaseCom* object)
{
    if (object != nullptr && currentView_ != nullptr) {
        InvalidateClient(ClientBounds(object));
    }
}

int CViewWnd::ObjectIndex(const CBaseCom* object) const
{
    return currentView_ == nullptr ? -1 : currentView_->IndexOf(object);
}

int CViewWnd::AddShape(int shapeIndex)
{
    if (currentView_ == nullptr) {
        return -1;
    }
    const int index = currentView_->AddNewShape(shapeIndex);
    if (index < 0) {
        return -1;
    }
    SetModified();
    const CBaseCom* added = currentView_->ObjectByIndex(index);
    Appended(added);
    if (!PaintOverCanvas(added)) {
        InvalidateObject(added);
    }
    UpdateScrollBars();
    return index;
}

void CViewWnd::SetObjectRect(CBaseCom* object, const Rect& rect)
{
    if (object == nullptr || object->frame == rect) {
        return;
    }
    InvalidateObject(object);
    object->frame = rect;
    Index().Update(object);
    extentKnown_ = false;
    InvalidateObject(object);
}

void CViewWnd::DeleteObjects(std::span<CBaseCom* const> objects)
{
    if (currentView_ == nullptr || objects.empty()) {
        return;
    }
    const std::unordered_set<const CBaseCom*> doomed(objects.begin(), objects.end());
    for (CBaseCom* object : objects) {
        InvalidateObject(object);
    }
    auto& list = currentView_->objects;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto& o) { return doomed.count(o.get()) != 0; }),
               list.end());
    SetModified();
    ObjectsReordered();
}

void CViewWnd::ObjectsChanged()
{
    ResetIndex();
    PruneSelections();
    canvas_.InvalidateAll();
    viewport()->update();
    UpdateScrollBars();
}

void CViewWnd::ObjectsReordered()
{
    ResetIndex();
    PruneSelections();
    UpdateScrollBars();
}

void CViewWnd::ObjectChanged(const CBaseCom* object)
{
    InvalidateObject(object);
    Index().Update(object);
    extentKnown_ = false;
    InvalidateObject(object);
}

void CViewWnd::ResetIndex()
{
    indexStale_ = true;
    extentKnown_ = false;
}

void CViewWnd::Appended(const CBaseCom* object)
{
    Index().Added(*currentView_, object);
    extent_ = View::ExtentWith(extent_, object->frame);
}

Rect CViewWnd::ContentExtent()
{
    if (!extentKnown_) {
        extent_ = currentView_->Extent();
        extentKnown_ = true;
    }
    return extent_;
}

SpatialIndex& CViewWnd::Index()
{
    if (!indexStale_) {
        return index_;
    }
    indexStale_ = false;
    if (currentView_ == nullptr) {
        index_.Clear();
        geometry_.Clear();
        return index_;
    }
    index_.Rebuild(*currentView_);
    // Repaints of parts of the picture keep the geometry of objects that left the view.
    if (geometry_.Size() > size_t(index_.Count())) {
        geometry_.DropAllBut(index_.ZOrder());
    }
    return index_;
}

void CViewWnd::PruneSelections()
{
    const SpatialIndex& index = Index();
    const auto gone = [&index](const CBaseCom* o) { return index.Rank(o) < 0; };
    std::erase_if(selection_, gone);
    std::erase_if(savedSelection_, gone);
    if (lastHovered_ != nullptr && gone(lastHovered_)) {
        lastHovered_ = nullptr;
    }
}

// --- selection ---

bool CViewWnd::IsSelected(const CBaseCom* object) const
{
    return std::find(selection_.begin(), selection_.end(), object) != selection_.end();
}

void CViewWnd::Select(CBaseCom* object, bool add)
{
    if (object == nullptr || IsSelected(object) || Index().Rank(object) < 0) {
        return;
    }
    if (!add) {
        Deselect(nullptr);
    }
    selection_.push_back(object);
    InvalidateObject(object);
}

void CViewWnd::Deselect(CBaseCom* object)
{
    if (object == nullptr) {
        for (const CBaseCom* selected : selection_) {
            InvalidateObject(selected);
        }
        selection_.clear();
        return;
    }
    const auto it = std::find(selection_.begin(), selection_.end(), object);
    if (it != selection_.end()) {
        InvalidateObject(object);
        selection_.erase(it);
    }
}

void CViewWnd::SelectAll()
{
    if (currentView_ == nullptr) {
        return;
    }
    selection_.clear();
    for (const auto& object : currentView_->objects) {
        selection_.push_back(object.get());
    }
    canvas_.InvalidateAll();
    viewport()->update();
}

void CViewWnd::SaveSelection()
{
    savedSelection_ = selection_;
}

void CViewWnd::RestoreSelection()
{
    selection_ = savedSelection_;
}

void CViewWnd::SetSelection(std::span<CBaseCom* const> objects, bool saveFirst)
{
    if (saveFirst) {
        SaveSelection();
    }
    selection_.clear();
    for (CBaseCom* object : objects) {
        if (Index().Rank(object) >= 0 && !IsSelected(object)) {
            selection_.push_back(object);
        }
    }
}

std::vector<int> CViewWnd::SelectionIndices() const
{
    std::vector<int> indices;
    indices.reserve(selection_.size());
    for (const CBaseCom* object : selection_) {
        indices.push_back(ObjectIndex(object));
    }
    return indices;
}

CBaseCom* CViewWnd::ObjectAt(Point client, Rect* clientFrame, Rect* clientBounds)
{
    if (currentView_ == nullptr) {
        return nullptr;
    }
    const DeviceMapping map = Mapping();
    const QPoint offset = ScrollOffset();
    const Point device{client.x + offset.x(), client.y + offset.y()};
    // Candidates come from the index by their bounds as last read, grown by the marks'
    // margin and two pixels of rounding; the exact test below is the hit test itself.
    const int32_t slack = SelectionMargin() + map.DocumentLengthX(2) + 2;
    Index().ObjectsAt(map.ToDocument(device), slack, candidates_);
    for (CBaseCom* object : candidates_) {
        const Rect bounds = map.ToDevice(ObjectBounds(object));
        if (!bounds.Contains(device)) {
            continue;
        }
        HitRecord hit;
        hit.map = &map;
        hit.devicePoint = device;
        hit.mode = 0;
        hit.ui = objectUi_;
        if (object->OnMessage(OM_SET_CURSOR, &hit) != 0) {
            continue;
        }
        if (clientFrame != nullptr) {
            *clientFrame = map.ToDevice(object->frame).Offset(-offset.x(), -offset.y());
        }
        if (clientBounds != nullptr) {
            *clientBounds = bounds.Offset(-offset.x(), -offset.y());
        }
        return object;
    }
    return nullptr;
}

bool CViewWnd::IsDragging() const
{
    return drag_->Active();
}

void CViewWnd::CancelDrag()
{
    drag_->Cancel();
}

} // namespace figures
