#pragma once

#include "figures/model/objects/cbasecom.h"
#include "figures/model/objects/cpic.h"
#include "figures/render/numeric.h"
#include "figures/render/styles/fillstyle.h"
#include "figures/render/styles/linestyle.h"
#include "figures/render/text/logfont.h"

#include <array>

namespace figures {

// Colour values are 0x00BBGGRR.
using Colour = uint32_t;

// Shadow offset (dx, dy) of a shadow direction 1..8 for the distance w; (0, 0) for 0
// and for values outside the table.
Point ShadowVector(int32_t direction, int32_t w);

// A rectangle object, and the base of every object with line, shadow, fill and text
// attributes. Drawn as the frame edges chosen by edgeMask.
class CRectCom : public CBaseCom {
public:
    static constexpr int32_t kTypeId = TID_RECT;
    static constexpr int32_t kMaxGradientColours = 8;
    static constexpr uint32_t kInitialFlags = 0x3F;

    CRectCom();

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CRectCom"; }
    std::string TypeName() const override;
    void Serialize(CArchive& ar) override;
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override;
    // A plain rectangle shows its edges only on the canvas; previews and exports of such
    // placeholders stay empty.
    void Draw(const DrawRequest& request) const override;
    // The painted area: root bounds grown for a solid line's width, united with the
    // shadow's copy.
    Rect Bounds(int32_t selectionMargin) const override;

    // The fill and the colours an object paints with for a request.
    struct Paint {
        FillKind fillKind = FillKind::White;
        Colour fillColour = 0;
        Colour lineColour = 0;
        Colour textColour = 0;
    };
    // The object's own, or, while it draws itself as its shadow (the request's
    // monochrome colour), a solid fill with every colour the shadow colour.
    Paint PaintFor(const DrawRequest& request) const;

    uint32_t edgeMask = 0;               // 1 top, 2 right, 4 bottom, 8 left
    int32_t lineStyle = kLineRoundSolid; // a LineType; other values draw as kLineDashDotDot
    int32_t lineWidth = 5;               // tenths of a point
    Colour lineColour = 0x000000;
    int32_t shadowDirection = 0; // 0 none, 1..8 clockwise from top-left
    int32_t shadowOffset = 20;   // document units
    Colour shadowColour = 0xC0C0C0;
    FillKind fillKind = FillKind::White;
    Colour fillColour = 0x000000;
    Colour fillBackColour = 0xFFFFFF; // hatch background; never stored
    int32_t hatchStyle = 0;
    int32_t picturePlacement = kPlacementTile;
    CPic fillPicture;
    int32_t gradientKind = 0;  // 0 none, +-1..+-4 directions
    int32_t gradientCount = 0; // colours in use, 2..8
    std::array<Colour, kMaxGradientColours> gradientColours{};
    LogFont font;
    Colour textColour = 0x000000;
    int16_t textHAlign = 0; // 0 = each text box keeps its own alignment
    int16_t textVAlign = 0;

protected:
    Rect RectBounds(int32_t selectionMargin) const;
    // Unites r with r shifted by the shadow vector when the object has a shadow.
    Rect WithShadow(const Rect& r) const;

    // The region the fill paints and the silhouette the shadow copies, as paths in
    // document units for the request's target and pose (the painter's world transform
    // takes them to the device). Objects without such regions (the default) answer false.
    virtual bool FillRegion(const DrawRequest& request, QPainterPath& region) const;
    virtual bool SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const;
    // The same regions for painting: the object's cached path when the request carries
    // one for it, else the region built into scratch; null when the object has none.
    virtual const QPainterPath* FillRegionFor(const DrawRequest& request,
                                              QPainterPath& scratch) const;
    virtual const QPainterPath* SilhouetteFor(const DrawRequest& request,
                                              QPainterPath& scratch) const;
    // True when the fill covers its region completely, so that the canvas need not be
    // painted beneath it.
    static bool FillIsOpaque(const Paint& paint);

    // The shadow, painted before anything else of the object: the silhouette moved by
    // the shadow vector, or, for objects without one, the whole object drawn again in
    // the shadow colour at the shifted position. Nothing while drawing as a shadow.
    void DrawShadow(const DrawRequest& request) const;
    // The interior by fill kind, white holes where the silhouette is not filled, then
    // DrawAfterFill.
    void FillShape(const DrawRequest& request) const;
    // OM_AFTER_FILL: what paints over the fill before the rest of the object (face
    // shading); nothing by default.
    virtual void DrawAfterFill(const DrawRequest& request) const;
    // Paints the region (document units) with the fill kind's paint: white, colour,
    // pattern, the fill picture over the region's bounding box clipped to the region, or
    // the gradient; nothing for kinds without one.
    void PaintFill(const DrawRequest& request, const QPainterPath& region) const;
    // Fill kind 3: the pattern fill first unless the placement covers the whole region,
    // then the fill picture over the region's bounding box, clipped to the region.
    void PaintPictureFill(const DrawRequest& request, const QPainterPath& region) const;
    // The frame corners of pose placed at target, turned by the pose's angle about the
    // centre.
    static Corners TargetCorners(const ObjectPose& pose, const Rect& target);
    // The frame edges chosen by edgeMask with the object's pen.
    void DrawEdges(const DrawRequest& request) const;
};

} // namespace figures
