#include "figures/dialogs/ccolourdropwnd.h"
#include "figures/dialogs/ccolourpicker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

struct PickerLog {
    std::vector<uint32_t> highlighted;
    std::vector<uint32_t> chosen;
    std::vector<uint32_t> cancelled;
    int closed = 0;
};

void Record(CColourPicker& picker, PickerLog& log)
{
    QObject::connect(&picker, &CColourPicker::colourHighlighted,
                     [&log](uint32_t c) { log.highlighted.push_back(c); });
    QObject::connect(&picker, &CColourPicker::colourChosen,
                     [&log](uint32_t c) { log.chosen.push_back(c); });
    QObject::connect(&picker, &CColourPicker::choiceCancelled,
                     [&log](uint32_t c) { log.cancelled.push_back(c); });
    QObject::connect(&picker, &CColourPicker::paletteClosed, [&log](uint32_t) { ++log.closed; });
}

TEST(CColourPicker, EscAfterHoveringKeepsTheOriginalColour)
{
    CColourPicker picker;
    picker.SetColour(0x00FF00);
    PickerLog log;
    Record(picker, log);
    picker.show();
    picker.OpenPalette();
    CColourDropWnd* palette = picker.Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->InitialEntry(), 10);
    for (int cell : {0, 9, 31}) {
        QTest::mouseMove(palette, palette->EntryRect(cell).center());
    }
    QTest::keyClick(palette, Qt::Key_Escape);
    EXPECT_EQ(log.highlighted, (std::vector<uint32_t>{0x000000, 0xFF0000, 0x606060}));
    EXPECT_EQ(log.cancelled, (std::vector<uint32_t>{0x00FF00}));
    EXPECT_TRUE(log.chosen.empty());
    EXPECT_EQ(log.closed, 1);
    EXPECT_EQ(picker.GetColour(), 0x00FF00u);
    EXPECT_FALSE(picker.IsDroppedDown());
}

TEST(CColourPicker, ClickAndKeysChooseTheHotColour)
{
    CColourPicker picker;
    picker.SetColour(0xFF000000);
    PickerLog log;
    Record(picker, log);
    picker.show();
    picker.OpenPalette();
    CColourDropWnd* palette = picker.Palette();
    EXPECT_EQ(palette->InitialEntry(), CColourDropWnd::kDefaultBox);
    QTest::keyClick(palette, Qt::Key_Down);  // into the first cell
    QTest::keyClick(palette, Qt::Key_Right); // 藏青
    QTest::keyClick(palette, Qt::Key_Return);
    EXPECT_EQ(log.chosen, (std::vector<uint32_t>{0x800000}));
    EXPECT_EQ(picker.GetColour(), 0x800000u);

    picker.OpenPalette();
    palette = picker.Palette();
    const QPoint cell = palette->EntryRect(12).center();
    QTest::mousePress(palette, Qt::LeftButton, {}, cell);
    QTest::mouseRelease(palette, Qt::LeftButton, {}, cell);
    EXPECT_EQ(picker.GetColour(), 0x0000FFu);
}

TEST(CColourPicker, ArrowKeysWalkTheCellsAndTheBoxes)
{
    CColourDropWnd palette(QPoint(0, 0), 0, QStringLiteral("默认色"),
                           QStringLiteral("其它颜色..."));
    const int def = CColourDropWnd::kDefaultBox;
    const int custom = CColourDropWnd::kCustomBox;
    const struct {
        const char* name;
        int from;
        int key;
        int to;
    } rows[] = {
        {"DownFromTheLastRowsFirstCellIsTheCustomBox", 28, Qt::Key_Down, custom},
        {"DownFromTheDefaultBoxIsTheFirstCell", def, Qt::Key_Down, 0},
        {"UpFromTheFirstRowIsTheDefaultBox", 3, Qt::Key_Up, def},
        {"UpFromTheCustomBoxIsTheLastRow", custom, Qt::Key_Up, 28},
        {"RightAtARowEndWrapsToTheNextRow", 6, Qt::Key_Right, 7},
        {"LeftAtARowStartWrapsToThePreviousRow", 7, Qt::Key_Left, 6},
        {"RightFromTheLastCellIsTheCustomBox", 31, Qt::Key_Right, custom},
        {"LeftFromTheFirstCellIsTheDefaultBox", 0, Qt::Key_Left, def},
        {"DownByARow", 2, Qt::Key_Down, 9},
        {"DownFromAShortColumnIsTheCustomBox", 25, Qt::Key_Down, custom},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(palette.NextEntry(row.from, row.key), row.to) << row.name;
    }
}

TEST(CColourPicker, ThePaletteOpensFullyOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    CColourDropWnd palette(screen.bottomRight(), 0, QStringLiteral("默认色"),
                           QStringLiteral("其它颜色..."));
    EXPECT_TRUE(screen.contains(palette.geometry())) << palette.geometry().x();
}

} // namespace
} // namespace figures

namespace figures {
namespace {

TEST(CColourPicker, TheDefaultColourShowsWhiteWithTheDefaultText)
{
    CColourPicker picker;
    picker.resize(120, 26);
    const QPoint inside(10, 13); // left of any centred text, inside the colour square
    picker.SetColour(0x0000FF);
    EXPECT_EQ(QColor(picker.grab().toImage().pixel(inside)), QColor(Qt::red));
    picker.SetColour(CColourPicker::kDefaultColour);
    const QImage image = picker.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(inside)), QColor(Qt::white));
    int dark = 0; // the text "默认色" over the white square
    for (int x = 30; x < 90; ++x) {
        dark += qGray(image.pixel(x, 13)) < 128 ? 1 : 0;
    }
    EXPECT_GT(dark, 0);
    picker.SetDefaultText(QString());
    const QImage blank = picker.grab().toImage();
    for (int x = 30; x < 90; ++x) {
        EXPECT_EQ(QColor(blank.pixel(x, 13)), QColor(Qt::white)) << x;
    }
}

} // namespace
} // namespace figures
