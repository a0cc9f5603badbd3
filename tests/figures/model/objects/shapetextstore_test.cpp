// The texts of shape objects: reading, finding, replacing and typing them, their trip
// through documents, and reference pictures of shapes with Chinese text.
#include "figures/model/storage/carchive.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/objectregistry.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/text/fontmapping.h"
#include "figures/render/gbk.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"
#include "support/referencepicture.h"
#include "support/viewpicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace figures {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kRectangleEntry = 2;
constexpr int32_t kEllipseEntry = 10;
constexpr int32_t kDecisionEntry = 30;

std::string Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

Bytes Texts(const CRichGraph& shape)
{
    const std::span<const uint8_t> texts = shape.GetProperty(PT_TEXTS);
    return Bytes(texts.begin(), texts.end());
}

std::unique_ptr<CRichGraph> Custom(const std::vector<uint16_t>& program, Rect frame)
{
    auto shape = std::make_unique<CRichGraph>(CRichGraph::kCustomShape);
    shape->SetProgram(reinterpret_cast<const uint8_t*>(program.data()), program.size() * 2);
    shape->frame = frame;
    return shape;
}

// Two text boxes side by side, numbers 1 and 2.
const std::vector<uint16_t> kTwoBoxes = {kRectangle, 0, 0,    8191, 8191, //
                                         kTextBox,   0, 0,    4095, 8191, 0, 0, 1, 0, 1,   kTextBox,
                                         4096,       0, 8191, 8191, 0,    0, 1, 0, 2, kEnd};

TEST(ShapeTextModel, ReplacingABoxsTextKeepsTheOtherBoxesTexts)
{
    auto shape = Custom(kTwoBoxes, {0, 0, 200, 100});
    ASSERT_TRUE(SetBoxText(*shape, 1, Gbk("甲")));
    ASSERT_TRUE(SetBoxText(*shape, 2, Gbk("乙")));
    ASSERT_TRUE(SetBoxText(*shape, 1, Gbk("丙丁")));
    // The new record stands in front, the list keeps its final 0.
    std::string expected = "\x01" + Gbk("丙丁") + '\0' + "\x02" + Gbk("乙") + '\0' + '\0';
    EXPECT_EQ(Texts(*shape), Bytes(expected.begin(), expected.end()));

    const std::vector<BoxText> boxes = ReadBoxTexts(*shape);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].step, 1);
    EXPECT_EQ(boxes[0].number, 1);
    EXPECT_EQ(boxes[0].text, Gbk("丙丁"));
    EXPECT_EQ(boxes[1].step, 2);
    EXPECT_EQ(boxes[1].text, Gbk("乙"));
    EXPECT_TRUE(boxes[1].hasRecord);

    // Refusals leave the texts as they were.
    const Bytes before = Texts(*shape);
    EXPECT_FALSE(SetBoxText(*shape, 0, "x")) << "a record 0 would end the list";
    EXPECT_FALSE(SetBoxText(*shape, 300, "x"));
    EXPECT_FALSE(SetBoxText(*shape, 1, std::string(70000, 'x'))) << "beyond the item's length";
    EXPECT_EQ(Texts(*shape), before);
    // The longest text that fits the record still goes in.
    EXPECT_TRUE(SetBoxText(*shape, 1, std::string(65000, 'x')));
    EXPECT_EQ(ReadBoxTexts(*shape)[1].text, Gbk("乙"));
}

TEST(ShapeTextModel, GbkTextRoundTripsThroughTheDocumentUnchanged)
{
    CRichGraph shape(kRectangleEntry);
    shape.frame = {100, 100, 400, 300};
    shape.textHAlign = 3;
    shape.textVAlign = 1;
    shape.textColour = 0x123456;
    LogFont font;
    font.SetFaceName(Gbk("黑体"));
    font.SetHeight(-45);
    shape.font = font;
    // Valid GBK over three lines, and bytes that are not GBK at all: the document keeps
    // bytes, never decoded text.
    const std::string text = Gbk("第一行：图形\r\n第二行，ＡＢＣ\r\n三") + "\x81\x20\xFF";
    ASSERT_TRUE(SetBoxText(shape, 1, text));
    ASSERT_TRUE(SetBoxText(shape, 7, Gbk("另一个")));

    const Bytes record = WriteObject(shape);
    CArchive ar(record);
    const ReadObjectResult read = ReadObject(ar);
    ASSERT_TRUE(read.object) << read.error;
    const auto& copy = static_cast<const CRichGraph&>(*read.object);
    EXPECT_EQ(Texts(copy), Texts(shape));
    const std::vector<BoxText> boxes = ReadBoxTexts(copy);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(FromGbk(boxes[0].text).left(6), QString::fromUtf8("第一行：图形"));
    EXPECT_EQ(copy.font, font);
    EXPECT_EQ(copy.font.FaceName(), Gbk("黑体"));
    EXPECT_EQ(copy.textHAlign, 3);
    EXPECT_EQ(copy.textVAlign, 1);
    EXPECT_EQ(copy.textColour, 0x123456u);
    EXPECT_EQ(WriteObject(copy), record);
}

TEST(ShapeTextModel, FindTextBoxAtHitsTheBoxWhereItIsDrawn)
{
    // The rectangle's box is inset by 163 / 8191 of the frame: (104, 102)-(296, 198).
    CRichGraph shape(kRectangleEntry);
    shape.frame = {100, 100, 300, 200};
    ASSERT_TRUE(SetBoxText(shape, 1, Gbk("文字")));

    const std::optional<TextBoxHit> hit = FindTextBoxAt(shape, {200, 150});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->step.index, 1);
    EXPECT_EQ(hit->step.number, 1);
    EXPECT_EQ(hit->step.box, (Rect{104, 102, 296, 198}));
    EXPECT_EQ(hit->bounds, (Rect{104, 102, 296, 198}));
    EXPECT_EQ(hit->text, Gbk("文字"));
    EXPECT_EQ(hit->offset, 0);
    EXPECT_FALSE(FindTextBoxAt(shape, {101, 150})) << "the margin is not the box";
    EXPECT_FALSE(FindTextBoxAt(shape, {296, 150})) << "right edge excluded";
    EXPECT_FALSE(FindTextBoxAt(shape, {50, 50}));

    // Turned a quarter, the box stands upright about the centre (200, 150).
    shape.angle = 900;
    const std::optional<TextBoxHit> turned = FindTextBoxAt(shape, {200, 70});
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->step.box, (Rect{104, 102, 296, 198})) << "reported on the unturned frame";
    EXPECT_EQ(turned->bounds, (Rect{152, 54, 248, 246}));
    EXPECT_FALSE(FindTextBoxAt(shape, {120, 150})) << "inside the unturned box only";

    // A box without a record is found with an empty text.
    auto custom = Custom(kTwoBoxes, {0, 0, 200, 100});
    ASSERT_TRUE(SetBoxText(*custom, 1, Gbk("左")));
    const std::optional<TextBoxHit> right = FindTextBoxAt(*custom, {150, 50});
    ASSERT_TRUE(right);
    EXPECT_EQ(right->step.index, 2);
    EXPECT_TRUE(right->text.empty());
    EXPECT_EQ(right->offset, -1);
    custom->flags |= OF_FLIPPED_H;
    EXPECT_EQ(FindTextBoxAt(*custom, {150, 50})->text, Gbk("左")) << "flipped to the right";
    // The decision's fixed texts are no boxes; its box in the middle is.
    CRichGraph decision(kDecisionEntry);
    decision.frame = {0, 0, 100, 100};
    EXPECT_TRUE(FindTextBoxAt(decision, {50, 50}));
    EXPECT_FALSE(FindTextBoxAt(decision, {15, 95}));
    CRichGraph empty(CRichGraph::kCustomShape);
    empty.frame = {0, 0, 100, 100};
    EXPECT_FALSE(FindTextBoxAt(empty, {50, 50}));
}

// The box of the step on the shape's current frame holds the text measured at scale.
void ExpectBoxHoldsText(const CRichGraph& shape, int step, const std::string& text, double scale)
{
    const std::optional<TextStep> box = TextBoxStep(shape, step);
    ASSERT_TRUE(box);
    const LogFont font = TextBoxFont(shape.font, shape.angle, box->divisor, box->style);
    const TextExtent extent =
        TextBlockExtent(FontFor(font, scale, scale), scale, scale, text, kLineGap);
    // MulDiv rounds to nearest on the frame and again on the box: a unit either way.
    EXPECT_GE(box->box.Width() + 1, extent.width);
    EXPECT_GE(box->box.Height() + 1, extent.height);
}

TEST(ShapeTextModel, TypingGrowsTheShapeRightAndDownUntilTheBoxHoldsTheText)
{
    struct Row {
        const char* name;
        std::string text;
        double scale;
        int32_t angle;
        bool wider, higher;
    };
    const std::vector<Row> rows = {
        {"short text fits", Gbk("短"), 1.0, 0, false, false},
        {"long line grows the width", Gbk("这是一段相当长的文字内容"), 1.0, 0, true, false},
        {"many lines grow the height", Gbk("一\r\n二\r\n三\r\n四"), 1.0, 0, false, true},
        {"both", Gbk("这是一段相当长的文字内容\r\n二\r\n三\r\n四"), 1.0, 0, true, true},
        {"measured on a screen", Gbk("这是一段相当长的文字内容\r\n二\r\n三"), 96.0 / 254, 0, true,
         true},
        {"a turned shape keeps its corner", Gbk("这是一段相当长的文字内容"), 1.0, 300, true, false},
        {"an Enter at the end adds a line", Gbk("一\r\n二\r\n"), 1.0, 0, false, true},
    };
    for (const Row& row : rows) {
        CRichGraph shape(kRectangleEntry);
        const Rect start{50, 60, 250, 160};
        shape.frame = start;
        shape.angle = row.angle;
        const TypedTextResult result = ApplyTypedText(shape, 1, row.text, row.scale, row.scale);
        EXPECT_TRUE(result.stored) << row.name;
        EXPECT_EQ(result.grown, row.wider || row.higher) << row.name;
        EXPECT_EQ(ReadBoxTexts(shape)[0].text, row.text) << row.name;
        EXPECT_EQ(shape.frame.left, start.left) << row.name;
        EXPECT_EQ(shape.frame.top, start.top) << row.name;
        EXPECT_EQ(shape.Width() > start.Width(), row.wider) << row.name;
        EXPECT_EQ(shape.Height() > start.Height(), row.higher) << row.name;
        EXPECT_GE(shape.Width(), start.Width()) << row.name << ": never shrinks";
        EXPECT_GE(shape.Height(), start.Height()) << row.name << ": never shrinks";
        ExpectBoxHoldsText(shape, 1, row.text, row.scale);
        // The caller repaints the old area and moves its window after the new box.
        EXPECT_EQ(result.oldArea, BoundsOfAnyPoints(RotatedCorners(start, row.angle).p))
            << row.name;
        const Corners corners = RotatedCorners(TextBoxStep(shape, 1)->box, shape.angle,
                                               FrameCentre(ShapeFrameAt(shape, shape.frame)));
        EXPECT_EQ(result.box, BoundsOfAnyPoints(corners.p)) << row.name;
    }
}

TEST(ShapeTextModel, GrowingFollowsTheFrameToBoxRatio)
{
    // The ellipse's box spans 6553 / 8191 of the frame: growing the frame by the inverse
    // ratio makes the box exactly as wide as the text.
    CRichGraph shape(kEllipseEntry);
    shape.frame = {0, 0, 100, 100};
    const std::string text = Gbk("椭圆里的一行字");
    const TextExtent extent =
        TextBlockExtent(FontFor(shape.font, 1.0, 1.0), 1.0, 1.0, text, kLineGap);
    const int32_t boxWidth = TextBoxStep(shape, 1)->box.Width();
    ASSERT_TRUE(GrowToHoldText(shape, 1, text, 1.0, 1.0));
    EXPECT_EQ(shape.Width(), MulDiv(extent.width, 100, boxWidth));
    EXPECT_EQ(shape.Height(), 100);
    EXPECT_NEAR(TextBoxStep(shape, 1)->box.Width(), extent.width, 1);
    // Once the box holds it, the same text grows nothing.
    EXPECT_FALSE(GrowToHoldText(shape, 1, text, 1.0, 1.0));
    // The divisor's smaller font needs less room.
    auto halves = Custom({kTextBox, 0, 0, 8191, 8191, 0, 0, 2, 0, 1, kEnd}, {0, 0, 100, 100});
    ASSERT_TRUE(GrowToHoldText(*halves, 0, text, 1.0, 1.0));
    EXPECT_NEAR(halves->Width(), extent.width / 2, 2);
}

TEST(ShapeTextModel, TypingIntoWhatIsNoTextBoxChangesNothing)
{
    struct Row {
        const char* name;
        std::vector<uint16_t> program;
        int step;
        std::string text;
    };
    const std::vector<Row> rows = {
        {"a rectangle step", kTwoBoxes, 0, "x"},
        {"a step past the end", kTwoBoxes, 5, "x"},
        {"a negative step", kTwoBoxes, -1, "x"},
        {"a box numbered 0", {kTextBox, 0, 0, 8191, 8191, 0, 0, 1, 0, 0, kEnd}, 0, "x"},
        {"a fixed text", {kText, 0, 0, 0, 0, 0, kEnd}, 0, "x"},
        {"a truncated box", {kTextBox, 0, 0, 8191, 8191, 0, 0}, 0, "x"},
        {"a text too long to store", kTwoBoxes, 1, std::string(70000, 'x')},
    };
    for (const Row& row : rows) {
        auto shape = Custom(row.program, {0, 0, 100, 100});
        const Bytes before = Texts(*shape);
        const TypedTextResult result = ApplyTypedText(*shape, row.step, row.text, 1.0, 1.0);
        EXPECT_FALSE(result.stored) << row.name;
        EXPECT_FALSE(result.grown) << row.name;
        EXPECT_EQ(Texts(*shape), before) << row.name;
        EXPECT_EQ(shape->frame, (Rect{0, 0, 100, 100})) << row.name;
    }
    // A box of no width never grows its shape, whatever it holds.
    auto flat = Custom({kTextBox, 100, 0, 100, 8191, 0, 0, 1, 0, 1, kEnd}, {0, 0, 100, 100});
    const TypedTextResult result = ApplyTypedText(*flat, 0, Gbk("很长很长的文字"), 1.0, 1.0);
    EXPECT_TRUE(result.stored);
    EXPECT_FALSE(result.grown);
    EXPECT_EQ(flat->frame, (Rect{0, 0, 100, 100}));
}

// --- Reference pictures ----------------------------------------------------------------------

// Half a pixel per unit: the default 3.2 mm font is 16 pixels high.
constexpr double kDpi = 127.0;

// Paints the view and then the text pass of every shape on it.
QImage RenderWithTexts(const View& view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawContext dc(painter, kDpi, kDpi);
    PaintOptions options;
    options.deviceClip = {0, 0, size.width(), size.height()};
    PaintView(view, dc, options); // shapes paint their texts between fill and outline
    return image;
}

CRichGraph& Shape(View& view, int32_t entry, Rect frame, const char* text = nullptr)
{
    view.AddNewShape(entry, &frame);
    auto& shape = static_cast<CRichGraph&>(*view.objects.back());
    if (text != nullptr) {
        SetBoxText(shape, 1, Gbk(text));
    }
    return shape;
}

// Three by three rectangles, each aligning two lines by the object's overrides.
void BuildAlignments(View& view)
{
    for (int v = 1; v <= 3; ++v) {
        for (int h = 1; h <= 3; ++h) {
            const int32_t left = 20 + 260 * (h - 1);
            const int32_t top = 20 + 170 * (v - 1);
            CRichGraph& shape =
                Shape(view, kRectangleEntry, {left, top, left + 240, top + 150}, "对齐\r\n文字");
            shape.textHAlign = int16_t(h);
            shape.textVAlign = int16_t(v);
            shape.fillColour = 0xF0FAFF;
        }
    }
    // The step's own alignment 3, 1 (right, top) with bold, underlined text of half size.
    auto custom =
        Custom({kRectangle, 0, 0, 8191, 8191, kTextBox, 0, 0, 8191, 8191, 3, 1, 2, 6, 1, kEnd},
               {20, 530, 500, 620});
    custom->fillKind = FillKind::Colour;
    custom->fillColour = 0xE0FFE0;
    SetBoxText(*custom, 1, Gbk("右上对齐，粗体带下划线"));
    view.Append(std::move(custom));
}

// One-, two- and three-line texts in rectangles and ellipses, turned and flipped.
void BuildRotations(View& view)
{
    const char* texts[] = {"一行文字", "两行\r\n文字", "第一行\r\n第二行\r\n第三行"};
    const int32_t angles[] = {0, 300, 900, 1350};
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 4; ++i) {
            const int32_t left = 40 + 250 * i;
            const int32_t top = 40 + 260 * row;
            CRichGraph& shape = Shape(view, row == 0 ? kRectangleEntry : kEllipseEntry,
                                      {left, top, left + 200, top + 150}, texts[(i + row) % 3]);
            shape.angle = angles[i];
            shape.fillColour = row == 0 ? 0xFFF0E0 : 0xE0F0FF;
            shape.textColour = row == 0 ? 0x800000 : 0x000080;
        }
    }
    CRichGraph& flipped =
        Shape(view, kRectangleEntry, {40, 560, 340, 660}, "翻转的形状\r\n文字不翻");
    flipped.flags |= OF_FLIPPED_H | OF_FLIPPED_V;
    flipped.angle = 3300;
    LogFont kai;
    kai.SetFaceName(Gbk("楷体"));
    kai.SetHeight(-48);
    kai.SetItalic(1);
    CRichGraph& large = Shape(view, kEllipseEntry, {420, 540, 980, 700}, "大号斜体\r\n宋体以外");
    large.font = kai;
    large.textHAlign = 1;
}

// Decision shapes with their fixed "是" and "否" at several turns.
void BuildDecisions(View& view)
{
    const int32_t angles[] = {0, 300, 900};
    const char* texts[] = {"条件", "是否\r\n成立", "判断"};
    for (int i = 0; i < 3; ++i) {
        const int32_t left = 60 + 330 * i;
        CRichGraph& shape = Shape(view, kDecisionEntry, {left, 60, left + 260, 260}, texts[i]);
        shape.angle = angles[i];
        shape.fillColour = 0xD0FFFF;
    }
}

testsupport::ReferencePicture Drawing(const char* name, void (*build)(View&), QSize size)
{
    return testsupport::ViewPicture(name, build, size, RenderWithTexts);
}

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(ShapeTextPictures, ReferencePictures,
                         testing::Values(Drawing("text-alignments", BuildAlignments, {400, 320}),
                                         Drawing("text-rotations", BuildRotations, {510, 360}),
                                         Drawing("text-decisions", BuildDecisions, {540, 170})),
                         testsupport::CaseName());

} // namespace
} // namespace figures
