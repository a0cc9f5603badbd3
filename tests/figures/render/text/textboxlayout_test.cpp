// Text records, line cutting, measuring, fonts, placement and painting of the texts in
// shape programs.
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/text/fontmapping.h"
#include "figures/render/gbk.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"
#include "figures/render/text/textboxlayout.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace figures {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

std::span<const uint8_t> ProgramBytes(const std::vector<uint16_t>& words)
{
    return {reinterpret_cast<const uint8_t*>(words.data()), words.size() * 2};
}

// A frame of 8191 x 8191 units at the origin maps grid values onto themselves, so the
// boxes of these programs stand where their words say.
constexpr ShapeFrame kGridFrame{{0, 0}, kGridExtent, kGridExtent, 0, false, false};

// At 254 dpi one document unit is one pixel.
constexpr double kOnePixelPerUnit = 254.0;

LogFont SongFont(int32_t height)
{
    LogFont font;
    font.SetHeight(height);
    return font;
}

// --- Recording ---------------------------------------------------------------------------

struct RecordedLine {
    Point start;
    std::string text;
};

struct RecordedBlock {
    LogFont font;
    DeviceFont device;
    bool clipped = false;
    Corners clip{};
    std::vector<RecordedLine> lines;
};

class RecordingTextSink : public ShapeTextSink {
public:
    void BeginBlock(const LogFont& font, const DeviceFont& device, const Corners* clip) override
    {
        RecordedBlock block;
        block.font = font;
        block.device = device;
        block.clipped = clip != nullptr;
        if (clip != nullptr) {
            block.clip = *clip;
        }
        blocks.push_back(block);
    }
    void Line(Point start, std::string_view line) override
    {
        blocks.back().lines.push_back({start, std::string(line)});
    }
    void EndBlock() override {}

    std::vector<RecordedBlock> blocks;
};

std::vector<RecordedBlock> LayOut(const std::vector<uint16_t>& program, const ShapeFrame& frame,
                                  const Bytes& texts, const ShapeTextStyle& style = {},
                                  double scale = 1.0)
{
    RecordingTextSink sink;
    LayOutShapeTexts(ProgramBytes(program), frame, texts, style, scale, scale, sink);
    return sink.blocks;
}

// --- Painting ----------------------------------------------------------------------------

QImage PaintTexts(const std::vector<uint16_t>& program, const ShapeFrame& frame, const Bytes& texts,
                  const ShapeTextStyle& style, QSize size,
                  ShapeTextPass pass = ShapeTextPass::Texts, bool antialiased = true)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    const DrawContext dc(painter, kOnePixelPerUnit, kOnePixelPerUnit);
    DrawShapeTexts(dc, ProgramBytes(program), frame, texts, style, pass);
    return image;
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// The smallest rectangle (right and bottom exclusive) holding the dark pixels of area;
// empty when there are none.
Rect InkBounds(const QImage& image, Rect area)
{
    Rect ink{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (IsInk(image.pixel(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
    }
    return ink.left == INT32_MAX ? Rect{} : ink;
}

Rect WholeImage(const QImage& image)
{
    return {0, 0, image.width(), image.height()};
}

// --- Records -----------------------------------------------------------------------------

TEST(ShapeTextRecords, ReadingStaysInsideTheListBytes)
{
    struct Row {
        const char* name;
        Bytes list;
        std::vector<std::pair<uint8_t, std::string>> records;
    };
    const std::vector<Row> rows = {
        {"empty list", {}, {}},
        {"only the closing 0", {0}, {}},
        {"two records", {1, 'a', 'b', 0, 2, 'c', 0, 0}, {{1, "ab"}, {2, "c"}}},
        {"empty text", {3, 0, 0}, {{3, ""}}},
        {"no closing 0", {1, 'a', 'b', 0}, {{1, "ab"}}},
        {"record without its 0", {1, 'a', 'b', 'c'}, {{1, "abc"}}},
        {"number byte alone", {7}, {{7, ""}}},
        {"bytes after the closing 0 are not records", {1, 'a', 0, 0, 2, 'b', 0}, {{1, "a"}}},
    };
    for (const Row& row : rows) {
        const std::vector<TextRecord> records = ReadTextRecords(row.list);
        ASSERT_EQ(records.size(), row.records.size()) << row.name;
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].number, row.records[i].first) << row.name;
            EXPECT_EQ(records[i].text, row.records[i].second) << row.name;
            EXPECT_LE(records[i].offset + 1 + records[i].text.size(), row.list.size()) << row.name;
        }
    }
}

TEST(ShapeTextRecords, ABoxShowsTheFirstRecordOfItsNumber)
{
    const Bytes list = {2, 't', 'w', 'o', 0, 1, 'o', 'n', 'e', 0, 2, 'b', 'i', 's', 0, 0};
    const std::optional<TextRecord> two = FindTextRecord(list, 2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->text, "two");
    EXPECT_EQ(two->offset, 0u);
    const std::optional<TextRecord> one = FindTextRecord(list, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->text, "one");
    EXPECT_EQ(one->offset, 5u);
    // Number 0 reads as the end of the list; numbers beyond a byte cannot be stored.
    EXPECT_FALSE(FindTextRecord(list, 0));
    EXPECT_FALSE(FindTextRecord(list, 3));
    EXPECT_FALSE(FindTextRecord(list, 0x102));
    EXPECT_FALSE(FindTextRecord({}, 1));
}

TEST(ShapeTextRecords, ReplacingPutsTheNewRecordInFrontAndKeepsTheOthers)
{
    const Bytes list = {1, 'a', 0, 2, 'b', 0, 3, 'c', 0, 0};
    struct Row {
        const char* name;
        Bytes before;
        uint16_t number;
        std::string text;
        Bytes after;
    };
    const std::vector<Row> rows = {
        {"middle record", list, 2, "xy", {2, 'x', 'y', 0, 1, 'a', 0, 3, 'c', 0, 0}},
        {"new number", list, 9, "z", {9, 'z', 0, 1, 'a', 0, 2, 'b', 0, 3, 'c', 0, 0}},
        {"empty list", {}, 1, "q", {1, 'q', 0, 0}},
        {"empty text keeps a record", list, 1, "", {1, 0, 2, 'b', 0, 3, 'c', 0, 0}},
        {"only the first of two records goes",
         {1, 'a', 0, 1, 'b', 0, 0},
         1,
         "n",
         {1, 'n', 0, 1, 'b', 0, 0}},
        {"a list without its closing 0 gets one", {1, 'a'}, 2, "b", {2, 'b', 0, 1, 'a', 0, 0}},
        {"text is cut at an embedded 0",
         list,
         3,
         std::string("ok\0bad", 6),
         {3, 'o', 'k', 0, 1, 'a', 0, 2, 'b', 0, 0}},
    };
    for (const Row& row : rows) {
        const std::optional<Bytes> replaced = ReplaceTextRecord(row.before, row.number, row.text);
        ASSERT_TRUE(replaced) << row.name;
        EXPECT_EQ(*replaced, row.after) << row.name;
    }
    EXPECT_FALSE(ReplaceTextRecord(list, 0, "x")) << "a record 0 would end the list";
    EXPECT_FALSE(ReplaceTextRecord(list, 256, "x"));
}

TEST(ShapeTextRecords, FixedTextsAreYesAndNoOnly)
{
    EXPECT_EQ(FixedText(0), Gbk("是"));
    EXPECT_EQ(FixedText(1), Gbk("否"));
    for (uint16_t index : {2, 3, 255, 0xFFFF}) {
        EXPECT_TRUE(FixedText(index).empty()) << index;
    }
}

// --- Lines and extents ---------------------------------------------------------------------

TEST(ShapeTextLines, CutAtEveryCarriageReturn)
{
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\n", {"a", ""}},
        {"\r\r\n", {"", "", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
        {"a\nb", {"a\nb"}},
        {"one\r\ntwo\r\nthree", {"one", "two", "three"}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> lines;
        TextLines cut(row.text);
        std::string_view line;
        while (cut.Next(line)) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, row.lines) << row.text;
        EXPECT_EQ(CountTextLines(row.text), int(row.lines.size())) << row.text;
    }
}

TEST(ShapeTextExtent, ThreeLinesAreThreeCellsAndTwoGapsHigh)
{
    for (double scale : {1.0, 96.0 / 254.0, 3.0}) {
        const DeviceFont font = FontFor(SongFont(-32), scale, scale);
        const std::string three = Gbk("第一行\r\n第二\r\n三");
        const TextExtent extent = TextBlockExtent(font, scale, scale, three, kLineGap);
        EXPECT_GT(extent.lineHeight, 0) << scale;
        EXPECT_EQ(extent.height, 3 * extent.lineHeight + 12) << scale;
        // The widest line decides the width.
        const TextExtent first = TextBlockExtent(font, scale, scale, Gbk("第一行"), kLineGap);
        EXPECT_EQ(extent.width, first.width) << scale;
        EXPECT_EQ(first.height, first.lineHeight) << scale;
    }
    // The Song face's cell is one em: a line of a -32 font is 32 units high.
    const DeviceFont song = FontFor(SongFont(-32), 1.0, 1.0);
    const TextExtent one = TextBlockExtent(song, 1.0, 1.0, Gbk("中文"), kLineGap);
    EXPECT_EQ(one.lineHeight, 32);
    EXPECT_NEAR(one.width, 64, 1);
    const TextExtent empty = TextBlockExtent(song, 1.0, 1.0, "", kLineGap);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 32);
    const TextExtent trailing = TextBlockExtent(song, 1.0, 1.0, Gbk("中\r\n"), kLineGap);
    EXPECT_EQ(trailing.height, 2 * 32 + 6) << "the line after a final break counts";
}

// --- Fonts -------------------------------------------------------------------------------

TEST(ShapeTextFonts, StepFontsTurnWithTheObjectAndDivideTheirSize)
{
    LogFont font = SongFont(-32);
    font.SetWidth(14);
    font.SetWeight(400);

    EXPECT_EQ(FixedTextFont(font, 300).Escapement(), 3300);
    EXPECT_EQ(FixedTextFont(font, 300).Orientation(), 3300);
    EXPECT_EQ(FixedTextFont(font, 0).Escapement(), 3600);
    EXPECT_EQ(FixedTextFont(font, 300).Height(), -32) << "fixed texts keep the object's size";

    struct Row {
        const char* name;
        uint16_t divisor;
        uint16_t style;
        int32_t height, width, weight;
        uint8_t italic, underline, strikeOut;
    };
    const std::vector<Row> rows = {
        {"plain", 1, 0, -32, 14, 400, 0, 0, 0},
        {"divisor 2 halves height and width", 2, 0, -16, 7, 400, 0, 0, 0},
        {"divisor 0 counts as 1", 0, 0, -32, 14, 400, 0, 0, 0},
        {"a height divided to 0 becomes 1", 65535, 0, 1, 0, 400, 0, 0, 0},
        {"italic", 1, TS_ITALIC, -32, 14, 400, 1, 0, 0},
        {"bold", 1, TS_BOLD, -32, 14, 700, 0, 0, 0},
        {"underline", 1, TS_UNDERLINE, -32, 14, 400, 0, 1, 0},
        {"strike-out", 1, TS_STRIKE_OUT, -32, 14, 400, 0, 0, 1},
        {"all styles", 4, 15, -8, 3, 700, 1, 1, 1},
    };
    for (const Row& row : rows) {
        const LogFont box = TextBoxFont(font, 300, row.divisor, row.style);
        EXPECT_EQ(box.Escapement(), 3300) << row.name;
        EXPECT_EQ(box.Height(), row.height) << row.name;
        EXPECT_EQ(box.Width(), row.width) << row.name;
        EXPECT_EQ(box.Weight(), row.weight) << row.name;
        EXPECT_EQ(box.Italic(), row.italic) << row.name;
        EXPECT_EQ(box.Underline(), row.underline) << row.name;
        EXPECT_EQ(box.StrikeOut(), row.strikeOut) << row.name;
        EXPECT_EQ(box.FaceName(), font.FaceName()) << row.name;
    }
    // Style bits add to the object's own style; they never take it away.
    LogFont italic = font;
    italic.SetItalic(1);
    EXPECT_EQ(TextBoxFont(italic, 0, 1, 0).Italic(), 1);
}

TEST(ShapeTextFontMapping, ChineseFacesMapToInstalledFontsWithChineseGlyphs)
{
    struct Row {
        const char* face;
        const char* family; // the installed family expected to draw it
        QFont::StyleHint hint;
    };
    const std::vector<Row> rows = {
        {"宋体", "Noto Serif CJK SC", QFont::Serif},
        {"新宋体", "Noto Serif CJK SC", QFont::Serif},
        {"仿宋", "Noto Serif CJK SC", QFont::Serif},
        {"楷体", "Noto Serif CJK SC", QFont::Serif},
        {"黑体", "Noto Sans CJK SC", QFont::SansSerif},
        {"微软雅黑", "Noto Sans CJK SC", QFont::SansSerif},
        {"SimSun", "Noto Serif CJK SC", QFont::Serif},
        {"simsun", "Noto Serif CJK SC", QFont::Serif},
        {"NSimSun", "Noto Serif CJK SC", QFont::Serif},
        {"SimHei", "Noto Sans CJK SC", QFont::SansSerif},
        {"KaiTi", "Noto Serif CJK SC", QFont::Serif},
        {"FangSong", "Noto Serif CJK SC", QFont::Serif},
        {"Microsoft YaHei", "Noto Sans CJK SC", QFont::SansSerif},
        {"", "Noto Serif CJK SC", QFont::Serif},
    };
    for (const Row& row : rows) {
        LogFont record = SongFont(-32);
        record.SetFaceName(Gbk(row.face));
        const DeviceFont font = FontFor(record, 1.0, 1.0);
        EXPECT_EQ(QFontInfo(font.font).family(), QString::fromUtf8(row.family)) << row.face;
        EXPECT_EQ(font.font.styleHint(), row.hint) << row.face;
        const QRawFont raw = QRawFont::fromFont(font.font);
        for (const char* text : {"中", "是", "否", "图"}) {
            EXPECT_TRUE(raw.supportsCharacter(QString::fromUtf8(text).at(0)))
                << row.face << " " << text;
        }
    }
    // Any other face is tried first and keeps Chinese characters drawable after it.
    const QStringList unknown = FontFamiliesFor("No Such Face");
    ASSERT_GE(unknown.size(), 2);
    EXPECT_EQ(unknown.front(), QStringLiteral("No Such Face"));
    LogFont record;
    record.SetFaceName("No Such Face");
    EXPECT_TRUE(QFontMetricsF(FontFor(record, 1.0, 1.0).font).inFont(QChar(0x4E2D)));
    // A system that has the original face still finds it after the substitutes.
    EXPECT_EQ(FontFamiliesFor(Gbk("黑体")).back(), QString::fromUtf8("黑体"));
}

TEST(ShapeTextFontMapping, RecordSizesAndStylesBecomeQtFontProperties)
{
    const double scale = 96.0 / 254.0;
    LogFont record = SongFont(-32);
    EXPECT_EQ(FontFor(record, scale, scale).font.pixelSize(), 12) << "3.2 mm on a screen";
    EXPECT_EQ(FontFor(record, 2.0, 2.0).font.pixelSize(), 64);
    record.SetHeight(0);
    EXPECT_EQ(FontFor(record, 1.0, 1.0).font.pixelSize(), 32) << "0 is the default size";
    record.SetHeight(-1);
    EXPECT_EQ(FontFor(record, 0.1, 0.1).font.pixelSize(), 1) << "never below one pixel";

    // A positive height is the cell: the Song face's cell is its em, other faces measure.
    record.SetHeight(40);
    EXPECT_EQ(FontFor(record, 1.0, 1.0).font.pixelSize(), 40);
    EXPECT_NEAR(FontFor(record, 1.0, 1.0).cellHeight, 40, 0.5);
    record.SetFaceName("DejaVu Sans");
    const DeviceFont dejaVu = FontFor(record, 1.0, 1.0);
    EXPECT_LT(dejaVu.font.pixelSize(), 40);
    EXPECT_NEAR(dejaVu.cellHeight, 40, 1.0);

    // A width is the average character: for the Song face, whose Latin letters are half
    // an em wide, a width of 16 at height -32 is the face's own proportion.
    using P = std::pair<int32_t, int>;
    for (const auto& [width, stretch] : {P{10, 63}, P{16, 100}, P{30, 188}}) {
        LogFont squeezed = SongFont(-32);
        squeezed.SetWidth(width);
        EXPECT_EQ(FontFor(squeezed, 1.0, 1.0).font.stretch(), stretch) << width;
        EXPECT_EQ(FontFor(squeezed, 2.0, 2.0).font.stretch(), stretch) << width;
    }

    LogFont styled = SongFont(-32);
    styled.SetWeight(700);
    styled.SetItalic(1);
    styled.SetUnderline(1);
    styled.SetStrikeOut(1);
    const QFont font = FontFor(styled, 1.0, 1.0).font;
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    styled.SetWeight(0);
    styled.SetItalic(0);
    styled.SetUnderline(0);
    styled.SetStrikeOut(0);
    const QFont plain = FontFor(styled, 1.0, 1.0).font;
    EXPECT_EQ(plain.weight(), QFont::Normal);
    EXPECT_FALSE(plain.italic() || plain.underline() || plain.strikeOut());
}

// --- Layout ------------------------------------------------------------------------------

TEST(ShapeTextLayout, BoxAlignmentAndOverridesPlaceTheBlock)
{
    // Box (1000, 1000)-(5000, 3000) holding a two-line block.
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("中文字\r\nab"));
    const TextExtent extent =
        TextBlockExtent(FontFor(SongFont(-32), 1.0, 1.0), 1.0, 1.0, Gbk("中文字\r\nab"), kLineGap);
    const int32_t left = 1000, right = 5000, top = 1000, bottom = 3000;
    const int32_t centreX = left + (right - extent.width - left) / 2;
    const int32_t middleY = top + (bottom - extent.height - top) / 2;
    struct Row {
        uint16_t stepH, stepV;
        int16_t overrideH, overrideV;
        int32_t x, y;
    };
    const std::vector<Row> rows = {
        {0, 0, 0, 0, centreX, middleY},
        {2, 2, 0, 0, centreX, middleY},
        {1, 1, 0, 0, left, top},
        {3, 1, 0, 0, right - extent.width, top},
        {3, 3, 0, 0, right - extent.width, bottom - extent.height},
        {7, 9, 0, 0, centreX, middleY}, // unknown codes centre
        {3, 1, 1, 3, left, bottom - extent.height},
        {3, 1, 2, 0, centreX, top},
        {0, 0, 0, 1, centreX, top},
    };
    for (const Row& row : rows) {
        const std::vector<uint16_t> program = {kTextBox,  5000, 3000, 1000, 1000, row.stepH,
                                               row.stepV, 1,    0,    1,    kEnd};
        ShapeTextStyle style;
        style.textHAlign = row.overrideH;
        style.textVAlign = row.overrideV;
        const std::vector<RecordedBlock> blocks = LayOut(program, kGridFrame, list, style);
        const std::string name = std::to_string(row.stepH) + "," + std::to_string(row.stepV) +
                                 " over " + std::to_string(row.overrideH) + "," +
                                 std::to_string(row.overrideV);
        ASSERT_EQ(blocks.size(), 1u) << name;
        ASSERT_EQ(blocks[0].lines.size(), 2u) << name;
        EXPECT_EQ(blocks[0].lines[0].start, (Point{row.x, row.y})) << name;
        EXPECT_EQ(blocks[0].lines[1].start, (Point{row.x, row.y + extent.lineHeight + 6})) << name;
        EXPECT_TRUE(blocks[0].clipped) << name;
    }
}

TEST(ShapeTextLayout, FixedTextsAlignOnTheirAnchorUnclipped)
{
    const TextExtent extent =
        TextBlockExtent(FontFor(SongFont(-32), 1.0, 1.0), 1.0, 1.0, Gbk("是"), kLineGap);
    struct Row {
        uint16_t h, v;
        int32_t x, y;
    };
    const Point anchor{2000, 3000};
    const std::vector<Row> rows = {
        {1, 1, anchor.x, anchor.y},
        {3, 3, anchor.x - extent.width, anchor.y - extent.height},
        {0, 2, anchor.x - extent.width / 2, anchor.y - extent.height / 2},
        {2, 1, anchor.x - extent.width / 2, anchor.y},
    };
    for (const Row& row : rows) {
        const std::vector<uint16_t> program = {kText, 2000, 3000, row.h, row.v, 0, kEnd};
        // The object's overrides apply to text boxes only.
        ShapeTextStyle style;
        style.textHAlign = 1;
        style.textVAlign = 1;
        const std::vector<RecordedBlock> blocks = LayOut(program, kGridFrame, {}, style);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_FALSE(blocks[0].clipped);
        ASSERT_EQ(blocks[0].lines.size(), 1u);
        EXPECT_EQ(blocks[0].lines[0].text, Gbk("是"));
        EXPECT_EQ(blocks[0].lines[0].start, (Point{row.x, row.y})) << row.h << "," << row.v;
    }
}

TEST(ShapeTextLayout, TurnedObjectTurnsItsFontAndEveryLineStartAboutTheFrameCentre)
{
    const std::vector<uint16_t> program = {kTextBox, 1000,  1000, 7000, 5000, 1, 1, 1,   0,
                                           1,        kText, 4000, 7000, 1,    1, 1, kEnd};
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("一\r\n二\r\n三"));
    const ShapeFrame frame{{100, 200}, 800, 600, 0, false, false};
    ShapeFrame turned = frame;
    turned.angle = 300;
    const std::vector<RecordedBlock> upright = LayOut(program, frame, list);
    const std::vector<RecordedBlock> blocks = LayOut(program, turned, list);
    ASSERT_EQ(blocks.size(), 2u);
    ASSERT_EQ(upright.size(), 2u);
    const Point centre{100 + 400, 200 + 300};
    for (size_t b = 0; b < blocks.size(); ++b) {
        EXPECT_EQ(blocks[b].font.Escapement(), 3300) << b;
        EXPECT_EQ(upright[b].font.Escapement(), 3600) << b;
        ASSERT_EQ(blocks[b].lines.size(), upright[b].lines.size());
        for (size_t i = 0; i < blocks[b].lines.size(); ++i) {
            EXPECT_EQ(blocks[b].lines[i].start, RotatePoint(centre, upright[b].lines[i].start, 300))
                << b << " " << i;
        }
    }
    EXPECT_EQ(blocks[0].lines.size(), 3u);
    // The box's clip turns with it.
    const Point a = GridToFrame(1000, 1000, frame.origin, 800, 600, false, false);
    const Point b = GridToFrame(7000, 5000, frame.origin, 800, 600, false, false);
    const Corners expected = RotatedCorners(Rect{a.x, a.y, b.x, b.y}, 300, centre);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(blocks[0].clip.p[i], expected.p[i]) << i;
    }
}

TEST(ShapeTextLayout, StepsWithoutTextShowNothing)
{
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("有"));
    struct Row {
        const char* name;
        std::vector<uint16_t> program;
        Bytes texts;
    };
    const std::vector<Row> rows = {
        {"box number 0", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 0, kEnd}, list},
        {"box number beyond a byte", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 257, kEnd}, list},
        {"box without a record", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 2, kEnd}, list},
        {"no texts at all", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1, kEnd}, {}},
        {"empty text",
         {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1, kEnd},
         *ReplaceTextRecord({}, 1, "")},
        {"text of breaks only",
         {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1, kEnd},
         *ReplaceTextRecord({}, 1, "\r\n\r\n")},
        {"fixed text index 2", {kText, 100, 100, 0, 0, 2, kEnd}, list},
        {"fixed text index 0xFFFF", {kText, 100, 100, 0, 0, 0xFFFF, kEnd}, list},
        {"truncated text box", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1}, list},
        {"text box after an unknown opcode", {99, kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1}, list},
        {"text box after the end", {kEnd, kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1}, list},
    };
    for (const Row& row : rows) {
        size_t lines = 0;
        for (const RecordedBlock& block : LayOut(row.program, kGridFrame, row.texts)) {
            lines += block.lines.size();
        }
        EXPECT_EQ(lines, 0u) << row.name;
    }
    // Against them: the same box with its record does show text.
    const std::vector<RecordedBlock> shown =
        LayOut({kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 1, kEnd}, kGridFrame, list);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].lines.size(), 1u);
}

TEST(ShapeTextLayout, HugeTextsWriteOnlyTheLinesInsideTheirBox)
{
    // 20000 short lines in a box 400 units high: only about ten can show.
    std::string huge;
    for (int i = 0; i < 20000; ++i) {
        huge += Gbk("行") + "\r\n";
    }
    const Bytes list = *ReplaceTextRecord({}, 1, huge);
    const std::vector<uint16_t> program = {kTextBox, 0, 0, 8191, 400, 1, 1, 1, 0, 1, kEnd};
    const std::vector<RecordedBlock> blocks = LayOut(program, kGridFrame, list);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].lines.size(), size_t((400 + 37) / 38)) << "32-unit lines, 6-unit gaps";

    // One line of 60000 bytes is measured and written without trouble.
    const std::string wide(60000, 'x');
    const std::vector<RecordedBlock> one =
        LayOut(program, kGridFrame, *ReplaceTextRecord({}, 1, wide));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].lines.size(), 1u);
}

TEST(ShapeTextLayout, TextBoxesAreFoundWhereTheyAreDrawn)
{
    const std::vector<uint16_t> program = {kRectangle, 0,    0, 8191, 8191, //
                                           kTextBox,   0,    0, 4095, 8191, 0, 0, 1, 0, 1, kText,
                                           10,         10,   0, 0,    0, //
                                           kTextBox,   4096, 0, 8191, 8191, 0, 0, 1, 0, 2, kEnd};
    const ShapeFrame frame{{100, 100}, 200, 100, 0, false, false};
    ShapeFrame flipped = frame;
    flipped.flipH = true;
    ShapeFrame turned = frame;
    turned.angle = 900; // the frame stands upright about (200, 150)
    struct Row {
        const char* name;
        const ShapeFrame& frame;
        Point point;
        int step; // -1: none
    };
    const std::vector<Row> rows = {
        {"left half", frame, {150, 150}, 1},
        {"right half", frame, {250, 150}, 3},
        {"outside", frame, {50, 150}, -1},
        {"flipped: the first box is on the right", flipped, {250, 150}, 1},
        {"flipped: the second box is on the left", flipped, {150, 150}, 3},
        {"turned: the left half is on top", turned, {200, 80}, 1},
        {"turned: the right half is below", turned, {200, 220}, 3},
        {"turned: the unturned frame's corner misses", turned, {110, 110}, -1},
    };
    for (const Row& row : rows) {
        const std::optional<TextStep> step =
            TextBoxStepAt(ProgramBytes(program), row.frame, row.point);
        EXPECT_EQ(step ? step->index : -1, row.step) << row.name;
    }
}

// --- Painting ----------------------------------------------------------------------------

TEST(ShapeTextPaint, AlignmentRightTopWithoutOverridesWritesTopRight)
{
    // The box is the whole frame (20, 20)-(420, 220).
    const std::vector<uint16_t> program = {kTextBox, 0, 0, 8191, 8191, 3, 1, 1, 0, 1, kEnd};
    const ShapeFrame frame{{20, 20}, 400, 200, 0, false, false};
    ShapeTextStyle style;
    style.font = SongFont(-40);
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("文字"));
    const Rect box{20, 20, 420, 220};

    const QImage topRight = PaintTexts(program, frame, list, style, {440, 240});
    const Rect ink = InkBounds(topRight, WholeImage(topRight));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.right, box.right - 6);
    EXPECT_LE(ink.right, box.right);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LE(ink.top, box.top + 10);
    EXPECT_NEAR(ink.Width(), 80, 8) << "two characters of 40 units";

    // Non-zero overrides win: left and bottom.
    style.textHAlign = 1;
    style.textVAlign = 3;
    const QImage bottomLeft = PaintTexts(program, frame, list, style, {440, 240});
    const Rect moved = InkBounds(bottomLeft, WholeImage(bottomLeft));
    ASSERT_FALSE(moved.IsEmpty());
    EXPECT_GE(moved.left, box.left);
    EXPECT_LE(moved.left, box.left + 6);
    EXPECT_LE(moved.bottom, box.bottom);
    EXPECT_GE(moved.bottom, box.bottom - 12);
}

TEST(ShapeTextPaint, DivisorTwoHalvesOnlyItsOwnBox)
{
    const std::vector<uint16_t> program = {kTextBox, 0, 0,    4095, 8191, 1, 1, 1, 0, 1,   kTextBox,
                                           4096,     0, 8191, 8191, 1,    1, 2, 0, 2, kEnd};
    const ShapeFrame frame{{0, 0}, 400, 200, 0, false, false};
    ShapeTextStyle style;
    style.font = SongFont(-80);
    Bytes list = *ReplaceTextRecord({}, 1, Gbk("国"));
    list = *ReplaceTextRecord(list, 2, Gbk("国"));
    const QImage image = PaintTexts(program, frame, list, style, {400, 200});
    const Rect whole = InkBounds(image, {0, 0, 200, 200});
    const Rect half = InkBounds(image, {200, 0, 400, 200});
    ASSERT_FALSE(whole.IsEmpty());
    ASSERT_FALSE(half.IsEmpty());
    EXPECT_NEAR(double(half.Height()) / whole.Height(), 0.5, 0.08);
    EXPECT_NEAR(double(half.Width()) / whole.Width(), 0.5, 0.08);
}

TEST(ShapeTextPaint, TextStaysInsideItsTurnedBox)
{
    const std::vector<uint16_t> program = {kTextBox, 0, 0, 8191, 8191, 1, 1, 1, 0, 1, kEnd};
    const Bytes list =
        *ReplaceTextRecord({}, 1, Gbk("一段比文本框长得多的文字\r\n第二行\r\n第三行"));
    ShapeTextStyle style;
    style.font = SongFont(-30);
    for (int32_t angle : {0, 450, 2700}) {
        const ShapeFrame frame{{100, 100}, 160, 50, angle, false, false};
        const QImage image = PaintTexts(program, frame, list, style, {360, 260});
        const Point centre = FrameCentre(frame);
        int inside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!IsInk(image.pixel(x, y))) {
                    continue;
                }
                // Back into the unturned frame; allow a pixel of antialiasing.
                const Point p = RotatePoint(centre, {x, y}, -angle);
                ASSERT_TRUE(Rect({98, 98, 262, 152}).Contains(p))
                    << "angle " << angle << " ink at " << x << ", " << y;
                ++inside;
            }
        }
        EXPECT_GT(inside, 100) << angle;
    }
}

TEST(ShapeTextPaint, FixedTextsShowYesAndNo)
{
    // Anchors at (100, 100) and (300, 100); index 2 at (200, 100) shows nothing.
    const std::vector<uint16_t> program = {kText, 100, 100, 2, 2, 0, //
                                           kText, 200, 100, 2, 2, 2, //
                                           kText, 300, 100, 2, 2, 1, kEnd};
    const ShapeFrame frame{{0, 0}, kGridExtent, kGridExtent, 0, false, false};
    ShapeTextStyle style;
    style.font = SongFont(-40);
    const QImage image = PaintTexts(program, frame, {}, style, {400, 200});
    const Rect yes = InkBounds(image, {50, 50, 150, 150});
    const Rect none = InkBounds(image, {160, 50, 240, 150});
    const Rect no = InkBounds(image, {250, 50, 350, 150});
    ASSERT_FALSE(yes.IsEmpty());
    ASSERT_FALSE(no.IsEmpty());
    EXPECT_TRUE(none.IsEmpty());
    // Centred on their anchors.
    EXPECT_NEAR((yes.left + yes.right) / 2.0, 100, 4);
    EXPECT_NEAR((yes.top + yes.bottom) / 2.0, 100, 6);
    EXPECT_NEAR((no.left + no.right) / 2.0, 300, 4);
    // Different characters.
    EXPECT_NE(image.copy(yes.left, yes.top, yes.Width(), yes.Height()),
              image.copy(no.left, no.top, yes.Width(), yes.Height()));
}

TEST(ShapeTextPaint, TextColourAndTurnedTextFollowTheStyleAndAngle)
{
    const std::vector<uint16_t> program = {kTextBox, 0, 0, 8191, 8191, 1, 1, 1, 0, 1, kEnd};
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("一二三四五六"));
    ShapeTextStyle style;
    style.font = SongFont(-30);
    style.textColour = 0x0000FF; // red
    const ShapeFrame upright{{50, 50}, 300, 300, 0, false, false};
    const QImage flat = PaintTexts(program, upright, list, style, {400, 400});
    const Rect flatInk = InkBounds(flat, WholeImage(flat));
    ASSERT_FALSE(flatInk.IsEmpty());
    EXPECT_GT(flatInk.Width(), 3 * flatInk.Height()) << "a line runs along x";
    bool red = false;
    for (int x = flatInk.left; x < flatInk.right && !red; ++x) {
        for (int y = flatInk.top; y < flatInk.bottom && !red; ++y) {
            const QColor c = flat.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    }
    EXPECT_TRUE(red);

    // Turned a quarter clockwise, the line runs down the right side of the frame.
    ShapeFrame quarter = upright;
    quarter.angle = 900;
    const QImage turned = PaintTexts(program, quarter, list, style, {400, 400});
    const Rect turnedInk = InkBounds(turned, WholeImage(turned));
    ASSERT_FALSE(turnedInk.IsEmpty());
    EXPECT_GT(turnedInk.Height(), 3 * turnedInk.Width()) << "a line runs along y";
    EXPECT_GT(turnedInk.left, 300) << "the top edge turns to the right";
    EXPECT_LT(turnedInk.top, 70) << "the left edge turns to the top";
}

TEST(ShapeTextFrames, EditFramesAreDottedBoxOutlinesInTheFillsColour)
{
    struct Row {
        FillKind kind;
        uint32_t fill, back, frame;
    };
    const std::vector<Row> rows = {
        {FillKind::None, 0x0000FF, 0x00FF00, 0xC0C0C0},     // no fill: grey
        {FillKind::Colour, 0x0000FF, 0x00FF00, 0x0000C0},   // colour: three quarters of it
        {FillKind::Pattern, 0x0000FF, 0x00FF00, 0x00C000},  // pattern: of the background
        {FillKind::White, 0x0000FF, 0x00FF00, 0xC0C0C0},    // white
        {FillKind::Gradient, 0x0000FF, 0x00FF00, 0xC0C0C0}, // gradient: white
        {FillKind::Colour, kNoColour, 0x00FF00, 0xC0C0C0},  // no colour
        {FillKind::Pattern, 0x0000FF, 0x804020, ScaleColour(0x804020, 192, 255)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EditFrameColour(row.kind, row.fill, row.back), row.frame) << int32_t(row.kind);
    }

    // Painted: the box's edges in that colour, some pixels on and some off; no text.
    const std::vector<uint16_t> program = {kTextBox, 1000, 1000, 7000, 7000, 0, 0, 1, 0, 1, kEnd};
    const ShapeFrame frame{{0, 0}, 200, 200, 0, false, false};
    ShapeTextStyle style;
    style.fillKind = FillKind::Colour;
    style.fillColour = 0xFF0000; // blue
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("不画"));
    const QImage image =
        PaintTexts(program, frame, list, style, {200, 200}, ShapeTextPass::EditFrames, false);
    const QRgb frameColour = qRgb(0, 0, 0xC0);
    const int top = MulDiv(1000, 200, 8191);
    const int bottom = MulDiv(7000, 200, 8191);
    int on = 0, off = 0;
    for (int x = top + 2; x < bottom - 2; ++x) {
        (image.pixel(x, top) == frameColour ? on : off) += 1;
    }
    EXPECT_GT(on, 10);
    EXPECT_GT(off, 10) << "dotted, not solid";
    EXPECT_TRUE(InkBounds(image, {top + 2, top + 2, bottom - 2, bottom - 2}).IsEmpty());
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_TRUE(p == qRgb(255, 255, 255) || p == frameColour) << x << ", " << y;
        }
    }
}

TEST(ShapeTextPaint, PainterStateIsTheSameAfterwards)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const DrawContext dc(painter, 96, 96);
    const QPen pen(Qt::green);
    painter.setPen(pen);
    const QTransform world = painter.worldTransform();
    const std::vector<uint16_t> program = {kTextBox, 0,     0, 8191, 8191, 0, 0, 1,   0,
                                           1,        kText, 0, 0,    0,    0, 1, kEnd};
    const Bytes list = *ReplaceTextRecord({}, 1, Gbk("字"));
    const ShapeFrame frame{{0, 0}, 200, 200, 450, false, false};
    for (ShapeTextPass pass : {ShapeTextPass::Texts, ShapeTextPass::EditFrames}) {
        DrawShapeTexts(dc, ProgramBytes(program), frame, list, {}, pass);
        EXPECT_EQ(painter.worldTransform(), world);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_FALSE(painter.hasClipping());
    }
}

} // namespace
} // namespace figures
