// Adjust routines: the drag protocol, the shapes reshaped by one value (including the
// cylinder, cube and bevel), the arc family and the bent connector lines. Arrows live in
// adjustarrows.cpp, the curve and the callouts in adjustcallouts.cpp.
#include "figures/render/shapes/adjust/adjustroutines.h"

#include "figures/render/shapes/adjust/adjustsupport.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/littleendian.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

#include <algorithm>

namespace figures {

namespace adjust {

void ProgramBuilder::Step(uint16_t code, std::initializer_list<int32_t> params)
{
    words_.push_back(code);
    for (int32_t p : params) {
        words_.push_back(uint16_t(std::clamp(p, 0, 0xFFFF)));
    }
}

void ProgramBuilder::CatalogueTextBox(int entry)
{
    const ShapeCatalogueEntry* catalogued = CatalogueEntry(entry);
    if (catalogued == nullptr) {
        return;
    }
    for (auto rest = catalogued->program; !rest.empty(); rest = SkipSteps(rest, 1)) {
        if (ProgramWord(rest, 0) == kTextBox) {
            for (int i = 0; i <= StepWordCount(kTextBox); ++i) {
                words_.push_back(ProgramWord(rest, size_t(i)));
            }
            return;
        }
    }
}

std::vector<uint8_t> ProgramBuilder::Bytes() const
{
    std::vector<uint8_t> bytes(words_.size() * 2 + 2, 0);
    for (size_t i = 0; i < words_.size(); ++i) {
        StoreU16(&bytes[i * 2], words_[i]);
    }
    return bytes;
}

std::optional<Point> HandlePoint(std::span<const uint8_t> handles, int index)
{
    if (index < 0 || size_t(index) * 4 + 4 > handles.size()) {
        return std::nullopt;
    }
    const uint8_t* d = &handles[size_t(index) * 4];
    return Point{LoadU16(d) & kHandleCoordMask, LoadU16(d + 2) & kHandleCoordMask};
}

bool SetHandlePoint(std::vector<uint8_t>& handles, int index, Point grid)
{
    if (index < 0 || size_t(index) * 4 + 4 > handles.size()) {
        return false;
    }
    uint8_t* d = &handles[size_t(index) * 4];
    const auto patch = [](uint8_t* word, int32_t v) {
        const uint16_t kind = LoadU16(word) & uint16_t(~kHandleCoordMask);
        StoreU16(word, uint16_t(kind | (uint16_t(std::clamp(v, 0, 8191)) & kHandleCoordMask)));
    };
    patch(d, grid.x);
    patch(d + 2, grid.y);
    return true;
}

std::optional<size_t> StepOffset(std::span<const uint8_t> program, int n)
{
    const std::span<const uint8_t> rest = SkipSteps(program, n);
    if (rest.empty()) {
        return std::nullopt;
    }
    return size_t(rest.data() - program.data()) / 2;
}

uint16_t WordAt(std::span<const uint8_t> program, size_t index)
{
    return ProgramWord(program, index);
}

void SetWordAt(std::vector<uint8_t>& program, size_t index, int32_t value)
{
    if (index * 2 + 2 <= program.size()) {
        StoreU16(&program[index * 2], uint16_t(std::clamp(value, 0, 0xFFFF)));
    }
}

Point Mirrored(Point grid, const AdjustShape& shape)
{
    return {shape.flipH ? kGridExtent - grid.x : grid.x,
            shape.flipV ? kGridExtent - grid.y : grid.y};
}

Point UnturnedDisplacement(Point displacement, const AdjustShape& shape)
{
    const int32_t angle = ((-shape.angle) % 3600 + 3600) % 3600;
    return RotatePoint({0, 0}, displacement, angle);
}

Point GridDisplacement(Point displacement, const AdjustShape& shape)
{
    const Point d = UnturnedDisplacement(displacement, shape);
    const int32_t w = shape.frame.Width();
    const int32_t h = shape.frame.Height();
    return {w > 0 ? MulDiv(d.x, kGridExtent, w) : 0, h > 0 ? MulDiv(d.y, kGridExtent, h) : 0};
}

Point GridToDocument(Point grid, const AdjustShape& shape)
{
    const Point g = Mirrored(grid, shape);
    return {shape.frame.left + MulDiv(g.x, shape.frame.Width(), kGridExtent),
            shape.frame.top + MulDiv(g.y, shape.frame.Height(), kGridExtent)};
}

int32_t DocumentToGrid(int32_t offset, int32_t extent)
{
    return extent > 0 ? MulDiv(offset, kGridExtent, extent) : 0;
}

} // namespace adjust

namespace {

using adjust::ProgramBuilder;

enum class Axis { X, Y };

// Builds the program for handle value v, already limited to the shape's range.
using Builder = void (*)(ProgramBuilder&, int32_t v);

// A shape reshaped by one handle value that moves along one axis.
struct SingleValueShape {
    int entry;
    Axis axis;
    int32_t low;
    int32_t high;
    Builder build;
    // The text box keeps the catalogue's place whatever the value.
    bool catalogueText;
};

void Polygon(ProgramBuilder& b, std::initializer_list<Point> points)
{
    b.Step(kMoveTo, {points.begin()->x, points.begin()->y});
    for (auto it = points.begin() + 1; it != points.end(); ++it) {
        b.Step(kLineTo, {it->x, it->y});
    }
}

void TextBox(ProgramBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bottom)
{
    b.Step(kTextBox, {l, t, r, bottom, 0, 0, 1, 0, 1});
}

void Parallelogram(ProgramBuilder& b, int32_t v)
{
    Polygon(b, {{v, 0}, {8191, 0}, {8191 - v, 8191}, {0, 8191}, {v, 0}});
}

void Trapezoid(ProgramBuilder& b, int32_t v)
{
    Polygon(b, {{v, 0}, {8191 - v, 0}, {8191, 8191}, {0, 8191}, {v, 0}});
}

void RoundedRectangle(ProgramBuilder& b, int32_t v)
{
    b.Step(kRoundRect, {0, 0, 8191, 8191, v});
}

void Octagon(ProgramBuilder& b, int32_t v)
{
    b.Step(kOctagon, {0, 0, 8191, 8191, v});
}

// The text box follows the apex but keeps its width inside the frame.
void IsoscelesTriangle(ProgramBuilder& b, int32_t v)
{
    Polygon(b, {{v, 0}, {8191, 8191}, {0, 8191}, {v, 0}});
    int32_t g = std::clamp(v - 2047, 0, 8191);
    if (g + 4095 > 8191) {
        g = 4096;
    }
    TextBox(b, g, 1638, g + 4095, 8028);
}

void Hexagon(ProgramBuilder& b, int32_t v)
{
    Polygon(b,
            {{v, 0}, {8191 - v, 0}, {8191, 4095}, {8191 - v, 8191}, {v, 8191}, {0, 4095}, {v, 0}});
}

void Cross(ProgramBuilder& b, int32_t v)
{
    b.Step(kCross, {0, 0, 8191, 8191, v});
}

// The base's front half: a half ellipse from the left end of the base through the bottom
// to its right end, its control arms 14/25 of the half-height.
void Cone(ProgramBuilder& b, int32_t v)
{
    const int32_t g = v + (8191 - v) * 14 / 25;
    b.Step(kMoveTo, {4095, 0});
    b.Step(kLineTo, {0, v});
    b.Step(kBezierTo, {0, g, 1802, 8191, 4095, 8191});
    b.Step(kBezierTo, {6388, 8191, 8191, g, 8191, v});
    b.Step(kLineTo, {4095, 0});
}

// v is where the fold meets the bottom edge; the flap curls from the right edge.
void FoldedCorner(ProgramBuilder& b, int32_t v)
{
    const int32_t q = 24573 - 3 * v;
    const int32_t h = 8191 - q / 8;
    const int32_t l = 8191 - q / 4;
    Polygon(b, {{0, 0}, {8191, 0}, {8191, v}, {v, 8191}, {0, 8191}, {0, 0}});
    b.Step(kMoveTo, {8191, v});
    b.Step(kBezierTo, {h, l, h, l, l, v});
    b.Step(kLineTo, {v, 8191});
    b.Step(kLineToAndMove, {8191, v});
}

// v is the lowest point of the mouth: a smile below 5733, a frown above.
void Smiley(ProgramBuilder& b, int32_t v)
{
    const int32_t g = 5733 + (v - 5733) * 14 / 25;
    b.Step(kEllipse, {0, 0, 8191, 8191, 0});
    b.Step(kEllipse, {2458, 2458, 3276, 3276, 0});
    b.Step(kEllipse, {4915, 2458, 5733, 3276, 0});
    b.Step(kMoveTo, {2458, 5733});
    b.Step(kBezierTo, {2458, g, 3375, v, 4095, v});
    b.Step(kBezierTo, {5012, v, 5733, g, 5733, 5733});
    b.Step(kBezierAndMove, {5733, g, 5012, v, 4095, v});
    b.Step(kBezierAndMove, {3375, v, 2458, g, 2458, 5733});
}

void ConcentricCircles(ProgramBuilder& b, int32_t v)
{
    b.Step(kEllipse, {0, 0, 8191, 8191, 0});
    b.Step(kEllipse, {v, v, 8191 - v, 8191 - v, 0});
}

// The two openings are chords of the inner circle either side of the bar.
void ProhibitionSign(ProgramBuilder& b, int32_t v)
{
    const int32_t h = 8 * v / 7;
    b.Step(kEllipse, {0, 0, 8191, 8191, 0});
    b.Step(kChord, {v, v, 8191 - v, 8191 - v, 8191, 8191 - h, h, 0, 0});
    b.Step(kChord, {v, v, 8191 - v, 8191 - v, 0, h, 8191 - h, 8191, 0});
}

// Concave corners: each a quarter ellipse bowing in toward the inner corner point.
void ScoopedRectangle(ProgramBuilder& b, int32_t v)
{
    const int32_t h = v * 14 / 25;
    const int32_t w = 8191 - v;
    const int32_t k = 8191 - h;
    b.Step(kMoveTo, {v, 0});
    b.Step(kBezierTo, {v, h, h, v, 0, v});
    b.Step(kLineTo, {0, w});
    b.Step(kBezierTo, {h, w, v, k, v, 8191});
    b.Step(kLineTo, {w, 8191});
    b.Step(kBezierTo, {w, k, k, w, 8191, w});
    b.Step(kLineTo, {8191, v});
    b.Step(kBezierTo, {k, v, w, h, w, 0});
    b.Step(kLineTo, {v, 0});
}

void DimensionLine(ProgramBuilder& b, int32_t v)
{
    b.Step(kMoveTo, {0, 0});
    b.Step(kLineTo, {0, 8191});
    b.Step(kArrowLine, {0, 4095, v, 4095, 1});
    b.Step(kArrowLine, {8191 - v, 4095, 8191, 4095, 2});
    b.Step(kMoveTo, {8191, 0});
    b.Step(kLineTo, {8191, 8191});
    b.Step(kTextBox, {v + 163, 0, 8028 - v, 8191, 0, 0, 1, 2, 1});
}

void FourPointStar(ProgramBuilder& b, int32_t v)
{
    const int32_t w = 8191 - v;
    Polygon(b, {{4095, 0},
                {v, v},
                {0, 4095},
                {v, w},
                {4095, 8191},
                {w, w},
                {8191, 4095},
                {w, v},
                {4095, 0}});
}

// Steps 5..9 are the top ellipse (its back half, a move, its front half), which the
// face shading fills.
void Cylinder(ProgramBuilder& b, int32_t v)
{
    const int32_t c = v / 2;
    const int32_t k = c * 14 / 25;
    b.Step(kMoveTo, {0, c});
    b.Step(kLineTo, {0, 8191 - c});
    b.Step(kBezierTo, {0, 8191 - c + k, 1802, 8191, 4095, 8191});
    b.Step(kBezierTo, {6388, 8191, 8191, 8191 - c + k, 8191, 8191 - c});
    b.Step(kLineTo, {8191, c});
    b.Step(kBezierTo, {8191, c - k, 6388, 0, 4095, 0});
    b.Step(kBezierTo, {1802, 0, 0, c - k, 0, c});
    b.Step(kMoveTo, {0, c});
    b.Step(kBezierTo, {0, c + k, 1802, 2 * c, 4095, 2 * c});
    b.Step(kBezierTo, {6388, 2 * c, 8191, c + k, 8191, c});
    TextBox(b, 163, 2 * c, 8028, 8191 - c);
}

// The depth v serves both axes. Steps 7..11 are the top face and 12..16 the right face.
void Cube(ProgramBuilder& b, int32_t v)
{
    const int32_t w = 8191 - v;
    Polygon(b, {{v, 0}, {0, v}, {0, 8191}, {w, 8191}, {8191, w}, {8191, 0}, {v, 0}});
    b.Step(kMoveTo, {v, 0});
    b.Step(kLineToAndMove, {0, v});
    b.Step(kLineTo, {w, v});
    b.Step(kLineTo, {8191, 0});
    b.Step(kLineToAndMove, {v, 0});
    b.Step(kMoveTo, {w, v});
    b.Step(kLineToAndMove, {8191, 0});
    b.Step(kLineToAndMove, {8191, w});
    b.Step(kLineToAndMove, {w, 8191});
    b.Step(kLineTo, {w, v});
    TextBox(b, 163, std::min(v + 163, 6144), std::max(8028 - v, 2047), 8028);
}

// The frame, then the top, right, bottom and left faces (steps 1..5, 6..10, 11..15,
// 16..20) around the raised centre inset by v.
void Bevel(ProgramBuilder& b, int32_t v)
{
    const int32_t w = 8191 - v;
    const int32_t g = std::min(v, 2730);
    b.Step(kRectangle, {0, 0, 8191, 8191});
    b.Step(kMoveTo, {8191, 0});
    b.Step(kLineToAndMove, {0, 0});
    b.Step(kLineTo, {v, v});
    b.Step(kLineTo, {w, v});
    b.Step(kLineTo, {8191, 0});
    b.Step(kMoveTo, {8191, 0});
    b.Step(kLineToAndMove, {w, v});
    b.Step(kLineTo, {w, w});
    b.Step(kLineTo, {8191, 8191});
    b.Step(kLineToAndMove, {8191, 0});
    b.Step(kMoveTo, {8191, 8191});
    b.Step(kLineToAndMove, {w, w});
    b.Step(kLineTo, {v, w});
    b.Step(kLineTo, {0, 8191});
    b.Step(kLineToAndMove, {8191, 8191});
    b.Step(kMoveTo, {0, 8191});
    b.Step(kLineToAndMove, {v, w});
    b.Step(kLineTo, {v, v});
    b.Step(kLineToAndMove, {0, 0});
    b.Step(kLineToAndMove, {0, 8191});
    TextBox(b, g + 163, g + 163, 8028 - g, 8028 - g);
}

constexpr SingleValueShape kSingleValueShapes[] = {
    {3, Axis::X, 0, 8191, Parallelogram, true},
    {4, Axis::X, 0, 4095, Trapezoid, true},
    {6, Axis::X, 0, 4095, RoundedRectangle, true},
    {7, Axis::X, 0, 4095, Octagon, true},
    {8, Axis::X, 0, 8191, IsoscelesTriangle, false},
    {11, Axis::X, 0, 4095, Hexagon, true},
    {12, Axis::X, 0, 4095, Cross, true},
    {14, Axis::Y, 0, 4095, Cylinder, false},
    {15, Axis::Y, 4095, 8191, Cone, true},
    {16, Axis::Y, 0, 8191, Cube, false},
    {17, Axis::X, 0, 4095, Bevel, false},
    {18, Axis::X, 2047, 8191, FoldedCorner, true},
    {19, Axis::Y, 4914, 6552, Smiley, false},
    {20, Axis::X, 0, 4095, ConcentricCircles, false},
    {21, Axis::X, 0, 4095, ProhibitionSign, false},
    {23, Axis::X, 0, 4095, ScoopedRectangle, true},
    {27, Axis::X, 682, 3413, DimensionLine, false},
    {60, Axis::X, 0, 4095, FourPointStar, false},
};

const SingleValueShape* SingleValueShapeOf(int entry)
{
    for (const SingleValueShape& shape : kSingleValueShapes) {
        if (shape.entry == entry) {
            return &shape;
        }
    }
    return nullptr;
}

AdjustResult DragSingleValue(const SingleValueShape& shape, Point value,
                             std::vector<uint8_t>& program, std::vector<uint8_t>& handles)
{
    const std::optional<Point> handle = adjust::HandlePoint(handles, 0);
    if (!handle) {
        return {};
    }
    const int32_t raw = shape.axis == Axis::X ? value.x : value.y;
    const int32_t v = std::clamp(raw, shape.low, shape.high);
    ProgramBuilder builder;
    shape.build(builder, v);
    if (shape.catalogueText) {
        builder.CatalogueTextBox(shape.entry);
    }
    program = builder.Bytes();
    const Point moved = shape.axis == Axis::X ? Point{v, handle->y} : Point{handle->x, v};
    adjust::SetHandlePoint(handles, 0, moved);
    return {true, false, {}};
}

// Arc, sector and chord: handle 0 is the start and handle 1 the end reference point of
// step 0, kept on the ellipse inscribed in the grid.
bool IsArcFamily(int entry)
{
    return entry >= 24 && entry <= 26;
}

AdjustResult DragArcEnd(int handle, Point display, const AdjustShape& shape,
                        std::vector<uint8_t>& program, std::vector<uint8_t>& handles)
{
    // Parameters 5, 6 (start) or 7, 8 (end) of the step at word 0.
    const size_t first = handle == 0 ? 5 : 7;
    const uint16_t code = adjust::WordAt(program, 0);
    if ((code != kArcLine && code != kSector && code != kChord) ||
        program.size() < (first + 2) * 2) {
        return {};
    }
    const Point onEllipse = EllipseRayPoint({0, 0, kGridExtent, kGridExtent}, display);
    const Point value = adjust::Mirrored(onEllipse, shape);
    adjust::SetWordAt(program, first, value.x);
    adjust::SetWordAt(program, first + 1, value.y);
    adjust::SetHandlePoint(handles, handle, value);
    return {true, false, {}};
}

// The bent connector lines: the middle segment follows the handle. Horizontal ones
// (102..105) move the x of steps 1 and 2 and the start x of the arrow line (step 3);
// vertical ones (106..109) the same y words.
bool IsBentLine(int entry)
{
    return entry >= 102 && entry <= 109;
}

AdjustResult DragBentLine(int entry, Point value, std::vector<uint8_t>& program,
                          std::vector<uint8_t>& handles)
{
    const bool horizontal = entry <= 105;
    const std::optional<size_t> step1 = adjust::StepOffset(program, 1);
    const std::optional<size_t> step2 = adjust::StepOffset(program, 2);
    const std::optional<size_t> step3 = adjust::StepOffset(program, 3);
    const std::optional<Point> handle = adjust::HandlePoint(handles, 0);
    if (!step1 || !step2 || !step3 || !handle || adjust::WordAt(program, *step3) != kArrowLine) {
        return {};
    }
    const int32_t v = std::clamp(horizontal ? value.x : value.y, 0, kGridExtent);
    const size_t along = horizontal ? 1 : 2; // x or y word after the opcode
    adjust::SetWordAt(program, *step1 + along, v);
    adjust::SetWordAt(program, *step2 + along, v);
    adjust::SetWordAt(program, *step3 + along, v);
    adjust::SetHandlePoint(handles, 0, horizontal ? Point{v, handle->y} : Point{handle->x, v});
    return {true, false, {}};
}

// The handles the user drags; hidden values and other indexes are refused.
bool IsDraggableHandle(int entry, int handle)
{
    if (adjust::IsCurveOrCallout(entry)) {
        return entry == 1 ? handle >= 0 && handle < 4 : handle == 0;
    }
    if (adjust::IsArrow(entry)) {
        return adjust::IsArrowHandle(entry, handle);
    }
    if (IsArcFamily(entry)) {
        return handle == 0 || handle == 1;
    }
    return handle == 0 && (SingleValueShapeOf(entry) != nullptr || IsBentLine(entry));
}

} // namespace

bool HasAdjustRoutine(int entry)
{
    const ShapeCatalogueEntry* catalogued = CatalogueEntry(entry);
    return catalogued != nullptr && !catalogued->handles.empty();
}

bool AdjustBegin(AdjustDragState& state, int entry, int handle, std::span<const uint8_t> handles,
                 const AdjustShape& shape)
{
    state = {};
    if (!HasAdjustRoutine(entry) || !IsDraggableHandle(entry, handle)) {
        return false;
    }
    if (adjust::IsCurveOrCallout(entry)) {
        if (!adjust::BeginCurveOrCallout(state, entry, handle, handles, shape)) {
            state = {};
            return false;
        }
    } else {
        const std::optional<Point> start = adjust::HandlePoint(handles, handle);
        if (!start) {
            return false;
        }
        state.start = adjust::Mirrored(*start, shape);
    }
    state.active = true;
    state.entry = entry;
    state.handle = handle;
    return true;
}

AdjustResult AdjustDrag(const AdjustDragState& state, int entry, int handle, Point displacement,
                        const AdjustShape& shape, std::vector<uint8_t>& program,
                        std::vector<uint8_t>& handles)
{
    if (!state.active || state.entry != entry || state.handle != handle) {
        return {};
    }
    if (adjust::IsCurveOrCallout(entry)) {
        return adjust::DragCurveOrCallout(state, entry, displacement, shape, program, handles);
    }
    const Point d = adjust::GridDisplacement(displacement, shape);
    const Point display{state.start.x + d.x, state.start.y + d.y};
    if (IsArcFamily(entry)) {
        return DragArcEnd(handle, display, shape, program, handles);
    }
    const Point value = adjust::Mirrored(display, shape);
    if (adjust::IsArrow(entry)) {
        return adjust::DragArrow(entry, handle, value, program, handles);
    }
    if (IsBentLine(entry)) {
        return DragBentLine(entry, value, program, handles);
    }
    if (const SingleValueShape* single = SingleValueShapeOf(entry)) {
        return DragSingleValue(*single, value, program, handles);
    }
    return {};
}

void AdjustEnd(AdjustDragState& drag)
{
    drag = {};
}

} // namespace figures
