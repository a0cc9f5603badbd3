#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

namespace figures {
class FigureWindow;
}

namespace app {

// The canvas settings the program keeps between runs, in the settings file "vkl.ini",
// section "属性". A key that is missing takes the value a new canvas starts with, so a first
// start shows a white canvas with its scroll bars, popup menu and text editing.
struct CanvasSettings {
    int zoom = 100;                   // "显示比例", percent; 0 or less keeps the canvas's zoom
    uint32_t backColour = 0x00FFFFFF; // "背景颜色", 0x00BBGGRR
    int borderStyle = 3;              // "边框", 0..5
    bool scrollBars = true;           // "允许滚动"
    bool popupMenu = true;            // "允许右键菜单"
    bool textEditing = true;          // "允许编辑文本"

    bool operator==(const CanvasSettings&) const = default;
};

// Reads the leading decimal number of a text in GBK bytes: full-width digits, signs,
// letters and the full-width blank count as their ASCII forms; after optional blanks come
// an optional sign, digits with an optional decimal point and an optional exponent; the
// rest is ignored. A text without a leading number gives 0.
double TextToNumber(std::string_view gbk);
// The number truncated towards zero and held within the int range (NaN gives 0).
int TextToInteger(std::string_view gbk);

// The settings read from the bytes of a settings file (empty bytes: a missing file).
CanvasSettings SettingsFromProfile(std::string_view bytes);
// The file's bytes with the six keys set; other sections and keys stay as they were.
std::string ProfileWithSettings(std::string_view bytes, const CanvasSettings& settings);

// Where the settings live: "vkl.ini" beside the program when that file exists (a portable
// install), otherwise "vkl.ini" in the user's configuration folder.
QString SettingsPath(const QString& programDir, const QString& configDir);
// The same for this process: the program's folder and QStandardPaths::AppConfigLocation.
QString SettingsPath();

// Reads the settings file at path (a missing or unreadable file reads as empty) and sets
// the canvas from it.
void LoadSettings(figures::FigureWindow& canvas, const QString& path);
// Writes the six keys from the canvas's properties, with backColour as the background
// (the one the configuration dialog's colour picker holds). The previous file stays
// intact when the write fails; false then.
bool SaveSettings(const figures::FigureWindow& canvas, uint32_t backColour, const QString& path);

// The closing question is off when the settings file's key "不再询问" in "属性" reads "真";
// a missing file or key leaves it on.
bool ClosingQuestionTurnedOff(const QString& path);
// Writes "不再询问=真", keeping everything else in the file; false when the write failed.
bool TurnClosingQuestionOff(const QString& path);

} // namespace app
