#pragma once

#include "figures/render/styles/linetype.h"

#include <QPen>

#include <cstdint>

namespace figures {

// The line types an object's lineStyle indexes, in the order the properties dialog
// lists them:
//   0 "空线"      nothing is stroked
//   1 "圆头实线"  solid, the object's width, round caps and joins
//   2 "方头实线"  solid, the object's width, flat caps and round joins
//   3 "虚线"      one device pixel: 18 on, 6 off
//   4 "点线"      one device pixel: 3 on, 3 off
//   5 "点划线"    one device pixel: 9 on, 6 off, 3 on, 6 off
//   6 "双点划线"  one device pixel: 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
// Every other value, negative ones included, draws as type 6, so that a line never
// vanishes because of a value this table does not know.
int32_t LineTypeCount();

// The UTF-8 name of line type i, null outside 0..LineTypeCount() - 1.
const char* LineTypeName(int32_t i);

// The pen of a line type, for a painter whose world transform maps document units to
// device pixels. The solid types are geometric pens widthUnits document units wide, so
// they grow with the zoom (a width of 0 gives Qt's one-pixel cosmetic line, as a
// zero-width solid line always was). The dashed types are cosmetic: one device pixel
// wide at every zoom, with their dash lengths in device pixels and flat dash ends so
// that a dash covers exactly its length. colour is 0x00BBGGRR.
// The round joins of type 2 only appear where segments meet inside one stroke, so a
// figure drawn with it is collected into one QPainterPath and stroked as a whole.
QPen LinePen(int32_t lineType, int32_t widthUnits, uint32_t colour);

} // namespace figures
