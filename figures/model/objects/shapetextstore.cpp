#include "figures/model/objects/shapetextstore.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/render/drawcontext.h"
#include "figures/render/text/fontmapping.h"
#include "figures/render/numeric.h"
#include "figures/render/shapes/shapeprogram.h"

namespace figures {

namespace {

// The turned corners' bounds. The general form, since frames may stand left of or above
// the document origin.
Rect TurnedBounds(const Rect& box, const ShapeFrame& frame)
{
    const Corners corners = RotatedCorners(box, frame.angle, FrameCentre(frame));
    return BoundsOfAnyPoints(corners.p);
}

ShapeFrame OwnFrame(const CRichGraph& shape)
{
    return ShapeFrameAt(shape, shape.frame);
}

} // namespace

ShapeFrame ShapeFrameAt(const CRichGraph& shape, const Rect& target)
{
    return ShapeFrameAt(shape.Pose(), target);
}

ShapeFrame ShapeFrameAt(const ObjectPose& pose, const Rect& target)
{
    return {{target.left, target.top},
            pose.frame.Width(),
            pose.frame.Height(),
            pose.angle,
            (pose.flags & OF_FLIPPED_H) != 0,
            (pose.flags & OF_FLIPPED_V) != 0};
}

ShapeTextStyle ShapeTextStyleOf(const CRichGraph& shape)
{
    ShapeTextStyle style;
    style.font = shape.font;
    style.textColour = shape.textColour;
    style.textHAlign = shape.textHAlign;
    style.textVAlign = shape.textVAlign;
    style.fillKind = shape.fillKind;
    style.fillColour = shape.fillColour;
    style.fillBackColour = shape.fillBackColour;
    return style;
}

void PaintShapeTexts(const CRichGraph& shape, const DrawRequest& request, ShapeTextPass pass)
{
    if (request.dc == nullptr) {
        return;
    }
    ShapeTextStyle style = ShapeTextStyleOf(shape);
    const CRectCom::Paint paint = shape.PaintFor(request);
    style.textColour = paint.textColour;
    style.fillKind = paint.fillKind;
    style.fillColour = paint.fillColour;
    DrawShapeTexts(*request.dc, shape.GetProgram(),
                   ShapeFrameAt(shape.PoseFor(request), request.target),
                   shape.GetProperty(PT_TEXTS), style, pass);
}

std::vector<BoxText> ReadBoxTexts(const CRichGraph& shape)
{
    std::vector<BoxText> boxes;
    const std::span<const uint8_t> texts = shape.GetProperty(PT_TEXTS);
    TextStepWalk walk(shape.GetProgram(), OwnFrame(shape));
    TextStep step;
    while (walk.Next(step)) {
        if (step.code != kTextBox) {
            continue;
        }
        BoxText box;
        box.step = step.index;
        box.number = step.number;
        if (const std::optional<TextRecord> record = FindTextRecord(texts, step.number)) {
            box.text = std::string(record->text);
            box.hasRecord = true;
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

std::optional<TextBoxHit> FindTextBoxAt(const CRichGraph& shape, Point point)
{
    const ShapeFrame frame = OwnFrame(shape);
    const std::optional<TextStep> step = TextBoxStepAt(shape.GetProgram(), frame, point);
    if (!step) {
        return std::nullopt;
    }
    TextBoxHit hit;
    hit.step = *step;
    hit.bounds = TurnedBounds(step->box, frame);
    if (const std::optional<TextRecord> record =
            FindTextRecord(shape.GetProperty(PT_TEXTS), step->number)) {
        hit.text = std::string(record->text);
        hit.offset = int32_t(record->offset);
    }
    return hit;
}

std::optional<TextStep> TextBoxStep(const CRichGraph& shape, int step)
{
    TextStepWalk walk(shape.GetProgram(), OwnFrame(shape));
    TextStep found;
    while (walk.Next(found)) {
        if (found.index == step) {
            return found.code == kTextBox ? std::optional<TextStep>(found) : std::nullopt;
        }
        if (found.index > step) {
            break;
        }
    }
    return std::nullopt;
}

bool SetBoxText(CRichGraph& shape, uint16_t number, std::string_view gbk)
{
    const std::optional<std::vector<uint8_t>> list =
        ReplaceTextRecord(shape.GetProperty(PT_TEXTS), number, gbk);
    // SetProperty refuses an item beyond its length field and keeps the old one.
    return list && shape.SetProperty(PT_TEXTS, *list);
}

bool GrowToHoldText(CRichGraph& shape, int step, std::string_view gbk, double scaleX, double scaleY)
{
    const std::optional<TextStep> box = TextBoxStep(shape, step);
    if (!box) {
        return false;
    }
    const LogFont font = TextBoxFont(shape.font, shape.angle, box->divisor, box->style);
    const TextExtent extent =
        TextBlockExtent(FontFor(font, scaleX, scaleY), scaleX, scaleY, gbk, kLineGap);
    const int32_t width = shape.Width();
    const int32_t height = shape.Height();
    const int32_t bw = box->box.Width();
    const int32_t bh = box->box.Height();
    // MulDiv answers -1 for a box of no extent, which never exceeds the frame.
    const int32_t newHeight = MulDiv(extent.height, height, bh);
    const int32_t newWidth = MulDiv(extent.width, width, bw);
    bool grown = false;
    if (newHeight > height) {
        shape.frame.bottom = shape.frame.top + newHeight;
        grown = true;
    }
    if (newWidth > width) {
        shape.frame.right = shape.frame.left + newWidth;
        grown = true;
    }
    return grown;
}

TypedTextResult ApplyTypedText(CRichGraph& shape, int step, std::string_view gbk, double scaleX,
                               double scaleY)
{
    TypedTextResult result;
    const ShapeFrame before = OwnFrame(shape);
    result.oldArea = TurnedBounds(shape.frame, before);
    const std::optional<TextStep> box = TextBoxStep(shape, step);
    if (!box) {
        return result;
    }
    result.box = TurnedBounds(box->box, before);
    result.stored = SetBoxText(shape, box->number, gbk);
    if (!result.stored) {
        return result;
    }
    result.grown = GrowToHoldText(shape, step, gbk, scaleX, scaleY);
    if (result.grown) {
        if (const std::optional<TextStep> grown = TextBoxStep(shape, step)) {
            result.box = TurnedBounds(grown->box, OwnFrame(shape));
        }
    }
    return result;
}

} // namespace figures
