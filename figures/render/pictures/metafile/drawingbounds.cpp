#include "figures/render/pictures/metafile/drawingbounds.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>

#include <climits>
#include <cmath>

namespace figures {

namespace {

// The device claims to be this large, so that painters never take it for an empty one.
constexpr int kSide = 1 << 24;

} // namespace

class DrawingBoundsEngine : public QPaintEngine {
public:
    DrawingBoundsEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QRectF bounds;
    bool any = false;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& changed) override
    {
        if (changed.state() & DirtyTransform) {
            transform_ = changed.transform();
        }
        if (changed.state() & DirtyPen) {
            pen_ = changed.pen();
        }
    }

    void drawPath(const QPainterPath& path) override { AddShape(path.controlPointRect()); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        if (count > 0) {
            AddShape(QPolygonF(QList<QPointF>(points, points + count)).boundingRect());
        }
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { Add(r); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override
    {
        Add(r);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override { Add(r); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        Add(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()));
    }

private:
    // A shape widened by half its pen on each side.
    void AddShape(const QRectF& r)
    {
        if (pen_.style() == Qt::NoPen) {
            Add(r);
            return;
        }
        const double half = pen_.isCosmetic() ? 0 : std::max(1.0, pen_.widthF()) / 2;
        Add(r.adjusted(-half, -half, half, half));
    }

    void Add(const QRectF& r)
    {
        const QRectF mapped = transform_.mapRect(r);
        if (std::isfinite(mapped.x()) && std::isfinite(mapped.y()) &&
            std::isfinite(mapped.width()) && std::isfinite(mapped.height())) {
            bounds = any ? bounds.united(mapped) : mapped;
            any = true;
        }
    }

    QTransform transform_;
    QPen pen_;
};

DrawingBounds::DrawingBounds() : engine_(std::make_unique<DrawingBoundsEngine>()) {}

DrawingBounds::~DrawingBounds() = default;

QRectF DrawingBounds::Bounds() const
{
    return engine_->bounds;
}

QPaintEngine* DrawingBounds::paintEngine() const
{
    return engine_.get();
}

int DrawingBounds::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
    case PdmHeight: return kSide;
    case PdmWidthMM:
    case PdmHeightMM: return int(kSide * 25.4 / 96);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDepth: return 32;
    case PdmNumColors: return INT_MAX;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
    }
}

} // namespace figures
