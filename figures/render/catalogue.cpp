#include "figures/render/catalogue.h"

#include "figures/render/shapeprogram.h"

#include <array>

namespace figures {

namespace {

enum Category : uint16_t {
    kBasic = 1,
    kFlowchart = 3,
    kCallout = 4,
    kStar = 5,
    kArrow = 6,
    kConnector = 7,
};

// Word 0 of a handle descriptor: a draggable adjust handle, or a hidden value that only
// carries data for the shape's adjust routine.
constexpr uint16_t Adjust(uint16_t x)
{
    return uint16_t(1 << kHandleKindShift | x);
}

constexpr uint16_t Hidden(uint16_t x)
{
    return uint16_t(3 << kHandleKindShift | x);
}

} // namespace

// clang-format off

// Programs on the 0..8191 grid of the frame, one step a line, each closed by its 0 word.

static constexpr uint16_t kEmptyProgram[] = {kEnd};

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
// 6 圆角矩形
static constexpr uint16_t kProgram6[] = {
    kRoundRect, 0, 0, 8191, 8191, 1365,
    kTextBox, 163, 1365, 8028, 6826, 0, 0, 1, 0, 1,
    kEnd,
};
// 10 椭圆
static constexpr uint16_t kProgram10[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kTextBox, 819, 819, 7372, 7372, 0, 0, 1, 0, 1,
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
// 21 禁止符
static constexpr uint16_t kProgram21[] = {
    kEllipse, 0, 0, 8191, 8191, 0,
    kChord, 1023, 1023, 7168, 7168, 8191, 7021, 1170, 0, 0,
    kChord, 1023, 1023, 7168, 7168, 0, 1170, 7021, 8191, 0,
    kEnd,
};
// 24 弧
static constexpr uint16_t kProgram24[] = {kArcLine, 0, 0, 8191, 8191, 8191, 0, 8191, 8191, 0, kEnd};
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
// 81 右箭头横线
static constexpr uint16_t kProgram81[] = {
    kArrowLine, 0, 8191, 8191, 8191, 2,
    kTextBox, 0, 0, 8191, 7372, 0, 3, 1, 0, 1,
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
// 109 右下箭头竖折线
static constexpr uint16_t kProgram109[] = {
    kMoveTo, 0, 0,
    kLineTo, 0, 4095,
    kLineTo, 8191, 4095,
    kArrowLine, 8191, 4095, 8191, 8191, 2,
    kEnd,
};

// Default handle descriptors: word 0 = kind << 13 | x, word 1 = y. Hidden values (kind 3)
// carry data for the adjust routine that several entries share.

// On the curve's four Bezier points.
static constexpr uint16_t kHandles1[] = {
    Adjust(0), 0, Adjust(4095), 0, Adjust(8191), 4095, Adjust(8191), 8191,
};
// Shared by entries 3, 4 and 7.
static constexpr uint16_t kHandlesTop2730[] = {Adjust(2730), 0};
// Shared by entries 6 and 17.
static constexpr uint16_t kHandlesTop1365[] = {Adjust(1365), 0};
static constexpr uint16_t kHandles8[] = {Adjust(4095), 0};
// Shared by entries 11 and 12.
static constexpr uint16_t kHandlesTop2047[] = {Adjust(2047), 0};
static constexpr uint16_t kHandles14[] = {Adjust(4095), 1365};
static constexpr uint16_t kHandles15[] = {Adjust(4095), 7509};
static constexpr uint16_t kHandles16[] = {Adjust(0), 2047};
static constexpr uint16_t kHandles18[] = {Adjust(7168), 8191};
static constexpr uint16_t kHandles19[] = {Adjust(4095), 6552};
static constexpr uint16_t kHandles20[] = {Adjust(2047), 4095};
static constexpr uint16_t kHandles21[] = {Adjust(1023), 4095};
static constexpr uint16_t kHandles23[] = {Adjust(1638), 0};
// Shared by entries 24, 25 and 26: the two ends of the arc.
static constexpr uint16_t kHandlesArcEnds[] = {Adjust(8191), 0, Adjust(8191), 8191};
static constexpr uint16_t kHandles27[] = {Adjust(3071), 4095};
static constexpr uint16_t kHandles56[] = {
    Adjust(511), 8191, Hidden(0), 0, Hidden(8191), 6826, Hidden(0), 0,
};
static constexpr uint16_t kHandles57[] = {
    Adjust(511), 8191, Hidden(0), 0, Hidden(8191), 6826, Hidden(0), 1,
};
static constexpr uint16_t kHandles60[] = {Adjust(3276), 4095};
static constexpr uint16_t kHandles63[] = {Adjust(2047), 2047, Hidden(0), 0};
static constexpr uint16_t kHandles64[] = {Adjust(6144), 2047, Hidden(0), 1};
static constexpr uint16_t kHandles65[] = {Adjust(2047), 2047, Hidden(0), 2};
static constexpr uint16_t kHandles66[] = {Adjust(2047), 6144, Hidden(0), 3};
static constexpr uint16_t kHandles67[] = {Adjust(2047), 2047, Hidden(0), 4};
static constexpr uint16_t kHandles68[] = {Adjust(2047), 2047, Hidden(0), 5};
static constexpr uint16_t kHandles69[] = {Adjust(2457), 0, Adjust(3276), 1638};
static constexpr uint16_t kHandles71[] = {Adjust(5733), 1170, Hidden(0), 6};
static constexpr uint16_t kHandles72[] = {Adjust(7020), 2730, Hidden(0), 7};
static constexpr uint16_t kHandles73[] = {Adjust(6143), 2047, Hidden(0), 8};
static constexpr uint16_t kHandles74[] = {Adjust(6144), 2047, Hidden(0), 9};
static constexpr uint16_t kHandles75[] = {Adjust(4680), 0, Hidden(0), 10};
static constexpr uint16_t kHandles76[] = {Adjust(4680), 0, Hidden(0), 11};
// Shared by entries 102..109: on the middle segment of the bent line.
static constexpr uint16_t kHandlesElbow[] = {Adjust(4095), 4095};

// clang-format on

namespace {

// One catalogue row as written above; the byte views, the program length and the
// text-box bit are derived from it once.
struct CatalogueRow {
    std::string_view name;
    uint16_t category;
    uint16_t attributes; // as built in, without CA_TEXT_BOX
    std::span<const uint16_t> program;
    std::span<const uint16_t> handles;
};

constexpr int kEntryCount = 110;

// clang-format off
// Entries without a program draw nothing until their outlines are designed.
constexpr CatalogueRow kRows[] = {
    /*   0 */ {"简单文本框", kBasic, 0, kProgram0, {}},
    /*   1 */ {"曲线", kBasic, CA_CURVE, kProgram1, kHandles1},
    /*   2 */ {"矩形", kBasic, 0, kProgram2, {}},
    /*   3 */ {"平形四边形", kBasic, 0, kEmptyProgram, kHandlesTop2730},
    /*   4 */ {"梯形", kBasic, 0, kEmptyProgram, kHandlesTop2730},
    /*   5 */ {"菱形", kBasic, 0, kEmptyProgram, {}},
    /*   6 */ {"圆角矩形", kBasic, 0, kProgram6, kHandlesTop1365},
    /*   7 */ {"八边形", kBasic, 0, kEmptyProgram, kHandlesTop2730},
    /*   8 */ {"等腰三角形", kBasic, 0, kEmptyProgram, kHandles8},
    /*   9 */ {"右三角", kBasic, 0, kEmptyProgram, {}},
    /*  10 */ {"椭圆", kBasic, 0, kProgram10, {}},
    /*  11 */ {"六边形", kBasic, 0, kEmptyProgram, kHandlesTop2047},
    /*  12 */ {"十字形", kBasic, 0, kEmptyProgram, kHandlesTop2047},
    /*  13 */ {"正五边形", kBasic, 0, kEmptyProgram, {}},
    /*  14 */ {"圆柱形", kBasic, CA_SHADED, kProgram14, kHandles14},
    /*  15 */ {"圆锥形", kBasic, 0, kEmptyProgram, kHandles15},
    /*  16 */ {"立方体", kBasic, CA_SHADED, kProgram16, kHandles16},
    /*  17 */ {"棱台", kBasic, CA_SHADED, kEmptyProgram, kHandlesTop1365},
    /*  18 */ {"折角形", kBasic, CA_SHADED, kEmptyProgram, kHandles18},
    /*  19 */ {"笑脸", kBasic, CA_SHADED, kProgram19, kHandles19},
    /*  20 */ {"同心圆", kBasic, 0, kEmptyProgram, kHandles20},
    /*  21 */ {"禁止符", kBasic, 0, kProgram21, kHandles21},
    /*  22 */ {"闪电形", kBasic, 0, kEmptyProgram, {}},
    /*  23 */ {"缺角矩形", kBasic, 0, kEmptyProgram, kHandles23},
    /*  24 */ {"弧", kBasic, CA_OPEN, kProgram24, kHandlesArcEnds},
    /*  25 */ {"饼", kBasic, 0, kEmptyProgram, kHandlesArcEnds},
    /*  26 */ {"弦", kBasic, 0, kEmptyProgram, kHandlesArcEnds},
    /*  27 */ {"尺寸线", kBasic, CA_OPEN, kEmptyProgram, kHandles27},
    /*  28 */ {"过程", kFlowchart, 0, kEmptyProgram, {}},
    /*  29 */ {"可选过程", kFlowchart, 0, kEmptyProgram, {}},
    /*  30 */ {"决策", kFlowchart, 0, kProgram30, {}},
    /*  31 */ {"数据", kFlowchart, 0, kEmptyProgram, {}},
    /*  32 */ {"预定义过程", kFlowchart, 0, kEmptyProgram, {}},
    /*  33 */ {"内部存贮", kFlowchart, 0, kEmptyProgram, {}},
    /*  34 */ {"文档", kFlowchart, 0, kEmptyProgram, {}},
    /*  35 */ {"多文档", kFlowchart, 0, kEmptyProgram, {}},
    /*  36 */ {"终止", kFlowchart, 0, kEmptyProgram, {}},
    /*  37 */ {"准备", kFlowchart, 0, kEmptyProgram, {}},
    /*  38 */ {"人工输入", kFlowchart, 0, kEmptyProgram, {}},
    /*  39 */ {"人工操作", kFlowchart, 0, kEmptyProgram, {}},
    /*  40 */ {"联系", kFlowchart, 0, kEmptyProgram, {}},
    /*  41 */ {"离页连接符", kFlowchart, 0, kEmptyProgram, {}},
    /*  42 */ {"卡片", kFlowchart, 0, kEmptyProgram, {}},
    /*  43 */ {"资料带", kFlowchart, 0, kEmptyProgram, {}},
    /*  44 */ {"汇总连接", kFlowchart, 0, kEmptyProgram, {}},
    /*  45 */ {"或者", kFlowchart, 0, kEmptyProgram, {}},
    /*  46 */ {"对照", kFlowchart, 0, kEmptyProgram, {}},
    /*  47 */ {"排序", kFlowchart, 0, kEmptyProgram, {}},
    /*  48 */ {"摘录", kFlowchart, 0, kEmptyProgram, {}},
    /*  49 */ {"合并", kFlowchart, 0, kEmptyProgram, {}},
    /*  50 */ {"库存数据", kFlowchart, 0, kEmptyProgram, {}},
    /*  51 */ {"延期", kFlowchart, 0, kEmptyProgram, {}},
    /*  52 */ {"顺序访问存贮器", kFlowchart, 0, kEmptyProgram, {}},
    /*  53 */ {"磁盘", kFlowchart, CA_SHADED, kEmptyProgram, {}},
    /*  54 */ {"直接访问存贮器", kFlowchart, CA_SHADED, kEmptyProgram, {}},
    /*  55 */ {"显示", kFlowchart, 0, kEmptyProgram, {}},
    /*  56 */ {"矩形标注", kCallout, 0, kProgram56, kHandles56},
    /*  57 */ {"圆角矩形标注", kCallout, 0, kEmptyProgram, kHandles57},
    /*  58 */ {"爆炸形1", kStar, 0, kEmptyProgram, {}},
    /*  59 */ {"爆炸形2", kStar, 0, kEmptyProgram, {}},
    /*  60 */ {"十字星", kStar, 0, kEmptyProgram, kHandles60},
    /*  61 */ {"五角星", kStar, 0, kProgram61, {}},
    /*  62 */ {"八角星", kStar, 0, kEmptyProgram, {}},
    /*  63 */ {"左箭头", kArrow, 0, kEmptyProgram, kHandles63},
    /*  64 */ {"右箭头", kArrow, 0, kProgram64, kHandles64},
    /*  65 */ {"上箭头", kArrow, 0, kEmptyProgram, kHandles65},
    /*  66 */ {"下箭头", kArrow, 0, kEmptyProgram, kHandles66},
    /*  67 */ {"左右箭头", kArrow, 0, kEmptyProgram, kHandles67},
    /*  68 */ {"上下箭头", kArrow, 0, kEmptyProgram, kHandles68},
    /*  69 */ {"十字箭头", kArrow, 0, kEmptyProgram, kHandles69},
    /*  70 */ {"丁字箭头", kArrow, 0, kEmptyProgram, {}},
    /*  71 */ {"圆角右箭头", kArrow, 0, kEmptyProgram, kHandles71},
    /*  72 */ {"直角上箭头", kArrow, 0, kProgram72, kHandles72},
    /*  73 */ {"虚尾箭头", kArrow, 0, kEmptyProgram, kHandles73},
    /*  74 */ {"燕尾箭头", kArrow, 0, kEmptyProgram, kHandles74},
    /*  75 */ {"五边形箭头", kArrow, 0, kEmptyProgram, kHandles75},
    /*  76 */ {"燕尾", kArrow, 0, kEmptyProgram, kHandles76},
    /*  77 */ {"斜线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  78 */ {"横线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  79 */ {"竖线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  80 */ {"左箭头横线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  81 */ {"右箭头横线", kConnector, CA_OPEN, kProgram81, {}},
    /*  82 */ {"双向箭头横线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  83 */ {"上箭头竖线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  84 */ {"下箭头竖线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  85 */ {"双向箭头竖线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  86 */ {"左上直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  87 */ {"左下直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  88 */ {"右上直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  89 */ {"右下直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  90 */ {"左上箭头直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  91 */ {"左下箭头直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  92 */ {"右上箭头直角线", kConnector, CA_OPEN, kProgram92, {}},
    /*  93 */ {"右下箭头直角线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  94 */ {"左上箭头横环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  95 */ {"左下箭头横环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  96 */ {"右上箭头横环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  97 */ {"右下箭头横环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  98 */ {"左上箭头竖环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /*  99 */ {"左下箭头竖环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /* 100 */ {"右上箭头竖环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /* 101 */ {"右下箭头竖环线", kConnector, CA_OPEN, kEmptyProgram, {}},
    /* 102 */ {"左上箭头横折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 103 */ {"左下箭头横折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 104 */ {"右上箭头横折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 105 */ {"右下箭头横折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 106 */ {"左上箭头竖折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 107 */ {"左下箭头竖折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 108 */ {"右上箭头竖折线", kConnector, CA_OPEN, kEmptyProgram, kHandlesElbow},
    /* 109 */ {"右下箭头竖折线", kConnector, CA_OPEN, kProgram109, kHandlesElbow},
};
// clang-format on
static_assert(std::size(kRows) == kEntryCount);

constexpr ShapeCategory kCategories[] = {
    {kFlowchart, "流程图"}, {kConnector, "连接线"}, {kBasic, "基本图形"},
    {kCallout, "标注"},     {kArrow, "箭头"},       {kStar, "星"},
};

std::span<const uint8_t> AsBytes(std::span<const uint16_t> words)
{
    return {reinterpret_cast<const uint8_t*>(words.data()), words.size_bytes()};
}

// Whether a step of the program places a text box. The walk goes step by step, so a
// parameter that happens to equal the code is not mistaken for one.
bool HasTextBoxStep(std::span<const uint8_t> program)
{
    for (std::span<const uint8_t> rest = program; !rest.empty(); rest = SkipSteps(rest, 1)) {
        if (ProgramWord(rest, 0) == kTextBox) {
            return true;
        }
    }
    return false;
}

ShapeCatalogueEntry PrepareEntry(const CatalogueRow& row)
{
    ShapeCatalogueEntry entry;
    entry.name = row.name;
    entry.category = row.category;
    entry.attributes = row.attributes;
    entry.program = AsBytes(row.program);
    entry.programLength = int32_t(ProgramByteLength(entry.program) / 2 + 1);
    if (HasTextBoxStep(entry.program)) {
        entry.attributes |= CA_TEXT_BOX;
    }
    entry.handles = AsBytes(row.handles);
    entry.handleListLength = int32_t(row.handles.size());
    return entry;
}

// The catalogue as the component uses it, prepared on first use and read-only after.
const std::array<ShapeCatalogueEntry, kEntryCount>& PreparedEntries()
{
    static const std::array<ShapeCatalogueEntry, kEntryCount> entries = [] {
        std::array<ShapeCatalogueEntry, kEntryCount> prepared;
        for (int i = 0; i < kEntryCount; ++i) {
            prepared[i] = PrepareEntry(kRows[i]);
        }
        return prepared;
    }();
    return entries;
}

} // namespace

int CatalogueCount()
{
    return kEntryCount;
}

const ShapeCatalogueEntry* CatalogueEntry(int i)
{
    if (i < 0 || i >= kEntryCount) {
        return nullptr;
    }
    return &PreparedEntries()[i];
}

std::span<const ShapeCategory> CategoryList()
{
    return kCategories;
}

} // namespace figures
