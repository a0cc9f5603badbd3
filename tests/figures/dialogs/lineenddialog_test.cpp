#include "figures/dialogs/lineenddialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace figures {
namespace {

TEST(LineEndDialog, NoEndShowsTheSizeListOffAndEmpty)
{
    LineEndDialog d(LineEnd{0, 2, 3}, QPoint(10, 10));
    EXPECT_EQ(d.TypeList()->count(), LineEndDialog::kTypeCount);
    EXPECT_FALSE(d.SizeList()->isEnabled());
    EXPECT_EQ(d.SizeList()->currentIndex(), -1);

    d.TypeList()->setCurrentIndex(4);
    emit d.TypeList()->activated(4);
    EXPECT_TRUE(d.SizeList()->isEnabled());
    EXPECT_EQ(d.SizeList()->count(), LineEndDialog::kSizeCount);
    EXPECT_EQ(d.SizeList()->currentIndex(), 0);
    d.accept();
    EXPECT_EQ(d.Choice().type, 4);
    EXPECT_EQ(d.Choice().size1, 1);
    EXPECT_EQ(d.Choice().size2, 1);
}

TEST(LineEndDialog, SizesAreStoredAsWidthAcrossAndLengthAlong)
{
    // size2 is the width code (across the line), size1 the length code (along it).
    const struct {
        const char* name;
        LineEnd start;
        int sizeItem; // -1: leave the list as opened
        int type, length, width, shownItem;
    } rows[] = {
        {"WidthThreeLengthTwoIsItemFive", {1, 2, 3}, -1, 1, 2, 3, 5},
        {"ItemSevenIsWidthTwoLengthThree", {6, 1, 1}, 7, 6, 3, 2, 0},
        {"ItemZeroIsTheSmallest", {11, 3, 3}, 0, 11, 1, 1, 8},
    };
    for (const auto& row : rows) {
        LineEndDialog d(row.start, QPoint(10, 10));
        EXPECT_EQ(d.SizeList()->currentIndex(), row.shownItem) << row.name;
        if (row.sizeItem >= 0) {
            d.SizeList()->setCurrentIndex(row.sizeItem);
        }
        d.accept();
        EXPECT_EQ(d.Choice().type, row.type) << row.name;
        EXPECT_EQ(d.Choice().size1, row.length) << row.name;
        EXPECT_EQ(d.Choice().size2, row.width) << row.name;
    }
}

TEST(LineEndDialog, ChoosingNoEndResetsTheSizes)
{
    LineEndDialog d(LineEnd{3, 2, 2}, QPoint(10, 10));
    d.TypeList()->setCurrentIndex(0);
    emit d.TypeList()->activated(0);
    EXPECT_FALSE(d.SizeList()->isEnabled());
    d.accept();
    EXPECT_EQ(d.Choice().type, 0);
    EXPECT_EQ(d.Choice().size1, 1);
    EXPECT_EQ(d.Choice().size2, 1);
}

TEST(LineEndDialog, OpenedAtTheBottomRightCornerItStaysOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    LineEndDialog d(LineEnd{1, 1, 1}, screen.bottomRight());
    EXPECT_LE(d.frameGeometry().right(), screen.right());
    EXPECT_LE(d.frameGeometry().bottom(), screen.bottom());
    EXPECT_GE(d.frameGeometry().left(), screen.left());
}

} // namespace
} // namespace figures
