// Points and paths of the newer metafile model, in each of the forms records store them.
#include "figures/render/pictures/metafile/emfplusfields.h"

#include <vector>

namespace figures::emfplus {

namespace {

constexpr uint32_t kPathRunLength = 0x1000; // path: point types run-length coded

// A signed integer of 7 bits in one byte (its high bit clear), or of 15 bits in two bytes,
// high byte first, the first byte's high bit set.
int32_t ReadPackedInt(RecordReader& r)
{
    const uint8_t first = r.U8();
    if ((first & 0x80) == 0) {
        return int32_t(uint32_t(first) << 25) >> 25;
    }
    const uint8_t second = r.U8();
    const uint32_t bits = (uint32_t(first & 0x7F) << 8) | second;
    return int32_t(bits << 17) >> 17;
}

// count point types, one a byte or in runs: two bytes a run, the count of the run in the
// low six bits of the first (its high bit marks the run as Bezier points), the type in the
// second. Nothing when they run past the record or a run is empty or too long.
std::optional<std::vector<uint8_t>> ReadPointTypes(RecordReader& r, uint32_t count, bool runs)
{
    std::vector<uint8_t> types;
    if (!runs) {
        if (!r.Has(count, 1)) {
            return std::nullopt;
        }
        types.resize(count);
        for (uint8_t& type : types) {
            type = r.U8();
        }
        return types;
    }
    types.reserve(count);
    while (types.size() < count) {
        const uint8_t run = r.U8();
        uint8_t type = r.U8();
        const uint32_t length = run & 0x3F;
        if (!r.Ok() || length == 0 || length > count - types.size()) {
            return std::nullopt;
        }
        if (run & 0x80) {
            type = uint8_t((type & ~0x07) | 0x03);
        }
        types.insert(types.end(), length, type);
    }
    return types;
}

} // namespace

std::optional<QPolygonF> ReadPoints(RecordReader& r, uint32_t count, PointForm form)
{
    // A relative point takes two bytes at least, so the count is weighed against that.
    const uint64_t least = form == PointForm::Real ? 8 : form == PointForm::Compressed ? 4 : 2;
    if (!r.Has(count, least)) {
        return std::nullopt;
    }
    QPolygonF points;
    points.reserve(qsizetype(count));
    QPointF last(0, 0);
    for (uint32_t i = 0; i < count; ++i) {
        QPointF p;
        if (form == PointForm::Relative) {
            const int32_t dx = ReadPackedInt(r);
            const int32_t dy = ReadPackedInt(r);
            p = last + QPointF(dx, dy);
        } else {
            p = ReadPoint(r, form == PointForm::Compressed);
        }
        if (!r.Ok() || !Finite(p.x()) || !Finite(p.y())) {
            return std::nullopt;
        }
        points.append(p);
        last = p;
    }
    return points;
}

std::optional<QPainterPath> ReadPath(RecordReader& r)
{
    r.U32(); // version
    const uint32_t count = r.U32();
    const uint32_t flags = r.U32();
    if (!r.Ok()) {
        return std::nullopt;
    }
    const std::optional<QPolygonF> points = ReadPoints(r, count, PointFormOf(flags));
    const std::optional<std::vector<uint8_t>> types =
        points ? ReadPointTypes(r, count, flags & kPathRunLength) : std::nullopt;
    if (!types) {
        return std::nullopt;
    }
    QPainterPath path;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t type = (*types)[i];
        const QPointF p = (*points)[qsizetype(i)];
        switch (type & 0x07) {
        case 0: path.moveTo(p); break;
        case 3:
            // A Bezier takes three points; a short tail is drawn as lines.
            if (i + 2 < count) {
                path.cubicTo(p, (*points)[qsizetype(i + 1)], (*points)[qsizetype(i + 2)]);
                i += 2;
                if (((*types)[i - 1] | (*types)[i]) & 0x80) {
                    path.closeSubpath();
                }
                continue;
            }
            path.lineTo(p);
            break;
        default: path.lineTo(p); break;
        }
        if (type & 0x80) {
            path.closeSubpath();
        }
    }
    return path;
}

} // namespace figures::emfplus
