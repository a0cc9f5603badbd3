#pragma once

#include <cstdint>

namespace figures {

// The line types by the value lineStyle stores, in the order the properties dialog lists
// them (linestyle.h has their names and pens). Other values are kept as stored and draw
// as kLineDashDotDot.
enum LineType : int32_t {
    kLineNone = 0,        // nothing is stroked
    kLineRoundSolid = 1,  // solid, the object's width, round caps and joins
    kLineSquareSolid = 2, // solid, the object's width, flat caps and round joins
    kLineDash = 3,        // one device pixel, dashed
    kLineDot = 4,         // one device pixel, dotted
    kLineDashDot = 5,     // one device pixel, dash and dot
    kLineDashDotDot = 6,  // one device pixel, dash and two dots
};

// True for the solid types, the only ones whose stroke follows lineWidth; the dashed
// types are one pixel wide whatever width the object stores.
constexpr bool LineTypeUsesWidth(int32_t type)
{
    return type == kLineRoundSolid || type == kLineSquareSolid;
}

} // namespace figures
