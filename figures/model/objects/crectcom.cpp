#include "figures/model/objects/crectcom.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/styles/fillstyle.h"
#include "figures/render/styles/gradient.h"
#include "figures/render/styles/linestyle.h"
#include "figures/render/pictures/picture.h"

#include <algorithm>

namespace figures {

namespace {

constexpr size_t kReservedTail = 40;
constexpr uint32_t kWhite = 0xFFFFFF;

} // namespace

Point ShadowVector(int32_t direction, int32_t w)
{
    // Directions run clockwise from the top-left: 1 top-left, 2 up, ..., 8 left.
    static constexpr int8_t kSteps[9][2] = {{0, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                            {1, 1}, {0, 1},   {-1, 1}, {-1, 0}};
    if (direction < 0 || direction > 8) {
        return {};
    }
    return {kSteps[direction][0] * w, kSteps[direction][1] * w};
}

CRectCom::CRectCom()
{
    flags = kInitialFlags;
}

std::string CRectCom::TypeName() const
{
    return "矩形对象";
}

void CRectCom::Serialize(CArchive& ar)
{
    CBaseCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteU32(edgeMask);
        ar.WriteI32(lineStyle);
        ar.WriteI32(lineWidth);
        ar.WriteU32(lineColour);
        ar.WriteI32(shadowDirection);
        ar.WriteI32(shadowOffset);
        ar.WriteU32(shadowColour);
        ar.WriteI32(int32_t(fillKind));
        ar.WriteU32(fillColour);
        ar.WriteI32(hatchStyle);
        ar.WriteI32(picturePlacement);
        ar.WriteI32(gradientKind);
        if (gradientKind != 0) {
            // The record can only carry the colours the object holds.
            const int32_t count = std::clamp(gradientCount, 0, kMaxGradientColours);
            ar.WriteI32(count);
            for (int32_t i = 0; i < count; ++i) {
                ar.WriteU32(gradientColours[size_t(i)]);
            }
        }
        fillPicture.Serialize(ar);
        ar.WriteBytes(font.bytes);
        ar.WriteU32(textColour);
        ar.WriteI16(textHAlign);
        ar.WriteI16(textVAlign);
        ar.WriteZeros(kReservedTail);
        return;
    }
    edgeMask = ar.ReadU32();
    lineStyle = ar.ReadI32();
    lineWidth = ar.ReadI32();
    lineColour = ar.ReadU32();
    shadowDirection = ar.ReadI32();
    shadowOffset = ar.ReadI32();
    shadowColour = ar.ReadU32();
    // A kind this version does not know (written by a newer one, or damaged) is kept as
    // stored, so opening and saving such a file changes none of its bytes; it paints no
    // fill, as every kind outside the painting switch does.
    const int32_t storedFill = ar.ReadI32();
    fillKind = FillKindFromStored(storedFill).value_or(static_cast<FillKind>(storedFill));
    fillColour = ar.ReadU32();
    fillBackColour = 0xFFFFFF;
    hatchStyle = ar.ReadI32();
    picturePlacement = ar.ReadI32();
    gradientKind = ar.ReadI32();
    gradientCount = 0;
    gradientColours.fill(0);
    if (gradientKind != 0) {
        const int32_t count = ar.ReadI32();
        if (count < 0 || count > kMaxGradientColours) {
            throw ArchiveError("gradient colour count out of range");
        }
        gradientCount = count;
        for (int32_t i = 0; i < count; ++i) {
            gradientColours[size_t(i)] = ar.ReadU32();
        }
    }
    fillPicture.Serialize(ar);
    ar.ReadBytes(font.bytes);
    textColour = ar.ReadU32();
    textHAlign = ar.ReadI16();
    textVAlign = ar.ReadI16();
    ar.Skip(kReservedTail);
}

int32_t CRectCom::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    switch (code) {
    case OM_DRAW:
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            Draw(*request);
            return 0;
        }
        break;
    case OM_FILL_HOOK:
        if (RegionRequest* region = MessageRecord<RegionRequest>(args)) {
            region->found = FillIsOpaque(PaintFor(*region->request)) &&
                            FillRegion(*region->request, region->region);
            region->region = region->request->dc->ToDevicePath(region->region);
            return region->found ? 0 : -1;
        }
        break;
    case OM_GET_REGION:
        if (RegionRequest* region = MessageRecord<RegionRequest>(args)) {
            region->found = SilhouetteRegion(*region->request, region->region);
            region->region = region->request->dc->ToDevicePath(region->region);
            return region->found ? 0 : -1;
        }
        break;
    case OM_MAKE_OUTLINE:
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            const Corners c = TargetCorners(Pose(), {0, 0, Width(), Height()});
            outline->outline.addPolygon(
                QPolygonF({QPointF(c.p[0].x, c.p[0].y), QPointF(c.p[1].x, c.p[1].y),
                           QPointF(c.p[2].x, c.p[2].y), QPointF(c.p[3].x, c.p[3].y)}));
            outline->outline.closeSubpath();
            outline->found = true;
            return 0;
        }
        break;
    default: break;
    }
    return CBaseCom::OnMessage(code, args);
}

void CRectCom::Draw(const DrawRequest& request) const
{
    if (request.fromView) {
        DrawEdges(request);
    }
}

Rect CRectCom::Bounds(int32_t selectionMargin) const
{
    return RectBounds(selectionMargin);
}

CRectCom::Paint CRectCom::PaintFor(const DrawRequest& request) const
{
    if (request.monochrome) {
        const Colour ink = *request.monochrome;
        return {FillKind::Colour, ink, ink, ink};
    }
    return {fillKind, fillColour, lineColour, textColour};
}

Corners CRectCom::TargetCorners(const ObjectPose& pose, const Rect& target)
{
    const Rect placed{target.left, target.top, target.left + pose.frame.Width(),
                      target.top + pose.frame.Height()};
    return RotatedCorners(placed, pose.angle);
}

void CRectCom::DrawEdges(const DrawRequest& request) const
{
    if (lineStyle == kLineNone || (edgeMask & 0xF) == 0) {
        return;
    }
    const Corners c = TargetCorners(PoseFor(request), request.target);
    const DrawContext::ScratchPath edges(*request.dc);
    // Bits 1 top, 2 right, 4 bottom, 8 left follow the corners clockwise from top-left.
    for (int edge = 0; edge < 4; ++edge) {
        if (edgeMask & (1u << edge)) {
            const Point a = c.p[edge];
            const Point b = c.p[(edge + 1) % 4];
            edges->moveTo(a.x, a.y);
            edges->lineTo(b.x, b.y);
        }
    }
    request.dc->StrokeLine(*edges, lineStyle, LineWidthUnits(lineWidth),
                           PaintFor(request).lineColour);
}

bool CRectCom::FillRegion(const DrawRequest&, QPainterPath&) const
{
    return false;
}

bool CRectCom::SilhouetteRegion(const DrawRequest&, QPainterPath&) const
{
    return false;
}

const QPainterPath* CRectCom::FillRegionFor(const DrawRequest& request,
                                            QPainterPath& scratch) const
{
    return FillRegion(request, scratch) ? &scratch : nullptr;
}

const QPainterPath* CRectCom::SilhouetteFor(const DrawRequest& request,
                                            QPainterPath& scratch) const
{
    return SilhouetteRegion(request, scratch) ? &scratch : nullptr;
}

bool CRectCom::FillIsOpaque(const Paint& paint)
{
    switch (paint.fillKind) {
    case FillKind::White:
    case FillKind::Pattern:
    case FillKind::Picture: return true;
    case FillKind::Colour: return paint.fillColour != kNoColour;
    default: return false;
    }
}

void CRectCom::DrawShadow(const DrawRequest& request) const
{
    // The copy drawn as the shadow casts no shadow of its own.
    if (request.monochrome || shadowDirection == 0) {
        return;
    }
    const Point v = ShadowVector(shadowDirection, shadowOffset);
    const DrawContext& dc = *request.dc;
    {
        const DrawContext::ScratchPath scratch(dc);
        if (const QPainterPath* silhouette = SilhouetteFor(request, *scratch)) {
            // A cached silhouette stays as it is; the shifted copy goes to the scratch path.
            if (silhouette != &*scratch) {
                scratch->addPath(*silhouette);
            }
            scratch->translate(v.x, v.y);
            dc.FillPath(*scratch, shadowColour);
            return;
        }
    }
    DrawRequest shifted = request;
    shifted.target = request.target.Offset(v.x, v.y);
    shifted.monochrome = shadowColour;
    Draw(shifted);
}

void CRectCom::PaintFill(const DrawRequest& request, const QPainterPath& region) const
{
    const DrawContext& dc = *request.dc;
    const Paint paint = PaintFor(request);
    switch (paint.fillKind) {
    case FillKind::White: dc.FillPath(region, kWhite); break;
    case FillKind::Colour:
        if (paint.fillColour != kNoColour) {
            dc.FillPath(region, paint.fillColour);
        }
        break;
    case FillKind::Pattern:
        dc.FillPattern(region, hatchStyle, paint.fillColour, fillBackColour);
        break;
    case FillKind::Picture: PaintPictureFill(request, region); break;
    case FillKind::Gradient: {
        const auto count = size_t(std::clamp(gradientCount, 0, kMaxGradientColours));
        DrawGradient(dc, region, request.clip, gradientKind,
                     std::span<const Colour>(gradientColours.data(), count));
        break;
    }
    default: break;
    }
}

void CRectCom::PaintPictureFill(const DrawRequest& request, const QPainterPath& region) const
{
    const DrawContext& dc = *request.dc;
    // Placements that neither stretch nor tile leave part of the region uncovered; the
    // pattern fill shows there.
    if (picturePlacement != kPlacementStretch && picturePlacement != kPlacementTile &&
        picturePlacement != kPlacementFitTiled) {
        dc.FillPattern(region, hatchStyle, fillColour, fillBackColour);
    }
    // The destination is the region's bounding box in whole device pixels, taken back to
    // document units.
    const QRect box = dc.ToDevicePath(region).boundingRect().toAlignedRect();
    PictureDrawRequest draw;
    draw.dc = &dc;
    draw.background = request.background;
    draw.destination = dc.ToDocument(
        Rect{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
    draw.clip = request.clip;
    draw.scaleX = request.scaleX;
    draw.scaleY = request.scaleY;
    draw.placement = picturePlacement;
    dc.PushClip(region);
    fillPicture.Draw(draw);
    dc.PopClip();
}

void CRectCom::FillShape(const DrawRequest& request) const
{
    const Paint paint = PaintFor(request);
    if (paint.fillKind == FillKind::None) {
        return;
    }
    const DrawContext& dc = *request.dc;
    const DrawContext::ScratchPath fillPath(dc);
    const DrawContext::ScratchPath silhouettePath(dc);
    const QPainterPath* fill = FillRegionFor(request, *fillPath);
    const QPainterPath* silhouette = SilhouetteFor(request, *silhouettePath);
    const bool hasFill = fill != nullptr;
    // Inner figures (eyes, inner rings, the openings of a prohibition sign) show white
    // holes whatever the fill: the silhouette minus the fill region. The silhouette is
    // the first figure of the fill's own path, so equal sizes mean there is none.
    const bool hasHoles = silhouette != nullptr &&
                          (!hasFill || silhouette->elementCount() != fill->elementCount());
    // Under an opaque fill the same picture comes from whitening the silhouette before
    // filling, which needs no path arithmetic.
    const bool opaque = hasFill && FillIsOpaque(paint);
    if (hasHoles && opaque) {
        dc.FillPath(*silhouette, kWhite);
    }
    if (hasFill) {
        PaintFill(request, *fill);
    }
    if (hasHoles && !opaque) {
        const QPainterPath holes = hasFill ? silhouette->subtracted(*fill) : *silhouette;
        dc.FillPath(holes, kWhite);
    }
    DrawAfterFill(request);
}

void CRectCom::DrawAfterFill(const DrawRequest&) const {}

Rect CRectCom::RectBounds(int32_t selectionMargin) const
{
    Rect r = RootBounds(selectionMargin);
    if (LineTypeUsesWidth(lineStyle)) {
        // The width in tenths of a point is taken as document units: a tenth of a point
        // is less than a unit, so this always covers half the stroke.
        r = r.Inflated(lineWidth / 2 + 1);
    }
    return WithShadow(r);
}

Rect CRectCom::WithShadow(const Rect& r) const
{
    if (shadowDirection == 0) {
        return r;
    }
    const Point v = ShadowVector(shadowDirection, shadowOffset);
    return r.United(r.Offset(v.x, v.y));
}

} // namespace figures
