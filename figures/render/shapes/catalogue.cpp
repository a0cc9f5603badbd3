#include "figures/render/shapes/catalogue.h"

#include "figures/render/shapes/catalogueprograms.h"
#include "figures/render/shapes/shapeprogram.h"

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

// One catalogue row as written below; the program comes from the program tables, and the
// byte views, the program length and the text-box bit are derived once.
struct CatalogueRow {
    std::string_view name;
    uint16_t category;
    uint16_t attributes; // as built in, without CA_TEXT_BOX
    std::span<const uint16_t> handles;
};

constexpr int kEntryCount = 110;

// clang-format off
constexpr CatalogueRow kRows[] = {
    /*   0 */ {"简单文本框", kBasic, 0, {}},
    /*   1 */ {"曲线", kBasic, CA_CURVE, kHandles1},
    /*   2 */ {"矩形", kBasic, 0, {}},
    /*   3 */ {"平形四边形", kBasic, 0, kHandlesTop2730},
    /*   4 */ {"梯形", kBasic, 0, kHandlesTop2730},
    /*   5 */ {"菱形", kBasic, 0, {}},
    /*   6 */ {"圆角矩形", kBasic, 0, kHandlesTop1365},
    /*   7 */ {"八边形", kBasic, 0, kHandlesTop2730},
    /*   8 */ {"等腰三角形", kBasic, 0, kHandles8},
    /*   9 */ {"右三角", kBasic, 0, {}},
    /*  10 */ {"椭圆", kBasic, 0, {}},
    /*  11 */ {"六边形", kBasic, 0, kHandlesTop2047},
    /*  12 */ {"十字形", kBasic, 0, kHandlesTop2047},
    /*  13 */ {"正五边形", kBasic, 0, {}},
    /*  14 */ {"圆柱形", kBasic, CA_SHADED, kHandles14},
    /*  15 */ {"圆锥形", kBasic, 0, kHandles15},
    /*  16 */ {"立方体", kBasic, CA_SHADED, kHandles16},
    /*  17 */ {"棱台", kBasic, CA_SHADED, kHandlesTop1365},
    /*  18 */ {"折角形", kBasic, CA_SHADED, kHandles18},
    /*  19 */ {"笑脸", kBasic, CA_SHADED, kHandles19},
    /*  20 */ {"同心圆", kBasic, 0, kHandles20},
    /*  21 */ {"禁止符", kBasic, 0, kHandles21},
    /*  22 */ {"闪电形", kBasic, 0, {}},
    /*  23 */ {"缺角矩形", kBasic, 0, kHandles23},
    /*  24 */ {"弧", kBasic, CA_OPEN, kHandlesArcEnds},
    /*  25 */ {"饼", kBasic, 0, kHandlesArcEnds},
    /*  26 */ {"弦", kBasic, 0, kHandlesArcEnds},
    /*  27 */ {"尺寸线", kBasic, CA_OPEN, kHandles27},
    /*  28 */ {"过程", kFlowchart, 0, {}},
    /*  29 */ {"可选过程", kFlowchart, 0, {}},
    /*  30 */ {"决策", kFlowchart, 0, {}},
    /*  31 */ {"数据", kFlowchart, 0, {}},
    /*  32 */ {"预定义过程", kFlowchart, 0, {}},
    /*  33 */ {"内部存贮", kFlowchart, 0, {}},
    /*  34 */ {"文档", kFlowchart, 0, {}},
    /*  35 */ {"多文档", kFlowchart, 0, {}},
    /*  36 */ {"终止", kFlowchart, 0, {}},
    /*  37 */ {"准备", kFlowchart, 0, {}},
    /*  38 */ {"人工输入", kFlowchart, 0, {}},
    /*  39 */ {"人工操作", kFlowchart, 0, {}},
    /*  40 */ {"联系", kFlowchart, 0, {}},
    /*  41 */ {"离页连接符", kFlowchart, 0, {}},
    /*  42 */ {"卡片", kFlowchart, 0, {}},
    /*  43 */ {"资料带", kFlowchart, 0, {}},
    /*  44 */ {"汇总连接", kFlowchart, 0, {}},
    /*  45 */ {"或者", kFlowchart, 0, {}},
    /*  46 */ {"对照", kFlowchart, 0, {}},
    /*  47 */ {"排序", kFlowchart, 0, {}},
    /*  48 */ {"摘录", kFlowchart, 0, {}},
    /*  49 */ {"合并", kFlowchart, 0, {}},
    /*  50 */ {"库存数据", kFlowchart, 0, {}},
    /*  51 */ {"延期", kFlowchart, 0, {}},
    /*  52 */ {"顺序访问存贮器", kFlowchart, 0, {}},
    /*  53 */ {"磁盘", kFlowchart, CA_SHADED, {}},
    /*  54 */ {"直接访问存贮器", kFlowchart, CA_SHADED, {}},
    /*  55 */ {"显示", kFlowchart, 0, {}},
    /*  56 */ {"矩形标注", kCallout, 0, kHandles56},
    /*  57 */ {"圆角矩形标注", kCallout, 0, kHandles57},
    /*  58 */ {"爆炸形1", kStar, 0, {}},
    /*  59 */ {"爆炸形2", kStar, 0, {}},
    /*  60 */ {"十字星", kStar, 0, kHandles60},
    /*  61 */ {"五角星", kStar, 0, {}},
    /*  62 */ {"八角星", kStar, 0, {}},
    /*  63 */ {"左箭头", kArrow, 0, kHandles63},
    /*  64 */ {"右箭头", kArrow, 0, kHandles64},
    /*  65 */ {"上箭头", kArrow, 0, kHandles65},
    /*  66 */ {"下箭头", kArrow, 0, kHandles66},
    /*  67 */ {"左右箭头", kArrow, 0, kHandles67},
    /*  68 */ {"上下箭头", kArrow, 0, kHandles68},
    /*  69 */ {"十字箭头", kArrow, 0, kHandles69},
    /*  70 */ {"丁字箭头", kArrow, 0, {}},
    /*  71 */ {"圆角右箭头", kArrow, 0, kHandles71},
    /*  72 */ {"直角上箭头", kArrow, 0, kHandles72},
    /*  73 */ {"虚尾箭头", kArrow, 0, kHandles73},
    /*  74 */ {"燕尾箭头", kArrow, 0, kHandles74},
    /*  75 */ {"五边形箭头", kArrow, 0, kHandles75},
    /*  76 */ {"燕尾", kArrow, 0, kHandles76},
    /*  77 */ {"斜线", kConnector, CA_OPEN, {}},
    /*  78 */ {"横线", kConnector, CA_OPEN, {}},
    /*  79 */ {"竖线", kConnector, CA_OPEN, {}},
    /*  80 */ {"左箭头横线", kConnector, CA_OPEN, {}},
    /*  81 */ {"右箭头横线", kConnector, CA_OPEN, {}},
    /*  82 */ {"双向箭头横线", kConnector, CA_OPEN, {}},
    /*  83 */ {"上箭头竖线", kConnector, CA_OPEN, {}},
    /*  84 */ {"下箭头竖线", kConnector, CA_OPEN, {}},
    /*  85 */ {"双向箭头竖线", kConnector, CA_OPEN, {}},
    /*  86 */ {"左上直角线", kConnector, CA_OPEN, {}},
    /*  87 */ {"左下直角线", kConnector, CA_OPEN, {}},
    /*  88 */ {"右上直角线", kConnector, CA_OPEN, {}},
    /*  89 */ {"右下直角线", kConnector, CA_OPEN, {}},
    /*  90 */ {"左上箭头直角线", kConnector, CA_OPEN, {}},
    /*  91 */ {"左下箭头直角线", kConnector, CA_OPEN, {}},
    /*  92 */ {"右上箭头直角线", kConnector, CA_OPEN, {}},
    /*  93 */ {"右下箭头直角线", kConnector, CA_OPEN, {}},
    /*  94 */ {"左上箭头横环线", kConnector, CA_OPEN, {}},
    /*  95 */ {"左下箭头横环线", kConnector, CA_OPEN, {}},
    /*  96 */ {"右上箭头横环线", kConnector, CA_OPEN, {}},
    /*  97 */ {"右下箭头横环线", kConnector, CA_OPEN, {}},
    /*  98 */ {"左上箭头竖环线", kConnector, CA_OPEN, {}},
    /*  99 */ {"左下箭头竖环线", kConnector, CA_OPEN, {}},
    /* 100 */ {"右上箭头竖环线", kConnector, CA_OPEN, {}},
    /* 101 */ {"右下箭头竖环线", kConnector, CA_OPEN, {}},
    /* 102 */ {"左上箭头横折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 103 */ {"左下箭头横折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 104 */ {"右上箭头横折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 105 */ {"右下箭头横折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 106 */ {"左上箭头竖折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 107 */ {"左下箭头竖折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 108 */ {"右上箭头竖折线", kConnector, CA_OPEN, kHandlesElbow},
    /* 109 */ {"右下箭头竖折线", kConnector, CA_OPEN, kHandlesElbow},
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

// The program of entry i from the table of its family.
std::span<const uint16_t> ProgramWords(int i)
{
    return i < kFirstCalloutEntry ? ShapeAndFlowchartPrograms()[size_t(i)]
                                  : CalloutArrowAndLinePrograms()[size_t(i - kFirstCalloutEntry)];
}

ShapeCatalogueEntry PrepareEntry(int i)
{
    const CatalogueRow& row = kRows[i];
    ShapeCatalogueEntry entry;
    entry.name = row.name;
    entry.category = row.category;
    entry.attributes = row.attributes;
    entry.program = AsBytes(ProgramWords(i));
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
            prepared[i] = PrepareEntry(i);
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
