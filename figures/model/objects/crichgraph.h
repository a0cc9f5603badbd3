#pragma once

#include "figures/model/objects/crectcom.h"
#include "figures/render/shapes/adjust/adjustroutines.h"
#include "figures/render/shapes/shapeinterpreter.h"

#include <span>

namespace figures {

// A shape drawn by a shape program: a catalogue entry (shapeIndex >= 0) or a custom
// program kept in property tag 3 (shapeIndex -1). A catalogue shape draws from the
// catalogue's program until it holds its own copy in tag 3, which it takes together
// with a copy of the handle list (tag 2) as soon as its entry has handles, so that
// adjusting a handle changes only this object.
class CRichGraph : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_RICH_GRAPH;
    // Flags of an object about to be read; the record then sets the real ones.
    static constexpr uint32_t kReadFlags = 0x7F;
    // Flags of a new catalogue shape before its entry's attributes adjust them.
    static constexpr uint32_t kCatalogueFlags = 0x17F;
    static constexpr int32_t kCustomShape = -1;
    // New shapes are never smaller than this in either direction.
    static constexpr int32_t kMinCreateExtent = 15;

    CRichGraph() { flags = kReadFlags; }
    // A new shape for catalogue entry n (a negative n gives a custom shape with the
    // empty program).
    explicit CRichGraph(int32_t n);

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CRichGraph"; }
    std::string TypeName() const override;
    void Serialize(CArchive& ar) override;
    int32_t OnMessage(ObjectMessage code, const MessageArgs& args) override;
    // Shadow, fill, texts, the program's outline with the object's pen, then its arrow
    // lines with their arrowheads.
    void Draw(const DrawRequest& request) const override;
    // A body hit counts only inside the outline, except for open catalogue figures,
    // which have no inside: their whole frame counts.
    int32_t HitTest(const DeviceMapping& map, Point devicePoint, HitRecord& hit) const override;
    // The painted area: that of a rectangle object, united with the arrow lines and their
    // arrowheads, which reach beyond the frame.
    Rect Bounds(int32_t selectionMargin) const override;
    bool PaintedAreaFrom(PaintedAreaInputs& inputs) const override;
    // The outline (which is also the fill region) and, for closed catalogue figures, the
    // silhouette at the shape's own frame.
    bool BuildGeometry(ObjectGeometry& geometry) const override;

    // n < 0 acts as SetProgram without data. Otherwise drops the own program and
    // handles and, when the entry has handles, takes copies of both.
    void SetShapeIndex(int32_t n);
    // Makes the shape custom. Keeps the bytes when they form a valid program and
    // returns true; otherwise stores the empty program (one 0 word) and returns false.
    bool SetProgram(const uint8_t* bytes, size_t length);
    // The own program (tag 3), else the catalogue entry's, else an empty span.
    std::span<const uint8_t> GetProgram() const;

    int32_t shapeIndex = kCustomShape;

protected:
    // Over a text box the I-beam shows that a double click edits the text.
    CursorShape CursorFor(const HitRecord& hit) const override;
    bool FillRegion(const DrawRequest& request, QPainterPath& region) const override;
    bool SilhouetteRegion(const DrawRequest& request, QPainterPath& region) const override;
    const QPainterPath* FillRegionFor(const DrawRequest& request,
                                      QPainterPath& scratch) const override;
    const QPainterPath* SilhouetteFor(const DrawRequest& request,
                                      QPainterPath& scratch) const override;
    int32_t GeometryVariant() const override { return shapeIndex; }
    // The lighter and darker faces of the three-dimensional shapes.
    void DrawAfterFill(const DrawRequest& request) const override;

private:
    // Where the program draws for a request: the target's corner with the size, angle
    // and flips the request draws the object with.
    ShapeFrame FrameFor(const DrawRequest& request) const;
    // Catalogue shapes with a closed outline have fill and silhouette regions; custom
    // shapes, open figures and transparent fills (of the fill kind painted) have none.
    bool HasRegions(FillKind paintedFillKind) const;
    // Whether the shape is a closed catalogue figure, whose regions fills and shadows use.
    bool IsClosedFigure() const;
    const QPainterPath* RegionFor(const DrawRequest& request, ProgramMode mode,
                                  QPainterPath& scratch) const;
    bool ProgramRegion(const DrawRequest& request, ProgramMode mode, QPainterPath& region) const;
    // Copies the entry's program and handle list when the entry has handles.
    void TakeCatalogueCopies();
    int32_t TrackCreate(TrackCreateArgs& track);
    AdjustShape AdjustShapeOf() const;
    // Reshapes the object's own program and handles by the catalogue's adjust routine.
    void TrackAdjustHandle(HandleDragRecord& drag);
    // In-place editing of the text box under a double click; false when there is none.
    bool EditTextAt(const DoubleClickRecord& click);

    // The pressed point of the creation in progress. Never stored with the object.
    Point createStart_;
};

} // namespace figures
