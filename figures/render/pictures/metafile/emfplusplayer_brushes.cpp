// Brushes of the newer metafile model: solid colours, hatches, textures and gradients.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"

#include <QGradient>

#include <algorithm>
#include <cmath>

namespace figures {

using namespace emfplus;

namespace {

enum BrushType : uint32_t {
    kSolidBrush = 0,
    kHatchBrush = 1,
    kTextureBrush = 2,
    kPathGradientBrush = 3,
    kLinearGradientBrush = 4,
};

// Optional data of gradient and texture brushes.
constexpr uint32_t kBoundaryIsPath = 0x0001;
constexpr uint32_t kHasTransform = 0x0002;
constexpr uint32_t kPresetColours = 0x0004;
constexpr uint32_t kBlendFactors = 0x0008; // along the gradient (across, for linear ones)
constexpr int32_t kWrapClamp = 4;

// The hatch styles drawn as one of the painter's patterns: lines of six directions, then
// the percentage dot patterns as the pattern of the nearest density.
Qt::BrushStyle HatchPattern(uint32_t style)
{
    switch (style) {
    case 0:
    case 25:
    case 27:
    case 29:
    case 32: return Qt::HorPattern;
    case 1:
    case 24:
    case 26:
    case 28:
    case 33: return Qt::VerPattern;
    case 2:
    case 18:
    case 20:
    case 22:
    case 30: return Qt::FDiagPattern;
    case 3:
    case 19:
    case 21:
    case 23:
    case 31: return Qt::BDiagPattern;
    case 4:
    case 38: return Qt::CrossPattern;
    case 5: return Qt::DiagCrossPattern;
    default: break;
    }
    if (style >= 6 && style <= 17) {
        const int percent[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
        const std::pair<int, Qt::BrushStyle> dense[] = {
            {94, Qt::Dense1Pattern}, {88, Qt::Dense2Pattern}, {63, Qt::Dense3Pattern},
            {50, Qt::Dense4Pattern}, {37, Qt::Dense5Pattern}, {12, Qt::Dense6Pattern},
            {6, Qt::Dense7Pattern}};
        const int want = percent[style - 6];
        return std::min_element(std::begin(dense), std::end(dense),
                                [want](auto a, auto b) {
                                    return std::abs(a.first - want) < std::abs(b.first - want);
                                })
            ->second;
    }
    return Qt::NoBrush;
}

QColor Mix(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2,
                  (a.alpha() + b.alpha()) / 2);
}

double Unit(double v)
{
    return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

// The positions (0..1) that open a blend, measured from the far end when reversed; none
// when the record cannot hold the blend's eight bytes per position.
std::optional<std::vector<double>> ReadBlendPositions(RecordReader& r, bool reversed)
{
    const uint32_t count = r.U32();
    if (!r.Ok() || count == 0 || !r.Has(count, 8)) {
        return std::nullopt;
    }
    std::vector<double> at(count);
    for (double& v : at) {
        v = Unit(r.F32());
        v = reversed ? 1 - v : v;
    }
    return at;
}

QGradientStops SortedByPosition(QGradientStops stops)
{
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return stops;
}

// Colours at positions of a blend: the positions, then a colour for each.
std::optional<QGradientStops> ReadPresetColours(RecordReader& r, bool reversed)
{
    const std::optional<std::vector<double>> at = ReadBlendPositions(r, reversed);
    if (!at) {
        return std::nullopt;
    }
    QGradientStops stops;
    for (const double p : *at) {
        stops.append({p, Argb(r.U32())});
    }
    return SortedByPosition(std::move(stops));
}

// Factors (0 the first colour, 1 the second) at positions of a blend, as colour stops.
std::optional<QGradientStops> ReadBlendFactors(RecordReader& r, const QColor& first,
                                               const QColor& second, bool reversed)
{
    const std::optional<std::vector<double>> at = ReadBlendPositions(r, reversed);
    if (!at) {
        return std::nullopt;
    }
    QGradientStops stops;
    for (const double p : *at) {
        const double f = Unit(r.F32());
        const auto blend = [f](int a, int b) { return int(std::lround(a + (b - a) * f)); };
        const QColor c(blend(first.red(), second.red()), blend(first.green(), second.green()),
                       blend(first.blue(), second.blue()), blend(first.alpha(), second.alpha()));
        stops.append({p, c});
    }
    return SortedByPosition(std::move(stops));
}

// Reads the blend the flags announce (preset colours, or factors between `first` and
// `second`) into the gradient's stops. False when an announced blend is damaged, which makes
// the whole brush damaged; a gradient without a blend keeps its two end colours.
bool ReadBlendInto(RecordReader& r, uint32_t flags, const QColor& first, const QColor& second,
                   bool reversed, QGradient& gradient)
{
    std::optional<QGradientStops> stops;
    if (flags & kPresetColours) {
        stops = ReadPresetColours(r, reversed);
    } else if (flags & kBlendFactors) {
        stops = ReadBlendFactors(r, first, second, reversed);
    } else {
        return true;
    }
    if (!stops) {
        return false;
    }
    gradient.setStops(*stops);
    return true;
}

QGradient::Spread SpreadOf(int32_t wrap)
{
    switch (wrap) {
    case 0:
    case 2: return QGradient::RepeatSpread;
    case 1:
    case 3: return QGradient::ReflectSpread;
    default: return QGradient::PadSpread;
    }
}

std::optional<EmfPlusPlayer::Brush> ReadLinearGradient(RecordReader& r)
{
    const uint32_t flags = r.U32();
    const int32_t wrap = r.I32();
    const QRectF rect = ReadRect(r, false);
    const QColor start = Argb(r.U32());
    const QColor end = Argb(r.U32());
    r.Skip(8); // reserved
    const QTransform transform = (flags & kHasTransform) ? ReadMatrix(r) : QTransform();
    if (!r.Ok() || !Finite(rect) || rect.width() == 0) {
        return std::nullopt;
    }
    // The colours run across the rectangle; the transform turns them as the brush was.
    QLinearGradient gradient(rect.left(), rect.top(), rect.right(), rect.top());
    gradient.setSpread(SpreadOf(wrap));
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    if (!ReadBlendInto(r, flags, start, end, false, gradient)) {
        return std::nullopt;
    }
    QBrush brush(gradient);
    brush.setTransform(transform);
    return EmfPlusPlayer::Brush{brush, QColor(Qt::transparent), std::nullopt};
}

} // namespace

// A path gradient is drawn as an elliptic gradient round its centre, reaching its
// surrounding colour at the boundary's bounding box, and painting only inside the
// boundary: the shape of the colours differs from a boundary that is no ellipse, the
// colours at centre and edge do not.
std::optional<EmfPlusPlayer::Brush> EmfPlusPlayer::ReadPathGradient(RecordReader& r)
{
    const uint32_t flags = r.U32();
    r.I32(); // wrap mode: the boundary ends the brush anyway
    const QColor centreColour = Argb(r.U32());
    const QPointF centre = ReadPoint(r, false);
    const uint32_t colourCount = r.U32();
    if (!r.Ok() || !r.Has(colourCount, 4) || !Finite(centre.x()) || !Finite(centre.y())) {
        return std::nullopt;
    }
    // Several surrounding colours (one a boundary point) are drawn as their first.
    QColor edgeColour = centreColour;
    for (uint32_t i = 0; i < colourCount; ++i) {
        const QColor c = Argb(r.U32());
        if (i == 0) {
            edgeColour = c;
        }
    }
    std::optional<QPainterPath> boundary;
    if (flags & kBoundaryIsPath) {
        const uint32_t size = r.U32();
        RecordReader path(r.Bytes(size));
        boundary = r.Ok() ? ReadPath(path) : std::nullopt;
    } else {
        const uint32_t count = r.U32();
        if (const auto points = ReadPoints(r, count, false)) {
            boundary.emplace();
            boundary->addPolygon(*points);
            boundary->closeSubpath();
        }
    }
    const QTransform transform = (flags & kHasTransform) ? ReadMatrix(r) : QTransform();
    if (!boundary || !r.Ok()) {
        return std::nullopt;
    }
    const QRectF box = boundary->boundingRect();
    const double rx = std::max(centre.x() - box.left(), box.right() - centre.x());
    const double ry = std::max(centre.y() - box.top(), box.bottom() - centre.y());
    if (!(rx > 0) || !(ry > 0) || !Finite(rx) || !Finite(ry)) {
        return std::nullopt;
    }
    QRadialGradient gradient(QPointF(0, 0), 1);
    gradient.setColorAt(0, centreColour);
    gradient.setColorAt(1, edgeColour);
    // Positions of a path gradient's blend run from the boundary (0) to the centre (1).
    if (!ReadBlendInto(r, flags, edgeColour, centreColour, true, gradient)) {
        return std::nullopt;
    }
    QBrush brush(gradient);
    brush.setTransform(QTransform::fromScale(rx, ry) *
                       QTransform::fromTranslate(centre.x(), centre.y()) * transform);
    return Brush{brush, QColor(Qt::transparent), transform.map(*boundary)};
}

std::optional<EmfPlusPlayer::Brush> EmfPlusPlayer::ReadBrush(RecordReader& r)
{
    r.U32(); // version
    const uint32_t type = r.U32();
    if (!r.Ok()) {
        return std::nullopt;
    }
    switch (type) {
    case kSolidBrush: {
        const QColor colour = Argb(r.U32());
        return r.Ok() ? std::optional(Brush{QBrush(colour), QColor(Qt::transparent), {}})
                      : std::nullopt;
    }
    case kHatchBrush: {
        const uint32_t style = r.U32();
        const QColor fore = Argb(r.U32());
        const QColor back = Argb(r.U32());
        if (!r.Ok()) {
            return std::nullopt;
        }
        const Qt::BrushStyle pattern = HatchPattern(style);
        if (pattern == Qt::NoBrush) {
            return Brush{QBrush(Mix(fore, back)), QColor(Qt::transparent), {}};
        }
        return Brush{QBrush(fore, pattern), back, {}};
    }
    case kTextureBrush: {
        const uint32_t flags = r.U32();
        const int32_t wrap = r.I32();
        const QTransform transform = (flags & kHasTransform) ? ReadMatrix(r) : QTransform();
        std::optional<QImage> image = r.Ok() ? ReadImage(r) : std::nullopt;
        if (!image) {
            return std::nullopt;
        }
        QBrush brush(*image);
        brush.setTransform(transform);
        // A clamped texture shows once, from the brush's origin.
        std::optional<QPainterPath> bounds;
        if (wrap == kWrapClamp) {
            bounds.emplace();
            bounds->addRect(QRectF(QPointF(0, 0), image->size()));
            *bounds = transform.map(*bounds);
        }
        return Brush{brush, QColor(Qt::transparent), bounds};
    }
    case kPathGradientBrush: return ReadPathGradient(r);
    case kLinearGradientBrush: return ReadLinearGradient(r);
    default: return std::nullopt;
    }
}

} // namespace figures
