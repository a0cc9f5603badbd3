// Programs of the callouts (entries 56, 57), stars (58..62), block arrows (63..76) and
// connector lines (77..109).
#include "figures/render/shapes/catalogueprograms.h"

#include "figures/render/shapes/shapeprogram.h"

namespace figures {

// clang-format off

// --- Callouts ---------------------------------------------------------------------------
// The body fills the upper five sixths of the frame; the pointer leaves the bottom side
// between a seventh and three sevenths of its length from the left and ends at the tip
// handle (511, 8191).

// 56 矩形标注
static constexpr uint16_t kProgram56[] = {
    kMoveTo, 0, 6826,
    kLineTo, 1170, 6826,
    kLineTo, 511, 8191,
    kLineTo, 3510, 6826,
    kLineTo, 8191, 6826,
    kLineTo, 8191, 0,
    kLineTo, 0, 0,
    kLineTo, 0, 6826,
    kTextBox, 163, 163, 8028, 6663, 0, 0, 1, 0, 1,
    kEnd,
};
// 57 圆角矩形标注: the rounded layout the callout's adjust routine builds, for the
// default tip on a square frame: corners rounded with a seventh of the body's smaller
// side, walked counterclockwise from the bottom-left corner.
static constexpr uint16_t kProgram57[] = {
    kMoveTo, 0, 5851,
    kArcCounterclockwiseTo, 0, 4876, 1950, 6826, 975, 6826,
    kLineTo, 1170, 6826,
    kLineTo, 511, 8191,
    kLineTo, 3510, 6826,
    kLineTo, 7216, 6826,
    kArcCounterclockwiseTo, 6241, 4876, 8191, 6826, 8191, 5851,
    kLineTo, 8191, 975,
    kArcCounterclockwiseTo, 6241, 0, 8191, 1950, 7216, 0,
    kLineTo, 975, 0,
    kArcCounterclockwiseTo, 0, 0, 1950, 1950, 0, 975,
    kLineTo, 0, 5851,
    kTextBox, 409, 341, 7782, 6485, 0, 0, 1, 0, 1,
    kEnd,
};

// --- Stars ------------------------------------------------------------------------------
// Stars fill their frame and carry no text; the two bursts do, in their calm centre.

// 58 爆炸形1: twelve uneven spikes.
static constexpr uint16_t kProgram58[] = {
    kMoveTo, 3638, 0,
    kLineTo, 3039, 1854,
    kLineTo, 1641, 1348,
    kLineTo, 1986, 2823,
    kLineTo, 0, 2841,
    kLineTo, 1238, 4033,
    kLineTo, 321, 4956,
    kLineTo, 1819, 5273,
    kLineTo, 776, 6964,
    kLineTo, 2517, 6322,
    kLineTo, 2765, 7478,
    kLineTo, 3852, 6623,
    kLineTo, 4933, 8191,
    kLineTo, 5283, 6517,
    kLineTo, 6601, 6890,
    kLineTo, 6091, 5518,
    kLineTo, 8191, 5635,
    kLineTo, 6727, 4482,
    kLineTo, 7968, 3698,
    kLineTo, 6461, 3297,
    kLineTo, 7576, 1803,
    kLineTo, 5832, 2206,
    kLineTo, 5735, 945,
    kLineTo, 4493, 1886,
    kLineTo, 3638, 0,
    kTextBox, 2458, 2458, 5733, 5733, 0, 0, 1, 0, 1,
    kEnd,
};
// 59 爆炸形2: sixteen sharper, more ragged spikes.
static constexpr uint16_t kProgram59[] = {
    kMoveTo, 4748, 0,
    kLineTo, 4078, 1941,
    kLineTo, 3286, 938,
    kLineTo, 3082, 2386,
    kLineTo, 1624, 1052,
    kLineTo, 2365, 2516,
    kLineTo, 1338, 2566,
    kLineTo, 2210, 3593,
    kLineTo, 0, 3547,
    kLineTo, 1803, 4149,
    kLineTo, 802, 5031,
    kLineTo, 2281, 5112,
    kLineTo, 1052, 6423,
    kLineTo, 2607, 5649,
    kLineTo, 2653, 6788,
    kLineTo, 3622, 5904,
    kLineTo, 3735, 8191,
    kLineTo, 4218, 6356,
    kLineTo, 5152, 7209,
    kLineTo, 5098, 5702,
    kLineTo, 6598, 6964,
    kLineTo, 5688, 5506,
    kLineTo, 6843, 5483,
    kLineTo, 5942, 4535,
    kLineTo, 8191, 4474,
    kLineTo, 6319, 3970,
    kLineTo, 7126, 3104,
    kLineTo, 5618, 3115,
    kLineTo, 7035, 1589,
    kLineTo, 5477, 2554,
    kLineTo, 5612, 1363,
    kLineTo, 4584, 2274,
    kLineTo, 4748, 0,
    kTextBox, 2731, 2731, 5460, 5460, 0, 0, 1, 0, 1,
    kEnd,
};
// 60 十字星: the four inner corners at the handle (3276).
static constexpr uint16_t kProgram60[] = {
    kMoveTo, 4095, 0,
    kLineTo, 3276, 3276,
    kLineTo, 0, 4095,
    kLineTo, 3276, 4915,
    kLineTo, 4095, 8191,
    kLineTo, 4915, 4915,
    kLineTo, 8191, 4095,
    kLineTo, 4915, 3276,
    kLineTo, 4095, 0,
    kEnd,
};
// 61 五角星
static constexpr uint16_t kProgram61[] = {
    kMoveTo, 4095, 0,
    kLineTo, 3194, 3194,
    kLineTo, 0, 3194,
    kLineTo, 2539, 5078,
    kLineTo, 1638, 8191,
    kLineTo, 4095, 6388,
    kLineTo, 6552, 8191,
    kLineTo, 5651, 5078,
    kLineTo, 8191, 3194,
    kLineTo, 4996, 3194,
    kLineTo, 4095, 0,
    kEnd,
};
// 62 八角星: points on the inscribed ellipse every 45 degrees, notches at 0.45 of it.
static constexpr uint16_t kProgram62[] = {
    kMoveTo, 4095, 0,
    kLineTo, 3390, 2392,
    kLineTo, 1199, 1199,
    kLineTo, 2392, 3390,
    kLineTo, 0, 4095,
    kLineTo, 2392, 4800,
    kLineTo, 1199, 6991,
    kLineTo, 3390, 5798,
    kLineTo, 4095, 8191,
    kLineTo, 4800, 5798,
    kLineTo, 6991, 6991,
    kLineTo, 5798, 4800,
    kLineTo, 8191, 4095,
    kLineTo, 5798, 3390,
    kLineTo, 6991, 1199,
    kLineTo, 4800, 2392,
    kLineTo, 4095, 0,
    kEnd,
};

// --- Block arrows -----------------------------------------------------------------------
// Each starts at its handle's default: the corner where head and shaft meet.

// 63 左箭头
static constexpr uint16_t kProgram63[] = {
    kMoveTo, 8191, 2047,
    kLineTo, 8191, 6144,
    kLineTo, 2047, 6144,
    kLineTo, 2047, 8191,
    kLineTo, 0, 4095,
    kLineTo, 2047, 0,
    kLineTo, 2047, 2047,
    kLineTo, 8191, 2047,
    kEnd,
};
// 64 右箭头
static constexpr uint16_t kProgram64[] = {
    kMoveTo, 0, 2047,
    kLineTo, 0, 6144,
    kLineTo, 6144, 6144,
    kLineTo, 6144, 8191,
    kLineTo, 8191, 4095,
    kLineTo, 6144, 0,
    kLineTo, 6144, 2047,
    kLineTo, 0, 2047,
    kEnd,
};
// 65 上箭头
static constexpr uint16_t kProgram65[] = {
    kMoveTo, 6144, 8191,
    kLineTo, 2047, 8191,
    kLineTo, 2047, 2047,
    kLineTo, 0, 2047,
    kLineTo, 4095, 0,
    kLineTo, 8191, 2047,
    kLineTo, 6144, 2047,
    kLineTo, 6144, 8191,
    kEnd,
};
// 66 下箭头
static constexpr uint16_t kProgram66[] = {
    kMoveTo, 6144, 0,
    kLineTo, 2047, 0,
    kLineTo, 2047, 6144,
    kLineTo, 0, 6144,
    kLineTo, 4095, 8191,
    kLineTo, 8191, 6144,
    kLineTo, 6144, 6144,
    kLineTo, 6144, 0,
    kEnd,
};
// 67 左右箭头
static constexpr uint16_t kProgram67[] = {
    kMoveTo, 6144, 2047,
    kLineTo, 6144, 0,
    kLineTo, 8191, 4095,
    kLineTo, 6144, 8191,
    kLineTo, 6144, 6144,
    kLineTo, 2047, 6144,
    kLineTo, 2047, 8191,
    kLineTo, 0, 4095,
    kLineTo, 2047, 0,
    kLineTo, 2047, 2047,
    kLineTo, 6144, 2047,
    kEnd,
};
// 68 上下箭头
static constexpr uint16_t kProgram68[] = {
    kMoveTo, 6144, 6144,
    kLineTo, 8191, 6144,
    kLineTo, 4095, 8191,
    kLineTo, 0, 6144,
    kLineTo, 2047, 6144,
    kLineTo, 2047, 2047,
    kLineTo, 0, 2047,
    kLineTo, 4095, 0,
    kLineTo, 8191, 2047,
    kLineTo, 6144, 2047,
    kLineTo, 6144, 6144,
    kEnd,
};
// 69 十字箭头: head corners at 2457, shaft edges at 3276, heads 1638 long.
static constexpr uint16_t kProgram69[] = {
    kMoveTo, 4095, 0,
    kLineTo, 2457, 1638,
    kLineTo, 3276, 1638,
    kLineTo, 3276, 3276,
    kLineTo, 1638, 3276,
    kLineTo, 1638, 2457,
    kLineTo, 0, 4095,
    kLineTo, 1638, 5734,
    kLineTo, 1638, 4915,
    kLineTo, 3276, 4915,
    kLineTo, 3276, 6553,
    kLineTo, 2457, 6553,
    kLineTo, 4095, 8191,
    kLineTo, 5734, 6553,
    kLineTo, 4915, 6553,
    kLineTo, 4915, 4915,
    kLineTo, 6553, 4915,
    kLineTo, 6553, 5734,
    kLineTo, 8191, 4095,
    kLineTo, 6553, 2457,
    kLineTo, 6553, 3276,
    kLineTo, 4915, 3276,
    kLineTo, 4915, 1638,
    kLineTo, 5734, 1638,
    kLineTo, 4095, 0,
    kEnd,
};
// 70 丁字箭头: a T of arrows, pointing left, right and down, in the proportions of the
// cross arrow.
static constexpr uint16_t kProgram70[] = {
    kMoveTo, 0, 1638,
    kLineTo, 1638, 0,
    kLineTo, 1638, 819,
    kLineTo, 6553, 819,
    kLineTo, 6553, 0,
    kLineTo, 8191, 1638,
    kLineTo, 6553, 3276,
    kLineTo, 6553, 2457,
    kLineTo, 4915, 2457,
    kLineTo, 4915, 6553,
    kLineTo, 5734, 6553,
    kLineTo, 4095, 8191,
    kLineTo, 2457, 6553,
    kLineTo, 3276, 6553,
    kLineTo, 3276, 2457,
    kLineTo, 1638, 2457,
    kLineTo, 1638, 3276,
    kLineTo, 0, 1638,
    kEnd,
};
// 71 圆角右箭头: a shaft rising from the bottom left and bending right into the head.
static constexpr uint16_t kProgram71[] = {
    kMoveTo, 8191, 2340,
    kLineTo, 5733, 0,
    kLineTo, 5733, 1170,
    kLineTo, 4914, 1170,
    kBezierTo, 2162, 1170, 0, 2715, 0, 4680,
    kLineTo, 0, 8191,
    kLineTo, 2340, 8191,
    kLineTo, 2340, 4680,
    kBezierTo, 2340, 4025, 3473, 3510, 4914, 3510,
    kLineTo, 5733, 3510,
    kLineTo, 5733, 4680,
    kLineTo, 8191, 2340,
    kEnd,
};
// 72 直角上箭头
static constexpr uint16_t kProgram72[] = {
    kMoveTo, 5850, 0,
    kLineTo, 3510, 2730,
    kLineTo, 4680, 2730,
    kLineTo, 4680, 5460,
    kLineTo, 0, 5460,
    kLineTo, 0, 8191,
    kLineTo, 7020, 8191,
    kLineTo, 7020, 2730,
    kLineTo, 8191, 2730,
    kLineTo, 5850, 0,
    kEnd,
};
// 73 虚尾箭头: a right arrow whose tail breaks into two short bars.
static constexpr uint16_t kProgram73[] = {
    kMoveTo, 8191, 4095,
    kLineTo, 6143, 0,
    kLineTo, 6143, 2047,
    kLineTo, 1279, 2047,
    kLineTo, 1279, 6144,
    kLineTo, 6143, 6144,
    kLineTo, 6143, 8191,
    kLineTo, 8191, 4095,
    kMoveTo, 511, 2047,
    kLineTo, 1023, 2047,
    kLineTo, 1023, 6144,
    kLineTo, 511, 6144,
    kLineTo, 511, 2047,
    kMoveTo, 0, 2047,
    kLineTo, 255, 2047,
    kLineTo, 255, 6144,
    kLineTo, 0, 6144,
    kLineTo, 0, 2047,
    kEnd,
};
// 74 燕尾箭头: a right arrow with a notched tail.
static constexpr uint16_t kProgram74[] = {
    kMoveTo, 0, 2047,
    kLineTo, 1023, 4095,
    kLineTo, 0, 6144,
    kLineTo, 6144, 6144,
    kLineTo, 6144, 8191,
    kLineTo, 8191, 4095,
    kLineTo, 6144, 0,
    kLineTo, 6144, 2047,
    kLineTo, 0, 2047,
    kEnd,
};
// 75 五边形箭头
static constexpr uint16_t kProgram75[] = {
    kMoveTo, 8191, 4095,
    kLineTo, 4680, 0,
    kLineTo, 0, 0,
    kLineTo, 0, 8191,
    kLineTo, 4680, 8191,
    kLineTo, 8191, 4095,
    kEnd,
};
// 76 燕尾: a chevron.
static constexpr uint16_t kProgram76[] = {
    kMoveTo, 8191, 4095,
    kLineTo, 4680, 0,
    kLineTo, 0, 0,
    kLineTo, 3511, 4095,
    kLineTo, 0, 8191,
    kLineTo, 4680, 8191,
    kLineTo, 8191, 4095,
    kEnd,
};

// --- Connector lines --------------------------------------------------------------------
// A line runs along the frame's edges, from the corner opposite the one its name gives
// to that corner, where the arrowhead (if any) points. Right-angle lines run along the
// horizontal edge first; horizontal loops (横环线) leave and return horizontally around
// the far side; vertical loops (竖环线) do so vertically; bent lines (折线) cross over at
// their handle. A label box sits inside the frame beside the line, aligned toward it.

// 77 斜线
static constexpr uint16_t kProgram77[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 8191,
    kEnd,
};
// 78 横线
static constexpr uint16_t kProgram78[] = {
    kMoveTo, 0, 8191,
    kLineTo, 8191, 8191,
    kTextBox, 0, 0, 8191, 7372, 0, 3, 1, 0, 1,
    kEnd,
};
// 79 竖线
static constexpr uint16_t kProgram79[] = {
    kMoveTo, 0, 0,
    kLineTo, 0, 8191,
    kTextBox, 819, 0, 8191, 8191, 1, 0, 1, 0, 1,
    kEnd,
};
// 80 左箭头横线
static constexpr uint16_t kProgram80[] = {
    kArrowLine, 8191, 8191, 0, 8191, 2,
    kTextBox, 0, 0, 8191, 7372, 0, 3, 1, 0, 1,
    kEnd,
};
// 81 右箭头横线
static constexpr uint16_t kProgram81[] = {
    kArrowLine, 0, 8191, 8191, 8191, 2,
    kTextBox, 0, 0, 8191, 7372, 0, 3, 1, 0, 1,
    kEnd,
};
// 82 双向箭头横线
static constexpr uint16_t kProgram82[] = {
    kArrowLine, 0, 8191, 8191, 8191, 3,
    kTextBox, 0, 0, 8191, 7372, 0, 3, 1, 0, 1,
    kEnd,
};
// 83 上箭头竖线
static constexpr uint16_t kProgram83[] = {
    kArrowLine, 0, 8191, 0, 0, 2,
    kTextBox, 819, 0, 8191, 8191, 1, 0, 1, 0, 1,
    kEnd,
};
// 84 下箭头竖线
static constexpr uint16_t kProgram84[] = {
    kArrowLine, 0, 0, 0, 8191, 2,
    kTextBox, 819, 0, 8191, 8191, 1, 0, 1, 0, 1,
    kEnd,
};
// 85 双向箭头竖线
static constexpr uint16_t kProgram85[] = {
    kArrowLine, 0, 0, 0, 8191, 3,
    kTextBox, 819, 0, 8191, 8191, 1, 0, 1, 0, 1,
    kEnd,
};
// 86 左上直角线
static constexpr uint16_t kProgram86[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 0,
    kTextBox, 819, 0, 8191, 7372, 1, 3, 1, 0, 1,
    kEnd,
};
// 87 左下直角线
static constexpr uint16_t kProgram87[] = {
    kMoveTo, 8191, 0,
    kLineTo, 0, 0,
    kLineTo, 0, 8191,
    kTextBox, 819, 819, 8191, 8191, 1, 1, 1, 0, 1,
    kEnd,
};
// 88 右上直角线
static constexpr uint16_t kProgram88[] = {
    kMoveTo, 0, 8191,
    kLineTo, 8191, 8191,
    kLineTo, 8191, 0,
    kTextBox, 0, 0, 7372, 7372, 3, 3, 1, 0, 1,
    kEnd,
};
// 89 右下直角线
static constexpr uint16_t kProgram89[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 8191,
    kTextBox, 0, 819, 7372, 8191, 3, 1, 1, 0, 1,
    kEnd,
};
// 90 左上箭头直角线
static constexpr uint16_t kProgram90[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 0, 8191,
    kArrowLine, 0, 8191, 0, 0, 2,
    kTextBox, 819, 0, 8191, 7372, 1, 3, 1, 0, 1,
    kEnd,
};
// 91 左下箭头直角线
static constexpr uint16_t kProgram91[] = {
    kMoveTo, 8191, 0,
    kLineTo, 0, 0,
    kArrowLine, 0, 0, 0, 8191, 2,
    kTextBox, 819, 819, 8191, 8191, 1, 1, 1, 0, 1,
    kEnd,
};
// 92 右上箭头直角线
static constexpr uint16_t kProgram92[] = {
    kMoveTo, 0, 8191,
    kLineTo, 8191, 8191,
    kArrowLine, 8191, 8191, 8191, 0, 2,
    kTextBox, 0, 0, 7372, 7372, 3, 3, 1, 0, 1,
    kEnd,
};
// 93 右下箭头直角线
static constexpr uint16_t kProgram93[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kArrowLine, 8191, 0, 8191, 8191, 2,
    kTextBox, 0, 819, 7372, 8191, 3, 1, 1, 0, 1,
    kEnd,
};
// 94 左上箭头横环线: around the right side, back along the top.
static constexpr uint16_t kProgram94[] = {
    kMoveTo, 0, 8191,
    kLineTo, 8191, 8191,
    kLineTo, 8191, 0,
    kArrowLine, 8191, 0, 0, 0, 2,
    kTextBox, 0, 819, 7372, 7372, 3, 2, 1, 0, 1,
    kEnd,
};
// 95 左下箭头横环线: around the right side, back along the bottom.
static constexpr uint16_t kProgram95[] = {
    kMoveTo, 0, 0,
    kLineTo, 8191, 0,
    kLineTo, 8191, 8191,
    kArrowLine, 8191, 8191, 0, 8191, 2,
    kTextBox, 0, 819, 7372, 7372, 3, 2, 1, 0, 1,
    kEnd,
};
// 96 右上箭头横环线: around the left side, back along the top.
static constexpr uint16_t kProgram96[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 0, 8191,
    kLineTo, 0, 0,
    kArrowLine, 0, 0, 8191, 0, 2,
    kTextBox, 819, 819, 8191, 7372, 1, 2, 1, 0, 1,
    kEnd,
};
// 97 右下箭头横环线: around the left side, back along the bottom.
static constexpr uint16_t kProgram97[] = {
    kMoveTo, 8191, 0,
    kLineTo, 0, 0,
    kLineTo, 0, 8191,
    kArrowLine, 0, 8191, 8191, 8191, 2,
    kTextBox, 819, 819, 8191, 7372, 1, 2, 1, 0, 1,
    kEnd,
};
// 98 左上箭头竖环线: down the right side, under the bottom, up the left side.
static constexpr uint16_t kProgram98[] = {
    kMoveTo, 8191, 0,
    kLineTo, 8191, 8191,
    kLineTo, 0, 8191,
    kArrowLine, 0, 8191, 0, 0, 2,
    kTextBox, 819, 0, 7372, 7372, 2, 3, 1, 0, 1,
    kEnd,
};
// 99 左下箭头竖环线: up the right side, over the top, down the left side.
static constexpr uint16_t kProgram99[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 8191, 0,
    kLineTo, 0, 0,
    kArrowLine, 0, 0, 0, 8191, 2,
    kTextBox, 819, 819, 7372, 8191, 2, 1, 1, 0, 1,
    kEnd,
};
// 100 右上箭头竖环线: down the left side, under the bottom, up the right side.
static constexpr uint16_t kProgram100[] = {
    kMoveTo, 0, 0,
    kLineTo, 0, 8191,
    kLineTo, 8191, 8191,
    kArrowLine, 8191, 8191, 8191, 0, 2,
    kTextBox, 819, 0, 7372, 7372, 2, 3, 1, 0, 1,
    kEnd,
};
// 101 右下箭头竖环线: up the left side, over the top, down the right side.
static constexpr uint16_t kProgram101[] = {
    kMoveTo, 0, 8191,
    kLineTo, 0, 0,
    kLineTo, 8191, 0,
    kArrowLine, 8191, 0, 8191, 8191, 2,
    kTextBox, 819, 819, 7372, 8191, 2, 1, 1, 0, 1,
    kEnd,
};
// 102..105 横折线: horizontal, then vertical at the handle (4095), then horizontal.
// 102 左上箭头横折线
static constexpr uint16_t kProgram102[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 4095, 8191,
    kLineTo, 4095, 0,
    kArrowLine, 4095, 0, 0, 0, 2,
    kEnd,
};
// 103 左下箭头横折线
static constexpr uint16_t kProgram103[] = {
    kMoveTo, 8191, 0,
    kLineTo, 4095, 0,
    kLineTo, 4095, 8191,
    kArrowLine, 4095, 8191, 0, 8191, 2,
    kEnd,
};
// 104 右上箭头横折线
static constexpr uint16_t kProgram104[] = {
    kMoveTo, 0, 8191,
    kLineTo, 4095, 8191,
    kLineTo, 4095, 0,
    kArrowLine, 4095, 0, 8191, 0, 2,
    kEnd,
};
// 105 右下箭头横折线
static constexpr uint16_t kProgram105[] = {
    kMoveTo, 0, 0,
    kLineTo, 4095, 0,
    kLineTo, 4095, 8191,
    kArrowLine, 4095, 8191, 8191, 8191, 2,
    kEnd,
};
// 106..109 竖折线: vertical, then horizontal at the handle (4095), then vertical.
// 106 左上箭头竖折线
static constexpr uint16_t kProgram106[] = {
    kMoveTo, 8191, 8191,
    kLineTo, 8191, 4095,
    kLineTo, 0, 4095,
    kArrowLine, 0, 4095, 0, 0, 2,
    kEnd,
};
// 107 左下箭头竖折线
static constexpr uint16_t kProgram107[] = {
    kMoveTo, 8191, 0,
    kLineTo, 8191, 4095,
    kLineTo, 0, 4095,
    kArrowLine, 0, 4095, 0, 8191, 2,
    kEnd,
};
// 108 右上箭头竖折线
static constexpr uint16_t kProgram108[] = {
    kMoveTo, 0, 8191,
    kLineTo, 0, 4095,
    kLineTo, 8191, 4095,
    kArrowLine, 8191, 4095, 8191, 0, 2,
    kEnd,
};
// 109 右下箭头竖折线
static constexpr uint16_t kProgram109[] = {
    kMoveTo, 0, 0,
    kLineTo, 0, 4095,
    kLineTo, 8191, 4095,
    kArrowLine, 8191, 4095, 8191, 8191, 2,
    kEnd,
};

// clang-format on

namespace {

constexpr std::span<const uint16_t> kPrograms[] = {
    kProgram56,  kProgram57,  kProgram58,  kProgram59,  kProgram60,  kProgram61,  kProgram62,
    kProgram63,  kProgram64,  kProgram65,  kProgram66,  kProgram67,  kProgram68,  kProgram69,
    kProgram70,  kProgram71,  kProgram72,  kProgram73,  kProgram74,  kProgram75,  kProgram76,
    kProgram77,  kProgram78,  kProgram79,  kProgram80,  kProgram81,  kProgram82,  kProgram83,
    kProgram84,  kProgram85,  kProgram86,  kProgram87,  kProgram88,  kProgram89,  kProgram90,
    kProgram91,  kProgram92,  kProgram93,  kProgram94,  kProgram95,  kProgram96,  kProgram97,
    kProgram98,  kProgram99,  kProgram100, kProgram101, kProgram102, kProgram103, kProgram104,
    kProgram105, kProgram106, kProgram107, kProgram108, kProgram109,
};
static_assert(std::size(kPrograms) == 110 - kFirstCalloutEntry);

} // namespace

std::span<const std::span<const uint16_t>> CalloutArrowAndLinePrograms()
{
    return kPrograms;
}

} // namespace figures
