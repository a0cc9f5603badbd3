#include "figures/model/crichline.h"

#include "figures/model/carchive.h"
#include "figures/model/handlelist.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"
#include "figures/render/shapeprogram.h"
#include "figures/render/littleendian.h"

#include <array>

namespace figures {

namespace {

constexpr size_t kLineProgramBytes = 10;

} // namespace

void CRichLine::Serialize(CArchive& ar)
{
    CRectCom::Serialize(ar);
    uint8_t* fields[] = {&end2Size, &end1Size, &end2Length, &end1Length,
                         &end2Type, &end1Type, &capButtons};
    for (uint8_t* field : fields) {
        if (ar.IsStoring()) {
            ar.WriteU8(*field);
        } else {
            *field = ar.ReadU8();
        }
    }
}

void CRichLine::SetEndPoints(Point p1, Point p2)
{
    Rect f = Rect{p1.x, p1.y, p2.x, p2.y}.Normalised();
    if (f.Width() < kMinExtent) {
        f.right = f.left + kMinExtent;
    }
    if (f.Height() < kMinExtent) {
        f.bottom = f.top + kMinExtent;
    }
    frame = f;
    const auto toGrid = [&](Point p) {
        return Point{MulDiv(p.x - f.left, kGridExtent, f.Width()),
                     MulDiv(p.y - f.top, kGridExtent, f.Height())};
    };
    const Point g1 = toGrid(p1);
    const Point g2 = toGrid(p2);
    std::array<uint8_t, kLineProgramBytes> program{};
    const uint16_t words[5] = {kLine, uint16_t(g1.x), uint16_t(g1.y), uint16_t(g2.x),
                               uint16_t(g2.y)};
    for (size_t i = 0; i < 5; ++i) {
        StoreU16(&program[2 * i], words[i]);
    }
    SetProperty(PT_PROGRAM, program);
    RebuildHandles();
}

bool CRichLine::GridEndPoints(Point& g1, Point& g2) const
{
    const std::span<const uint8_t> program = GetProperty(PT_PROGRAM);
    if (program.size() < kLineProgramBytes || LoadU16(&program[0]) != kLine) {
        return false;
    }
    g1 = {LoadU16(&program[2]), LoadU16(&program[4])};
    g2 = {LoadU16(&program[6]), LoadU16(&program[8])};
    return true;
}

bool CRichLine::EndPoints(Point origin, Point& p1, Point& p2) const
{
    Point g1, g2;
    if (!GridEndPoints(g1, g2)) {
        return false;
    }
    const bool flipH = HasFlag(OF_FLIPPED_H);
    const bool flipV = HasFlag(OF_FLIPPED_V);
    p1 = GridToFrame(g1.x, g1.y, origin, Width(), Height(), flipH, flipV);
    p2 = GridToFrame(g2.x, g2.y, origin, Width(), Height(), flipH, flipV);
    const Point middle{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
    p1 = RotatePoint(middle, p1, angle);
    p2 = RotatePoint(middle, p2, angle);
    return true;
}

void CRichLine::RebuildHandles()
{
    Point g1, g2;
    if (!GridEndPoints(g1, g2)) {
        return;
    }
    HandleList handles;
    handles.Add(HK_DRAG, g1);
    handles.Add(HK_DRAG, g2);
    if (capButtons == BothButtons || capButtons == ButtonAtEnd1) {
        handles.Add(HK_BUTTON, g1);
    }
    if (capButtons == BothButtons || capButtons == ButtonAtEnd2) {
        handles.Add(HK_BUTTON, g2);
    }
    SetProperty(PT_HANDLES, handles.Bytes());
}

void CRichLine::Draw(const DrawRequest& request)
{
    // A line has no silhouette, so its shadow is the line drawn again in the shadow colour.
    DrawShadow(request);
    Point p1, p2;
    if (!EndPoints({request.target.left, request.target.top}, p1, p2)) {
        return;
    }
    // The end decorations are drawn by the line-end layer.
    static QPainterPath segment;
    segment.clear();
    segment.moveTo(p1.x, p1.y);
    segment.lineTo(p2.x, p2.y);
    request.dc->StrokeLine(segment, lineStyle, LineWidthUnits(lineWidth), lineColour);
}

int32_t CRichLine::OnMessage(ObjectMessage code, const MessageArgs& args)
{
    if (code == OM_DRAW) {
        if (const DrawRequest* request = MessageRecord<DrawRequest>(args)) {
            Draw(*request);
            return 0;
        }
    }
    if (code == OM_MAKE_OUTLINE) {
        if (OutlineRequest* outline = MessageRecord<OutlineRequest>(args)) {
            Point p1, p2;
            outline->found = EndPoints({0, 0}, p1, p2);
            if (outline->found) {
                outline->outline.moveTo(p1.x, p1.y);
                outline->outline.lineTo(p2.x, p2.y);
            }
            return 0;
        }
    }
    if (code == OM_GET_BOUNDS) {
        if (BoundsRequest* request = MessageRecord<BoundsRequest>(args)) {
            request->bounds = RectBounds(request->selectionMargin);
            Point p1, p2;
            if (EndPoints({frame.left, frame.top}, p1, p2)) {
                const Rect line = LineWithEndsBounds(p1, p2, lineStyle, LineWidthUnits(lineWidth),
                                                     End2(), End1());
                request->bounds = request->bounds.United(WithShadow(line));
            }
            return 0;
        }
    }
    return CRectCom::OnMessage(code, args);
}

} // namespace figures
