// Programs of the basic shapes (entries 0..27) and the flowchart symbols (28..55).
#include "figures/render/shapes/catalogueprograms.h"

#include "figures/render/shapes/shapeprogram.h"

namespace figures {

// clang-format off

// Programs on the 0..8191 grid of the frame, one step a line, each closed by its 0 word.
// Shapes with a text area end with their text box, inset from the outline so that text
// keeps clear of the edges. Shapes with an adjust handle start at the handle's default
// value; their adjust routine rebuilds the same steps for other values.

// 0 简单文本框
static constexpr uint16_t kProgram0[] = {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1, kEnd};
// 1 曲线
static constexpr uint16_t kProgram1[] = {
    kMoveTo, 0, 0,
    kBezierTo, 4095, 0, 8191, 4095, 8191, 8191,
    kEnd,
};
// 2 矩形
static constexpr uint16_t kProgram2[] = {
    kRectangle, 0, 0, 8191, 8191,
    kTextBox, 163, 163, 8028, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 3 平形四边形: the top edge starts at the handle (2730). The text sits between the
// midpoints of the slanted sides, where it stays whatever the slant.
static constexpr uint16_t kProgram3[] = {
    kMoveTo, 2730, 0,
    kLineTo, 8191, 0,
    kLineTo, 5461, 8191,
    kLineTo, 0, 8191,
    kLineTo, 2730, 0,
    kTextBox, 1365, 163, 6826, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 4 梯形: the top edge is inset by the handle (2730) on both sides.
static constexpr uint16_t kProgram4[] = {
    kMoveTo, 2730, 0,
    kLineTo, 5461, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 2730, 0,
    kTextBox, 1365, 163, 6826, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 5 菱形: the text box is the rectangle through the midpoints of the four sides.
static constexpr uint16_t kProgram5[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 4095,
    kLineTo, 4095, 8191,
    kLineTo, 0, 4095,
    kLineTo, 4095, 0,
    kTextBox, 2047, 2047, 6144, 6144, 0, 0, 1, 0, 1,
    kEnd,
};
// 6 圆角矩形
static constexpr uint16_t kProgram6[] = {
    kRoundRect, 0, 0, 8191, 8191, 1365,
    kTextBox, 163, 1365, 8028, 6826, 0, 0, 1, 0, 1,
    kEnd,
};
// 7 八边形: corners cut by a third of the smaller side; the text box touches the cuts.
static constexpr uint16_t kProgram7[] = {
    kOctagon, 0, 0, 8191, 8191, 2730,
    kTextBox, 1365, 1365, 6826, 6826, 0, 0, 1, 0, 1,
    kEnd,
};
// 8 等腰三角形: apex at the handle (4095).
static constexpr uint16_t kProgram8[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 4095, 0,
    kTextBox, 2048, 1638, 6143, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 9 右三角: the right angle at the bottom left; text around the centroid.
static constexpr uint16_t kProgram9[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 0,
    kTextBox, 163, 3276, 4915, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 10 椭圆
static constexpr uint16_t kProgram10[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kTextBox, 819, 819, 7372, 7372, 0, 0, 1, 0, 1,
    kEnd,
};
// 11 六边形: the top and bottom edges inset by the handle (2047).
static constexpr uint16_t kProgram11[] = {
    kMoveTo, 2047, 0,
    kLineTo, 6144, 0,
    kLineTo, 8191, 4095,
    kLineTo, 6144, 8191,
    kLineTo, 2047, 8191,
    kLineTo, 0, 4095,
    kLineTo, 2047, 0,
    kTextBox, 1023, 163, 7168, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 12 十字形: the text runs along the horizontal arm.
static constexpr uint16_t kProgram12[] = {
    kCross, 0, 0, 8191, 8191, 2047,
    kTextBox, 163, 2047, 8028, 6144, 0, 0, 1, 0, 1,
    kEnd,
};
// 13 正五边形: a regular pentagon stretched to the frame, apex up.
static constexpr uint16_t kProgram13[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 3129,
    kLineTo, 6626, 8191,
    kLineTo, 1565, 8191,
    kLineTo, 0, 3129,
    kLineTo, 4095, 0,
    kTextBox, 1638, 2047, 6553, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 14 圆柱形
static constexpr uint16_t kProgram14[] = {
    kMoveTo, 0, 682,
    kLineTo, 0, 7509,
    kBezierTo, 0, 7890, 1802, 8191, 4095, 8191,
    kBezierTo, 6388, 8191, 8191, 7890, 8191, 7509,
    kLineTo, 8191, 682,
    kBezierTo, 8191, 301, 6388, 0, 4095, 0,
    kBezierTo, 1802, 0, 0, 301, 0, 682,
    kMoveTo, 0, 682,
    kBezierTo, 0, 1063, 1802, 1365, 4095, 1365,
    kBezierTo, 6388, 1365, 8191, 1063, 8191, 682,
    kTextBox, 163, 1365, 8028, 7509, 0, 0, 1, 0, 1,
    kEnd,
};
// 15 圆锥形: the base's front half ends the sides at the handle (7509).
static constexpr uint16_t kProgram15[] = {
    kMoveTo, 4095, 0,
    kLineTo, 0, 7509,
    kBezierTo, 0, 7890, 1802, 8191, 4095, 8191,
    kBezierTo, 6388, 8191, 8191, 7890, 8191, 7509,
    kLineTo, 4095, 0,
    kTextBox, 1365, 2730, 6826, 7509, 0, 0, 1, 0, 1,
    kEnd,
};
// 16 立方体
static constexpr uint16_t kProgram16[] = {
    kMoveTo, 2047, 0,
    kLineTo, 0, 2047,
    kLineTo, 0, 8191,
    kLineTo, 6144, 8191,
    kLineTo, 8191, 6144,
    kLineTo, 8191, 0,
    kLineTo, 2047, 0,
    kMoveTo, 2047, 0,
    kLineToAndMove, 0, 2047,
    kLineTo, 6144, 2047,
    kLineTo, 8191, 0,
    kLineToAndMove, 2047, 0,
    kMoveTo, 6144, 2047,
    kLineToAndMove, 8191, 0,
    kLineToAndMove, 8191, 6144,
    kLineToAndMove, 6144, 8191,
    kLineTo, 6144, 2047,
    kTextBox, 163, 2210, 5981, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 17 棱台: the frame, then the top, right, bottom and left faces (steps 1..5, 6..10,
// 11..15 and 16..20, which the face shading fills) around the raised centre, inset by
// the handle (1365).
static constexpr uint16_t kProgram17[] = {
    kRectangle, 0, 0, 8191, 8191,
    kMoveTo, 8191, 0,
    kLineToAndMove, 0, 0,
    kLineTo, 1365, 1365,
    kLineTo, 6826, 1365,
    kLineTo, 8191, 0,
    kMoveTo, 8191, 0,
    kLineToAndMove, 6826, 1365,
    kLineTo, 6826, 6826,
    kLineTo, 8191, 8191,
    kLineToAndMove, 8191, 0,
    kMoveTo, 8191, 8191,
    kLineToAndMove, 6826, 6826,
    kLineTo, 1365, 6826,
    kLineTo, 0, 8191,
    kLineToAndMove, 8191, 8191,
    kMoveTo, 0, 8191,
    kLineToAndMove, 1365, 6826,
    kLineTo, 1365, 1365,
    kLineToAndMove, 0, 0,
    kLineToAndMove, 0, 8191,
    kTextBox, 1528, 1528, 6663, 6663, 0, 0, 1, 0, 1,
    kEnd,
};
// 18 折角形: the bottom-right corner folded over along the line through the handle
// (7168); steps 6..9 are the flap, which the face shading darkens.
static constexpr uint16_t kProgram18[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 7168,
    kLineTo, 7168, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 0,
    kMoveTo, 8191, 7168,
    kBezierTo, 7808, 7424, 7808, 7424, 7424, 7168,
    kLineTo, 7168, 8191,
    kLineToAndMove, 8191, 7168,
    kTextBox, 163, 163, 8028, 7168, 0, 0, 1, 0, 1,
    kEnd,
};
// 19 笑脸
static constexpr uint16_t kProgram19[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kEllipse, 2458, 2458, 3276, 3276, 0,
    kEllipse, 4915, 2458, 5733, 3276, 0,
    kMoveTo, 2458, 5733,
    kBezierTo, 2458, 6191, 3375, 6552, 4095, 6552,
    kBezierTo, 5012, 6552, 5733, 6191, 5733, 5733,
    kBezierAndMove, 5733, 6191, 5012, 6552, 4095, 6552,
    kBezierAndMove, 3375, 6552, 2458, 6191, 2458, 5733,
    kEnd,
};
// 20 同心圆: the inner ring inset by the handle (2047).
static constexpr uint16_t kProgram20[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kEllipse, 2047, 2047, 6144, 6144, 0,
    kEnd,
};
// 21 禁止符
static constexpr uint16_t kProgram21[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kChord, 1023, 1023, 7168, 7168, 8191, 7021, 1170, 0, 0,
    kChord, 1023, 1023, 7168, 7168, 0, 1170, 7021, 8191, 0,
    kEnd,
};
// 22 闪电形: a bolt striking down to the left in three strokes, filling the frame.
static constexpr uint16_t kProgram22[] = {
    kMoveTo, 2341, 0,
    kLineTo, 7020, 0,
    kLineTo, 5387, 3000,
    kLineTo, 8191, 3000,
    kLineTo, 1170, 8191,
    kLineTo, 3511, 4300,
    kLineTo, 0, 4300,
    kLineTo, 2341, 0,
    kEnd,
};
// 23 缺角矩形: all four corners scooped out inward by the handle (1638).
static constexpr uint16_t kProgram23[] = {
    kMoveTo, 1638, 0,
    kBezierTo, 1638, 917, 917, 1638, 0, 1638,
    kLineTo, 0, 6553,
    kBezierTo, 917, 6553, 1638, 7274, 1638, 8191,
    kLineTo, 6553, 8191,
    kBezierTo, 6553, 7274, 7274, 6553, 8191, 6553,
    kLineTo, 8191, 1638,
    kBezierTo, 7274, 1638, 6553, 917, 6553, 0,
    kLineTo, 1638, 0,
    kTextBox, 163, 1638, 8028, 6553, 0, 0, 1, 0, 1,
    kEnd,
};
// 24 弧
static constexpr uint16_t kProgram24[] = {kArcLine, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0, kEnd};
// 25 饼: the sector from the upper right around to the lower right, counterclockwise.
static constexpr uint16_t kProgram25[] = {kSector, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0, kEnd};
// 26 弦: the same two ends joined by a chord.
static constexpr uint16_t kProgram26[] = {kChord, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0, kEnd};
// 27 尺寸线: two end ticks and two arrows pointing out from the gap the measure sits in
// (handle 3071).
static constexpr uint16_t kProgram27[] = {
    kMoveTo, 0, 0,
    kLineTo, 0, 8191,
    kArrowLine, 0, 4095, 3071, 4095, 1,
    kArrowLine, 5120, 4095, 8191, 4095, 2,
    kMoveTo, 8191, 0,
    kLineTo, 8191, 8191,
    kTextBox, 3234, 0, 4957, 8191, 0, 0, 1, 2, 1,
    kEnd,
};

// --- Flowchart symbols ---------------------------------------------------------------

// 28 过程
static constexpr uint16_t kProgram28[] = {
    kRectangle, 0, 0, 8191, 8191,
    kTextBox, 163, 163, 8028, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 29 可选过程
static constexpr uint16_t kProgram29[] = {
    kRoundRect, 0, 0, 8191, 8191, 1365,
    kTextBox, 163, 1365, 8028, 6826, 0, 0, 1, 0, 1,
    kEnd,
};
// 30 决策
static constexpr uint16_t kProgram30[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 4095,
    kLineTo, 4095, 8191,
    kLineTo, 0, 4095,
    kLineTo, 4095, 0,
    kTextBox, 2047, 2047, 6144, 6144, 0, 0, 1, 0, 1,
    kText, 2048, 8191, 3, 3, 0,
    kText, 8191, 3072, 3, 3, 1,
    kEnd,
};
// 31 数据: a parallelogram with a fifth of the width as slant.
static constexpr uint16_t kProgram31[] = {
    kMoveTo, 1638, 0,
    kLineTo, 8191, 0,
    kLineTo, 6553, 8191,
    kLineTo, 0, 8191,
    kLineTo, 1638, 0,
    kTextBox, 819, 163, 7372, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 32 预定义过程: inner bars a tenth of the width in from each side. Inner lines are free
// lines, so they stroke but never enclose an area of the fill.
static constexpr uint16_t kProgram32[] = {
    kRectangle, 0, 0, 8191, 8191,
    kLine, 819, 0, 819, 8191,
    kLine, 7372, 0, 7372, 8191,
    kTextBox, 982, 163, 7209, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 33 内部存贮: a horizontal line near the top and a vertical line near the left edge,
// equally far from their edges on a 4:3 frame.
static constexpr uint16_t kProgram33[] = {
    kRectangle, 0, 0, 8191, 8191,
    kLine, 0, 1365, 8191, 1365,
    kLine, 1024, 0, 1024, 8191,
    kTextBox, 1187, 1528, 8028, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 34 文档: the bottom edge is one S-curve, dipping to the frame's bottom on the left and
// rising on the right. Its lower control lies below the frame; the curve stays inside.
static constexpr uint16_t kProgram34[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 7372,
    kBezierTo, 5461, 4535, 2730, 10209, 0, 7372,
    kLineTo, 0, 0,
    kTextBox, 163, 163, 8028, 6553, 0, 0, 1, 0, 1,
    kEnd,
};
// 35 多文档: three documents stacked toward the upper right. The first figure is the
// outline of the whole stack (its silhouette); free lines then draw the edges of the
// front and middle sheets inside it.
static constexpr uint16_t kProgram35[] = {
    kMoveTo, 0, 1638,
    kLineTo, 819, 1638,
    kLineTo, 819, 819,
    kLineTo, 1638, 819,
    kLineTo, 1638, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 5734,
    kLineTo, 7372, 5734,
    kLineTo, 7372, 6553,
    kLineTo, 6553, 6553,
    kLineTo, 6553, 7536,
    kBezierTo, 4369, 5267, 2184, 9805, 0, 7536,
    kLineTo, 0, 1638,
    kLine, 819, 1638, 6553, 1638,
    kLine, 6553, 1638, 6553, 6553,
    kLine, 1638, 819, 7372, 819,
    kLine, 7372, 819, 7372, 5734,
    kTextBox, 163, 1801, 6390, 6881, 0, 0, 1, 0, 1,
    kEnd,
};
// 36 终止: a stadium; the corner radius is half the smaller side.
static constexpr uint16_t kProgram36[] = {
    kRoundRect, 0, 0, 8191, 8191, 4095,
    kTextBox, 1365, 163, 6826, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 37 准备: an elongated hexagon with points a fifth of the width deep.
static constexpr uint16_t kProgram37[] = {
    kMoveTo, 1638, 0,
    kLineTo, 6553, 0,
    kLineTo, 8191, 4095,
    kLineTo, 6553, 8191,
    kLineTo, 1638, 8191,
    kLineTo, 0, 4095,
    kLineTo, 1638, 0,
    kTextBox, 1229, 163, 6962, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 38 人工输入: the top edge rises from a fifth of the height on the left.
static constexpr uint16_t kProgram38[] = {
    kMoveTo, 0, 1638,
    kLineTo, 8191, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 1638,
    kTextBox, 163, 1801, 8028, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 39 人工操作: a trapezoid narrowing downward.
static constexpr uint16_t kProgram39[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 6553, 8191,
    kLineTo, 1638, 8191,
    kLineTo, 0, 0,
    kTextBox, 819, 163, 7372, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 40 联系
static constexpr uint16_t kProgram40[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kTextBox, 819, 819, 7372, 7372, 0, 0, 1, 0, 1,
    kEnd,
};
// 41 离页连接符: a pentagon pointing down.
static constexpr uint16_t kProgram41[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 6553,
    kLineTo, 4095, 8191,
    kLineTo, 0, 6553,
    kLineTo, 0, 0,
    kTextBox, 163, 163, 8028, 6553, 0, 0, 1, 0, 1,
    kEnd,
};
// 42 卡片: the top-left corner cut off.
static constexpr uint16_t kProgram42[] = {
    kMoveTo, 1638, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 1638,
    kLineTo, 1638, 0,
    kTextBox, 163, 1638, 8028, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 43 资料带: punched tape, its top and bottom edges the same wave (trough on the left,
// crest on the right), each as quarter, half and quarter wave.
static constexpr uint16_t kProgram43[] = {
    kMoveTo, 0, 819,
    kBezierTo, 683, 1229, 1365, 1638, 2048, 1638,
    kBezierTo, 3413, 1638, 4779, 0, 6144, 0,
    kBezierTo, 6826, 0, 7508, 410, 8191, 819,
    kLineTo, 8191, 7372,
    kBezierTo, 7508, 6963, 6826, 6553, 6144, 6553,
    kBezierTo, 4779, 6553, 3413, 8191, 2048, 8191,
    kBezierTo, 1365, 8191, 683, 7782, 0, 7372,
    kLineTo, 0, 819,
    kTextBox, 163, 1638, 8028, 6553, 0, 0, 1, 0, 1,
    kEnd,
};
// 44 汇总连接: a circle crossed by its two diagonals.
static constexpr uint16_t kProgram44[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kLine, 1199, 1199, 6992, 6992,
    kLine, 6992, 1199, 1199, 6992,
    kEnd,
};
// 45 或者: a circle with a plus.
static constexpr uint16_t kProgram45[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kLine, 4095, 0, 4095, 8191,
    kLine, 0, 4095, 8191, 4095,
    kEnd,
};
// 46 对照: two triangles meeting tip to tip, drawn as one crossing outline.
static constexpr uint16_t kProgram46[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 0, 8191,
    kLineTo, 8191, 8191,
    kLineTo, 0, 0,
    kEnd,
};
// 47 排序: a diamond halved by a horizontal line.
static constexpr uint16_t kProgram47[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 4095,
    kLineTo, 4095, 8191,
    kLineTo, 0, 4095,
    kLineTo, 4095, 0,
    kLine, 0, 4095, 8191, 4095,
    kEnd,
};
// 48 摘录: a triangle pointing up, text in its lower half.
static constexpr uint16_t kProgram48[] = {
    kMoveTo, 4095, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 4095, 0,
    kTextBox, 2048, 4095, 6143, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 49 合并: a triangle pointing down, text in its upper half.
static constexpr uint16_t kProgram49[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 4095, 8191,
    kLineTo, 0, 0,
    kTextBox, 2048, 163, 6143, 4095, 0, 0, 1, 0, 1,
    kEnd,
};
// 50 库存数据: the left side bulges out and the right side curves in, both half
// ellipses a sixth of the width deep.
static constexpr uint16_t kProgram50[] = {
    kMoveTo, 1365, 0,
    kLineTo, 8191, 0,
    kBezierTo, 7427, 0, 6826, 1802, 6826, 4095,
    kBezierTo, 6826, 6389, 7427, 8191, 8191, 8191,
    kLineTo, 1365, 8191,
    kBezierTo, 601, 8191, 0, 6389, 0, 4095,
    kBezierTo, 0, 1802, 601, 0, 1365, 0,
    kTextBox, 1365, 163, 6826, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 51 延期: a D, straight on the left and a half ellipse on the right.
static constexpr uint16_t kProgram51[] = {
    kMoveTo, 0, 0,
    kLineTo, 4095, 0,
    kBezierTo, 6389, 0, 8191, 1802, 8191, 4095,
    kBezierTo, 8191, 6389, 6389, 8191, 4095, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 0,
    kTextBox, 163, 1365, 6826, 6826, 0, 0, 1, 0, 1,
    kEnd,
};
// 52 顺序访问存贮器: a reel of tape, the circle with its tail running off to the right
// along the bottom.
static constexpr uint16_t kProgram52[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kLine, 4095, 8191, 8191, 8191,
    kTextBox, 819, 819, 7372, 7372, 0, 0, 1, 0, 1,
    kEnd,
};
// 53 磁盘: an upright cylinder laid out like 圆柱形 with a top a fifth of the height
// deep; steps 5..9 are the top ellipse, which the face shading lightens.
static constexpr uint16_t kProgram53[] = {
    kMoveTo, 0, 819,
    kLineTo, 0, 7372,
    kBezierTo, 0, 7830, 1802, 8191, 4095, 8191,
    kBezierTo, 6388, 8191, 8191, 7830, 8191, 7372,
    kLineTo, 8191, 819,
    kBezierTo, 8191, 361, 6388, 0, 4095, 0,
    kBezierTo, 1802, 0, 0, 361, 0, 819,
    kMoveTo, 0, 819,
    kBezierTo, 0, 1277, 1802, 1638, 4095, 1638,
    kBezierTo, 6388, 1638, 8191, 1277, 8191, 819,
    kTextBox, 163, 1638, 8028, 7372, 0, 0, 1, 0, 1,
    kEnd,
};
// 54 直接访问存贮器: the same cylinder lying on its side with its visible end on the
// right; steps 5..9 are that end, which the face shading lightens.
static constexpr uint16_t kProgram54[] = {
    kMoveTo, 7372, 0,
    kLineTo, 819, 0,
    kBezierTo, 361, 0, 0, 1802, 0, 4095,
    kBezierTo, 0, 6388, 361, 8191, 819, 8191,
    kLineTo, 7372, 8191,
    kBezierTo, 7830, 8191, 8191, 6388, 8191, 4095,
    kBezierTo, 8191, 1802, 7830, 0, 7372, 0,
    kMoveTo, 7372, 0,
    kBezierTo, 6914, 0, 6553, 1802, 6553, 4095,
    kBezierTo, 6553, 6388, 6914, 8191, 7372, 8191,
    kTextBox, 982, 163, 6390, 8028, 0, 0, 1, 0, 1,
    kEnd,
};
// 55 显示: pointed on the left, a half ellipse on the right.
static constexpr uint16_t kProgram55[] = {
    kMoveTo, 1365, 0,
    kLineTo, 6826, 0,
    kBezierTo, 7590, 0, 8191, 1802, 8191, 4095,
    kBezierTo, 8191, 6389, 7590, 8191, 6826, 8191,
    kLineTo, 1365, 8191,
    kLineTo, 0, 4095,
    kLineTo, 1365, 0,
    kTextBox, 1365, 163, 6826, 8028, 0, 0, 1, 0, 1,
    kEnd,
};

// clang-format on

namespace {

constexpr std::span<const uint16_t> kPrograms[] = {
    kProgram0,  kProgram1,  kProgram2,  kProgram3,  kProgram4,  kProgram5,  kProgram6,  kProgram7,
    kProgram8,  kProgram9,  kProgram10, kProgram11, kProgram12, kProgram13, kProgram14, kProgram15,
    kProgram16, kProgram17, kProgram18, kProgram19, kProgram20, kProgram21, kProgram22, kProgram23,
    kProgram24, kProgram25, kProgram26, kProgram27, kProgram28, kProgram29, kProgram30, kProgram31,
    kProgram32, kProgram33, kProgram34, kProgram35, kProgram36, kProgram37, kProgram38, kProgram39,
    kProgram40, kProgram41, kProgram42, kProgram43, kProgram44, kProgram45, kProgram46, kProgram47,
    kProgram48, kProgram49, kProgram50, kProgram51, kProgram52, kProgram53, kProgram54, kProgram55,
};
static_assert(std::size(kPrograms) == kFirstCalloutEntry);

} // namespace

std::span<const std::span<const uint16_t>> ShapeAndFlowchartPrograms()
{
    return kPrograms;
}

} // namespace figures
