#include "figures/dialogs/ccolourpicker.h"
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/dialogs/tenthsspinbox.h"
#include "figures/model/document.h"
#include "figures/model/objects/crectcom.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/view.h"
#include "figures/render/gbk.h"

#include "figures/dialogs/dialogtestsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace figures {
namespace {

using dialogtest::SeenMessage;

TenthsSpinBox* Edit(QDialog& d, const char* name)
{
    return d.findChild<TenthsSpinBox*>(QString::fromLatin1(name));
}

QComboBox* List(QDialog& d, const char* name)
{
    return d.findChild<QComboBox*>(QString::fromLatin1(name));
}

std::unique_ptr<CRectCom> RectAt(Rect frame)
{
    auto r = std::make_unique<CRectCom>();
    r->frame = frame;
    return r;
}

TEST(ObjectPropertiesDialog, ShowsTheObjectInTenthsWithUnits)
{
    auto rOwner = RectAt({125, 300, 325, 1300});
    CRectCom& r = *rOwner;
    r.flags |= OF_ROTATE;
    r.angle = 900;
    r.lineWidth = 5;
    r.shadowOffset = 20;
    ObjectPropertiesDialog d(r, false, nullptr);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("矩形对象属性设置对话框"));
    EXPECT_EQ(Edit(d, "x")->Text(), QStringLiteral("12.5 毫米"));
    EXPECT_EQ(Edit(d, "y")->Text(), QStringLiteral("30 毫米"));
    EXPECT_EQ(Edit(d, "width")->Text(), QStringLiteral("20 毫米"));
    EXPECT_EQ(Edit(d, "height")->Text(), QStringLiteral("100 毫米"));
    EXPECT_EQ(Edit(d, "angle")->Text(), QStringLiteral("90°"));
    EXPECT_EQ(Edit(d, "lineWidth")->Text(), QStringLiteral("0.5磅"));
    EXPECT_EQ(Edit(d, "shadowWidth")->Text(), QStringLiteral("2 毫米"));
}

TEST(ObjectPropertiesDialog, RefusesOutOfRangeAndMalformedValuesWithTheirMessages)
{
    const QString position = QStringLiteral("对象的位置设置错误!");
    const QString width = QStringLiteral("对象的宽度设置错误!");
    const QString height = QStringLiteral("对象的高度设置错误!");
    const QString shadow = QStringLiteral("阴影的宽度设置错误!");
    const QString line = QStringLiteral("线条的宽度必须大于0且小于等于500磅!");
    const QString angle = QStringLiteral("旋转角度必须大于等于0且小于360度!");
    const struct {
        const char* name;
        const char* edit;
        const char* text;
        QString message; // empty: accepted
    } rows[] = {
        {"PositionPastTwoMetres", "x", "2000.1", position},
        {"PositionAtTwoMetresLeavesNoRoom", "x", "2000", width},
        {"NegativePosition", "x", "-5", {}},
        {"WidthPastTheEdge", "x", "1999", width},
        {"NarrowWidth", "width", "1.4", width},
        {"SmallestWidth", "width", "1.5", {}},
        {"MalformedWidthReadsAsZero", "width", "abc", width},
        {"HeightPastTheEdge", "height", "2000.1", height},
        {"NegativeShadow", "shadowWidth", "-1", shadow},
        {"WideShadow", "shadowWidth", "2000.1", shadow},
        {"WideLine", "lineWidth", "500.1", line},
        {"WidestLine", "lineWidth", "500", {}},
        {"ZeroWidthSolidLine", "lineWidth", "0", line},
        {"AngleJustBelowFullTurn", "angle", "359.9", {}},
        {"FullTurn", "angle", "360", angle},
        {"NegativeAngle", "angle", "-0.1", angle},
    };
    for (const auto& row : rows) {
        auto rOwner = RectAt({0, 0, 100, 100});
        CRectCom& r = *rOwner;
        r.flags |= OF_ROTATE;
        ObjectPropertiesDialog d(r, false, nullptr);
        Edit(d, row.edit)->SetText(QString::fromUtf8(row.text));
        EXPECT_EQ(d.Validate().value_or(QString()), row.message) << row.name;
    }
}

TEST(ObjectPropertiesDialog, ValidatesTheLineWidthOfADashedLineThoughItIsDisabled)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    r.lineStyle = 3;
    ObjectPropertiesDialog d(r, false, nullptr);
    EXPECT_FALSE(Edit(d, "lineWidth")->isEnabled());
    Edit(d, "lineWidth")->SetText(QStringLiteral("0"));
    EXPECT_FALSE(d.Validate().has_value()); // the width does not count for this line
    Edit(d, "lineWidth")->SetText(QStringLiteral("600"));
    EXPECT_EQ(d.Validate().value_or(QString()),
              QStringLiteral("线条的宽度必须大于0且小于等于500磅!"));
}

TEST(ObjectPropertiesDialog, OkWithABadValueReportsItAndStaysOpen)
{
    auto rOwner = RectAt({19990, 0, 20010, 100});
    CRectCom& r = *rOwner;
    ObjectPropertiesDialog d(r, false, nullptr);
    d.show();
    SeenMessage seen;
    dialogtest::AnswerNextMessage(seen, &d);
    d.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    EXPECT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, QStringLiteral("信息："));
    EXPECT_EQ(seen.text, QStringLiteral("对象的宽度设置错误!"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.result(), 0);
    EXPECT_EQ(Edit(d, "x")->Text(), QStringLiteral("1999 毫米"));
    EXPECT_EQ(r.frame, (Rect{19990, 0, 20010, 100}));
}

TEST(ObjectPropertiesDialog, SpinArrowsStepWithinTheirRanges)
{
    const struct {
        const char* name;
        const char* edit;
        const char* start;
        int steps;
        const char* result;
    } rows[] = {
        {"PositionUpOneMillimetre", "x", "12.5 毫米", 1, "13.5 毫米"},
        {"PositionBelowZeroBecomesZero", "x", "0.5", -1, "0 毫米"},
        {"PositionPastTheLimitStays", "x", "1999.5", 1, "1999.5"},
        {"WidthBelowTheSmallestStays", "width", "2", -1, "2"},
        {"AngleBelowZeroStays", "angle", "0.5", -1, "0.5"},
        {"AngleUpToTheLastDegree", "angle", "358.9", 1, "359.9°"},
        {"LineWidthHalfAPointDown", "lineWidth", "1磅", -1, "0.5磅"},
        {"LineWidthNotToZero", "lineWidth", "0.5磅", -1, "0.5磅"},
        {"ShadowDownToZero", "shadowWidth", "1", -1, "0 毫米"},
    };
    for (const auto& row : rows) {
        auto rOwner = RectAt({0, 0, 100, 100});
        CRectCom& r = *rOwner;
        r.flags |= OF_ROTATE;
        ObjectPropertiesDialog d(r, false, nullptr);
        TenthsSpinBox* edit = Edit(d, row.edit);
        edit->SetText(QString::fromUtf8(row.start));
        edit->stepBy(row.steps);
        EXPECT_EQ(edit->Text(), QString::fromUtf8(row.result)) << row.name;
    }
}

TEST(ObjectPropertiesDialog, WritesBackOnlyWhatDiffers)
{
    auto rOwner = RectAt({100, 200, 300, 400});
    CRectCom& r = *rOwner;
    r.jumpTarget = ToGbk(QStringLiteral("文档2"));
    ObjectPropertiesDialog d(r, false, nullptr);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), 0u);

    auto movedOwner = RectAt({100, 200, 300, 400});
    CRectCom& moved = *movedOwner;
    ObjectPropertiesDialog move(moved, false, nullptr);
    Edit(move, "x")->SetText(QStringLiteral("-0.5"));
    Edit(move, "height")->SetText(QStringLiteral("50"));
    move.accept();
    EXPECT_EQ(move.ChangedFlags(),
              uint32_t(ObjectPropertiesDialog::kXChanged | ObjectPropertiesDialog::kHeightChanged));
    EXPECT_EQ(moved.frame, (Rect{-5, 200, 195, 700}));
}

TEST(ObjectPropertiesDialog, DefaultColoursBecomeTheStoredDefaults)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    ObjectPropertiesDialog d(r, false, nullptr);
    List(d, "lineType")->setCurrentIndex(2);
    d.findChild<CColourPicker*>(QStringLiteral("lineColour"))->SetColour(0xFF000000);
    List(d, "shadowDirection")->setCurrentIndex(4);
    d.findChild<CColourPicker*>(QStringLiteral("shadowColour"))->SetColour(0xFF000000);
    List(d, "fillKind")->setCurrentIndex(1);
    d.findChild<CColourPicker*>(QStringLiteral("fillColour"))->SetColour(0xFF000000);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kLineChanged |
                                         ObjectPropertiesDialog::kShadowChanged |
                                         ObjectPropertiesDialog::kFillChanged));
    EXPECT_EQ(r.lineStyle, 2);
    EXPECT_EQ(r.lineColour, 0x000000u);
    EXPECT_EQ(r.shadowDirection, 4);
    EXPECT_EQ(r.shadowColour, 0xC0C0C0u);
    EXPECT_EQ(r.fillKind, FillKind::Colour);
    EXPECT_EQ(r.fillColour, 0xFFFFFFu);
}

TEST(ObjectPropertiesDialog, PictureFillWithoutANewFileKeepsThePicture)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    r.fillKind = FillKind::Picture;
    r.fillPicture.SetBytes({'B', 'M', 1, 2, 3});
    ObjectPropertiesDialog d(r, false, nullptr);
    List(d, "placement")->setCurrentIndex(5);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kFillChanged));
    EXPECT_EQ(r.picturePlacement, 5);
    EXPECT_FALSE(r.fillPicture.IsEmpty());

    ObjectPropertiesDialog colour(r, false, nullptr);
    List(colour, "fillKind")->setCurrentIndex(1);
    colour.accept();
    EXPECT_TRUE(r.fillPicture.IsEmpty());
}

CColourPicker* GradientColour(QDialog& d, int i)
{
    return d.findChild<CColourPicker*>(QStringLiteral("gradientColour%1").arg(i));
}

// Chooses a gradient entry as a user does: the list, then the count of colours.
void ChooseGradient(QDialog& d, int entry, int count)
{
    List(d, "fillKind")->setCurrentIndex(4);
    emit List(d, "fillKind")->activated(4);
    List(d, "gradient")->setCurrentIndex(entry);
    emit List(d, "gradient")->activated(entry);
    d.findChild<QSpinBox*>(QStringLiteral("gradientCount"))->setValue(count);
}

TEST(ObjectPropertiesDialog, WritesTheGradientDirectionAndItsColours)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    r.fillKind = FillKind::Colour;
    r.gradientColours.fill(0x123456);
    ObjectPropertiesDialog d(r, false, nullptr);
    d.show();
    ChooseGradient(d, 3, 3); // left to right
    EXPECT_TRUE(GradientColour(d, 2)->isVisible());
    EXPECT_FALSE(GradientColour(d, 3)->isVisible());
    GradientColour(d, 0)->SetColour(0x0000FF);
    GradientColour(d, 1)->SetColour(CColourPicker::kDefaultColour);
    GradientColour(d, 2)->SetColour(0xFF0000);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kFillChanged));
    EXPECT_EQ(r.fillKind, FillKind::Gradient);
    EXPECT_EQ(r.gradientKind, 2);
    EXPECT_EQ(r.gradientCount, 3);
    const std::array<uint32_t, 8> first = {0x0000FF, 0xFFFFFF, 0xFF0000, 0x123456,
                                           0x123456, 0x123456, 0x123456, 0x123456};
    EXPECT_EQ(r.gradientColours, first);

    struct Case {
        const char* name;
        int entry, count;
        int colourIndex;   // -1: no colour changed
        uint32_t colour;
        uint32_t flags;
        int32_t mode, storedCount;
    };
    const Case cases[] = {
        {"unchanged", 3, 3, -1, 0, 0, 2, 3},
        {"one colour", 3, 3, 1, 0x00FF00, ObjectPropertiesDialog::kFillChanged, 2, 3},
        {"more colours", 3, 4, -1, 0, ObjectPropertiesDialog::kFillChanged, 2, 4},
        {"other direction", 6, 4, -1, 0, ObjectPropertiesDialog::kFillChanged, -3, 4},
        {"none keeps the colours", 0, 4, -1, 0, ObjectPropertiesDialog::kFillChanged, 0, 4},
        {"none stays none", 0, 5, 2, 0x00FF00, 0, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectPropertiesDialog again(r, false, nullptr);
        again.show();
        ChooseGradient(again, c.entry, c.count);
        if (c.colourIndex >= 0) {
            GradientColour(again, c.colourIndex)->SetColour(c.colour);
        }
        again.accept();
        EXPECT_EQ(again.ChangedFlags(), c.flags);
        EXPECT_EQ(r.gradientKind, c.mode);
        EXPECT_EQ(r.gradientCount, c.storedCount);
    }
    EXPECT_EQ(r.gradientColours[1], 0x00FF00u);
    EXPECT_EQ(r.gradientColours[2], 0xFF0000u);
    EXPECT_EQ(r.gradientColours[3], 0x123456u);
}

TEST(ObjectPropertiesDialog, AStoredModeWithoutADirectionIsLeftAlone)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    r.fillKind = FillKind::Gradient;
    r.gradientKind = 9;
    r.gradientCount = 40; // as a document may carry it
    ObjectPropertiesDialog d(r, false, nullptr);
    EXPECT_EQ(List(d, "gradient")->currentIndex(), 0);
    EXPECT_EQ(d.findChild<QSpinBox*>(QStringLiteral("gradientCount"))->value(), 8);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), 0u);
    EXPECT_EQ(r.gradientKind, 9);
    EXPECT_EQ(r.gradientCount, 40);

    // A shape shows no gradient on a see-through fill: none is offered, its data stays.
    CRichGraph shape(2);
    shape.frame = {0, 0, 100, 100};
    shape.fillKind = FillKind::Colour;
    shape.gradientKind = 2;
    shape.gradientCount = 2;
    ObjectPropertiesDialog onShape(shape, false, nullptr);
    onShape.show();
    ChooseGradient(onShape, 1, 5);
    EXPECT_FALSE(List(onShape, "gradient")->isVisible());
    onShape.accept();
    EXPECT_EQ(shape.fillKind, FillKind::Gradient);
    EXPECT_EQ(shape.gradientKind, 2);
    EXPECT_EQ(shape.gradientCount, 2);

    r.flags &= ~uint32_t(0x08); // no fill: nothing of the gradient can be edited
    ObjectPropertiesDialog noFill(r, false, nullptr);
    EXPECT_FALSE(List(noFill, "gradient")->isEnabled());
    EXPECT_FALSE(GradientColour(noFill, 0)->isEnabled());
}

TEST(ObjectPropertiesDialog, RefusesAFileThatIsNoPicture)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    ObjectPropertiesDialog d(r, false, nullptr);
    d.show();
    SeenMessage seen;
    dialogtest::AnswerNextMessage(seen, &d);
    EXPECT_FALSE(d.ChoosePicture(QStringLiteral(VELKOR_TEST_DATA "/../CMakeLists.txt")));
    EXPECT_EQ(seen.text, QStringLiteral("图像文件坏或图像格式错误,不能装入!"));
    EXPECT_TRUE(d.PicturePath().isEmpty());
}

TEST(ObjectPropertiesDialog, ListsChangeWhichControlsAreShown)
{
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    ObjectPropertiesDialog d(r, false, nullptr);
    d.show();
    auto* kind = List(d, "fillKind");
    const auto shown = [&d](const char* name) {
        return d.findChild<QWidget*>(QString::fromLatin1(name))->isVisible();
    };
    const struct {
        int kind;
        bool colour, pattern, picture, gradient;
    } rows[] = {{0, false, false, false, false},
                {1, true, false, false, false},
                {2, false, true, false, false},
                {3, false, false, true, false},
                {4, false, false, false, true}};
    for (const auto& row : rows) {
        kind->setCurrentIndex(row.kind);
        emit kind->activated(row.kind);
        EXPECT_EQ(shown("fillColour"), row.colour) << row.kind;
        EXPECT_EQ(shown("foreground"), row.pattern) << row.kind;
        EXPECT_EQ(shown("pattern"), row.pattern) << row.kind;
        EXPECT_EQ(shown("picture"), row.picture) << row.kind;
        EXPECT_EQ(shown("placement"), row.picture) << row.kind;
        EXPECT_EQ(shown("gradient"), row.gradient) << row.kind;
        EXPECT_EQ(shown("gradientColour0"), row.gradient) << row.kind;
    }
    EXPECT_FALSE(shown("shadowWidth"));
    List(d, "shadowDirection")->setCurrentIndex(3);
    emit List(d, "shadowDirection")->activated(3);
    EXPECT_TRUE(shown("shadowWidth"));
    EXPECT_TRUE(shown("shadowColour"));
    List(d, "lineType")->setCurrentIndex(4);
    emit List(d, "lineType")->activated(4);
    EXPECT_FALSE(Edit(d, "lineWidth")->isEnabled());
}

TEST(ObjectPropertiesDialog, MultiModeEditsPositionSizeAngleAndFontOnly)
{
    CRectCom templ;
    Document document;
    ObjectPropertiesDialog d(templ, true, &document);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("多对象属性设置对话框"));
    for (const char* empty : {"x", "y", "width", "height", "angle"}) {
        EXPECT_TRUE(Edit(d, empty)->IsEmpty()) << empty;
        EXPECT_TRUE(Edit(d, empty)->isEnabled()) << empty;
    }
    for (const char* off :
         {"hAlign", "vAlign", "jumpTarget", "fillKind", "lineType", "shadowDirection"}) {
        EXPECT_FALSE(d.findChild<QWidget*>(QString::fromLatin1(off))->isEnabled()) << off;
    }
    Edit(d, "height")->SetText(QStringLiteral("25"));
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kHeightChanged));
    EXPECT_EQ(templ.frame.bottom, 250);
}

TEST(ObjectPropertiesDialog, TheJumpTargetIsChosenFromTheDocumentsViews)
{
    Document document;
    document.AddView();
    auto rOwner = RectAt({0, 0, 100, 100});
    CRectCom& r = *rOwner;
    ObjectPropertiesDialog d(r, false, &document);
    auto* jump = List(d, "jumpTarget");
    ASSERT_EQ(jump->count(), 2);
    EXPECT_EQ(jump->itemText(1), FromGbk(document.ViewAt(1)->name));
    jump->setCurrentIndex(1);
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kJumpChanged));
    EXPECT_EQ(r.jumpTarget, document.ViewAt(1)->name);
}

} // namespace
} // namespace figures

namespace figures {
namespace {

TEST(ObjectPropertiesDialog, AChosenPictureIsPreviewedAndLoadedOnOk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("红.bmp"));
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(path, "BMP"));

    auto owner = std::make_unique<CRectCom>();
    CRectCom& r = *owner;
    r.frame = {0, 0, 100, 100};
    ObjectPropertiesDialog d(r, false, nullptr);
    d.findChild<QComboBox*>(QStringLiteral("fillKind"))->setCurrentIndex(3);
    ASSERT_TRUE(d.ChoosePicture(path));
    EXPECT_EQ(d.PicturePath(), path);
    const QImage preview =
        d.findChild<QLabel*>(QStringLiteral("picturePreview"))->pixmap().toImage();
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(QColor(preview.pixel(preview.width() / 2, preview.height() / 2)), QColor(Qt::red));
    d.accept();
    EXPECT_EQ(d.ChangedFlags(), uint32_t(ObjectPropertiesDialog::kFillChanged));
    EXPECT_EQ(r.fillKind, FillKind::Picture);
    EXPECT_TRUE(r.fillPicture.HasPicture());
}

} // namespace
} // namespace figures
