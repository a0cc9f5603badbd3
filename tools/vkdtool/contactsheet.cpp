#include "tools/vkdtool/contactsheet.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/model/handles/handlelist.h"
#include "figures/model/objects/objectflags.h"
#include "figures/render/shapes/adjust/adjustroutines.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/numeric.h"
#include "figures/render/painterpathsink.h"
#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/shapes/shapeprogram.h"

#include <QFont>
#include <QPainter>

#include <climits>
#include <cmath>
#include <vector>

namespace vkdtool {

using namespace figures;

namespace {

// The sheet is laid out in document units (0.1 mm) and drawn through the same drawing
// context as documents.
constexpr double kDpi = 96.0;
constexpr int kColumns = 5;
constexpr int kSlots = 3;
constexpr int32_t kShapeWidth = 200;
constexpr int32_t kShapeHeight = 150;
constexpr int32_t kSlotWidth = 280;
constexpr int32_t kLabelHeight = 60;
constexpr int32_t kSlotHeight = 250;
constexpr int32_t kCellGap = 40;
constexpr int32_t kCellWidth = kSlots * kSlotWidth + kCellGap;
constexpr int32_t kCellHeight = kLabelHeight + kSlotHeight;
constexpr int32_t kMargin = 40;
constexpr int32_t kTitleHeight = 90;
constexpr int32_t kTurnedAngle = 300; // 30 degrees clockwise

// Light blue faces with a dark one-point outline read clearly at small sizes and leave
// the lighter and darker 3-D faces visible.
constexpr uint32_t kFillColour = 0xFAE0C6;
constexpr uint32_t kLineColour = 0x303030;
constexpr int32_t kLineWidth = 10; // tenths of a point

// How the third shape of a cell is reshaped: which handle is dragged and how far, in
// thousandths of the frame's width and height.
struct DragExample {
    int entry;
    int handle;
    int32_t dx;
    int32_t dy;
};

constexpr DragExample kDragExamples[] = {
    {1, 3, -600, 500}, {3, 0, 200, 0},      {4, 0, 150, 0},    {6, 0, 250, 0},
    {7, 0, -150, 0},   {8, 0, 300, 0},      {11, 0, 120, 0},   {12, 0, 120, 0},
    {14, 0, 0, 150},   {15, 0, 0, -250},    {16, 0, 0, 120},   {17, 0, 120, 0},
    {18, 0, -250, 0},  {19, 0, 0, -300},    {20, 0, 150, 0},   {21, 0, 120, 0},
    {23, 0, 150, 0},   {24, 0, -700, 0},    {25, 1, -500, 0},  {26, 0, -350, 200},
    {27, 0, 100, 0},   {56, 0, 1100, -600}, {57, 0, 600, 150}, {60, 0, 40, 0},
    {63, 0, 150, 100}, {64, 0, -150, -100}, {65, 0, 100, 100}, {66, 0, 100, -100},
    {67, 0, 100, 100}, {68, 0, 100, 100},   {69, 1, 50, 50},   {71, 0, 100, 50},
    {72, 0, -80, 100}, {73, 0, -150, 80},   {74, 0, -150, 80}, {75, 0, 200, 0},
    {76, 0, -200, 0},  {102, 0, 250, 0},    {103, 0, 250, 0},  {104, 0, -250, 0},
    {105, 0, -250, 0}, {106, 0, 0, 250},    {107, 0, 0, 250},  {108, 0, 0, -250},
    {109, 0, 0, -250},
};

const DragExample* DragExampleFor(int entry)
{
    for (const DragExample& example : kDragExamples) {
        if (example.entry == entry) {
            return &example;
        }
    }
    return nullptr;
}

ShapeFrame FrameOf(const CRichGraph& shape)
{
    return {{shape.frame.left, shape.frame.top},
            shape.Width(),
            shape.Height(),
            shape.angle,
            shape.HasFlag(OF_FLIPPED_H),
            shape.HasFlag(OF_FLIPPED_V)};
}

// The text-box steps alone, drawn as their rectangles.
void OutlineTextBoxes(const DrawContext& dc, std::span<const uint8_t> program,
                      const ShapeFrame& frame)
{
    std::vector<uint8_t> boxes;
    for (auto rest = program; !rest.empty(); rest = SkipSteps(rest, 1)) {
        if (ProgramWord(rest, 0) == kTextBox) {
            const size_t bytes = size_t(StepWordCount(kTextBox) + 1) * 2;
            boxes.insert(boxes.end(), rest.begin(), rest.begin() + bytes);
        }
    }
    if (boxes.empty()) {
        return;
    }
    boxes.insert(boxes.end(), {0, 0});
    QPainterPath path;
    PainterPathSink sink(path);
    RunShapeProgram(boxes, frame, ProgramMode::DragOutline, sink);
    QPen pen(QColor(70, 130, 230), 0, Qt::DotLine);
    pen.setCosmetic(true);
    dc.StrokePath(path, pen);
}

// The adjust handles (kind 1) as small yellow diamonds, where the view would draw them.
void MarkHandles(const DrawContext& dc, const CRichGraph& shape, const ShapeFrame& frame)
{
    const HandleList handles = HandleList::Decode(shape.GetProperty(PT_HANDLES));
    const Point centre{frame.origin.x + frame.width / 2, frame.origin.y + frame.height / 2};
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setPen(QPen(QColor(90, 70, 0), 1));
    painter.setBrush(QColor(255, 220, 0));
    for (size_t i = 0; i < handles.Count(); ++i) {
        const Handle handle = handles.At(i);
        if (handle.kind != HK_STRUCTURE) {
            continue;
        }
        const Point at =
            RotatePoint(centre,
                        GridToFrame(handle.grid.x, handle.grid.y, frame.origin, frame.width,
                                    frame.height, frame.flipH, frame.flipV),
                        frame.angle);
        const Point d = dc.ToDevice(at);
        const QPointF diamond[] = {{d.x + 0.5, d.y - 3.5},
                                   {d.x + 4.5, d.y + 0.5},
                                   {d.x + 0.5, d.y + 4.5},
                                   {d.x - 3.5, d.y + 0.5}};
        painter.drawPolygon(diamond, 4);
    }
    painter.restore();
}

// Paints the shape as the document would (faces, texts and arrowheads included), then
// marks its adjust handles.
void PaintShape(const DrawContext& dc, CRichGraph& shape)
{
    DrawRequest request;
    request.dc = &dc;
    request.target = shape.frame;
    request.clip = {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
    shape.OnMessage(OM_DRAW, &request);
    MarkHandles(dc, shape, FrameOf(shape));
}

std::unique_ptr<CRichGraph> NewShape(int entry, Point topLeft)
{
    auto shape = std::make_unique<CRichGraph>(entry);
    shape->frame = {topLeft.x, topLeft.y, topLeft.x + kShapeWidth, topLeft.y + kShapeHeight};
    if (shape->fillKind != FillKind::None) {
        shape->fillKind = FillKind::Colour;
    }
    shape->fillColour = kFillColour;
    shape->lineStyle = kLineRoundSolid;
    shape->lineWidth = kLineWidth;
    shape->lineColour = kLineColour;
    return shape;
}

// Drags the example's handle on the object's own copies, as a handle drag in the view
// would, and stores the result back. False when the entry has no example.
bool Reshape(CRichGraph& shape)
{
    const DragExample* example = DragExampleFor(shape.shapeIndex);
    if (example == nullptr) {
        return false;
    }
    const AdjustShape where{shape.frame, shape.angle, shape.HasFlag(OF_FLIPPED_H),
                            shape.HasFlag(OF_FLIPPED_V)};
    const std::span<const uint8_t> ownHandles = shape.GetProperty(PT_HANDLES);
    std::vector<uint8_t> handles(ownHandles.begin(), ownHandles.end());
    const std::span<const uint8_t> ownProgram = shape.GetProgram();
    std::vector<uint8_t> program(ownProgram.begin(), ownProgram.end());
    AdjustDragState drag;
    if (!AdjustBegin(drag, example->entry, example->handle, handles, where)) {
        return false;
    }
    const Point displacement{MulDiv(example->dx, shape.Width(), 1000),
                             MulDiv(example->dy, shape.Height(), 1000)};
    const AdjustResult result =
        AdjustDrag(drag, example->entry, example->handle, displacement, where, program, handles);
    if (!result.changed) {
        return false;
    }
    shape.SetProperty(PT_PROGRAM, program);
    shape.SetProperty(PT_HANDLES, handles);
    if (result.frameChanged) {
        shape.frame = result.frame;
    }
    return true;
}

// Draws text with the identity transform at a device position, in a CJK face.
void Label(QPainter& painter, const DrawContext& dc, Point at, const QString& text, int pixels,
           QColor colour)
{
    const Point d = dc.ToDevice(at);
    painter.save();
    painter.setWorldTransform(QTransform());
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(d.x, d.y), text);
    painter.restore();
}

void PaintCell(QPainter& painter, const DrawContext& dc, int entry, Point cell)
{
    const ShapeCatalogueEntry* catalogued = CatalogueEntry(entry);
    const int labelPixels = std::max(9, int(std::lround(34 * dc.ScaleY())));
    Label(painter, dc, {cell.x, cell.y + kLabelHeight - 15},
          QStringLiteral("%1 %2").arg(entry).arg(
              QString::fromUtf8(catalogued->name.data(), qsizetype(catalogued->name.size()))),
          labelPixels, QColor(20, 20, 20));
    const int32_t inset = (kSlotWidth - kShapeWidth) / 2;
    const int32_t top = cell.y + kLabelHeight + (kSlotHeight - kShapeHeight) / 2;
    for (int slot = 0; slot < kSlots; ++slot) {
        auto shape = NewShape(entry, {cell.x + slot * kSlotWidth + inset, top});
        if (slot == 1) {
            shape->flags |= OF_FLIPPED_H;
            shape->angle = kTurnedAngle;
        } else if (slot == 2 && !Reshape(*shape)) {
            Label(painter, dc, {cell.x + slot * kSlotWidth + inset, top + kShapeHeight / 2},
                  QStringLiteral("无控点"), labelPixels, QColor(160, 160, 160));
            continue;
        }
        PaintShape(dc, *shape);
        if (slot == 0) {
            OutlineTextBoxes(dc, shape->GetProgram(), FrameOf(*shape));
        }
    }
}

} // namespace

QImage DrawContactSheet(int32_t zoom)
{
    const int rows = (CatalogueCount() + kColumns - 1) / kColumns;
    const int32_t width = 2 * kMargin + kColumns * kCellWidth;
    const int32_t height = 2 * kMargin + kTitleHeight + rows * kCellHeight;
    const double scale = kDpi / DrawContext::kUnitsPerInch * zoom / DrawContext::kZoomScale;
    QImage image(int(std::ceil(width * scale)), int(std::ceil(height * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const DrawContext dc(painter, kDpi, kDpi, zoom, zoom);
    Label(painter, dc, {kMargin, kMargin + kTitleHeight - 30},
          QStringLiteral("图形目录：每格依次为原样、水平翻转并旋转 30°、拖动控点之后"),
          std::max(10, int(std::lround(44 * scale))), QColor(0, 0, 0));
    for (int entry = 0; entry < CatalogueCount(); ++entry) {
        const Point cell{kMargin + (entry % kColumns) * kCellWidth,
                         kMargin + kTitleHeight + (entry / kColumns) * kCellHeight};
        PaintCell(painter, dc, entry, cell);
    }
    painter.end();
    return image;
}

bool WriteContactSheet(const QString& path, int32_t zoom, QString& error)
{
    const QImage image = DrawContactSheet(zoom);
    if (!image.save(path, "PNG")) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace vkdtool
