#pragma once

#include "figures/model/objects/objectmessages.h"
#include "figures/render/geometry.h"
#include "figures/render/text/textboxlayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace figures {

class CRichGraph;

// The texts of a shape's text boxes (property tag 4) and the model side of typing in a
// box. Texts are GBK bytes, exactly as documents store them.

// Where the shape's program draws when the shape's frame is placed at target: the
// target's corner with the shape's own size, angle and flips, or those of pose.
ShapeFrame ShapeFrameAt(const CRichGraph& shape, const Rect& target);
ShapeFrame ShapeFrameAt(const ObjectPose& pose, const Rect& target);
// The shape's text attributes as the text layer takes them.
ShapeTextStyle ShapeTextStyleOf(const CRichGraph& shape);

// The shape's text pass for a draw request: Texts while the shape paints (after its
// fill, before its outline), EditFrames after the selection marks of a view. The texts
// follow the request's pose and, while the shape draws as its shadow, its colour.
void PaintShapeTexts(const CRichGraph& shape, const DrawRequest& request, ShapeTextPass pass);

// One text box of the shape and what it shows.
struct BoxText {
    int step = 0;        // index of the text-box step in the program
    uint16_t number = 0; // its text-box number
    std::string text;    // GBK; empty when the box has no record
    bool hasRecord = false;
};

// Every text-box step of the shape's program in program order, with its text.
std::vector<BoxText> ReadBoxTexts(const CRichGraph& shape);

// A text box found under a point.
struct TextBoxHit {
    TextStep step;       // the text-box step, its box on the shape's own frame (unturned)
    Rect bounds;         // the box turned with the shape: BoundsOfPoints of its corners
    std::string text;    // GBK; empty when the box has no record
    int32_t offset = -1; // byte offset of the box's record in tag 4, -1 when it has none
};

// The first text-box step whose box, turned with the shape, holds the document point,
// with the box's bounding box and its text; none when no box does. Flipped shapes find
// their boxes where they are drawn too.
std::optional<TextBoxHit> FindTextBoxAt(const CRichGraph& shape, Point point);

// The text-box step of the given index, on the shape's own frame; none when the step
// is not a text box or the program ends before it.
std::optional<TextStep> TextBoxStep(const CRichGraph& shape, int step);

// Stores text as the record of box number: the box's old record goes, the new one is
// put in front of the others, which keep their texts. False when number is 0 or beyond
// a byte, or when the record would not fit the property record (64 KiB less 4 bytes);
// the old texts are then unchanged.
bool SetBoxText(CRichGraph& shape, uint16_t number, std::string_view gbk);

// Grows the shape so that the text-box step holds text, measured in the box's font
// (divisor and style applied) at scaleX, scaleY device pixels per document unit: with
// the box's size (bw, bh), the height becomes MulDiv(textHeight, H, bh) when that is
// more than H, the width MulDiv(textWidth, W, bw) when that is more than W. Left and
// top stay; the frame grows to the right and downward. A box of no width or height
// never grows its shape. True when the frame changed.
bool GrowToHoldText(CRichGraph& shape, int step, std::string_view gbk, double scaleX,
                    double scaleY);

// What one change of a box's text did.
struct TypedTextResult {
    bool stored = false; // the text is the box's record now
    bool grown = false;  // the frame grew to hold the text
    Rect oldArea;        // the shape's frame turned (BoundsOfPoints) before the change
    Rect box;            // the text box's bounds (turned) after the change
};

// The operation of in-place text editing, called on every change of the text typed into
// a text box (the step index from FindTextBoxAt): stores the text as the box's record
// (SetBoxText) and grows the shape to hold it (GrowToHoldText) at the scale of the view
// the text is typed in (DrawContext::ScaleX/ScaleY). The caller repaints oldArea and
// the shape's new area, marks the view modified, and moves its input window to follow
// box when the box would otherwise leave the screen. Nothing changes when the step is
// not a text box or the text cannot be stored.
TypedTextResult ApplyTypedText(CRichGraph& shape, int step, std::string_view gbk, double scaleX,
                               double scaleY);

} // namespace figures
