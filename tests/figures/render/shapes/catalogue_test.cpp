#include "figures/render/shapes/catalogue.h"
#include "tests/figures/render/shapes/programtext.h"

#include "figures/render/numeric.h"
#include "figures/render/recordingsink.h"
#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/shapes/shapeprogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace figures {
namespace {

using testing_text::ParseHandles;
using testing_text::ParseProgram;
using testing_text::Words;

const ShapeCatalogueEntry& Entry(int i)
{
    const ShapeCatalogueEntry* entry = CatalogueEntry(i);
    EXPECT_NE(entry, nullptr) << "entry " << i;
    static const ShapeCatalogueEntry kNone;
    return entry != nullptr ? *entry : kNone;
}

TEST(Catalogue, HoldsOneHundredTenNamedEntries)
{
    ASSERT_EQ(CatalogueCount(), 110);
    const std::map<int, std::string> names = {
        {0, "简单文本框"},
        {1, "曲线"},
        {14, "圆柱形"},
        {27, "尺寸线"},
        {28, "过程"},
        {30, "决策"},
        {55, "显示"},
        {56, "矩形标注"},
        {58, "爆炸形1"},
        {61, "五角星"},
        {63, "左箭头"},
        {76, "燕尾"},
        {77, "斜线"},
        {94, "左上箭头横环线"},
        {109, "右下箭头竖折线"},
    };
    for (const auto& [index, name] : names) {
        EXPECT_EQ(Entry(index).name, name) << "entry " << index;
    }
    std::set<std::string_view> distinct;
    for (int i = 0; i < CatalogueCount(); ++i) {
        EXPECT_FALSE(Entry(i).name.empty()) << "entry " << i;
        distinct.insert(Entry(i).name);
    }
    EXPECT_EQ(distinct.size(), 110u) << "names are unique";
}

TEST(Catalogue, IndexesOutsideTheCatalogueHaveNoEntry)
{
    for (int i : {110, 111, 1000, INT_MAX, -1, -110, INT_MIN}) {
        EXPECT_EQ(CatalogueEntry(i), nullptr) << "index " << i;
    }
    // Prepared once: every look-up hands out the same entry.
    EXPECT_EQ(CatalogueEntry(30), CatalogueEntry(30));
    EXPECT_EQ(CatalogueEntry(109), &Entry(109));
}

TEST(Catalogue, CategoriesFollowIndexRanges)
{
    const struct {
        int first, last;
        uint16_t category;
    } ranges[] = {{0, 27, 1}, {28, 55, 3}, {56, 57, 4}, {58, 62, 5}, {63, 76, 6}, {77, 109, 7}};
    int covered = 0;
    for (const auto& r : ranges) {
        for (int i = r.first; i <= r.last; ++i) {
            EXPECT_EQ(Entry(i).category, r.category) << "entry " << i;
            ++covered;
        }
    }
    EXPECT_EQ(covered, CatalogueCount());
}

TEST(Catalogue, BuiltInAttributesMarkCurvesShadedAndOpenShapes)
{
    std::map<int, uint16_t> builtIn = {
        {1, CA_CURVE},   {14, CA_SHADED}, {16, CA_SHADED}, {17, CA_SHADED}, {18, CA_SHADED},
        {19, CA_SHADED}, {53, CA_SHADED}, {54, CA_SHADED}, {24, CA_OPEN},   {27, CA_OPEN}};
    for (int i = 77; i <= 109; ++i) {
        builtIn[i] = CA_OPEN;
    }
    for (int i = 0; i < CatalogueCount(); ++i) {
        const uint16_t expected = builtIn.contains(i) ? builtIn[i] : 0;
        EXPECT_EQ(Entry(i).attributes & ~CA_TEXT_BOX, expected) << "entry " << i;
    }
}

TEST(Catalogue, TextBoxAttributeMarksProgramsWithATextBoxStep)
{
    const struct {
        int index;
        uint16_t attributes;
    } cases[] = {
        {0, CA_TEXT_BOX},
        {1, CA_CURVE},
        {2, CA_TEXT_BOX},
        {6, CA_TEXT_BOX},
        {10, CA_TEXT_BOX},
        {14, CA_SHADED | CA_TEXT_BOX},
        {16, CA_SHADED | CA_TEXT_BOX},
        {19, CA_SHADED},
        {21, 0},
        {24, CA_OPEN},
        {30, CA_TEXT_BOX},
        {56, CA_TEXT_BOX},
        {61, 0},
        {64, 0},
        {72, 0},
        {81, CA_OPEN | CA_TEXT_BOX},
        {92, CA_OPEN | CA_TEXT_BOX},
        {109, CA_OPEN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Entry(c.index).attributes, c.attributes) << "entry " << c.index;
    }

    // For every entry, the bit agrees with a walk over the program's steps.
    for (int i = 0; i < CatalogueCount(); ++i) {
        bool hasTextBox = false;
        for (auto rest = Entry(i).program; !rest.empty(); rest = SkipSteps(rest, 1)) {
            hasTextBox = hasTextBox || ProgramWord(rest, 0) == 10;
        }
        EXPECT_EQ((Entry(i).attributes & CA_TEXT_BOX) != 0, hasTextBox) << "entry " << i;
    }
}

TEST(Catalogue, ProgramsAreValidAndEndWithTheirZeroWord)
{
    for (int i = 0; i < CatalogueCount(); ++i) {
        const ShapeCatalogueEntry& e = Entry(i);
        // Every entry draws something: no program is the bare end word.
        ASSERT_GE(e.program.size(), 4u) << "entry " << i;
        EXPECT_TRUE(IsValidProgram(e.program.data(), e.program.size())) << "entry " << i;
        EXPECT_EQ(ProgramWord(e.program, e.program.size() / 2 - 1), 0) << "entry " << i;
        // The only end word is the last one, so the whole table is drawn.
        EXPECT_EQ(ProgramByteLength(e.program), e.program.size() - 2) << "entry " << i;
        EXPECT_EQ(size_t(e.programLength) * 2, e.program.size()) << "entry " << i;
    }
}

TEST(Catalogue, WrittenProgramsAreStoredWordForWord)
{
    const std::map<int, std::string> programs = {
        {0, "10:0,0,8191,8191,0,0,1,0,1"},
        {1, "3:0,0 5:4095,0,8191,4095,8191,8191"},
        {2, "9:0,0,8191,8191 10:163,163,8028,8028,0,0,1,0,1"},
        {6, "8:0,0,8191,8191,1365 10:163,1365,8028,6826,0,0,1,0,1"},
        {10, "7:0,0,8191,8191,0 10:819,819,7372,7372,0,0,1,0,1"},
        {14, "3:0,682 4:0,7509 5:0,7890,1802,8191,4095,8191 5:6388,8191,8191,7890,8191,7509 "
             "4:8191,682 5:8191,301,6388,0,4095,0 5:1802,0,0,301,0,682 3:0,682 "
             "5:0,1063,1802,1365,4095,1365 5:6388,1365,8191,1063,8191,682 "
             "10:163,1365,8028,7509,0,0,1,0,1"},
        {16, "3:2047,0 4:0,2047 4:0,8191 4:6144,8191 4:8191,6144 4:8191,0 4:2047,0 3:2047,0 "
             "13:0,2047 4:6144,2047 4:8191,0 13:2047,0 3:6144,2047 13:8191,0 13:8191,6144 "
             "13:6144,8191 4:6144,2047 10:163,2210,5981,8028,0,0,1,0,1"},
        {19, "7:0,0,8191,8191,0 7:2458,2458,3276,3276,0 7:4915,2458,5733,3276,0 3:2458,5733 "
             "5:2458,6191,3375,6552,4095,6552 5:5012,6552,5733,6191,5733,5733 "
             "6:5733,6191,5012,6552,4095,6552 6:3375,6552,2458,6191,2458,5733"},
        {21, "7:0,0,8191,8191,0 20:1023,1023,7168,7168,8191,7021,1170,0,0 "
             "20:1023,1023,7168,7168,0,1170,7021,8191,0"},
        {24, "18:0,0,8191,8191,8191,0,8191,8191,0"},
        {30, "3:4095,0 4:8191,4095 4:4095,8191 4:0,4095 4:4095,0 "
             "10:2047,2047,6144,6144,0,0,1,0,1 25:2048,8191,3,3,0 25:8191,3072,3,3,1"},
        {56, "3:0,6826 4:1170,6826 4:511,8191 4:3510,6826 4:8191,6826 4:8191,0 4:0,0 4:0,6826 "
             "10:163,163,8028,6663,0,0,1,0,1"},
        {61, "3:4095,0 4:3194,3194 4:0,3194 4:2539,5078 4:1638,8191 4:4095,6388 4:6552,8191 "
             "4:5651,5078 4:8191,3194 4:4996,3194 4:4095,0"},
        {64, "3:0,2047 4:0,6144 4:6144,6144 4:6144,8191 4:8191,4095 4:6144,0 4:6144,2047 "
             "4:0,2047"},
        {72, "3:5850,0 4:3510,2730 4:4680,2730 4:4680,5460 4:0,5460 4:0,8191 4:7020,8191 "
             "4:7020,2730 4:8191,2730 4:5850,0"},
        {81, "2:0,8191,8191,8191,2 10:0,0,8191,7372,0,3,1,0,1"},
        {92, "3:0,8191 4:8191,8191 2:8191,8191,8191,0,2 10:0,0,7372,7372,3,3,1,0,1"},
        {109, "3:0,0 4:0,4095 4:8191,4095 2:8191,4095,8191,8191,2"},
    };
    for (const auto& [index, text] : programs) {
        EXPECT_EQ(Words(Entry(index).program), ParseProgram(text)) << "entry " << index;
    }
}

TEST(Catalogue, HandleListsDecodeToTheirDefaultDescriptors)
{
    const std::map<int, std::string> handles = {
        {1, "1:0,0 1:4095,0 1:8191,4095 1:8191,8191"},
        {3, "1:2730,0"},
        {4, "1:2730,0"},
        {6, "1:1365,0"},
        {7, "1:2730,0"},
        {8, "1:4095,0"},
        {11, "1:2047,0"},
        {12, "1:2047,0"},
        {14, "1:4095,1365"},
        {15, "1:4095,7509"},
        {16, "1:0,2047"},
        {17, "1:1365,0"},
        {18, "1:7168,8191"},
        {19, "1:4095,6552"},
        {20, "1:2047,4095"},
        {21, "1:1023,4095"},
        {23, "1:1638,0"},
        {24, "1:8191,0 1:8191,8191"},
        {25, "1:8191,0 1:8191,8191"},
        {26, "1:8191,0 1:8191,8191"},
        {27, "1:3071,4095"},
        {56, "1:511,8191 3:0,0 3:8191,6826 3:0,0"},
        {57, "1:511,8191 3:0,0 3:8191,6826 3:0,1"},
        {60, "1:3276,4095"},
        {63, "1:2047,2047 3:0,0"},
        {64, "1:6144,2047 3:0,1"},
        {65, "1:2047,2047 3:0,2"},
        {66, "1:2047,6144 3:0,3"},
        {67, "1:2047,2047 3:0,4"},
        {68, "1:2047,2047 3:0,5"},
        {69, "1:2457,0 1:3276,1638"},
        {71, "1:5733,1170 3:0,6"},
        {72, "1:7020,2730 3:0,7"},
        {73, "1:6143,2047 3:0,8"},
        {74, "1:6144,2047 3:0,9"},
        {75, "1:4680,0 3:0,10"},
        {76, "1:4680,0 3:0,11"},
        {102, "1:4095,4095"},
        {103, "1:4095,4095"},
        {104, "1:4095,4095"},
        {105, "1:4095,4095"},
        {106, "1:4095,4095"},
        {107, "1:4095,4095"},
        {108, "1:4095,4095"},
        {109, "1:4095,4095"},
    };
    for (int i = 0; i < CatalogueCount(); ++i) {
        const ShapeCatalogueEntry& e = Entry(i);
        const auto listed = handles.find(i);
        const std::vector<uint16_t> expected =
            listed != handles.end() ? ParseHandles(listed->second) : std::vector<uint16_t>{};
        EXPECT_EQ(Words(e.handles), expected) << "entry " << i;
        EXPECT_EQ(size_t(e.handleListLength), expected.size()) << "entry " << i;
        EXPECT_EQ(e.handles.size(), expected.size() * 2) << "entry " << i;
    }

    // Spelled out once: the rectangle callout's first descriptor is an adjust
    // handle (kind 1) at (511, 8191), its second a hidden value (kind 3) at (0, 0).
    const std::vector<uint16_t> callout = Words(Entry(56).handles);
    ASSERT_EQ(callout.size(), 8u);
    EXPECT_EQ(callout[0] >> kHandleKindShift, 1);
    EXPECT_EQ(callout[0] & kHandleCoordMask, 511);
    EXPECT_EQ(callout[1], 8191);
    EXPECT_EQ(callout[2], 0x6000);
    EXPECT_EQ(callout[3], 0);
}

TEST(Catalogue, CategoryListFollowsThePickerOrder)
{
    const std::span<const ShapeCategory> list = CategoryList();
    const struct {
        uint16_t value;
        const char* name;
    } expected[] = {{3, "流程图"}, {7, "连接线"}, {1, "基本图形"},
                    {4, "标注"},   {6, "箭头"},   {5, "星"}};
    ASSERT_EQ(list.size(), std::size(expected));
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].value, expected[i].value) << "position " << i;
        EXPECT_EQ(list[i].name, expected[i].name) << "position " << i;
    }
    // Every entry's category is one the picker lists.
    for (int i = 0; i < CatalogueCount(); ++i) {
        bool listed = false;
        for (const ShapeCategory& c : list) {
            listed = listed || c.value == Entry(i).category;
        }
        EXPECT_TRUE(listed) << "entry " << i;
    }
}

TEST(Catalogue, CategoriesHoldTheirShapesInPickerOrder)
{
    const std::map<uint16_t, int> expected = {{3, 28}, {7, 33}, {1, 28}, {4, 2}, {6, 14}, {5, 5}};
    std::map<uint16_t, int> counted;
    for (int i = 0; i < CatalogueCount(); ++i) {
        ++counted[Entry(i).category];
    }
    for (const ShapeCategory& c : CategoryList()) {
        EXPECT_EQ(counted[c.value], expected.at(c.value)) << c.name;
    }
}

// Where a program draws on a frame that is the grid itself (one unit per grid step).
constexpr ShapeFrame kGridFrame{{0, 0}, 8191, 8191, 0, false, false};

RecordingSink RunEntry(int entry, ProgramMode mode)
{
    RecordingSink sink;
    RunShapeProgram(Entry(entry).program, kGridFrame, mode, sink);
    return sink;
}

Rect BoundsOfOps(const RecordingSink& sink)
{
    std::vector<Point> points;
    for (const RecordingSink::Op& op : sink.Ops()) {
        const int n = op.kind == RecordingSink::OpKind::Bezier ? 3 : 1;
        points.insert(points.end(), op.points.begin(), op.points.begin() + n);
    }
    return BoundsOfAnyPoints(points);
}

TEST(Catalogue, ClosedShapesHaveASilhouetteSpanningTheFrame)
{
    for (int i = 0; i < CatalogueCount(); ++i) {
        // The plain text box has no outline at all: it is text only.
        if ((Entry(i).attributes & CA_OPEN) != 0 || i == 0) {
            continue;
        }
        const RecordingSink silhouette = RunEntry(i, ProgramMode::Silhouette);
        ASSERT_FALSE(silhouette.Ops().empty()) << "entry " << i;
        // A figure drawn into a corner of its frame, or a typo that shrinks it, shows up
        // as a silhouette that does not span the frame.
        const Rect bounds = BoundsOfOps(silhouette);
        EXPECT_GE(bounds.Width(), 8191 * 8 / 10) << "entry " << i;
        EXPECT_GE(bounds.Height(), 8191 * 8 / 10) << "entry " << i;
    }
}

TEST(Catalogue, OutlinesStayInsideTheirFrame)
{
    // Only Bezier control points may lie outside (the document's wave pulls its curve
    // with a control below the frame); every point the outline passes through is inside.
    for (int i = 0; i < CatalogueCount(); ++i) {
        const RecordingSink outline = RunEntry(i, ProgramMode::DragOutline);
        for (const RecordingSink::Op& op : outline.Ops()) {
            const Point end = op.End();
            EXPECT_TRUE(end.x >= 0 && end.x <= 8191 && end.y >= 0 && end.y <= 8191)
                << "entry " << i << " passes (" << end.x << ", " << end.y << ")";
        }
    }
}

TEST(Catalogue, ShapesWithATextAreaHaveATextBoxInsideTheFrame)
{
    // Stars, symbols without a label (junctions, collate, sort), the smiley, rings, the
    // prohibition sign, the lightning, arcs, pies, chords, block arrows and bent lines
    // carry no text; everything else does.
    std::set<int> withText = {0,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                              17, 18, 23, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
                              40, 41, 42, 43, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59};
    for (int i = 78; i <= 101; ++i) {
        withText.insert(i);
    }
    for (int i = 0; i < CatalogueCount(); ++i) {
        EXPECT_EQ((Entry(i).attributes & CA_TEXT_BOX) != 0, withText.contains(i)) << "entry " << i;
        for (auto rest = Entry(i).program; !rest.empty(); rest = SkipSteps(rest, 1)) {
            if (ProgramWord(rest, 0) != kTextBox) {
                continue;
            }
            const uint16_t l = ProgramWord(rest, 1), t = ProgramWord(rest, 2);
            const uint16_t r = ProgramWord(rest, 3), b = ProgramWord(rest, 4);
            EXPECT_TRUE(l < r && t < b && r <= 8191 && b <= 8191)
                << "entry " << i << " box " << l << "," << t << "," << r << "," << b;
        }
    }
}

// The corner a connector's name gives: where its line ends.
Point NamedCorner(std::string_view name)
{
    const bool left = name.starts_with("左");
    const bool top = name.substr(3).starts_with("上");
    return {left ? 0 : 8191, top ? 0 : 8191};
}

struct Segments {
    std::vector<Point> points; // the path through start, corners and end
    uint16_t arrows = 0;       // of the arrow line: bit 0 at its start, bit 1 at its end
};

// The connector as one polyline: its moves and lines, then the arrow line if any.
class PolylineSink : public PathSink, public ArrowLineSink {
public:
    void MoveTo(Point p) override { path.points = {p}; }
    void LineTo(Point p) override { path.points.push_back(p); }
    void BezierTo(Point, Point, Point end) override { path.points.push_back(end); }
    void ArrowLine(Point p1, Point p2, uint16_t arrows) override
    {
        if (path.points.empty() || path.points.back() != p1) {
            path.points.push_back(p1);
        }
        path.points.push_back(p2);
        path.arrows = arrows;
    }
    Segments path;
};

TEST(Catalogue, ConnectorLinesEndAtTheCornerTheirNameGives)
{
    for (int i = 86; i <= 109; ++i) {
        const std::string_view name = Entry(i).name;
        PolylineSink sink;
        RunShapeProgram(Entry(i).program, kGridFrame, ProgramMode::Outline, sink);
        RunShapeProgram(Entry(i).program, kGridFrame, ProgramMode::Arrows, sink, &sink);
        const std::vector<Point>& p = sink.path.points;
        ASSERT_GE(p.size(), 3u) << name;
        EXPECT_EQ(p.back(), NamedCorner(name)) << name;
        const bool arrow = name.find("箭头") != std::string_view::npos;
        EXPECT_EQ(sink.path.arrows, arrow ? 2 : 0) << name;
        // Every segment runs along an axis.
        for (size_t k = 1; k < p.size(); ++k) {
            EXPECT_TRUE(p[k].x == p[k - 1].x || p[k].y == p[k - 1].y) << name << " segment " << k;
        }
        const bool horizontalEnds = name.find("横") != std::string_view::npos;
        if (name.find("直角线") != std::string_view::npos) {
            // An L: along the horizontal edge first, from the opposite corner.
            ASSERT_EQ(p.size(), 3u) << name;
            EXPECT_EQ(p[0], (Point{8191 - p.back().x, 8191 - p.back().y})) << name;
            EXPECT_EQ(p[1].y, p[0].y) << name;
        } else if (name.find("环线") != std::string_view::npos) {
            // A loop: out and back on the same side of the frame.
            ASSERT_EQ(p.size(), 4u) << name;
            EXPECT_EQ(horizontalEnds ? p[0].x : p[0].y, horizontalEnds ? p[3].x : p[3].y) << name;
            EXPECT_EQ(horizontalEnds ? p[0].y : p[0].x, horizontalEnds ? p[1].y : p[1].x) << name;
        } else {
            // A bent line: corner to opposite corner, crossing over in the middle.
            ASSERT_EQ(p.size(), 4u) << name;
            EXPECT_EQ(p[0], (Point{8191 - p.back().x, 8191 - p.back().y})) << name;
            EXPECT_EQ(horizontalEnds ? p[1].x : p[1].y, 4095) << name;
            EXPECT_EQ(horizontalEnds ? p[0].y : p[0].x, horizontalEnds ? p[1].y : p[1].x) << name;
        }
    }
}

TEST(Catalogue, StraightConnectorsPointTheWayTheirNameSays)
{
    const struct {
        int entry;
        Point from, to;
        uint16_t arrows;
    } cases[] = {
        {80, {8191, 8191}, {0, 8191}, 2}, {81, {0, 8191}, {8191, 8191}, 2},
        {82, {0, 8191}, {8191, 8191}, 3}, {83, {0, 8191}, {0, 0}, 2},
        {84, {0, 0}, {0, 8191}, 2},       {85, {0, 0}, {0, 8191}, 3},
    };
    for (const auto& c : cases) {
        PolylineSink sink;
        RunShapeProgram(Entry(c.entry).program, kGridFrame, ProgramMode::Arrows, sink, &sink);
        ASSERT_EQ(sink.path.points.size(), 2u) << Entry(c.entry).name;
        EXPECT_EQ(sink.path.points[0], c.from) << Entry(c.entry).name;
        EXPECT_EQ(sink.path.points[1], c.to) << Entry(c.entry).name;
        EXPECT_EQ(sink.path.arrows, c.arrows) << Entry(c.entry).name;
    }
}

} // namespace
} // namespace figures
