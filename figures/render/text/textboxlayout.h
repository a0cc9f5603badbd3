#pragma once

#include "figures/render/text/fontmapping.h"
#include "figures/render/geometry.h"
#include "figures/render/text/logfont.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/styles/fillstyle.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace figures {

class DrawContext;

// --- Text records ----------------------------------------------------------------------
//
// A shape keeps the texts of its text boxes as one byte string: records of a box number
// (1..255), the text in GBK and a terminating 0 byte, the list closed by a further 0.
// The string comes from documents, so every walk stops at its end: a record without its
// 0 byte ends there, and a missing closing 0 is not an error.

struct TextRecord {
    uint8_t number = 0;
    std::string_view text; // GBK, without the terminating 0; points into the list
    size_t offset = 0;     // where the record's number byte stands in the list
};

// Every record in list order.
std::vector<TextRecord> ReadTextRecords(std::span<const uint8_t> texts);

// The first record of box number, which is the one the box shows; none for number 0,
// which would read as the end of the list, and for numbers beyond a byte.
std::optional<TextRecord> FindTextRecord(std::span<const uint8_t> texts, uint16_t number);

// The list with the first record of number removed and (number, text, 0) put in front
// of the remaining records, closed by its 0 byte. Other boxes' records keep their text
// and order. Text is cut at an embedded 0 byte, which would end its record. None for
// number 0 or beyond a byte: such a record would end or corrupt the list.
std::optional<std::vector<uint8_t>> ReplaceTextRecord(std::span<const uint8_t> texts,
                                                      uint16_t number, std::string_view text);

// The built-in texts of fixed-text steps: index 0 is "是", 1 is "否" (GBK); any other
// index has none and gives the empty text.
std::string_view FixedText(uint16_t index);

// --- Lines and extents -----------------------------------------------------------------

// Cuts a text into lines at every "\r", skipping one "\n" directly after it. A text has
// at least one line (the empty text one empty line), and a break at the very end starts
// a last, empty line, where the caret of a typist stands after Enter.
class TextLines {
public:
    explicit TextLines(std::string_view text) : rest_(text) {}
    // The next line into line; false when all lines were given.
    bool Next(std::string_view& line);

private:
    std::string_view rest_;
    bool more_ = true;
};

int CountTextLines(std::string_view text);

// Document units between the bottom of one line's cell and the top of the next.
constexpr int32_t kLineGap = 6;

// The measure of a block of lines in document units: width of the widest line, the
// height of one line's cell, and the block's height n * lineHeight + gap * (n - 1).
struct TextExtent {
    int32_t width = 0;
    int32_t height = 0;
    int32_t lineHeight = 0;
};

// Measures a GBK text in a font made for scaleX, scaleY device pixels per document unit
// (FontFor), converting the device measure back to document units, as text measured on
// a device is. The line height is the font's cell.
TextExtent TextBlockExtent(const DeviceFont& font, double scaleX, double scaleY,
                           std::string_view text, int32_t gap);
TextExtent TextBlockExtent(const DeviceFont& font, const DrawContext& dc, std::string_view text,
                           int32_t gap);

// --- Fonts of text steps ---------------------------------------------------------------

// Style bits of a text-box step.
enum TextBoxStyle : uint16_t {
    TS_ITALIC = 1,
    TS_BOLD = 2,
    TS_UNDERLINE = 4,
    TS_STRIKE_OUT = 8,
};

// The object's font for a fixed text: escapement and orientation 3600 - angle, which
// turns the text with the object.
LogFont FixedTextFont(const LogFont& font, int32_t angle);

// The object's font for a text box: as FixedTextFont, with height and width divided by
// the step's divisor (0 counts as 1; a height that becomes 0 becomes 1) and the style
// bits switching italic, weight 700, underline and strike-out on (never off).
LogFont TextBoxFont(const LogFont& font, int32_t angle, uint16_t divisor, uint16_t style);

// --- Text steps ------------------------------------------------------------------------

// A text-box step (code 10) or a fixed-text step (code 25) of a program, placed on a
// frame. Box and anchor are in document units on the unturned frame.
struct TextStep {
    int index = 0; // 0-based step index in the program
    uint16_t code = 0;
    Rect box;            // code 10: the normalised box of the two mapped corners
    Point anchor;        // code 25: the mapped anchor
    uint16_t hAlign = 0; // 0 default, 1 left, 2 centre, 3 right
    uint16_t vAlign = 0; // 0 default, 1 top, 2 middle, 3 bottom
    uint16_t divisor = 1;
    uint16_t style = 0;
    uint16_t number = 0; // code 10: text-box number; code 25: text index
};

// Walks the text steps of a program in order. Never reads past the span: the walk ends
// at the first opcode 0, an unknown opcode or a step whose words the span lacks.
class TextStepWalk {
public:
    TextStepWalk(std::span<const uint8_t> program, const ShapeFrame& frame)
        : program_(program), frame_(frame)
    {}
    bool Next(TextStep& step);

private:
    std::span<const uint8_t> program_;
    ShapeFrame frame_;
    size_t offset_ = 0;
    int index_ = 0;
};

// The centre the frame turns about: origin + (width / 2, height / 2).
Point FrameCentre(const ShapeFrame& frame);

// The first text-box step whose box holds the document point, the point being turned
// back by the frame's angle first, so turned boxes are found where they are drawn.
std::optional<TextStep> TextBoxStepAt(std::span<const uint8_t> program, const ShapeFrame& frame,
                                      Point point);

// --- Drawing ---------------------------------------------------------------------------

// The text attributes of a shape, as plain values.
struct ShapeTextStyle {
    LogFont font;
    uint32_t textColour = 0x000000;
    int16_t textHAlign = 0; // non-zero overrides every text box's own alignment
    int16_t textVAlign = 0;
    // The fill decides the colour of the dotted box outlines.
    FillKind fillKind = FillKind::White;
    uint32_t fillColour = 0x000000;
    uint32_t fillBackColour = 0xFFFFFF;
};

// The colour of the dotted text-box outlines, light enough not to be taken for the
// shape's lines: light grey on shapes without fill, otherwise three quarters of the
// fill's colour (the hatch background for pattern fills, the colour for colour fills,
// white for the other kinds, white also for a fill without colour).
uint32_t EditFrameColour(FillKind fillKind, uint32_t fillColour, uint32_t fillBackColour);

// Receives the laid-out text: one block per text step that shows text, the lines of
// each with their starts. Painting draws them; tests record them.
class ShapeTextSink {
public:
    virtual ~ShapeTextSink() = default;
    // font is the step's font record (escapement included) and deviceFont its Qt font
    // for the scale of the layout. clip is the text box turned with the frame, for a
    // text box; null for a fixed text, which is not clipped.
    virtual void BeginBlock(const LogFont& font, const DeviceFont& deviceFont,
                            const Corners* clip) = 0;
    // One non-empty line: start is the top-left corner of its cell, turned about the
    // frame centre, in document units; the line is written from there along the font's
    // escapement.
    virtual void Line(Point start, std::string_view gbkLine) = 0;
    virtual void EndBlock() = 0;
};

// Places the texts of a program's text steps on the frame:
// - a text box shows the record of its number; it is aligned in its box by the style's
//   overrides when non-zero, else by its own codes (0 or 2 centre and middle, 1 left
//   and top, 3 right and bottom), and clipped to its box;
// - a fixed text shows "是" or "否" and is aligned on its anchor: centred (0, 2),
//   starting (1) or ending (3) there;
// - steps without text are skipped; the lines of a block follow each other at
//   lineHeight + kLineGap; empty lines are not written, and lines of a box that lie
//   wholly above or below the box are left out, since the clip would hide them.
void LayOutShapeTexts(std::span<const uint8_t> program, const ShapeFrame& frame,
                      std::span<const uint8_t> texts, const ShapeTextStyle& style, double scaleX,
                      double scaleY, ShapeTextSink& sink);

enum class ShapeTextPass {
    Texts,      // painting the object: the texts of text boxes and fixed texts
    EditFrames, // after the selection marks: dotted outlines of the text boxes, no text
};

// Whether the Texts pass of a shape would write anything: a text box with a typed text,
// or a fixed text. Most shapes have neither.
bool ShowsText(std::span<const uint8_t> program, const ShapeFrame& frame,
               std::span<const uint8_t> texts);

// The text pass of a shape drawn at frame: texts in the style's colour and fonts, or the
// text-box outlines with a dotted one-pixel pen in EditFrameColour. The painter's state
// is the same afterwards.
void DrawShapeTexts(const DrawContext& dc, std::span<const uint8_t> program,
                    const ShapeFrame& frame, std::span<const uint8_t> texts,
                    const ShapeTextStyle& style, ShapeTextPass pass);

} // namespace figures
