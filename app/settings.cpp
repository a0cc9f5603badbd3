#include "app/settings.h"

#include "app/profilefile.h"
#include "figures/control/figurewindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringEncoder>

#include <charconv>
#include <cmath>
#include <limits>

namespace app {

namespace {

std::string Gbk(const char* utf8)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder(QString::fromUtf8(utf8));
    return bytes.toStdString();
}

struct Keys {
    std::string section = Gbk("属性");
    std::string zoom = Gbk("显示比例");
    std::string backColour = Gbk("背景颜色");
    std::string border = Gbk("边框");
    std::string scrollBars = Gbk("允许滚动");
    std::string popupMenu = Gbk("允许右键菜单");
    std::string textEditing = Gbk("允许编辑文本");
    std::string closingQuestionOff = Gbk("不再询问");
    std::string yes = Gbk("真");
    std::string no = Gbk("假");
};

const Keys& TheKeys()
{
    static const Keys keys;
    return keys;
}

// Full-width forms in GBK: row A3 holds "！".."～" at A3A1..A3FE, the ASCII characters
// 0x21..0x7E plus 0x80; A1A1 is the full-width blank. Other double-byte characters are
// kept whole so that their trail bytes never pass for digits.
std::string HalfWidth(std::string_view gbk)
{
    std::string ascii;
    ascii.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x81 || lead == 0xFF || i + 1 == gbk.size()) {
            ascii += gbk[i];
            continue;
        }
        const auto trail = static_cast<unsigned char>(gbk[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            ascii += char(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            ascii += ' ';
        } else {
            ascii += gbk.substr(i, 2);
        }
        ++i;
    }
    return ascii;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Decimal(long long value)
{
    return std::to_string(value);
}

} // namespace

double TextToNumber(std::string_view gbk)
{
    const std::string text = HalfWidth(gbk);
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only when digits follow it: "7e" is 7.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            for (i = j; i < text.size() && IsDigit(text[i]); ++i) {
            }
        }
    }
    // The C locale's reading of exactly the characters taken, whatever the process locale.
    std::string_view number = std::string_view(text).substr(start, i - start);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to tell from zero, or too large for any number: the nearest one.
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

int TextToInteger(std::string_view gbk)
{
    const double value = std::trunc(TextToNumber(gbk));
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= double(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (value >= double(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return int(value);
}

CanvasSettings SettingsFromProfile(std::string_view bytes)
{
    const Keys& keys = TheKeys();
    const ProfileFile file{std::string(bytes)};
    CanvasSettings settings;
    if (const auto text = file.Value(keys.section, keys.zoom)) {
        settings.zoom = TextToInteger(*text);
    }
    if (const auto text = file.Value(keys.section, keys.backColour)) {
        // The colour is written as the decimal of 0x00BBGGRR; a negative number read from
        // an edited file keeps its bit pattern, as the 32-bit value it was.
        settings.backColour = uint32_t(TextToInteger(*text));
    }
    if (const auto text = file.Value(keys.section, keys.border)) {
        settings.borderStyle = TextToInteger(*text);
    }
    if (const auto text = file.Value(keys.section, keys.scrollBars)) {
        settings.scrollBars = *text == keys.yes;
    }
    if (const auto text = file.Value(keys.section, keys.popupMenu)) {
        settings.popupMenu = *text == keys.yes;
    }
    if (const auto text = file.Value(keys.section, keys.textEditing)) {
        settings.textEditing = *text == keys.yes;
    }
    return settings;
}

std::string ProfileWithSettings(std::string_view bytes, const CanvasSettings& settings)
{
    const Keys& keys = TheKeys();
    ProfileFile file{std::string(bytes)};
    file.SetValue(keys.section, keys.zoom, Decimal(settings.zoom));
    file.SetValue(keys.section, keys.backColour, Decimal(settings.backColour));
    file.SetValue(keys.section, keys.border, Decimal(settings.borderStyle));
    file.SetValue(keys.section, keys.scrollBars, settings.scrollBars ? keys.yes : keys.no);
    file.SetValue(keys.section, keys.popupMenu, settings.popupMenu ? keys.yes : keys.no);
    file.SetValue(keys.section, keys.textEditing, settings.textEditing ? keys.yes : keys.no);
    return file.Bytes();
}

QString SettingsPath(const QString& programDir, const QString& configDir)
{
    const QString portable = QDir(programDir).filePath(QStringLiteral("vkl.ini"));
    if (QFileInfo(portable).isFile()) {
        return portable;
    }
    return QDir(configDir).filePath(QStringLiteral("vkl.ini"));
}

QString SettingsPath()
{
    return SettingsPath(QCoreApplication::applicationDirPath(),
                        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

void LoadSettings(figures::FigureWindow& canvas, const QString& path)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    const CanvasSettings settings = SettingsFromProfile(bytes.toStdString());
    canvas.SetZoom(settings.zoom);
    canvas.SetBackColour(settings.backColour);
    canvas.SetBorderStyle(settings.borderStyle);
    canvas.SetScrollBars(settings.scrollBars);
    canvas.SetPopupMenu(settings.popupMenu);
    canvas.SetTextEditing(settings.textEditing);
}

namespace {

QByteArray ReadSettingsFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteSettingsFile(const QString& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(bytes.data(), qint64(bytes.size()));
    return file.commit();
}

} // namespace

bool ClosingQuestionTurnedOff(const QString& path)
{
    const ProfileFile file(ReadSettingsFile(path).toStdString());
    const Keys& keys = TheKeys();
    return file.Value(keys.section, keys.closingQuestionOff) == keys.yes;
}

bool TurnClosingQuestionOff(const QString& path)
{
    ProfileFile file(ReadSettingsFile(path).toStdString());
    const Keys& keys = TheKeys();
    file.SetValue(keys.section, keys.closingQuestionOff, keys.yes);
    return WriteSettingsFile(path, file.Bytes());
}

bool SaveSettings(const figures::FigureWindow& canvas, uint32_t backColour, const QString& path)
{
    const QByteArray old = ReadSettingsFile(path);
    CanvasSettings settings;
    settings.zoom = canvas.Zoom();
    settings.backColour = backColour;
    settings.borderStyle = canvas.BorderStyle();
    settings.scrollBars = canvas.ScrollBars();
    settings.popupMenu = canvas.PopupMenu();
    settings.textEditing = canvas.TextEditing();
    return WriteSettingsFile(path, ProfileWithSettings(old.toStdString(), settings));
}

} // namespace app
