#include "figures/dialogs/textinputdialog.h"

#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

struct Change {
    QString text;
    bool linesChanged;
};

TEST(TextInputDialog, EnterAddsALineAndALetterDoesNot)
{
    std::vector<Change> changes;
    TextInputDialog d(
        QPoint(20, 20), QStringLiteral("ab"),
        [&changes](const QString& t, bool l) {
            changes.push_back({t, l});
        },
        100);
    d.show();
    QTest::keyClick(d.Editor(), Qt::Key_C);
    QTest::keyClick(d.Editor(), Qt::Key_Return);
    QTest::keyClick(d.Editor(), Qt::Key_D);
    QTest::keyClick(d.Editor(), Qt::Key_Backspace);
    QTest::keyClick(d.Editor(), Qt::Key_Backspace);
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[0].text, QStringLiteral("abc"));
    EXPECT_FALSE(changes[0].linesChanged);
    EXPECT_EQ(changes[1].text, QStringLiteral("abc\r\n"));
    EXPECT_TRUE(changes[1].linesChanged);
    EXPECT_FALSE(changes[2].linesChanged);
    EXPECT_FALSE(changes[3].linesChanged);
    EXPECT_TRUE(changes[4].linesChanged);
    EXPECT_EQ(d.Text(), QStringLiteral("abc"));
}

TEST(TextInputDialog, RefusesTextBeyondTheGbkByteLimit)
{
    std::vector<Change> changes;
    // Four bytes: two Chinese characters, or one and two letters.
    TextInputDialog d(
        QPoint(20, 20), QStringLiteral("中"),
        [&changes](const QString& t, bool l) {
            changes.push_back({t, l});
        },
        4);
    d.show();
    QTest::keyClicks(d.Editor(), QStringLiteral("a"));
    QTest::keyClicks(d.Editor(), QStringLiteral("b"));
    QTest::keyClicks(d.Editor(), QStringLiteral("c"));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(d.Text(), QStringLiteral("中ab"));
    EXPECT_EQ(d.Editor()->toPlainText(), QStringLiteral("中ab"));
    d.Editor()->insertPlainText(QStringLiteral("文")); // two more bytes: refused as well
    EXPECT_EQ(d.Text(), QStringLiteral("中ab"));
}

TEST(TextInputDialog, RefusesCharactersWithoutAGbkForm)
{
    int calls = 0;
    TextInputDialog d(
        QPoint(20, 20), QString(), [&calls](const QString&, bool) { ++calls; }, 100);
    d.Editor()->insertPlainText(QString::fromUtf8("\xF0\x9F\x98\x80")); // an emoji
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(d.Editor()->toPlainText().isEmpty());
    EXPECT_EQ(TextInputDialog::GbkByteCount(QStringLiteral("中a")), 3);
    EXPECT_EQ(TextInputDialog::GbkByteCount(QString::fromUtf8("\xF0\x9F\x98\x80")), -1);
}

} // namespace
} // namespace figures
