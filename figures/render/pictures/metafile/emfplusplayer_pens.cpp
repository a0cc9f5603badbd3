// Pens of the newer metafile model: widths, joins, dashes, and the shapes they draw at the
// ends of open figures, plain, anchored or of the file's own design.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace figures {

using namespace emfplus;

namespace {

// The optional fields of a pen, in the order they are stored.
enum PenData : uint32_t {
    kPenTransform = 0x0001,
    kStartCap = 0x0002,
    kEndCap = 0x0004,
    kJoin = 0x0008,
    kMiterLimit = 0x0010,
    kLineStyle = 0x0020,
    kDashCap = 0x0040,
    kDashOffset = 0x0080,
    kDashes = 0x0100,
    kAlignment = 0x0200,
    kCompound = 0x0400,
    kCustomStartCap = 0x0800,
    kCustomEndCap = 0x1000,
};

enum CapType : uint32_t {
    kFlatCap = 0,
    kSquareCap = 1,
    kRoundCap = 2,
    kTriangleCap = 3,
    kNoAnchor = 0x10,
    kSquareAnchor = 0x11,
    kRoundAnchor = 0x12,
    kDiamondAnchor = 0x13,
    kArrowAnchor = 0x14,
    kCustomCap = 0xFF,
};

constexpr uint32_t kCustomStyle = 5;
constexpr uint32_t kArrowCapKind = 1;
constexpr uint32_t kCapFillsPath = 0x1;
constexpr uint32_t kCapStrokesPath = 0x2;
// The caps of one stroke hold this many path elements in all at most: a path of many
// open figures drawn with a pen whose caps are paths of many points would otherwise cost
// their product. Figures beyond it are drawn without caps.
constexpr int64_t kMaxCapElements = 1 << 16;
// A stroke cut into more dashes than this is drawn solid: each dash costs the stroker a
// figure, and a tiny dash along a long line would cost without end.
constexpr double kMaxDashes = 1 << 16;

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// The shape of a cap of the given type, in pen widths; anchors are twice the pen's width
// across and centred on the end, arrows point out of the line with their tip on the end.
EmfPlusPlayer::LineCap PlainCap(uint32_t type)
{
    EmfPlusPlayer::LineCap cap;
    switch (type) {
    case kSquareCap: cap.fill.addRect(QRectF(-0.5, 0, 1, 0.5)); break;
    case kRoundCap: cap.fill.addEllipse(QPointF(0, 0), 0.5, 0.5); break;
    case kTriangleCap: cap.fill = Polygon({{-0.5, 0}, {0.5, 0}, {0, 0.5}}); break;
    case kSquareAnchor: cap.fill.addRect(QRectF(-1, -1, 2, 2)); break;
    case kRoundAnchor: cap.fill.addEllipse(QPointF(0, 0), 1, 1); break;
    case kDiamondAnchor: cap.fill = Polygon({{0, 1}, {1, 0}, {0, -1}, {-1, 0}}); break;
    case kArrowAnchor:
        cap.fill = Polygon({{0, 0}, {-1, -2}, {1, -2}});
        cap.inset = 1; // where the arrow is as wide as the line
        break;
    default: break;
    }
    return cap;
}

Qt::PenCapStyle PainterCap(uint32_t type)
{
    switch (type) {
    case kSquareCap: return Qt::SquareCap;
    case kRoundCap:
    case kTriangleCap: return Qt::RoundCap; // the painter has no pointed ends
    default: return Qt::FlatCap;
    }
}

Qt::PenJoinStyle PainterJoin(uint32_t join)
{
    switch (join) {
    case 0: return Qt::SvgMiterJoin; // bevelled beyond the limit
    case 1: return Qt::BevelJoin;
    case 2: return Qt::RoundJoin;
    default: return Qt::MiterJoin; // cut off at the limit
    }
}

// Dash and gap lengths of the named line styles, in pen widths.
QList<qreal> StyleDashes(uint32_t style)
{
    switch (style) {
    case 1: return {3, 1};
    case 2: return {1, 1};
    case 3: return {3, 1, 1, 1};
    case 4: return {3, 1, 1, 1, 1, 1};
    default: return {};
    }
}

// The file's own dash lengths: nothing when they are not finite or all empty, and a failed
// reader as well when they run past the record.
std::optional<QList<qreal>> ReadDashes(RecordReader& r)
{
    const uint32_t count = r.U32();
    if (!r.Ok() || !r.Has(count, 4)) {
        r.Skip(r.Remaining() + 1);
        return std::nullopt;
    }
    QList<qreal> dashes;
    dashes.reserve(qsizetype(count));
    bool sound = true;
    bool anything = false;
    for (uint32_t i = 0; i < count; ++i) {
        const double v = r.F32();
        sound = sound && Finite(v) && v >= 0;
        anything = anything || v > 0;
        dashes.append(v);
    }
    if (!sound || !anything) {
        return std::nullopt;
    }
    // An odd pattern repeats once more, so that dashes and gaps alternate.
    if (dashes.size() % 2 != 0) {
        dashes += QList<qreal>(dashes);
    }
    return dashes;
}

// A cap of the file's design: an arrow of a width and height, or paths to fill or stroke;
// nothing when it is damaged.
std::optional<EmfPlusPlayer::LineCap> ReadCustomCap(RecordReader& r)
{
    r.U32(); // version
    const uint32_t kind = r.U32();
    if (!r.Ok()) {
        return std::nullopt;
    }
    EmfPlusPlayer::LineCap cap;
    if (kind == kArrowCapKind) {
        const double width = r.F32();
        const double height = r.F32();
        const double inset = r.F32();
        const uint32_t filled = r.U32();
        r.Skip(4 * 4); // the outline's caps, join and miter limit
        const double scale = r.F32();
        if (!r.Ok() || !Finite(width) || !Finite(height) || !Finite(inset) || !Finite(scale)) {
            return std::nullopt;
        }
        const double w = width * scale / 2;
        const double h = height * scale;
        const QPainterPath arrow = Polygon({{0, 0}, {-w, -h}, {0, -h + inset * scale}, {w, -h}});
        (filled ? cap.fill : cap.outline) = arrow;
        // A filled arrow hides the line from where it is as wide; an outline shows it up
        // to the arrow's back.
        const double asWide = w > 0.5 ? h / (2 * w) : h;
        cap.inset = std::clamp(filled ? asWide : h - inset * scale, 0.0, h);
        return cap;
    }
    const uint32_t flags = r.U32();
    r.U32(); // base cap
    const double baseInset = r.F32();
    r.Skip(4 * 4); // the outline's caps, join and miter limit
    const double scale = r.F32();
    r.Skip(16); // hot spots
    if (!r.Ok() || !Finite(scale) || !Finite(baseInset)) {
        return std::nullopt;
    }
    cap.inset = std::clamp(baseInset * scale, 0.0, 1e3);
    for (const uint32_t part : {kCapFillsPath, kCapStrokesPath}) {
        if (!(flags & part)) {
            continue;
        }
        const uint32_t size = r.U32();
        RecordReader bytes(r.Bytes(size));
        std::optional<QPainterPath> path = r.Ok() ? ReadPath(bytes) : std::nullopt;
        if (!path) {
            return std::nullopt;
        }
        (part == kCapFillsPath ? cap.fill : cap.outline) =
            QTransform::fromScale(scale, scale).map(*path);
    }
    return cap;
}

// The cap a pen's type names, read from the custom data when it is the file's own.
std::optional<EmfPlusPlayer::LineCap> CapFor(uint32_t type, RecordReader* custom)
{
    if (type == kCustomCap) {
        if (custom == nullptr) {
            return EmfPlusPlayer::LineCap{};
        }
        return ReadCustomCap(*custom);
    }
    return PlainCap(type);
}

// The first point of a figure and the direction out of the line there (a unit vector);
// false when the figure has no length.
bool FigureEnd(const QPainterPath& path, int first, int last, bool atStart, QPointF& end,
               QPointF& out)
{
    const int from = atStart ? first : last;
    const int step = atStart ? 1 : -1;
    end = path.elementAt(from);
    for (int i = from + step; i >= first && i <= last; i += step) {
        const QPointF d = end - QPointF(path.elementAt(i));
        const double length = std::hypot(d.x(), d.y());
        if (length > 0 && std::isfinite(length)) {
            out = d / length;
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<EmfPlusPlayer::Pen> EmfPlusPlayer::ReadPen(RecordReader& r)
{
    r.U32(); // version
    r.U32(); // type
    const uint32_t flags = r.U32();
    const uint32_t unit = r.U32();
    const double width = r.F32();
    if (!r.Ok() || !Finite(width)) {
        return std::nullopt;
    }
    Pen pen;
    pen.width = std::max(0.0, width) * UnitScale(unit);
    if (flags & kPenTransform) {
        r.Skip(24); // the pen's own shape, not drawn
    }
    const uint32_t startType = (flags & kStartCap) ? r.U32() : kFlatCap;
    const uint32_t endType = (flags & kEndCap) ? r.U32() : kFlatCap;
    if (flags & kJoin) {
        pen.join = PainterJoin(r.U32());
    }
    if (flags & kMiterLimit) {
        const double limit = r.F32();
        pen.miterLimit = Finite(limit) ? std::clamp(limit, 1.0, 100.0) : pen.miterLimit;
    }
    const uint32_t style = (flags & kLineStyle) ? r.U32() : 0;
    const uint32_t dashCap = (flags & kDashCap) ? r.U32() : kFlatCap;
    if (flags & kDashOffset) {
        const double offset = r.F32();
        pen.dashOffset = Finite(offset) ? offset : 0;
    }
    std::optional<QList<qreal>> ownDashes;
    if (flags & kDashes) {
        ownDashes = ReadDashes(r);
    }
    if (flags & kAlignment) {
        r.U32(); // drawn centred on the line whatever the alignment
    }
    if (flags & kCompound) {
        const uint32_t n = r.U32(); // drawn as one line
        r.Skip(r.Has(n, 4) ? size_t(n) * 4 : r.Remaining() + 1);
    }
    std::optional<LineCap> start = CapFor(startType, nullptr);
    std::optional<LineCap> end = CapFor(endType, nullptr);
    for (const uint32_t which : {kCustomStartCap, kCustomEndCap}) {
        if (flags & which) {
            const uint32_t size = r.U32();
            RecordReader custom(r.Bytes(size));
            if (!r.Ok()) {
                return std::nullopt;
            }
            (which == kCustomStartCap ? start : end) = CapFor(kCustomCap, &custom);
        }
    }
    std::optional<Brush> brush = r.Ok() ? ReadBrush(r) : std::nullopt;
    if (!brush) {
        return std::nullopt;
    }
    pen.brush = std::move(*brush);
    pen.dashes = style == kCustomStyle ? ownDashes.value_or(QList<qreal>()) : StyleDashes(style);
    pen.start = start.value_or(LineCap{});
    pen.end = end.value_or(LineCap{});
    if (!pen.dashes.isEmpty()) {
        pen.cap = PainterCap(dashCap);
    } else if (startType == endType && startType <= kRoundCap) {
        // Plain ends alike are the painter's own, drawn with the stroke.
        pen.cap = PainterCap(startType);
        pen.start = pen.end = LineCap{};
    }
    return pen;
}

QPen EmfPlusPlayer::PainterPen(const Pen& pen, const QPainterPath& world) const
{
    QPen out(pen.brush.brush, pen.width);
    out.setCosmetic(pen.width <= 0);
    out.setJoinStyle(pen.join);
    out.setMiterLimit(pen.miterLimit);
    out.setCapStyle(pen.cap);
    if (pen.dashes.isEmpty()) {
        return out;
    }
    // Dashes are counted along the line on the output, in pen widths there.
    const QTransform toOutput = ToPainter();
    const double scale = std::sqrt(std::abs(toOutput.determinant()));
    const double unit = pen.width > 0 ? pen.width * scale : 1;
    double period = 0;
    for (const qreal d : pen.dashes) {
        period += d;
    }
    const double length = world.elementCount() > 0 ? toOutput.map(world).length() : 0;
    const double dashes = length / (period * unit) * double(pen.dashes.size());
    if (!(unit > 0) || !(dashes < kMaxDashes)) {
        return out;
    }
    out.setDashPattern(pen.dashes);
    out.setDashOffset(pen.dashOffset);
    return out;
}

void EmfPlusPlayer::DrawLineCaps(QPainter& painter, const QPainterPath& world, const Pen& pen) const
{
    if (pen.width <= 0 || (pen.start.Empty() && pen.end.Empty())) {
        return;
    }
    QPen outline(pen.brush.brush, pen.width);
    outline.setJoinStyle(pen.join);
    const int count = world.elementCount();
    int64_t budget = kMaxCapElements;
    for (int first = 0; first < count;) {
        int last = first + 1;
        while (last < count && !world.elementAt(last).isMoveTo()) {
            ++last;
        }
        --last;
        // A closed figure ends where it starts and has no ends to cap.
        if (QPointF(world.elementAt(first)) != QPointF(world.elementAt(last))) {
            for (const bool atStart : {true, false}) {
                const LineCap& cap = atStart ? pen.start : pen.end;
                QPointF end;
                QPointF d;
                if (cap.Empty() || !FigureEnd(world, first, last, atStart, end, d)) {
                    continue;
                }
                budget -= cap.fill.elementCount() + cap.outline.elementCount();
                if (budget < 0) {
                    return;
                }
                const double w = pen.width;
                const QTransform place(-d.y() * w, d.x() * w, d.x() * w, d.y() * w, end.x(),
                                       end.y());
                if (!cap.fill.isEmpty()) {
                    painter.fillPath(place.map(cap.fill), pen.brush.brush);
                }
                if (!cap.outline.isEmpty()) {
                    painter.strokePath(place.map(cap.outline), outline);
                }
            }
        }
        first = last + 1;
    }
}

QPainterPath EmfPlusPlayer::InsetEnds(const QPainterPath& world, const Pen& pen)
{
    if (pen.width <= 0 || (pen.start.inset <= 0 && pen.end.inset <= 0)) {
        return world;
    }
    QPainterPath out = world;
    const int count = out.elementCount();
    for (int first = 0; first < count;) {
        int last = first + 1;
        while (last < count && !out.elementAt(last).isMoveTo()) {
            ++last;
        }
        --last;
        const QPointF a = out.elementAt(first);
        const QPointF b = out.elementAt(last);
        // Only a straight end is drawn in, and not past the point before it.
        const auto drawIn = [&](int end, int before, double inset) {
            const QPointF from = out.elementAt(end);
            const QPointF to = out.elementAt(before);
            const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
            const double by = inset * pen.width;
            if (by > 0 && length > by && out.elementAt(end == first ? before : end).isLineTo()) {
                const QPointF p = from + (to - from) * (by / length);
                out.setElementPositionAt(end, p.x(), p.y());
            }
        };
        if (last > first && a != b) {
            drawIn(first, first + 1, pen.start.inset);
            drawIn(last, last - 1, pen.end.inset);
        }
        first = last + 1;
    }
    return out;
}

void EmfPlusPlayer::Stroke(const QPainterPath& world, uint32_t penId)
{
    const Pen* pen = FindAs<Pen>(penId);
    if (pen == nullptr) {
        return;
    }
    const QPen qpen = PainterPen(*pen, world);
    Drawing drawing(*this);
    if (pen->brush.bounds) {
        drawing.painter.setClipPath(*pen->brush.bounds, Qt::IntersectClip);
    }
    drawing.painter.strokePath(InsetEnds(world, *pen), qpen);
    DrawLineCaps(drawing.painter, world, *pen);
}

} // namespace figures
