#include "figures/dialogs/shapepreview.h"

#include "figures/model/objects/crichgraph.h"
#include "figures/render/drawcontext.h"

#include <QPaintEvent>
#include <QPainter>

namespace figures {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr uint32_t kNoColour = 0xFF000000;

QColor ColourOf(uint32_t bgr)
{
    if (bgr == kNoColour) {
        return Qt::white;
    }
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

ShapePreview::ShapePreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ShapePreview::~ShapePreview() = default;

void ShapePreview::SetObject(std::unique_ptr<CBaseCom> object)
{
    object_ = std::move(object);
    update();
}

void ShapePreview::SetBackground(uint32_t colour)
{
    background_ = colour;
    update();
}

void ShapePreview::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColourOf(background_));
    if (object_ == nullptr) {
        return;
    }
    painter.setClipRect(event->rect());
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (area.isEmpty()) {
        return;
    }
    PaintObjectInto(painter, *object_, area, 0xFFFFFF);
}

void PaintObjectInto(QPainter& painter, CBaseCom& object, const QRect& area, uint32_t background)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, kScreenDpi, kScreenDpi);
    const Rect device{area.left(), area.top(), area.left() + area.width(),
                      area.top() + area.height()};
    const Rect frame = dc.ToDocument(device);
    object.frame = frame;
    painter.save();
    DrawRequest request;
    request.dc = &dc;
    request.target = frame;
    // Only the part of the painter that is not clipped away needs painting; shadows and
    // arrowheads may reach past the frame, so the whole device counts when unclipped.
    const QRect clipArea = painter.hasClipping()
                               ? painter.clipBoundingRect().toAlignedRect()
                               : QRect(0, 0, painter.device()->width(), painter.device()->height());
    request.clip =
        dc.ToDocument(Rect{clipArea.left(), clipArea.top(), clipArea.left() + clipArea.width(),
                           clipArea.top() + clipArea.height()});
    request.background = background;
    dc.ApplyWorldTransform();
    object.Draw(request);
    painter.restore();
}

QImage CatalogueIcon(int entry, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    CRichGraph shape(entry);
    QPainter painter(&image);
    PaintObjectInto(painter, shape, QRect(QPoint(2, 2), size - QSize(4, 4)), 0xFFFFFF);
    return image;
}

} // namespace figures
