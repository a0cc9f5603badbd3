#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <initializer_list>

namespace figures {

namespace {

// The memory points belong to the drawing thread, not to a program: a value one run
// stores is read by the next, so a program sets a point before it reads it. Each thread
// that draws has its own ten points, so threads painting at once never meet here.
thread_local std::array<Point, kMemoryPointCount> g_memoryPoints{};

// Memory point numbers come straight from program words; numbers outside 0..9 store
// nothing and read the document origin.
void Remember(uint16_t index, Point p)
{
    if (index < kMemoryPointCount) {
        g_memoryPoints[index] = p;
    }
}

Point Recall(uint16_t index)
{
    return index < kMemoryPointCount ? g_memoryPoints[index] : Point{};
}

// A control point lies this fraction of the way from its segment's end toward the
// intersection of the end tangents: 14/25, the complement of the ellipse's 11/25 arms.
constexpr double kControlReach = 0.56;

// --- Steps -----------------------------------------------------------------------------

// The text box and the three-point arcs have the most parameters.
constexpr int kMaxStepWords = 9;

struct Step {
    uint16_t code = kEnd;
    std::array<uint16_t, kMaxStepWords> p{};
};

// Reads the step at word `offset` and advances offset past it. False where the program
// ends: an opcode 0, an unknown opcode, a step whose parameters the span does not hold,
// or the span's end; a stored program without its 0 word thus ends at its last step.
bool ReadStep(std::span<const uint8_t> program, size_t& offset, Step& step)
{
    const size_t words = program.size() / 2;
    if (offset >= words) {
        return false;
    }
    const uint16_t code = ProgramWord(program, offset);
    const int count = StepWordCount(code);
    if (code == kEnd || count < 0 || words - offset - 1 < size_t(count)) {
        return false;
    }
    step.code = code;
    for (int i = 0; i < kMaxStepWords; ++i) {
        step.p[i] = i < count ? ProgramWord(program, offset + 1 + size_t(i)) : 0;
    }
    offset += 1 + size_t(count);
    return true;
}

// --- Arcs ------------------------------------------------------------------------------

// An arc as a Bezier run: the first point, then three points (two controls and the
// end) per segment. At most five segments: the rest of the start's quarter, three whole
// quarters and the beginning of the end's quarter.
struct ArcRun {
    std::array<Point, 16> points{};
    int count = 0;

    // The construction never adds more than the run holds; the check keeps a fault in
    // it from writing past the array.
    void Add(Point p)
    {
        if (size_t(count) < points.size()) {
            points[size_t(count++)] = p;
        }
    }
};

// Works in coordinates centred on the ellipse with y pointing up, where quarter 1 is
// the upper right and counterclockwise means increasing angle, as it looks on screen.
class ArcBuilder {
public:
    explicit ArcBuilder(const Rect& box)
        : centre_(box.Centre()), a_(box.Width() / 2), b_(box.Height() / 2)
    {}

    // The counterclockwise arc from start to end (frame points). Equal points give the
    // whole ellipse, starting and ending at its top.
    ArcRun Counterclockwise(Point start, Point end) const;

private:
    struct Vec {
        double x = 0;
        double y = 0;
        friend bool operator==(const Vec&, const Vec&) = default;
    };

    Vec Centred(Point p) const { return {double(p.x) - centre_.x, double(centre_.y) - p.y}; }
    // Real positions become coordinates only here, after moving back to the frame, so
    // they round to nearest for the usual non-negative document coordinates.
    Point ToFrame(Vec v) const
    {
        return {RoundCoord(centre_.x + v.x), RoundCoord(centre_.y - v.y)};
    }

    // Quarters 1..4: (x >= 0, y >= 0), (x < 0, y >= 0), (x <= 0, y < 0), (x > 0, y < 0).
    static int Quarter(Vec v)
    {
        if (v.y >= 0) {
            return v.x >= 0 ? 1 : 2;
        }
        return v.x <= 0 ? 3 : 4;
    }
    // The axis point where quarter q ends, going counterclockwise.
    Vec QuarterEnd(int q) const
    {
        switch (q) {
        case 1: return {0, double(b_)};
        case 2: return {-double(a_), 0};
        case 3: return {0, -double(b_)};
        default: return {double(a_), 0};
        }
    }
    Vec QuarterStart(int q) const { return QuarterEnd(q == 1 ? 4 : q - 1); }
    // Grows counterclockwise along the ellipse within each quarter.
    double Sweep(Vec v) const;
    Vec TangentCrossing(Vec p, Vec q) const;
    void AddSegment(ArcRun& run, Vec p, Vec q) const;

    Point centre_;
    int32_t a_;
    int32_t b_;
};

double ArcBuilder::Sweep(Vec v) const
{
    // Scaling by the half-axes orders points of one quarter by their ellipse parameter,
    // also for the current point of an arc-to step, which need not lie on the ellipse.
    // No quarter straddles atan2's cut at the negative x axis, so the raw value orders
    // the points of any one quarter.
    return std::atan2(v.y * a_, v.x * b_);
}

// Where the tangents at p and q meet. A point off the ellipse uses the line through it
// that is parallel to the tangent at the same parameter. Parallel or undefined tangents
// (a degenerate ellipse) give the chord's midpoint, which makes the segment straight.
ArcBuilder::Vec ArcBuilder::TangentCrossing(Vec p, Vec q) const
{
    const double aa = double(a_) * a_;
    const double bb = double(b_) * b_;
    const Vec dp{-p.y * aa, p.x * bb};
    const Vec dq{-q.y * aa, q.x * bb};
    const double det = dp.x * dq.y - dp.y * dq.x;
    const double scale = std::hypot(dp.x, dp.y) * std::hypot(dq.x, dq.y);
    if (!(std::abs(det) > 1e-12 * scale)) {
        return {(p.x + q.x) / 2, (p.y + q.y) / 2};
    }
    const double s = ((q.x - p.x) * dq.y - (q.y - p.y) * dq.x) / det;
    const Vec t{p.x + s * dp.x, p.y + s * dp.y};
    if (!std::isfinite(t.x) || !std::isfinite(t.y)) {
        return {(p.x + q.x) / 2, (p.y + q.y) / 2};
    }
    return t;
}

void ArcBuilder::AddSegment(ArcRun& run, Vec p, Vec q) const
{
    if (p == q) {
        return;
    }
    const Vec t = TangentCrossing(p, q);
    run.Add(ToFrame({p.x + kControlReach * (t.x - p.x), p.y + kControlReach * (t.y - p.y)}));
    run.Add(ToFrame({q.x + kControlReach * (t.x - q.x), q.y + kControlReach * (t.y - q.y)}));
    run.Add(ToFrame(q));
}

ArcRun ArcBuilder::Counterclockwise(Point start, Point end) const
{
    ArcRun run;
    if (start == end) {
        run.Add(ToFrame(QuarterEnd(1)));
        for (int q = 2; q <= 4; ++q) {
            AddSegment(run, QuarterStart(q), QuarterEnd(q));
        }
        AddSegment(run, QuarterStart(1), QuarterEnd(1));
        return run;
    }
    run.Add(start);
    const Vec s = Centred(start);
    const Vec e = Centred(end);
    const int first = Quarter(s);
    const int last = Quarter(e);
    if (first == last && Sweep(e) > Sweep(s)) {
        AddSegment(run, s, e);
        return run;
    }
    // Cut at every axis point passed; a piece that would start and end on the same axis
    // point (the start or end lying on one) adds nothing.
    AddSegment(run, s, QuarterEnd(first));
    for (int q = first % 4 + 1; q != last; q = q % 4 + 1) {
        AddSegment(run, QuarterStart(q), QuarterEnd(q));
    }
    AddSegment(run, QuarterStart(last), e);
    return run;
}

// A clockwise arc is the counterclockwise one from end back to start, walked backward.
ArcRun BuildArc(const Rect& box, Point start, Point end, bool clockwise)
{
    const ArcBuilder builder(box);
    if (!clockwise) {
        return builder.Counterclockwise(start, end);
    }
    ArcRun run = builder.Counterclockwise(end, start);
    std::reverse(run.points.begin(), run.points.begin() + run.count);
    return run;
}

// --- The interpreter -------------------------------------------------------------------

// One run's view of the frame: maps grid words to document units, turns points for the
// sink, and keeps the current point (document units, not turned).
class StepRunner {
public:
    StepRunner(const ShapeFrame& frame, ProgramMode mode, PathSink& sink, ArrowLineSink* arrows)
        : frame_(frame), mode_(mode), sink_(sink),
          arrows_(arrows), centre_{frame.origin.x + frame.width / 2,
                                   frame.origin.y + frame.height / 2},
          mirrored_(frame.flipH != frame.flipV)
    {}

    // Draws the step when `draw` is set and the mode draws it, then moves the current
    // point and stores memory points as the step says.
    void Run(const Step& step, bool draw);

    Point Current() const { return current_; }
    void MoveSinkToCurrent() { sink_.MoveTo(Turned(current_, 0)); }

private:
    Point Turned(Point p, uint16_t stepAngle) const;
    Point Grid(uint16_t x, uint16_t y) const
    {
        return GridToFrame(x, y, frame_.origin, frame_.width, frame_.height, frame_.flipH,
                           frame_.flipV);
    }
    // A point reference: x = 0xFFFF names memory point y.
    Point Target(uint16_t x, uint16_t y) const { return x == kMemory ? Recall(y) : Grid(x, y); }
    // The step's rectangle, normalised after mapping so flips and corner order agree.
    Rect Box(const Step& step) const
    {
        const Point a = Grid(step.p[0], step.p[1]);
        const Point b = Grid(step.p[2], step.p[3]);
        return Rect{a.x, a.y, b.x, b.y}.Normalised();
    }
    int32_t EdgeLength(uint16_t v, const Rect& box) const;
    Point RayPoint(const Step& step) const
    {
        return EllipseRayPoint(Box(step), Grid(step.p[4], step.p[5]));
    }

    void MoveTo(Point p, uint16_t stepAngle = 0) { sink_.MoveTo(Turned(p, stepAngle)); }
    void LineTo(Point p, uint16_t stepAngle = 0) { sink_.LineTo(Turned(p, stepAngle)); }
    void DrawArrowLine(const Step& step);
    void DrawClosed(std::initializer_list<Point> corners);
    void DrawRectangle(const Rect& r);
    void DrawEllipse(const Rect& r, uint16_t stepAngle);
    void DrawRoundRect(const Rect& r, int32_t radius);
    void DrawOctagon(const Rect& r, int32_t a);
    void DrawCross(const Rect& r, int32_t a);
    void DrawBezierRun(const ArcRun& run, int from, uint16_t stepAngle);
    void DrawArcTo(const Step& step, Point end);
    void DrawThreePointArc(const Step& step, Point start, Point end);
    void DrawStep(const Step& step);

    const ShapeFrame& frame_;
    ProgramMode mode_;
    PathSink& sink_;
    ArrowLineSink* arrows_;
    Point centre_;
    // Exactly one flip mirrors the drawing, which turns counterclockwise into clockwise.
    bool mirrored_;
    Point current_{};
};

// Angles are drawn modulo a full turn; reducing first keeps a whole turn bit-exact.
// The step's angle is an unsigned word like every other parameter.
Point StepRunner::Turned(Point p, uint16_t stepAngle) const
{
    int64_t angle = (int64_t(frame_.angle) + stepAngle) % 3600;
    if (angle < 0) {
        angle += 3600;
    }
    return RotatePoint(centre_, p, int32_t(angle));
}

// Radius and edge-length parameters scale with the frame's smaller side and never
// exceed half the step rectangle's smaller side.
int32_t StepRunner::EdgeLength(uint16_t v, const Rect& box) const
{
    const int32_t limit = std::min(box.Width(), box.Height()) / 2;
    return std::clamp(MulDiv(v, std::min(frame_.width, frame_.height), kGridExtent), 0, limit);
}

void StepRunner::DrawArrowLine(const Step& step)
{
    const Point p1 = Grid(step.p[0], step.p[1]);
    const Point p2 = Grid(step.p[2], step.p[3]);
    switch (mode_) {
    case ProgramMode::Arrows:
        if (arrows_ != nullptr) {
            arrows_->ArrowLine(Turned(p1, 0), Turned(p2, 0), step.p[4]);
        }
        break;
    case ProgramMode::DragOutline:
    case ProgramMode::Silhouette:
        MoveTo(p1);
        LineTo(p2);
        break;
    case ProgramMode::Outline: break;
    }
}

void StepRunner::DrawClosed(std::initializer_list<Point> corners)
{
    MoveTo(*corners.begin());
    for (auto it = corners.begin() + 1; it != corners.end(); ++it) {
        LineTo(*it);
    }
    LineTo(*corners.begin());
}

void StepRunner::DrawRectangle(const Rect& r)
{
    DrawClosed({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
}

// Four quarters counterclockwise from the top, each control point 11/25 of the
// half-extent away from the bounding box's corner.
void StepRunner::DrawEllipse(const Rect& r, uint16_t stepAngle)
{
    const Point m = r.Centre();
    const int32_t ex = MulDiv(r.Width() / 2, 11, 25);
    const int32_t ey = MulDiv(r.Height() / 2, 11, 25);
    const auto bezier = [&](Point c1, Point c2, Point end) {
        sink_.BezierTo(Turned(c1, stepAngle), Turned(c2, stepAngle), Turned(end, stepAngle));
    };
    MoveTo({m.x, r.top}, stepAngle);
    bezier({r.left + ex, r.top}, {r.left, r.top + ey}, {r.left, m.y});
    bezier({r.left, r.bottom - ey}, {r.left + ex, r.bottom}, {m.x, r.bottom});
    bezier({r.right - ex, r.bottom}, {r.right, r.bottom - ey}, {r.right, m.y});
    bezier({r.right, r.top + ey}, {r.right - ex, r.top}, {m.x, r.top});
}

// Counterclockwise from the top edge; each corner is the matching quarter of the
// ellipse inscribed in the 2a x 2a square of that corner.
void StepRunner::DrawRoundRect(const Rect& r, int32_t a)
{
    if (a == 0) {
        DrawRectangle(r);
        return;
    }
    const int32_t e = MulDiv(a, 11, 25);
    const auto corner = [&](Point c1, Point c2, Point end) {
        sink_.BezierTo(Turned(c1, 0), Turned(c2, 0), Turned(end, 0));
    };
    MoveTo({r.left + a, r.top});
    corner({r.left + e, r.top}, {r.left, r.top + e}, {r.left, r.top + a});
    LineTo({r.left, r.bottom - a});
    corner({r.left, r.bottom - e}, {r.left + e, r.bottom}, {r.left + a, r.bottom});
    LineTo({r.right - a, r.bottom});
    corner({r.right - e, r.bottom}, {r.right, r.bottom - e}, {r.right, r.bottom - a});
    LineTo({r.right, r.top + a});
    corner({r.right, r.top + e}, {r.right - e, r.top}, {r.right - a, r.top});
    LineTo({r.left + a, r.top});
}

void StepRunner::DrawOctagon(const Rect& r, int32_t a)
{
    if (a == 0) {
        DrawRectangle(r);
        return;
    }
    const int32_t l = r.left, t = r.top, rt = r.right, b = r.bottom;
    DrawClosed({{l + a, t},
                {rt - a, t},
                {rt, t + a},
                {rt, b - a},
                {rt - a, b},
                {l + a, b},
                {l, b - a},
                {l, t + a}});
}

// A plus sign whose arms are the rectangle less a corner square of side a.
void StepRunner::DrawCross(const Rect& r, int32_t a)
{
    if (a == 0) {
        DrawRectangle(r);
        return;
    }
    const int32_t l = r.left, t = r.top, rt = r.right, b = r.bottom;
    DrawClosed({{l + a, t},
                {rt - a, t},
                {rt - a, t + a},
                {rt, t + a},
                {rt, b - a},
                {rt - a, b - a},
                {rt - a, b},
                {l + a, b},
                {l + a, b - a},
                {l, b - a},
                {l, t + a},
                {l + a, t + a}});
}

// The segments of run from its point `from` on; the sink is already at that point.
void StepRunner::DrawBezierRun(const ArcRun& run, int from, uint16_t stepAngle)
{
    for (int i = from + 1; i + 2 < run.count; i += 3) {
        sink_.BezierTo(Turned(run.points[size_t(i)], stepAngle),
                       Turned(run.points[size_t(i + 1)], stepAngle),
                       Turned(run.points[size_t(i + 2)], stepAngle));
    }
}

// Codes 16 and 17 continue the current figure from the current point. Only the whole
// ellipse (the end projected onto the current point) starts elsewhere, at the top; a
// line joins it so the figure stays connected.
void StepRunner::DrawArcTo(const Step& step, Point end)
{
    const bool clockwise = (step.code == kArcClockwiseTo) != mirrored_;
    const ArcRun run = BuildArc(Box(step), current_, end, clockwise);
    if (run.points[0] != current_) {
        LineTo(run.points[0]);
    }
    DrawBezierRun(run, 0, 0);
}

// Codes 18 (open arc), 19 (sector) and 20 (chord), counterclockwise unless mirrored,
// turned by the object's angle plus the step's.
void StepRunner::DrawThreePointArc(const Step& step, Point start, Point end)
{
    const Rect box = Box(step);
    const uint16_t angle = step.p[8];
    const ArcRun run = BuildArc(box, start, end, mirrored_);
    const Point first = run.points[0];
    if (step.code == kSector) {
        MoveTo(box.Centre(), angle);
        LineTo(first, angle);
    } else {
        MoveTo(first, angle);
    }
    DrawBezierRun(run, 0, angle);
    if (step.code == kSector) {
        LineTo(box.Centre(), angle);
    } else if (step.code == kChord) {
        LineTo(first, angle);
    }
}

void StepRunner::DrawStep(const Step& step)
{
    const bool drag = mode_ == ProgramMode::DragOutline;
    const auto& p = step.p;
    switch (step.code) {
    case kLine:
        MoveTo(Grid(p[0], p[1]));
        LineTo(Grid(p[2], p[3]));
        break;
    case kArrowLine: DrawArrowLine(step); break;
    case kMoveTo: MoveTo(Target(p[0], p[1])); break;
    case kLineTo: LineTo(Target(p[0], p[1])); break;
    case kLineToAndMove:
        if (drag) {
            MoveTo(Target(p[0], p[1]));
        } else {
            LineTo(Target(p[0], p[1]));
        }
        break;
    case kBezierTo:
    case kBezierAndMove:
        if (drag && step.code == kBezierAndMove) {
            MoveTo(Grid(p[4], p[5]));
        } else {
            sink_.BezierTo(Turned(Grid(p[0], p[1]), 0), Turned(Grid(p[2], p[3]), 0),
                           Turned(Grid(p[4], p[5]), 0));
        }
        break;
    case kEllipse: DrawEllipse(Box(step), p[4]); break;
    case kRoundRect: DrawRoundRect(Box(step), EdgeLength(p[4], Box(step))); break;
    case kRectangle: DrawRectangle(Box(step)); break;
    case kTextBox:
        if (drag) {
            DrawRectangle(Box(step));
        }
        break;
    case kOctagon: DrawOctagon(Box(step), EdgeLength(p[4], Box(step))); break;
    case kCross: DrawCross(Box(step), EdgeLength(p[4], Box(step))); break;
    case kMoveToRayPoint: MoveTo(RayPoint(step)); break;
    case kLineToRayPoint: LineTo(RayPoint(step)); break;
    case kArcCounterclockwiseTo:
    case kArcClockwiseTo: DrawArcTo(step, RayPoint(step)); break;
    case kArcLine:
    case kSector:
    case kChord: {
        const Rect box = Box(step);
        DrawThreePointArc(step, EllipseRayPoint(box, Grid(p[4], p[5])),
                          EllipseRayPoint(box, Grid(p[6], p[7])));
        break;
    }
    case kHorizontalTo: LineTo({Target(p[0], p[1]).x, current_.y}); break;
    case kVerticalTo: LineTo({current_.x, Target(p[0], p[1]).y}); break;
    default: break; // memory points and text output draw nothing
    }
}

void StepRunner::Run(const Step& step, bool draw)
{
    if (draw && (mode_ != ProgramMode::Arrows || step.code == kArrowLine)) {
        DrawStep(step);
    }
    const auto& p = step.p;
    switch (step.code) {
    case kMoveTo:
    case kLineTo:
    case kLineToAndMove: current_ = Target(p[0], p[1]); break;
    case kHorizontalTo: current_.x = Target(p[0], p[1]).x; break;
    case kVerticalTo: current_.y = Target(p[0], p[1]).y; break;
    case kBezierTo:
    case kBezierAndMove: current_ = Grid(p[4], p[5]); break;
    case kMoveToRayPoint:
    case kLineToRayPoint:
    case kArcCounterclockwiseTo:
    case kArcClockwiseTo: current_ = RayPoint(step); break;
    case kRememberPoint: Remember(p[0], current_); break;
    case kRememberRayPoint: Remember(p[6], RayPoint(step)); break;
    case kTextBox:
    case kText: break;
    default: current_ = {}; break; // closed primitives and free lines
    }
}

// How a step changes the figure being drawn: an open run of connected segments, or a
// closed primitive or free line, or nothing (moves, memory points, texts).
enum class Figure { None, OpenRun, Closed };

Figure FigureOf(uint16_t code)
{
    switch (code) {
    case kLineTo:
    case kBezierTo:
    case kBezierAndMove:
    case kLineToAndMove:
    case kLineToRayPoint:
    case kArcCounterclockwiseTo:
    case kArcClockwiseTo:
    case kHorizontalTo:
    case kVerticalTo: return Figure::OpenRun;
    case kLine:
    case kArrowLine:
    case kEllipse:
    case kRoundRect:
    case kRectangle:
    case kOctagon:
    case kCross:
    case kArcLine:
    case kSector:
    case kChord: return Figure::Closed;
    default: return Figure::None;
    }
}

// The primitives that, drawn first, are the whole silhouette.
bool IsShapePrimitive(uint16_t code)
{
    switch (code) {
    case kEllipse:
    case kRoundRect:
    case kRectangle:
    case kOctagon:
    case kCross:
    case kSector:
    case kChord: return true;
    default: return false;
    }
}

// Draws up to `count` steps from word `offset` and returns 1 when one of them was an
// arrow line. The silhouette ends with the first figure: a closed primitive drawn before
// anything else, or the first open run when a move follows it; it then returns 0.
int DrawSteps(std::span<const uint8_t> program, size_t offset, int count, StepRunner& runner,
              ProgramMode mode)
{
    const bool silhouette = mode == ProgramMode::Silhouette;
    int result = 0;
    Figure figure = Figure::None;
    Step step;
    for (int i = 0; i < count && ReadStep(program, offset, step); ++i) {
        if (silhouette && figure == Figure::OpenRun &&
            (step.code == kMoveTo || step.code == kMoveToRayPoint)) {
            return 0;
        }
        if (step.code == kArrowLine) {
            result = 1;
        }
        runner.Run(step, true);
        if (silhouette && figure == Figure::None && IsShapePrimitive(step.code)) {
            return 0;
        }
        const Figure next = FigureOf(step.code);
        if (next != Figure::None) {
            figure = next;
        }
    }
    return result;
}

} // namespace

int RunShapeProgram(std::span<const uint8_t> program, const ShapeFrame& frame, ProgramMode mode,
                    PathSink& sink, ArrowLineSink* arrows)
{
    StepRunner runner(frame, mode, sink, arrows);
    return DrawSteps(program, 0, INT_MAX, runner, mode);
}

void RunShapeSteps(std::span<const uint8_t> program, const ShapeFrame& frame, int first, int count,
                   ProgramMode mode, PathSink& sink)
{
    StepRunner runner(frame, mode, sink, nullptr);
    size_t offset = 0;
    Step step;
    // The steps before `first` only move the current point and the memory points; when
    // the program ends among them nothing is left to draw and the walk below reads nothing.
    for (int i = 0; i < first && ReadStep(program, offset, step); ++i) {
        runner.Run(step, false);
    }
    runner.MoveSinkToCurrent();
    DrawSteps(program, offset, count, runner, mode);
}

Point MemoryPoint(int index)
{
    return index >= 0 && index < kMemoryPointCount ? g_memoryPoints[size_t(index)] : Point{};
}

} // namespace figures
