#include "figures/render/text/textboxlayout.h"

#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/text/fontmapping.h"
#include "figures/render/shapes/shapeprogram.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace figures {

namespace {

// "是" and "否" in GBK.
constexpr std::string_view kFixedTexts[] = {"\xCA\xC7", "\xB7\xF1"};

constexpr uint32_t kLightGrey = 0xC0C0C0;

constexpr int32_t kFullTurn = 3600;
constexpr int32_t kBold = 700;

// Reads the record at `at` and moves past it; false at the closing 0 or the list's end.
// A record without its 0 byte ends with the list.
bool NextRecord(std::span<const uint8_t> texts, size_t& at, TextRecord& record)
{
    if (at >= texts.size() || texts[at] == 0) {
        return false;
    }
    const size_t begin = at + 1;
    size_t end = begin;
    while (end < texts.size() && texts[end] != 0) {
        ++end;
    }
    record.number = texts[at];
    record.text =
        std::string_view(reinterpret_cast<const char*>(texts.data()) + begin, end - begin);
    record.offset = at;
    at = end + 1;
    return true;
}

// Where a block of extent starts along one axis of a box from low to high: alignment 1
// at the low edge, 3 against the high edge, anything else centred.
int32_t AlignInBox(uint16_t alignment, int32_t low, int32_t high, int32_t extent)
{
    switch (alignment) {
    case 1: return low;
    case 3: return high - extent;
    default: return low + (high - extent - low) / 2;
    }
}

// Where a block of extent starts along one axis relative to an anchor: starting at it
// (1), ending at it (3), or centred on it.
int32_t AlignOnAnchor(uint16_t alignment, int32_t anchor, int32_t extent)
{
    switch (alignment) {
    case 1: return anchor;
    case 3: return anchor - extent;
    default: return anchor - extent / 2;
    }
}

QPainterPath CornerPolygon(const Corners& corners)
{
    QPainterPath path;
    path.moveTo(corners.p[0].x, corners.p[0].y);
    for (int i = 1; i < 4; ++i) {
        path.lineTo(corners.p[i].x, corners.p[i].y);
    }
    path.closeSubpath();
    return path;
}

// Writes the laid-out lines on the context's painter. Each line is drawn in device
// space, turned about its own start by the font's escapement, so that the font keeps
// its whole-pixel size at every zoom.
class PaintingTextSink : public ShapeTextSink {
public:
    PaintingTextSink(const DrawContext& dc, uint32_t colour) : dc_(dc)
    {
        dc_.Painter().setPen(ToQColor(colour));
    }

    void BeginBlock(const LogFont& font, const DeviceFont& deviceFont, const Corners* clip) override
    {
        clipped_ = clip != nullptr;
        if (clipped_) {
            dc_.PushClip(CornerPolygon(*clip));
        }
        dc_.Painter().setFont(deviceFont.font);
        font_ = &deviceFont;
        ascent_ = deviceFont.ascent;
        // Escapement runs counterclockwise on screen; the painter turns clockwise.
        degrees_ = -font.Escapement() / 10.0;
    }

    void Line(Point start, std::string_view gbkLine) override
    {
        const QPointF device = dc_.WorldTransform().map(QPointF(start.x, start.y));
        QTransform turn = QTransform::fromTranslate(device.x(), device.y());
        turn.rotate(degrees_);
        dc_.Painter().setWorldTransform(turn);
        dc_.Painter().drawText(QPointF(0, ascent_), DeviceText(*font_, gbkLine));
    }

    void EndBlock() override
    {
        dc_.ApplyWorldTransform();
        if (clipped_) {
            dc_.PopClip();
        }
    }

private:
    const DrawContext& dc_;
    bool clipped_ = false;
    const DeviceFont* font_ = nullptr; // the block's, valid until EndBlock
    double ascent_ = 0;
    double degrees_ = 0;
};

// Writes the lines of one block from (x, y) down, turned about centre. Lines of a box
// whose cell lies wholly outside the box rows [clipTop, clipBottom) are left out.
void EmitLines(std::string_view text, int32_t x, int32_t y, const TextExtent& extent, Point centre,
               int32_t angle, const Rect* box, ShapeTextSink& sink)
{
    TextLines lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        if (box != nullptr && y >= box->bottom) {
            break;
        }
        const bool visible = box == nullptr || y + extent.lineHeight > box->top;
        if (!line.empty() && visible) {
            sink.Line(RotatePoint(centre, {x, y}, angle), line);
        }
        y += extent.lineHeight + kLineGap;
    }
}

void LayOutTextBox(const TextStep& step, std::string_view text, const ShapeFrame& frame,
                   const ShapeTextStyle& style, double scaleX, double scaleY, ShapeTextSink& sink)
{
    const LogFont font = TextBoxFont(style.font, frame.angle, step.divisor, step.style);
    const DeviceFont deviceFont = FontFor(font, scaleX, scaleY);
    const TextExtent extent = TextBlockExtent(deviceFont, scaleX, scaleY, text, kLineGap);
    const uint16_t h = style.textHAlign != 0 ? uint16_t(style.textHAlign) : step.hAlign;
    const uint16_t v = style.textVAlign != 0 ? uint16_t(style.textVAlign) : step.vAlign;
    const Rect& box = step.box;
    const int32_t x = AlignInBox(h, box.left, box.right, extent.width);
    const int32_t y = AlignInBox(v, box.top, box.bottom, extent.height);
    const Point centre = FrameCentre(frame);
    const Corners clip = RotatedCorners(box, frame.angle, centre);
    sink.BeginBlock(font, deviceFont, &clip);
    EmitLines(text, x, y, extent, centre, frame.angle, &box, sink);
    sink.EndBlock();
}

void LayOutFixedText(const TextStep& step, std::string_view text, const ShapeFrame& frame,
                     const ShapeTextStyle& style, double scaleX, double scaleY, ShapeTextSink& sink)
{
    const LogFont font = FixedTextFont(style.font, frame.angle);
    const DeviceFont deviceFont = FontFor(font, scaleX, scaleY);
    const TextExtent extent = TextBlockExtent(deviceFont, scaleX, scaleY, text, kLineGap);
    const int32_t x = AlignOnAnchor(step.hAlign, step.anchor.x, extent.width);
    const int32_t y = AlignOnAnchor(step.vAlign, step.anchor.y, extent.height);
    sink.BeginBlock(font, deviceFont, nullptr);
    EmitLines(text, x, y, extent, FrameCentre(frame), frame.angle, nullptr, sink);
    sink.EndBlock();
}

void DrawEditFrames(const DrawContext& dc, std::span<const uint8_t> program,
                    const ShapeFrame& frame, uint32_t colour)
{
    QPen pen(ToQColor(colour), 0, Qt::DotLine);
    pen.setCosmetic(true);
    QPainter& painter = dc.Painter();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const Point centre = FrameCentre(frame);
    TextStepWalk walk(program, frame);
    TextStep step;
    while (walk.Next(step)) {
        if (step.code == kTextBox) {
            painter.drawPath(CornerPolygon(RotatedCorners(step.box, frame.angle, centre)));
        }
    }
}

} // namespace

// --- Text records ----------------------------------------------------------------------

std::vector<TextRecord> ReadTextRecords(std::span<const uint8_t> texts)
{
    std::vector<TextRecord> records;
    size_t at = 0;
    TextRecord record;
    while (NextRecord(texts, at, record)) {
        records.push_back(record);
    }
    return records;
}

std::optional<TextRecord> FindTextRecord(std::span<const uint8_t> texts, uint16_t number)
{
    if (number == 0 || number > 0xFF) {
        return std::nullopt;
    }
    size_t at = 0;
    TextRecord record;
    while (NextRecord(texts, at, record)) {
        if (record.number == number) {
            return record;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReplaceTextRecord(std::span<const uint8_t> texts,
                                                      uint16_t number, std::string_view text)
{
    if (number == 0 || number > 0xFF) {
        return std::nullopt;
    }
    text = text.substr(0, text.find('\0'));
    std::vector<uint8_t> list;
    list.reserve(texts.size() + text.size() + 3);
    list.push_back(uint8_t(number));
    list.insert(list.end(), text.begin(), text.end());
    list.push_back(0);
    bool replaced = false;
    for (const TextRecord& record : ReadTextRecords(texts)) {
        if (record.number == number && !replaced) {
            replaced = true;
            continue;
        }
        list.push_back(record.number);
        list.insert(list.end(), record.text.begin(), record.text.end());
        list.push_back(0);
    }
    list.push_back(0);
    return list;
}

std::string_view FixedText(uint16_t index)
{
    return index < std::size(kFixedTexts) ? kFixedTexts[index] : std::string_view();
}

// --- Lines and extents -----------------------------------------------------------------

bool TextLines::Next(std::string_view& line)
{
    if (!more_) {
        return false;
    }
    const size_t cr = rest_.find('\r');
    if (cr == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        more_ = false;
        return true;
    }
    line = rest_.substr(0, cr);
    size_t next = cr + 1;
    if (next < rest_.size() && rest_[next] == '\n') {
        ++next;
    }
    rest_.remove_prefix(next);
    return true;
}

int CountTextLines(std::string_view text)
{
    TextLines lines(text);
    std::string_view line;
    int n = 0;
    while (lines.Next(line)) {
        ++n;
    }
    return n;
}

TextExtent TextBlockExtent(const DeviceFont& font, double scaleX, double scaleY,
                           std::string_view text, int32_t gap)
{
    const QFontMetricsF metrics(font.font);
    double widest = 0;
    int32_t n = 0;
    TextLines lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        if (!line.empty()) {
            widest = std::max(widest, metrics.horizontalAdvance(DeviceText(font, line)));
        }
        ++n;
    }
    TextExtent extent;
    extent.width = scaleX > 0 ? RoundCoord(widest / scaleX) : 0;
    extent.lineHeight = scaleY > 0 ? RoundCoord(font.cellHeight / scaleY) : 0;
    // Saturating: a pathological text of many thousand lines must not wrap around.
    const int64_t height = int64_t(n) * extent.lineHeight + int64_t(gap) * (n - 1);
    extent.height = int32_t(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
    return extent;
}

TextExtent TextBlockExtent(const DeviceFont& font, const DrawContext& dc, std::string_view text,
                           int32_t gap)
{
    return TextBlockExtent(font, dc.ScaleX(), dc.ScaleY(), text, gap);
}

// --- Fonts of text steps ---------------------------------------------------------------

LogFont FixedTextFont(const LogFont& font, int32_t angle)
{
    LogFont result = font;
    result.SetEscapement(kFullTurn - angle);
    result.SetOrientation(kFullTurn - angle);
    return result;
}

LogFont TextBoxFont(const LogFont& font, int32_t angle, uint16_t divisor, uint16_t style)
{
    LogFont result = FixedTextFont(font, angle);
    const int32_t d = divisor == 0 ? 1 : divisor;
    const int32_t height = result.Height() / d;
    result.SetHeight(height == 0 ? 1 : height);
    result.SetWidth(result.Width() / d);
    if (style & TS_ITALIC) {
        result.SetItalic(1);
    }
    if (style & TS_BOLD) {
        result.SetWeight(kBold);
    }
    if (style & TS_UNDERLINE) {
        result.SetUnderline(1);
    }
    if (style & TS_STRIKE_OUT) {
        result.SetStrikeOut(1);
    }
    return result;
}

// --- Text steps ------------------------------------------------------------------------

bool TextStepWalk::Next(TextStep& step)
{
    const size_t words = program_.size() / 2;
    while (offset_ < words) {
        const uint16_t code = ProgramWord(program_, offset_);
        const int count = StepWordCount(code);
        if (code == kEnd || count < 0 || words - offset_ - 1 < size_t(count)) {
            offset_ = words;
            return false;
        }
        const size_t at = offset_ + 1;
        const int index = index_;
        offset_ += 1 + size_t(count);
        ++index_;
        if (code != kTextBox && code != kText) {
            continue;
        }
        auto word = [&](size_t i) { return ProgramWord(program_, at + i); };
        auto map = [&](size_t i) {
            return GridToFrame(word(i), word(i + 1), frame_.origin, frame_.width, frame_.height,
                               frame_.flipH, frame_.flipV);
        };
        step = TextStep{};
        step.index = index;
        step.code = code;
        if (code == kTextBox) {
            const Point a = map(0);
            const Point b = map(2);
            step.box = Rect{a.x, a.y, b.x, b.y}.Normalised();
            step.hAlign = word(4);
            step.vAlign = word(5);
            step.divisor = word(6);
            step.style = word(7);
            step.number = word(8);
        } else {
            step.anchor = map(0);
            step.hAlign = word(2);
            step.vAlign = word(3);
            step.number = word(4);
        }
        return true;
    }
    return false;
}

Point FrameCentre(const ShapeFrame& frame)
{
    return {frame.origin.x + frame.width / 2, frame.origin.y + frame.height / 2};
}

std::optional<TextStep> TextBoxStepAt(std::span<const uint8_t> program, const ShapeFrame& frame,
                                      Point point)
{
    const Point p = RotatePoint(FrameCentre(frame), point, -frame.angle);
    TextStepWalk walk(program, frame);
    TextStep step;
    while (walk.Next(step)) {
        if (step.code == kTextBox && step.box.Contains(p)) {
            return step;
        }
    }
    return std::nullopt;
}

// --- Drawing ---------------------------------------------------------------------------

uint32_t EditFrameColour(FillKind fillKind, uint32_t fillColour, uint32_t fillBackColour)
{
    if (fillKind == FillKind::None) {
        return kLightGrey;
    }
    const uint32_t c = fillKind == FillKind::Pattern  ? fillBackColour
                       : fillKind == FillKind::Colour ? fillColour
                                                      : 0xFFFFFF;
    return c == kNoColour ? kLightGrey : ScaleColour(c, 192, 255);
}

void LayOutShapeTexts(std::span<const uint8_t> program, const ShapeFrame& frame,
                      std::span<const uint8_t> texts, const ShapeTextStyle& style, double scaleX,
                      double scaleY, ShapeTextSink& sink)
{
    TextStepWalk walk(program, frame);
    TextStep step;
    while (walk.Next(step)) {
        if (step.code == kTextBox) {
            const std::optional<TextRecord> record = FindTextRecord(texts, step.number);
            if (record && !record->text.empty()) {
                LayOutTextBox(step, record->text, frame, style, scaleX, scaleY, sink);
            }
        } else {
            const std::string_view text = FixedText(step.number);
            if (!text.empty()) {
                LayOutFixedText(step, text, frame, style, scaleX, scaleY, sink);
            }
        }
    }
}

namespace {

} // namespace

// Without anything to lay out the painter's state need not be saved and restored (which
// copies pens, brushes, fonts and the clip) for nothing.
bool ShowsText(std::span<const uint8_t> program, const ShapeFrame& frame,
               std::span<const uint8_t> texts)
{
    TextStepWalk walk(program, frame);
    TextStep step;
    while (walk.Next(step)) {
        if (step.code == kTextBox) {
            const std::optional<TextRecord> record = FindTextRecord(texts, step.number);
            if (record && !record->text.empty()) {
                return true;
            }
        } else if (!FixedText(step.number).empty()) {
            return true;
        }
    }
    return false;
}

void DrawShapeTexts(const DrawContext& dc, std::span<const uint8_t> program,
                    const ShapeFrame& frame, std::span<const uint8_t> texts,
                    const ShapeTextStyle& style, ShapeTextPass pass)
{
    if (pass == ShapeTextPass::Texts && !ShowsText(program, frame, texts)) {
        return;
    }
    QPainter& painter = dc.Painter();
    painter.save();
    if (pass == ShapeTextPass::EditFrames) {
        DrawEditFrames(dc, program, frame,
                       EditFrameColour(style.fillKind, style.fillColour, style.fillBackColour));
    } else {
        PaintingTextSink sink(dc, style.textColour);
        LayOutShapeTexts(program, frame, texts, style, dc.ScaleX(), dc.ScaleY(), sink);
    }
    painter.restore();
}

} // namespace figures
