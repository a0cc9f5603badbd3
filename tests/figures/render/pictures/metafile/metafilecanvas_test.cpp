// The metafile canvas's text cells: strings of one-byte characters in a font's character
// set and UTF-16 strings.
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include "figures/render/gbk.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

TEST(MetafileText, SplitsStringsIntoCharacterCells)
{
    // GBK double-byte characters take one cell and the sum of their two bytes' advances;
    // other character sets read every byte as one character.
    const std::string bytes = ToGbk(QString::fromUtf8("中A文"));
    ASSERT_EQ(bytes.size(), 5u);
    const std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    const std::vector<QPointF> advances = {{1, 0}, {2, 0}, {4, 0}, {8, 0}, {16, 0}};
    std::vector<TextCell> cells = AnsiTextCells(span, kGb2312Charset, advances);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].text, QString::fromUtf8("中"));
    EXPECT_EQ(cells[0].dx, 3);
    EXPECT_EQ(cells[1].text, QStringLiteral("A"));
    EXPECT_EQ(cells[1].dx, 4);
    EXPECT_EQ(cells[2].text, QString::fromUtf8("文"));
    EXPECT_EQ(cells[2].dx, 24);
    cells = AnsiTextCells(span, 0, {});
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0].text, QString(QChar(char16_t(uint8_t(bytes[0])))));

    // A lead byte at the very end stands alone; a NUL is an empty cell.
    const uint8_t cut[] = {'A', 0, 0xD6};
    cells = AnsiTextCells(cut, kGb2312Charset, {});
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_TRUE(cells[1].text.isEmpty());

    // UTF-16: a surrogate pair is one cell; a lone surrogate stays a cell of its own.
    const uint8_t wide[] = {0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 0x3D, 0xD8, 'B', 0};
    cells = WideTextCells(wide, std::vector<QPointF>{{1, 0}, {2, 0}, {4, 0}, {8, 0}, {16, 0}});
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].text, QString::fromUtf8("中"));
    EXPECT_EQ(cells[1].text, QString::fromUtf8("😀"));
    EXPECT_EQ(cells[1].dx, 6);
    EXPECT_EQ(cells[2].text.size(), 1);
    EXPECT_EQ(cells[3].text, QStringLiteral("B"));
    EXPECT_EQ(cells[3].dx, 16);
}

} // namespace
} // namespace figures
