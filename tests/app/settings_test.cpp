#include "app/settings.h"

#include "figures/control/figurewindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// The section and key names as a settings file written on a Chinese system holds them.
const std::string kSection = "[\xCA\xF4\xD0\xD4]";
const std::string kZoom = "\xCF\xD4\xCA\xBE\xB1\xC8\xC0\xFD";
const std::string kBack = "\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB";
const std::string kBorder = "\xB1\xDF\xBF\xF2";
const std::string kScroll = "\xD4\xCA\xD0\xED\xB9\xF6\xB6\xAF";
const std::string kPopup = "\xD4\xCA\xD0\xED\xD3\xD2\xBC\xFC\xB2\xCB\xB5\xA5";
const std::string kEditing = "\xD4\xCA\xD0\xED\xB1\xE0\xBC\xAD\xCE\xC4\xB1\xBE";
const std::string kYes = "\xD5\xE6";
const std::string kNo = "\xBC\xD9";

void WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

std::string ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(Settings, ReadsTheLeadingNumberOfATextInHalfOrFullWidth)
{
    struct Row {
        const char* name;
        std::string text;
        int expected;
    };
    const Row rows[] = {
        {"digits then letters", "75abc", 75},
        {"full-width digits", "\xA3\xB7\xA3\xB5", 75},
        {"full-width blank, sign and letter", "\xA1\xA1\xA3\xAD\xA3\xB7\xA3\xB5\xA3\xE1", -75},
        {"leading blanks", "  \t42", 42},
        {"fraction truncated", "-12.9", -12},
        {"point before digits", ".5", 0},
        {"exponent", "1e2x", 100},
        {"full-width exponent", "\xA3\xB1\xA3\xE5\xA3\xB2", 100},
        {"exponent without digits", "7e", 7},
        {"no number", "abc", 0},
        {"sign alone", "-", 0},
        {"empty", "", 0},
        {"double-byte character before",
         "\xD5\xE6"
         "5",
         0},
        {"too large", "1e400", INT_MAX},
        {"too small", "-99999999999", INT_MIN},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(app::TextToInteger(row.text), row.expected) << row.name;
    }
}

TEST(Settings, ReadsAGbkFileMadeByteByByte)
{
    // Another section first whose name holds a trail byte that looks like "]", a comment,
    // other keys, blanks around names and values, lower-case and quoted text.
    const std::string bytes = "[\x81]x]\r\n" + kZoom + "=20\r\n\r\n" + "  " + kSection + "  \r\n" +
                              "; " + kZoom + "=30\r\n" + kZoom + " = 75\r\n" + kBack + "=255\r\n" +
                              kBorder + "=\"5\"\r\n" + kScroll + "=" + kNo + "\r\n" + kPopup + "=" +
                              kYes + "\r\n" + kEditing + "=" + kNo + "\n" + "[other]\r\n" +
                              kBorder + "=1\r\n";
    app::CanvasSettings expected;
    expected.zoom = 75;
    expected.backColour = 255;
    expected.borderStyle = 5;
    expected.scrollBars = false;
    expected.popupMenu = true;
    expected.textEditing = false;
    EXPECT_EQ(app::SettingsFromProfile(bytes), expected);
}

TEST(Settings, MissingFileOrKeyGivesTheValuesOfANewCanvas)
{
    const app::CanvasSettings fresh;
    EXPECT_EQ(fresh.zoom, 100);
    EXPECT_EQ(fresh.backColour, 0x00FFFFFFu);
    EXPECT_EQ(fresh.borderStyle, 3);
    EXPECT_TRUE(fresh.scrollBars && fresh.popupMenu && fresh.textEditing);
    EXPECT_EQ(app::SettingsFromProfile(""), fresh);

    // Keys that are present keep their reading: anything but "真" is false, a text without
    // a number is 0.
    app::CanvasSettings partial = fresh;
    partial.borderStyle = 0;
    partial.scrollBars = false;
    partial.zoom = 0;
    EXPECT_EQ(app::SettingsFromProfile(kSection + "\r\n" + kBorder + "=0\r\n" + kScroll +
                                       "=yes\r\n" + kZoom + "=abc\r\n"),
              partial);

    QTemporaryDir dir;
    figures::FigureWindow canvas;
    canvas.SetBackColour(0);
    canvas.SetScrollBars(false);
    canvas.SetPopupMenu(false);
    canvas.SetTextEditing(false);
    canvas.SetBorderStyle(0);
    app::LoadSettings(canvas, dir.filePath("missing.ini"));
    EXPECT_EQ(canvas.BackColour(), 0x00FFFFFFu);
    EXPECT_EQ(canvas.BorderStyle(), 3);
    EXPECT_EQ(canvas.Zoom(), 100);
    EXPECT_TRUE(canvas.ScrollBars());
    EXPECT_TRUE(canvas.PopupMenu());
    EXPECT_TRUE(canvas.TextEditing());
}

TEST(Settings, KeepsAllSixKeysThroughASaveAndALoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config/vkl.ini");
    // The file keeps what others wrote into it.
    QDir().mkpath(dir.filePath("config"));
    WriteFile(path, "[other]\r\nkept=1\r\n" + kSection + "\r\n" + kZoom + "=30\r\n");

    figures::FigureWindow first;
    first.SetZoom(75);
    first.SetBorderStyle(5);
    first.SetScrollBars(false);
    first.SetPopupMenu(true);
    first.SetTextEditing(false);
    ASSERT_TRUE(app::SaveSettings(first, 0x00123456, path));

    const std::string written = ReadFile(path);
    EXPECT_NE(written.find("[other]\r\nkept=1\r\n"), std::string::npos);
    EXPECT_NE(written.find(kZoom + "=75\r\n"), std::string::npos);
    EXPECT_EQ(written.find(kZoom + "=30"), std::string::npos);
    EXPECT_NE(written.find(kBack + "=1193046\r\n"), std::string::npos);
    EXPECT_NE(written.find(kScroll + "=" + kNo + "\r\n"), std::string::npos);
    EXPECT_NE(written.find(kPopup + "=" + kYes + "\r\n"), std::string::npos);

    figures::FigureWindow second;
    app::LoadSettings(second, path);
    EXPECT_EQ(second.Zoom(), 75);
    EXPECT_EQ(second.BackColour(), 0x00123456u);
    EXPECT_EQ(second.BorderStyle(), 5);
    EXPECT_FALSE(second.ScrollBars());
    EXPECT_TRUE(second.PopupMenu());
    EXPECT_FALSE(second.TextEditing());

    // Written twice, the file does not grow: keys are replaced in place.
    ASSERT_TRUE(app::SaveSettings(first, 0x00123456, path));
    EXPECT_EQ(ReadFile(path), written);
}

TEST(Settings, AFileBesideTheProgramWinsOverTheUserConfiguration)
{
    QTemporaryDir program;
    QTemporaryDir config;
    EXPECT_EQ(app::SettingsPath(program.path(), config.path()), config.filePath("vkl.ini"));
    WriteFile(program.filePath("vkl.ini"), "");
    EXPECT_EQ(app::SettingsPath(program.path(), config.path()), program.filePath("vkl.ini"));
}

} // namespace
