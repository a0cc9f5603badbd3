// Adjust routines of the block arrows (entries 63..68, 71..76) and the cross arrow (69).
#include "figures/render/shapes/adjust/adjustsupport.h"

#include "figures/render/shapes/shapeprogram.h"

#include <algorithm>

namespace figures::adjust {

namespace {

// The arrow's handle is the corner where head and shaft meet (x, y); the program is a
// function of both, already limited to the type's ranges.
using ArrowBuilder = void (*)(ProgramBuilder&, int32_t x, int32_t y);

struct ArrowType {
    int32_t xLow, xHigh;
    int32_t yLow, yHigh;
    bool yMoves; // pentagon and chevron arrows keep their handle on the top edge
    ArrowBuilder build;
};

void Polyline(ProgramBuilder& b, std::initializer_list<Point> points)
{
    b.Step(kMoveTo, {points.begin()->x, points.begin()->y});
    for (auto it = points.begin() + 1; it != points.end(); ++it) {
        b.Step(kLineTo, {it->x, it->y});
    }
}

void LeftArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{8191, y},
                 {8191, 8191 - y},
                 {x, 8191 - y},
                 {x, 8191},
                 {0, 4095},
                 {x, 0},
                 {x, y},
                 {8191, y}});
}

void RightArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(
        b, {{0, y}, {0, 8191 - y}, {x, 8191 - y}, {x, 8191}, {8191, 4095}, {x, 0}, {x, y}, {0, y}});
}

void UpArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{8191 - x, 8191},
                 {x, 8191},
                 {x, y},
                 {0, y},
                 {4095, 0},
                 {8191, y},
                 {8191 - x, y},
                 {8191 - x, 8191}});
}

void DownArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{8191 - x, 0},
                 {x, 0},
                 {x, y},
                 {0, y},
                 {4095, 8191},
                 {8191, y},
                 {8191 - x, y},
                 {8191 - x, 0}});
}

void LeftRightArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{8191 - x, y},
                 {8191 - x, 0},
                 {8191, 4095},
                 {8191 - x, 8191},
                 {8191 - x, 8191 - y},
                 {x, 8191 - y},
                 {x, 8191},
                 {0, 4095},
                 {x, 0},
                 {x, y},
                 {8191 - x, y}});
}

void UpDownArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{8191 - x, 8191 - y},
                 {8191, 8191 - y},
                 {4095, 8191},
                 {0, 8191 - y},
                 {x, 8191 - y},
                 {x, y},
                 {0, y},
                 {4095, 0},
                 {8191, y},
                 {8191 - x, y},
                 {8191 - x, 8191 - y}});
}

// The shaft rises from the bottom left and bends right into the head; its outer and
// inner bends are quarter ellipses whose arms are 11/25 and 14/25 of their extents.
void CurvedRightArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    const int32_t l = 4680 - 2 * y;
    const int32_t bend = x - 819;
    b.Step(kMoveTo, {8191, 2340});
    b.Step(kLineTo, {x, 0});
    b.Step(kLineTo, {x, y});
    b.Step(kLineTo, {bend, y});
    b.Step(kBezierTo, {bend * 11 / 25, y, 0, 4680 - (4680 - y) * 14 / 25, 0, 4680});
    b.Step(kLineTo, {0, 8191});
    b.Step(kLineTo, {l, 8191});
    b.Step(kLineTo, {l, 4680});
    b.Step(kBezierTo,
           {l, 4680 - y * 14 / 25, bend + (l - bend) * 14 / 25, 4680 - y, bend, 4680 - y});
    b.Step(kLineTo, {x, 4680 - y});
    b.Step(kLineTo, {x, 4680});
    b.Step(kLineTo, {8191, 2340});
}

// The horizontal leg is always as thick as the shaft (2x - 11702).
void RightAngleUpArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    const int32_t inner = 11702 - x;
    const int32_t leg = 19893 - 2 * x;
    Polyline(b, {{5850, 0},
                 {3510, y},
                 {inner, y},
                 {inner, leg},
                 {0, leg},
                 {0, 8191},
                 {x, 8191},
                 {x, y},
                 {8191, y},
                 {5850, 0}});
}

// A right arrow whose tail breaks into two bars.
void StripedRightArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    const int32_t w = 8191 - y;
    Polyline(b,
             {{8191, 4095}, {x, 0}, {x, y}, {1279, y}, {1279, w}, {x, w}, {x, 8191}, {8191, 4095}});
    Polyline(b, {{511, y}, {1023, y}, {1023, w}, {511, w}, {511, y}});
    Polyline(b, {{0, y}, {255, y}, {255, w}, {0, w}, {0, y}});
}

void NotchedRightArrow(ProgramBuilder& b, int32_t x, int32_t y)
{
    Polyline(b, {{0, y},
                 {1023, 4095},
                 {0, 8191 - y},
                 {x, 8191 - y},
                 {x, 8191},
                 {8191, 4095},
                 {x, 0},
                 {x, y},
                 {0, y}});
}

void PentagonArrow(ProgramBuilder& b, int32_t x, int32_t)
{
    Polyline(b, {{8191, 4095}, {x, 0}, {0, 0}, {0, 8191}, {x, 8191}, {8191, 4095}});
}

void Chevron(ProgramBuilder& b, int32_t x, int32_t)
{
    Polyline(b,
             {{8191, 4095}, {x, 0}, {0, 0}, {8191 - x, 4095}, {0, 8191}, {x, 8191}, {8191, 4095}});
}

// Indexed by the type the handle list carries in its second (hidden) descriptor.
constexpr ArrowType kArrowTypes[] = {
    {0, 8191, 0, 4095, true, LeftArrow},            // 63 左箭头
    {0, 8191, 0, 4095, true, RightArrow},           // 64 右箭头
    {0, 4095, 0, 8191, true, UpArrow},              // 65 上箭头
    {0, 4095, 0, 8191, true, DownArrow},            // 66 下箭头
    {0, 4095, 0, 4095, true, LeftRightArrow},       // 67 左右箭头
    {0, 4095, 0, 4095, true, UpDownArrow},          // 68 上下箭头
    {4095, 8191, 0, 2340, true, CurvedRightArrow},  // 71 圆角右箭头
    {5850, 8191, 0, 4095, true, RightAngleUpArrow}, // 72 直角上箭头
    {1279, 8191, 0, 4095, true, StripedRightArrow}, // 73 虚尾箭头
    {1023, 8191, 0, 4095, true, NotchedRightArrow}, // 74 燕尾箭头
    {0, 8191, 0, 0, false, PentagonArrow},          // 75 五边形箭头
    {0, 8191, 0, 0, false, Chevron},                // 76 燕尾
};

constexpr int kCrossArrow = 69;

// Four arms around the centre: a is the head's outer corner, s the shaft's edge and h
// the head's length, the same on every arm.
void CrossArrow(ProgramBuilder& b, int32_t a, int32_t s, int32_t h)
{
    const auto m = [](int32_t v) { return 8191 - v; };
    Polyline(b, {{4095, 0},    {a, h},       {s, h},       {s, s},       {h, s},
                 {h, a},       {0, 4095},    {h, m(a)},    {h, m(s)},    {s, m(s)},
                 {s, m(h)},    {a, m(h)},    {4095, 8191}, {m(a), m(h)}, {m(s), m(h)},
                 {m(s), m(s)}, {m(h), m(s)}, {m(h), m(a)}, {8191, 4095}, {m(h), a},
                 {m(h), s},    {m(s), s},    {m(s), h},    {m(a), h},    {4095, 0}});
}

AdjustResult DragCrossArrow(int handle, Point value, std::vector<uint8_t>& program,
                            std::vector<uint8_t>& handles)
{
    const std::optional<Point> corner = HandlePoint(handles, 0);
    const std::optional<Point> shaft = HandlePoint(handles, 1);
    if (!corner || !shaft) {
        return {};
    }
    int32_t a = corner->x;
    int32_t s = shaft->x;
    int32_t h = shaft->y;
    if (handle == 0) {
        a = std::max(std::min(std::max(value.x, 0), s), h);
    } else {
        s = std::clamp(value.x, a, 4095);
        h = std::clamp(value.y, 0, a);
    }
    ProgramBuilder builder;
    CrossArrow(builder, a, s, h);
    program = builder.Bytes();
    SetHandlePoint(handles, 0, {a, corner->y});
    SetHandlePoint(handles, 1, {s, h});
    return {true, false, {}};
}

} // namespace

bool IsArrow(int entry)
{
    return (entry >= 63 && entry <= 69) || (entry >= 71 && entry <= 76);
}

bool IsArrowHandle(int entry, int handle)
{
    return handle == 0 || (entry == kCrossArrow && handle == 1);
}

AdjustResult DragArrow(int entry, int handle, Point value, std::vector<uint8_t>& program,
                       std::vector<uint8_t>& handles)
{
    if (entry == kCrossArrow) {
        return DragCrossArrow(handle, value, program, handles);
    }
    const std::optional<Point> corner = HandlePoint(handles, 0);
    const std::optional<Point> variant = HandlePoint(handles, 1);
    if (!corner || !variant || variant->y >= int32_t(std::size(kArrowTypes))) {
        return {};
    }
    const ArrowType& type = kArrowTypes[variant->y];
    const int32_t x = std::clamp(value.x, type.xLow, type.xHigh);
    const int32_t y = type.yMoves ? std::clamp(value.y, type.yLow, type.yHigh) : corner->y;
    ProgramBuilder builder;
    type.build(builder, x, y);
    program = builder.Bytes();
    SetHandlePoint(handles, 0, {x, y});
    return {true, false, {}};
}

} // namespace figures::adjust
