#include "figures/model/objects/cgraphcom.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"
#include "figures/render/painterpathsink.h"
#include "figures/render/shapes/shapeinterpreter.h"

namespace figures {

namespace {

// The closed outlines of the frame shapes on the shape grid.
constexpr uint16_t kRectangleProgram[] = {9, 0, 0, 8191, 8191, 0};
constexpr uint16_t kDiamondProgram[] = {3,    4095, 0, 4,    8191, 4095, 4, 4095,
                                        8191, 4,    0, 4095, 4,    4095, 0, 0};
constexpr uint16_t kEllipseProgram[] = {7, 0, 0, 8191, 8191, 0, 0};

std::span<const uint8_t> Bytes(std::span<const uint16_t> words)
{
    return {reinterpret_cast<const uint8_t*>(words.data()), words.size_bytes()};
}

// A rectangle with elliptical corners rx by ry, as four lines and four quarter curves
// whose arms are 14/25 of the radii, each point turned by angle about centre.
void AddRoundedRectangle(PathSink& sink, const Rect& r, int32_t rx, int32_t ry, int32_t angle,
                         Point centre)
{
    const int32_t ax = MulDiv(rx, 11, 25);
    const int32_t ay = MulDiv(ry, 11, 25);
    const auto at = [&](int32_t x, int32_t y) { return RotatePoint(centre, {x, y}, angle); };
    sink.MoveTo(at(r.left + rx, r.top));
    sink.BezierTo(at(r.left + ax, r.top), at(r.left, r.top + ay), at(r.left, r.top + ry));
    sink.LineTo(at(r.left, r.bottom - ry));
    sink.BezierTo(at(r.left, r.bottom - ay), at(r.left + ax, r.bottom), at(r.left + rx, r.bottom));
    sink.LineTo(at(r.right - rx, r.bottom));
    sink.BezierTo(at(r.right - ax, r.bottom), at(r.right, r.bottom - ay),
                  at(r.right, r.bottom - ry));
    sink.LineTo(at(r.right, r.top + ry));
    sink.BezierTo(at(r.right, r.top + ay), at(r.right - ax, r.top), at(r.right - rx, r.top));
    sink.LineTo(at(r.left + rx, r.top));
}

} // namespace

void CGraphCom::Serialize(CArchive& ar)
{
    CBaseCom::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteI32(frameShape);
    } else {
        frameShape = ar.ReadI32();
    }
}

void CGraphCom::AddOutline(PathSink& sink, const ObjectPose& pose, const Rect& target) const
{
    const int32_t w = pose.frame.Width();
    const int32_t h = pose.frame.Height();
    const ShapeFrame shapeFrame{
        {target.left, target.top},       w, h, pose.angle, (pose.flags & OF_FLIPPED_H) != 0,
        (pose.flags & OF_FLIPPED_V) != 0};
    switch (frameShape) {
    case RoundedRectangle: {
        const Rect placed{target.left, target.top, target.left + w, target.top + h};
        // The corner ellipse is a sixteenth of the frame in each direction.
        AddRoundedRectangle(sink, placed, w / 32, h / 32, pose.angle, placed.Centre());
        break;
    }
    case Diamond:
        RunShapeProgram(Bytes(kDiamondProgram), shapeFrame, ProgramMode::Outline, sink);
        break;
    case Ellipse:
        RunShapeProgram(Bytes(kEllipseProgram), shapeFrame, ProgramMode::Outline, sink);
        break;
    default:
        RunShapeProgram(Bytes(kRectangleProgram), shapeFrame, ProgramMode::Outline, sink);
        break;
    }
}

void CGraphCom::Draw(const DrawRequest& request) const
{
    const DrawContext::ScratchPath outline(*request.dc);
    PainterPathSink sink(*outline);
    AddOutline(sink, PoseFor(request), request.target);
    request.dc->StrokePath(*outline, QPen(Qt::black, 0));
}

int32_t CGraphCom::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_DRAW) {
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            Draw(*request);
            return 0;
        }
    }
    if (code == OM_MAKE_OUTLINE) {
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            PainterPathSink sink(outline->outline);
            AddOutline(sink, Pose(), {0, 0, Width(), Height()});
            outline->found = true;
            return 0;
        }
    }
    return CBaseCom::OnMessage(code, args);
}

} // namespace figures
