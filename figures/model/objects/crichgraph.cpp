#include "figures/model/objects/crichgraph.h"

#include "figures/model/storage/carchive.h"
#include "figures/model/objects/objectui.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/render/shapes/adjust/adjustroutines.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/styles/faceshading.h"
#include "figures/render/drawcontext.h"
#include "figures/render/lineends/lineends.h"
#include "figures/render/painterpathsink.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

namespace figures {

namespace {

constexpr uint8_t kEmptyProgram[2] = {0, 0};

bool HasArrowLineStep(std::span<const uint8_t> program)
{
    for (std::span<const uint8_t> rest = program; !rest.empty(); rest = SkipSteps(rest, 1)) {
        const uint16_t code = ProgramWord(rest, 0);
        if (code == kArrowLine) {
            return true;
        }
        if (code == 0) {
            return false;
        }
    }
    return false;
}

// Arrow lines take the arrows pass only; the path it is given stays empty.
class NoPath : public PathSink {
public:
    void MoveTo(Point) override {}
    void LineTo(Point) override {}
    void BezierTo(Point, Point, Point) override {}
};

} // namespace

CRichGraph::CRichGraph(int32_t n)
{
    flags = kCatalogueFlags;
    if (const ShapeCatalogueEntry* entry = CatalogueEntry(n)) {
        if (entry->attributes & CA_OPEN) {
            flags &= ~OF_FILL;
        }
        if (entry->attributes & CA_TEXT_BOX) {
            flags |= OF_TEXT;
        }
        if (entry->attributes & CA_CURVE) {
            fillKind = FillKind::None;
        }
    }
    SetShapeIndex(n);
}

std::string CRichGraph::TypeName() const
{
    if (const ShapeCatalogueEntry* entry = CatalogueEntry(shapeIndex)) {
        return std::string(entry->name);
    }
    return "自定义图形";
}

void CRichGraph::SetShapeIndex(int32_t n)
{
    if (n < 0) {
        SetProgram(nullptr, 0);
        return;
    }
    shapeIndex = n;
    RemoveProperty(PT_PROGRAM);
    RemoveProperty(PT_HANDLES);
    TakeCatalogueCopies();
}

void CRichGraph::TakeCatalogueCopies()
{
    const ShapeCatalogueEntry* entry = CatalogueEntry(shapeIndex);
    if (entry == nullptr || entry->handles.empty()) {
        return;
    }
    SetProperty(PT_PROGRAM, entry->program);
    SetProperty(PT_HANDLES, entry->handles);
}

bool CRichGraph::SetProgram(const uint8_t* bytes, size_t length)
{
    shapeIndex = kCustomShape;
    RemoveProperty(PT_HANDLES);
    // Programs beyond kMaxProgramBytes do not fit an item; the shape then keeps none.
    if (IsValidProgram(bytes, length) && length <= kMaxProgramBytes) {
        return SetProperty(PT_PROGRAM, bytes, int32_t(length));
    }
    SetProperty(PT_PROGRAM, kEmptyProgram);
    return false;
}

std::span<const uint8_t> CRichGraph::GetProgram() const
{
    const std::span<const uint8_t> own = GetProperty(PT_PROGRAM);
    if (!own.empty()) {
        return own;
    }
    if (const ShapeCatalogueEntry* entry = CatalogueEntry(shapeIndex)) {
        return entry->program;
    }
    return {};
}

void CRichGraph::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(shapeIndex);
        if (shapeIndex == kCustomShape) {
            const std::span<const uint8_t> program = GetProperty(PT_PROGRAM);
            ar.WriteI32(int32_t(program.size()));
            ar.WriteBytes(program);
        }
        return;
    }
    shapeIndex = ar.ReadI32();
    if (shapeIndex == kCustomShape) {
        const int32_t length = ar.ReadI32();
        if (length < 0 || size_t(length) > ar.Remaining()) {
            throw TruncatedDataError("shape program length exceeds the data");
        }
        const std::span<const uint8_t> program = ar.ReadView(size_t(length));
        // The property record read above may carry a handle list; a custom program
        // never has one, and SetProgram drops it.
        SetProgram(program.data(), program.size());
    }
}

int32_t CRichGraph::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    switch (code) {
    case OM_BEGIN_CREATE:
        if (const BeginCreateArgs* begin = MessageRecord<BeginCreateArgs>(args)) {
            createStart_ = begin->start;
            return 0;
        }
        break;
    case OM_TRACK_CREATE:
        if (TrackCreateArgs* track = MessageRecord<TrackCreateArgs>(args)) {
            return TrackCreate(*track);
        }
        break;
    case OM_END_CREATE:
        if (MessageRecord<EndCreateArgs>(args) != nullptr) {
            return 0;
        }
        break;
    case OM_MAKE_OUTLINE:
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            PainterPathSink sink(outline->outline);
            RunShapeProgram(GetProgram(), ShapeFrameAt(*this, {0, 0, Width(), Height()}),
                            ProgramMode::DragOutline, sink);
            outline->found = true;
            return 0;
        }
        break;
    case OM_DRAW_MARKS:
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            CRectCom::OnMessage(code, args);
            // While a shape is selected on the canvas its text boxes show dotted frames.
            if (request->fromView) {
                PaintShapeTexts(*this, *request, ShapeTextPass::EditFrames);
            }
            return 0;
        }
        break;
    case OM_MOUSE_DOWN:
        if (HitRecord* hit = MessageRecord<HitRecord>(args); hit && hit->map) {
            // Adjust handles (buttons included) act through the shape's adjust routine.
            const int32_t hitCode = HitTest(*hit->map, hit->devicePoint, *hit);
            if (hitCode >= 0) {
                hit->hitCode = hitCode;
                return OM_HANDLE_DRAG;
            }
        }
        break;
    case OM_AFTER_FILL:
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            DrawAfterFill(*request);
            return 0;
        }
        break;
    case OM_BEGIN_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args);
            drag && drag->handle >= 0) {
            AdjustBegin(drag->adjust, shapeIndex, drag->handle, GetProperty(PT_HANDLES),
                        AdjustShapeOf());
            return CRectCom::OnMessage(code, args);
        }
        break;
    case OM_TRACK_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args);
            drag && drag->handle >= 0) {
            TrackAdjustHandle(*drag);
            return 0;
        }
        break;
    case OM_END_HANDLE_DRAG:
        if (HandleDragRecord* drag = MessageRecord<HandleDragRecord>(args)) {
            AdjustEnd(drag->adjust);
            return 0;
        }
        break;
    case OM_DOUBLE_CLICK:
        if (const DoubleClickRecord* click = MessageRecord<DoubleClickRecord>(args)) {
            return EditTextAt(*click) ? 0 : -1;
        }
        break;
    default: break;
    }
    return CRectCom::OnMessage(code, args);
}

ShapeFrame CRichGraph::FrameFor(const DrawRequest& request) const
{
    return ShapeFrameAt(PoseFor(request), request.target);
}

bool CRichGraph::IsClosedFigure() const
{
    const ShapeCatalogueEntry* entry = CatalogueEntry(shapeIndex);
    return entry != nullptr && (entry->attributes & CA_OPEN) == 0;
}

bool CRichGraph::HasRegions(FillKind paintedFillKind) const
{
    return IsClosedFigure() && paintedFillKind != FillKind::Gradient;
}

Rect CRichGraph::Bounds(int32_t selectionMargin) const
{
    const Rect bounds = RectBounds(selectionMargin);
    const std::span<const uint8_t> program = GetProgram();
    if (!HasArrowLineStep(program)) {
        return bounds;
    }
    ArrowStepBounds arrows(lineStyle, LineWidthUnits(lineWidth));
    NoPath noPath;
    RunShapeProgram(program, ShapeFrameAt(*this, frame), ProgramMode::Arrows, noPath, &arrows);
    return arrows.any ? bounds.United(WithShadow(arrows.bounds.Inflated(selectionMargin)))
                      : bounds;
}

// Beyond the frame, turn, flips and program that the geometry key holds, the area grows
// with the pen (outline and arrowheads) and the shadow.
bool CRichGraph::PaintedAreaFrom(PaintedAreaInputs& inputs) const
{
    inputs = {lineStyle, lineWidth, shadowDirection, shadowOffset, 0, 0};
    return true;
}

bool CRichGraph::BuildGeometry(ObjectGeometry& geometry) const
{
    const std::span<const uint8_t> program = GetProgram();
    const ShapeFrame at = ShapeFrameAt(*this, frame);
    geometry.outline.clear();
    geometry.outline.setFillRule(Qt::OddEvenFill);
    {
        PainterPathSink sink(geometry.outline);
        geometry.arrowLines = RunShapeProgram(program, at, ProgramMode::Outline, sink);
    }
    geometry.silhouette = QPainterPath();
    if (IsClosedFigure()) {
        QPainterPath silhouette;
        silhouette.setFillRule(Qt::OddEvenFill);
        PainterPathSink sink(silhouette);
        RunShapeProgram(program, at, ProgramMode::Silhouette, sink);
        // Most figures have no inner ones: the two paths then share one copy.
        geometry.silhouette = silhouette == geometry.outline ? geometry.outline : silhouette;
    }
    geometry.showsText = ShowsText(program, at, GetProperty(PT_TEXTS));
    return true;
}

const QPainterPath* CRichGraph::RegionFor(const DrawRequest& request, ProgramMode mode,
                                          QPainterPath& scratch) const
{
    if (!HasRegions(PaintFor(request).fillKind)) {
        return nullptr;
    }
    if (const ObjectGeometry* cached = GeometryFor(request)) {
        return mode == ProgramMode::Outline ? &cached->outline : &cached->silhouette;
    }
    return ProgramRegion(request, mode, scratch) ? &scratch : nullptr;
}

const QPainterPath* CRichGraph::FillRegionFor(const DrawRequest& request,
                                              QPainterPath& scratch) const
{
    return RegionFor(request, ProgramMode::Outline, scratch);
}

const QPainterPath* CRichGraph::SilhouetteFor(const DrawRequest& request,
                                              QPainterPath& scratch) const
{
    return RegionFor(request, ProgramMode::Silhouette, scratch);
}

bool CRichGraph::ProgramRegion(const DrawRequest& request, ProgramMode mode,
                               QPainterPath& region) const
{
    if (!HasRegions(PaintFor(request).fillKind)) {
        return false;
    }
    PainterPathSink sink(region);
    RunShapeProgram(GetProgram(), FrameFor(request), mode, sink);
    // Regions of shape paths use the alternate rule: inner figures become holes.
    region.setFillRule(Qt::OddEvenFill);
    return true;
}

bool CRichGraph::FillRegion(const DrawRequest& request, QPainterPath& region) const
{
    return ProgramRegion(request, ProgramMode::Outline, region);
}

bool CRichGraph::SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const
{
    return ProgramRegion(request, ProgramMode::Silhouette, region);
}

void CRichGraph::Draw(const DrawRequest& request) const
{
    const ObjectGeometry* cached = GeometryFor(request);
    DrawShadow(request);
    FillShape(request);
    if (cached == nullptr || cached->showsText) {
        PaintShapeTexts(*this, request, ShapeTextPass::Texts);
    }
    const DrawContext::ScratchPath scratch(*request.dc);
    PainterPathSink sink(*scratch);
    const ShapeFrame frameAt = FrameFor(request);
    const Colour ink = PaintFor(request).lineColour;
    const int hasArrows = cached != nullptr
                              ? cached->arrowLines
                              : RunShapeProgram(GetProgram(), frameAt, ProgramMode::Outline, sink);
    const QPainterPath& outline = cached != nullptr ? cached->outline : *scratch;
    request.dc->StrokeLine(outline, lineStyle, LineWidthUnits(lineWidth), ink);
    if (hasArrows == 1) {
        // The arrow pass hands each arrow-line step to the drawer and leaves the path
        // alone, so the outline's sink can stand in for it.
        ArrowStepDrawer arrows(*request.dc, lineStyle, LineWidthUnits(lineWidth), ink);
        RunShapeProgram(GetProgram(), frameAt, ProgramMode::Arrows, sink, &arrows);
    }
}

void CRichGraph::DrawAfterFill(const DrawRequest& request) const
{
    const Paint paint = PaintFor(request);
    DrawFaceShading(*request.dc, shapeIndex, GetProgram(), FrameFor(request), paint.fillKind,
                    paint.fillColour, fillBackColour);
}

int32_t CRichGraph::HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const
{
    const int32_t code = CRectCom::HitTest(map, devicePoint, hit);
    if (code != HIT_BODY) {
        return code;
    }
    const ShapeCatalogueEntry* entry = CatalogueEntry(shapeIndex);
    if (entry != nullptr && (entry->attributes & CA_OPEN) != 0) {
        return code;
    }
    QPainterPath outline;
    PainterPathSink sink(outline);
    RunShapeProgram(GetProgram(), ShapeFrameAt(*this, frame), ProgramMode::Outline, sink);
    // Everything the outline encloses counts, inner figures included.
    outline.setFillRule(Qt::WindingFill);
    const Point doc = map.ToDocument(devicePoint);
    return outline.contains(QPointF(doc.x, doc.y)) ? HIT_BODY : HIT_MISS;
}

AdjustShape CRichGraph::AdjustShapeOf() const
{
    return {frame, angle, HasFlag(OF_FLIPPED_H), HasFlag(OF_FLIPPED_V)};
}

void CRichGraph::TrackAdjustHandle(HandleDragRecord& drag)
{
    drag.hasOutline = false;
    if (HasFlag(OF_LOCKED)) {
        return;
    }
    // The routines work on the object's own copies, which adjusting rewrites.
    const std::span<const uint8_t> program = GetProgram();
    const std::span<const uint8_t> handles = GetProperty(PT_HANDLES);
    std::vector<uint8_t> newProgram(program.begin(), program.end());
    std::vector<uint8_t> newHandles(handles.begin(), handles.end());
    // The displacement is measured against the shape as it was when the drag began.
    const ObjectPose& start = drag.start;
    const AdjustShape began{start.frame, start.angle, (start.flags & OF_FLIPPED_H) != 0,
                            (start.flags & OF_FLIPPED_V) != 0};
    const AdjustResult result = AdjustDrag(drag.adjust, shapeIndex, drag.handle, {drag.dx, drag.dy},
                                           began, newProgram, newHandles);
    if (!result.changed) {
        return;
    }
    SetProperty(PT_PROGRAM, newProgram);
    SetProperty(PT_HANDLES, newHandles);
    if (result.frameChanged) {
        frame = result.frame;
    }
    OutlineRequest outline;
    OnMessage(OM_MAKE_OUTLINE, &outline);
    drag.outline = std::move(outline.outline);
    drag.hasOutline = outline.found;
}

CursorShape CRichGraph::CursorFor(const HitRecord& hit) const
{
    if (hit.hitCode == HIT_BODY && !HasFlag(OF_LOCKED) && hit.map != nullptr &&
        FindTextBoxAt(*this, hit.map->ToDocument(hit.devicePoint))) {
        return CursorShape::TextBox;
    }
    return CRectCom::CursorFor(hit);
}

bool CRichGraph::EditTextAt(const DoubleClickRecord& click)
{
    if (!click.textEditAllowed || click.ui == nullptr || click.map == nullptr) {
        return false;
    }
    const std::optional<TextBoxHit> box =
        FindTextBoxAt(*this, click.map->ToDocument(click.devicePoint));
    if (!box) {
        return false;
    }
    const int step = box->step.index;
    const double scaleX = click.map->ScaleX();
    const double scaleY = click.map->ScaleY();
    click.ui->EditShapeText(box->bounds, box->text,
                            [this, step, scaleX, scaleY](const std::string& gbk) {
                                return ApplyTypedText(*this, step, gbk, scaleX, scaleY).box;
                            });
    return true;
}

int32_t CRichGraph::TrackCreate(TrackCreateArgs& track)
{
    if (track.event == TrackEvent::Other) {
        return OM_NOT_TRACKED;
    }
    const Point s = createStart_;
    frame = Rect{s.x, s.y, s.x + AtLeastMagnitude(track.dx, kMinCreateExtent),
                 s.y + AtLeastMagnitude(track.dy, kMinCreateExtent)}
                .Normalised();
    if (shapeIndex >= 0 && GetProperty(PT_PROGRAM).empty()) {
        TakeCatalogueCopies();
    }
    OutlineRequest outline;
    OnMessage(OM_MAKE_OUTLINE, &outline);
    track.outline = std::move(outline.outline);
    track.hasOutline = outline.found;
    return track.event == TrackEvent::LeftButtonUp ? 0 : OM_CONTINUE;
}

} // namespace figures
