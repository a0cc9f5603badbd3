// Adjust routines that move the frame: the curve (entry 1), whose frame hugs its four
// Bezier points, and the callouts (56 rectangular, 57 rounded), whose frame holds the
// body and the pointer's tip.
#include "figures/render/shapes/adjust/adjustsupport.h"

#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

#include <algorithm>
#include <cmath>

namespace figures::adjust {

namespace {

constexpr int kCurve = 1;
constexpr int kCurvePoints = 4;
// Callout handle list: the tip (draggable), the body's top-left and bottom-right corners
// and the variant (hidden values).
constexpr int kTipHandle = 0;
constexpr int kBodyTopLeft = 1;
constexpr int kBodyBottomRight = 2;
constexpr int kVariantHandle = 3;
constexpr int32_t kRounded = 1;

// --- The curve ---------------------------------------------------------------------------

AdjustResult DragCurve(const AdjustDragState& drag, Point displacement, const AdjustShape& shape,
                       std::vector<uint8_t>& program, std::vector<uint8_t>& handles)
{
    if (handles.size() < kCurvePoints * 4) {
        return {};
    }
    const int handle = drag.handle;
    std::array<Point, kCurvePoints> points = drag.points;
    const Point d = UnturnedDisplacement(displacement, shape);
    points[size_t(handle)].x += d.x;
    points[size_t(handle)].y += d.y;
    // Document positions may be negative once the curve is dragged past the page origin.
    const Rect frame = BoundsOfAnyPoints(points);
    std::array<Point, kCurvePoints> grid;
    for (size_t i = 0; i < grid.size(); ++i) {
        const Point g{DocumentToGrid(points[i].x - frame.left, frame.Width()),
                      DocumentToGrid(points[i].y - frame.top, frame.Height())};
        grid[i] = Mirrored(g, shape);
        SetHandlePoint(handles, int(i), grid[i]);
    }
    ProgramBuilder builder;
    builder.Step(kMoveTo, {grid[0].x, grid[0].y});
    builder.Step(kBezierTo, {grid[1].x, grid[1].y, grid[2].x, grid[2].y, grid[3].x, grid[3].y});
    program = builder.Bytes();
    return {true, true, frame};
}

// --- Callouts ----------------------------------------------------------------------------
// The callout is built in program orientation: document positions with flipped axes
// negated, so that the body's corners, the counterclockwise walk and the sectors read as
// on an unflipped shape. The frame and the grid come back through the same mirror.

Point Oriented(Point p, const AdjustShape& shape)
{
    return {shape.flipH ? -p.x : p.x, shape.flipV ? -p.y : p.y};
}

Point Plus(Point p, Point d, int32_t n)
{
    return {p.x + d.x * n, p.y + d.y * n};
}

// Tenths of a degree, 0..3599, of the direction (dx, dy) with y pointing up.
int32_t DirectionAngle(double dx, double dyUp)
{
    int32_t angle = RoundCoord(std::atan2(dyUp, dx) * 572.957795130822);
    if (angle < 0) {
        angle += 3600;
    }
    return angle;
}

// The body walked counterclockwise on screen: corner i starts side i.
struct Body {
    std::array<Point, 4> corners; // bottom-right, top-right, top-left, bottom-left
    int32_t width = 0;
    int32_t height = 0;
    static constexpr std::array<Point, 4> kDirections = {Point{0, -1}, Point{-1, 0}, Point{0, 1},
                                                         Point{1, 0}};

    Point Corner(int i) const { return corners[size_t(i % 4)]; }
    static Point Direction(int i) { return kDirections[size_t((i % 4 + 4) % 4)]; }
    int32_t SideLength(int i) const { return i % 2 == 0 ? height : width; }
    // The k x k square inside corner i, as its top-left and bottom-right corners.
    std::array<Point, 2> CornerSquare(int i, int32_t k) const
    {
        const Point c = Corner(i);
        const Point inward = Plus(Direction(i), Direction(i - 1), -1);
        const Point o = Plus(c, inward, k);
        return {Point{std::min(c.x, o.x), std::min(c.y, o.y)},
                Point{std::max(c.x, o.x), std::max(c.y, o.y)}};
    }
};

// Where the pointer leaves the body: 0, 7 the right side (upper, lower half), 1, 2 the
// top (right, left half), 3, 4 the left side (upper, lower), 5, 6 the bottom (left,
// right), from the tip's direction seen from the centre against the body's diagonals.
int Sector(const Body& body, Point tip)
{
    const Point topLeft = body.corners[2];
    const Point centre{topLeft.x + body.width / 2, topLeft.y + body.height / 2};
    const int32_t j = DirectionAngle(double(tip.x) - centre.x, double(centre.y) - tip.y);
    const int32_t i = DirectionAngle(std::abs(double(body.corners[0].x) - centre.x),
                                     std::abs(double(centre.y) - body.corners[0].y));
    const int32_t limits[] = {i, 900, 1800 - i, 1800, 1800 + i, 2700, 3600 - i};
    for (int sector = 0; sector < 7; ++sector) {
        if (j <= limits[sector]) {
            return sector;
        }
    }
    return 7;
}

// Builds the callout's steps in document units, then writes them on the grid of the
// frame that holds the body and the tip.
class CalloutLayout {
public:
    CalloutLayout(const Body& body, Point tip, const Rect& frame)
        : body_(body), tip_(tip), frame_(frame)
    {}

    void Rectangular(ProgramBuilder& b, int side, std::array<Point, 2> base) const;
    void Rounded(ProgramBuilder& b, int side, std::array<Point, 2> base) const;

private:
    Point Grid(Point p) const
    {
        return {DocumentToGrid(p.x - frame_.left, frame_.Width()),
                DocumentToGrid(p.y - frame_.top, frame_.Height())};
    }
    void Move(ProgramBuilder& b, Point p) const
    {
        Point g = Grid(p);
        b.Step(kMoveTo, {g.x, g.y});
    }
    void Line(ProgramBuilder& b, Point p) const
    {
        Point g = Grid(p);
        b.Step(kLineTo, {g.x, g.y});
    }
    void Arc(ProgramBuilder& b, std::array<Point, 2> square, Point end) const;
    void Text(ProgramBuilder& b, int32_t divisor) const;

    const Body& body_;
    Point tip_;
    Rect frame_;
};

void CalloutLayout::Arc(ProgramBuilder& b, std::array<Point, 2> square, Point end) const
{
    const Point a = Grid(square[0]);
    const Point c = Grid(square[1]);
    const Point e = Grid(end);
    b.Step(kArcCounterclockwiseTo, {a.x, a.y, c.x, c.y, e.x, e.y});
}

// The body inset by a divisor of its size, so text keeps off the outline.
void CalloutLayout::Text(ProgramBuilder& b, int32_t divisor) const
{
    const int32_t dx = std::abs(body_.width) / divisor;
    const int32_t dy = std::abs(body_.height) / divisor;
    const Point a = Grid({body_.corners[2].x + dx, body_.corners[2].y + dy});
    const Point c = Grid({body_.corners[0].x - dx, body_.corners[0].y - dy});
    b.Step(kTextBox, {a.x, a.y, c.x, c.y, 0, 0, 1, 0, 1});
}

// Eight steps: from the corner where the pointer's side begins, through the pointer, and
// round the other three corners back.
void CalloutLayout::Rectangular(ProgramBuilder& b, int side, std::array<Point, 2> base) const
{
    Move(b, body_.Corner(side));
    Line(b, base[0]);
    Line(b, tip_);
    Line(b, base[1]);
    for (int i = 1; i <= 3; ++i) {
        Line(b, body_.Corner(side + i));
    }
    Line(b, body_.Corner(side));
    Text(b, 50);
}

// Thirteen steps: the same walk with every corner rounded by an arc from r before it to
// r after it.
void CalloutLayout::Rounded(ProgramBuilder& b, int side, std::array<Point, 2> base) const
{
    const int32_t shorter = std::min(body_.width, body_.height);
    const int32_t r = shorter / 7;
    const int32_t k = MulDiv(shorter, 2, 7);
    const auto before = [&](int corner) {
        return Plus(body_.Corner(corner), Body::Direction(corner - 1), -r);
    };
    const auto after = [&](int corner) {
        return Plus(body_.Corner(corner), Body::Direction(corner), r);
    };
    Move(b, before(side));
    Arc(b, body_.CornerSquare(side, k), after(side));
    Line(b, base[0]);
    Line(b, tip_);
    Line(b, base[1]);
    for (int i = 1; i <= 3; ++i) {
        Line(b, before(side + i));
        Arc(b, body_.CornerSquare(side + i, k), after(side + i));
    }
    Line(b, before(side));
    Text(b, 20);
}

// The pointer's two base points on its side, in walking order: a seventh and three
// sevenths of the side from the end nearer the tip.
std::array<Point, 2> PointerBase(const Body& body, int sector, int side)
{
    const int32_t length = body.SideLength(side);
    const int32_t near = length / 7;
    const int32_t far = MulDiv(length, 3, 7);
    const Point dir = Body::Direction(side);
    // Odd sectors lie in the half of the side where the walk starts.
    if (sector % 2 == 1) {
        const Point start = body.Corner(side);
        return {Plus(start, dir, near), Plus(start, dir, far)};
    }
    const Point end = body.Corner(side + 1);
    return {Plus(end, dir, -far), Plus(end, dir, -near)};
}

AdjustResult DragCallout(const AdjustDragState& state, Point displacement, const AdjustShape& shape,
                         std::vector<uint8_t>& program, std::vector<uint8_t>& handles)
{
    const std::optional<Point> variant = HandlePoint(handles, kVariantHandle);
    if (!variant) {
        return {};
    }
    const Point d = Oriented(UnturnedDisplacement(displacement, shape), shape);
    const Point tip = Plus(Oriented(state.points[kTipHandle], shape), d, 1);
    const Point a = Oriented(state.points[kBodyTopLeft], shape);
    const Point c = Oriented(state.points[kBodyBottomRight], shape);
    const int32_t left = std::min(a.x, c.x), right = std::max(a.x, c.x);
    const int32_t top = std::min(a.y, c.y), bottom = std::max(a.y, c.y);
    Body body;
    body.corners = {Point{right, bottom}, Point{right, top}, Point{left, top}, Point{left, bottom}};
    body.width = right - left;
    body.height = bottom - top;

    const Rect oriented{std::min(left, tip.x), std::min(top, tip.y), std::max(right, tip.x),
                        std::max(bottom, tip.y)};
    const int sector = Sector(body, tip);
    const int side = (sector + 1) / 2 % 4;
    const std::array<Point, 2> base = PointerBase(body, sector, side);
    const CalloutLayout layout(body, tip, oriented);
    ProgramBuilder builder;
    if (variant->y == kRounded) {
        layout.Rounded(builder, side, base);
    } else {
        layout.Rectangular(builder, side, base);
    }
    program = builder.Bytes();

    const auto grid = [&](Point p) {
        return Point{DocumentToGrid(p.x - oriented.left, oriented.Width()),
                     DocumentToGrid(p.y - oriented.top, oriented.Height())};
    };
    SetHandlePoint(handles, kTipHandle, grid(tip));
    SetHandlePoint(handles, kBodyTopLeft, grid({left, top}));
    SetHandlePoint(handles, kBodyBottomRight, grid({right, bottom}));
    // Back through the mirror: a flipped axis runs from the negated far edge.
    Rect frame = oriented;
    if (shape.flipH) {
        frame.left = -oriented.right;
        frame.right = -oriented.left;
    }
    if (shape.flipV) {
        frame.top = -oriented.bottom;
        frame.bottom = -oriented.top;
    }
    return {true, true, frame};
}

} // namespace

bool IsCurveOrCallout(int entry)
{
    return entry == kCurve || entry == 56 || entry == 57;
}

bool BeginCurveOrCallout(AdjustDragState& state, int entry, int handle,
                         std::span<const uint8_t> handles, const AdjustShape& shape)
{
    const int count = entry == kCurve ? kCurvePoints : kVariantHandle;
    for (int i = 0; i < count; ++i) {
        const std::optional<Point> grid = HandlePoint(handles, i);
        if (!grid) {
            return false;
        }
        state.points[size_t(i)] = GridToDocument(*grid, shape);
    }
    return handle >= 0 && handle < count;
}

AdjustResult DragCurveOrCallout(const AdjustDragState& drag, int entry, Point displacement,
                                const AdjustShape& shape, std::vector<uint8_t>& program,
                                std::vector<uint8_t>& handles)
{
    if (entry == kCurve) {
        return DragCurve(drag, displacement, shape, program, handles);
    }
    return DragCallout(drag, displacement, shape, program, handles);
}

} // namespace figures::adjust
