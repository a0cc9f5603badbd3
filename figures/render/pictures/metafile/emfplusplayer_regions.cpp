// Regions and clipping of the newer metafile model.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"

#include <QPaintDevice>
#include <QPainter>

namespace figures {

using namespace emfplus;

namespace {

enum RegionNode : uint32_t {
    kAnd = 1,
    kUnion = 2,
    kXor = 3,
    kExclude = 4,
    kComplement = 5,
    kRectNode = 0x10000000,
    kPathNode = 0x10000001,
    kEmptyNode = 0x10000002,
    kInfiniteNode = 0x10000003,
};

// Combination modes of clipping, in bits 8-11 of the clip records' flags.
enum CombineMode : uint32_t {
    kReplace = 0,
    kIntersect = 1,
    kUnite = 2,
    kXorMode = 3,
    kExcludeMode = 4,
    kComplementMode = 5,
};

// A region's tree is read this deep and this large at most; every combination costs time
// with the figures of both sides, so the figures combined are bounded too.
constexpr int kMaxRegionDepth = 32;
constexpr int kMaxRegionNodes = 256;
constexpr int kMaxCombinedElements = 1 << 14;

using Region = EmfPlusPlayer::Region;

QPainterPath RectPath(const QRectF& rect)
{
    QPainterPath path;
    path.addRect(rect);
    return path;
}

Region Outside(QPainterPath path)
{
    return Region{std::move(path), true};
}

// a combined with b by mode (a combination node's or a clip's, which number alike);
// nothing when the mode is unknown or the figures too many to combine. Inverted sides
// are combined by their outsides, so that the infinite region never becomes a huge
// shape: the outside of a and the outside of b meet in the outside of a | b, and so on.
std::optional<Region> Combine(const Region& a, const Region& b, uint32_t mode)
{
    if (mode == kReplace) {
        return b;
    }
    if (a.path.elementCount() + b.path.elementCount() > kMaxCombinedElements) {
        return std::nullopt;
    }
    const QPainterPath& p = a.path;
    const QPainterPath& q = b.path;
    switch (mode) {
    case kIntersect:
        if (a.inverted && b.inverted) {
            return Outside(p.united(q));
        }
        return a.inverted ? Region{q.subtracted(p)}
                          : b.inverted ? Region{p.subtracted(q)} : Region{p.intersected(q)};
    case kUnite:
        if (a.inverted && b.inverted) {
            return Outside(p.intersected(q));
        }
        return a.inverted ? Outside(p.subtracted(q))
                          : b.inverted ? Outside(q.subtracted(p)) : Region{p.united(q)};
    case kXorMode: {
        const QPainterPath either = p.subtracted(q).united(q.subtracted(p));
        return a.inverted != b.inverted ? Outside(either) : Region{either};
    }
    case kExcludeMode: return Combine(a, Region{q, !b.inverted}, kIntersect);
    case kComplementMode: return Combine(Region{p, !a.inverted}, b, kIntersect);
    default: return std::nullopt;
    }
}

struct NodeReader {
    RecordReader& r;
    int nodes = 0;

    std::optional<Region> Read(int depth)
    {
        const uint32_t type = r.U32();
        if (!r.Ok() || depth > kMaxRegionDepth || ++nodes > kMaxRegionNodes) {
            return std::nullopt;
        }
        switch (type) {
        case kRectNode: {
            const QRectF rect = ReadRect(r, false);
            return r.Ok() && Finite(rect) ? std::optional(Region{RectPath(rect.normalized())})
                                          : std::nullopt;
        }
        case kPathNode: {
            const uint32_t size = r.U32();
            RecordReader bytes(r.Bytes(size));
            std::optional<QPainterPath> path = r.Ok() ? ReadPath(bytes) : std::nullopt;
            return path ? std::optional(Region{std::move(*path)}) : std::nullopt;
        }
        case kEmptyNode: return Region{};
        case kInfiniteNode: return Outside(QPainterPath());
        case kAnd:
        case kUnion:
        case kXor:
        case kExclude:
        case kComplement: {
            const std::optional<Region> left = Read(depth + 1);
            const std::optional<Region> right = left ? Read(depth + 1) : std::nullopt;
            // Node types 1..5 are the clip modes 1..5.
            return right ? Combine(*left, *right, type) : std::nullopt;
        }
        default: return std::nullopt;
        }
    }
};

} // namespace

std::optional<EmfPlusPlayer::Region> EmfPlusPlayer::ReadRegion(RecordReader& r)
{
    r.U32(); // version
    r.U32(); // the number of nodes below the first
    NodeReader nodes{r};
    return nodes.Read(0);
}

QRectF EmfPlusPlayer::DeviceLimit() const
{
    const QPaintDevice* device = canvas_.Painter().device();
    const double w = device != nullptr ? device->width() : 0;
    const double h = device != nullptr ? device->height() : 0;
    const QRectF output(-w - 64, -h - 64, 3 * w + 128, 3 * h + 128);
    bool invertible = false;
    const QTransform toDevice = canvas_.DeviceTransform().inverted(&invertible);
    return invertible ? toDevice.mapRect(output) : QRectF();
}

void EmfPlusPlayer::CombineClip(uint16_t flags, const Region& world)
{
    // The clip is kept in device units, inside the output's limit; a region is taken
    // there with what it covers of that limit.
    const QRectF limit = DeviceLimit();
    QPainterPath device = WorldToDevice().map(world.path);
    if (!limit.contains(device.boundingRect())) {
        if (device.elementCount() > kMaxCombinedElements) {
            return;
        }
        device = device.intersected(RectPath(limit));
    }
    const Region current{clip_ ? *clip_ : RectPath(limit)};
    const std::optional<Region> combined =
        Combine(current, Region{device, world.inverted}, (flags >> 8) & 0x0F);
    if (!combined) {
        return;
    }
    clip_ = combined->inverted ? RectPath(limit).subtracted(combined->path) : combined->path;
}

void EmfPlusPlayer::SetClipRect(uint16_t flags, RecordReader& r)
{
    const QRectF rect = ReadRect(r, false);
    if (r.Ok() && Finite(rect)) {
        CombineClip(flags, Region{RectPath(rect.normalized())});
    }
}

void EmfPlusPlayer::SetClipPath(uint16_t flags)
{
    if (const QPainterPath* path = FindAs<QPainterPath>(flags & 0xFF)) {
        CombineClip(flags, Region{*path});
    }
}

void EmfPlusPlayer::SetClipRegion(uint16_t flags)
{
    if (const Region* region = FindAs<Region>(flags & 0xFF)) {
        CombineClip(flags, *region);
    }
}

void EmfPlusPlayer::OffsetClip(RecordReader& r)
{
    const double dx = r.F32();
    const double dy = r.F32();
    if (!r.Ok() || !clip_ || !Finite(dx) || !Finite(dy)) {
        return;
    }
    const QTransform m = WorldToDevice();
    const QPointF delta = m.map(QPointF(dx, dy)) - m.map(QPointF(0, 0));
    if (Finite(delta.x()) && Finite(delta.y())) {
        clip_->translate(delta);
    }
}

void EmfPlusPlayer::FillRegion(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> brush = BrushOf(flags, r.U32());
    const Region* region = FindAs<Region>(flags & 0xFF);
    if (!r.Ok() || !brush || region == nullptr) {
        return;
    }
    // A region reaching beyond the output, or all of it but a shape, is cut to it.
    bool invertible = false;
    const QTransform toWorld = WorldToDevice().inverted(&invertible);
    const QRectF limit = DeviceLimit();
    if (!invertible || limit.isEmpty()) {
        return;
    }
    const QPainterPath worldLimit = toWorld.map(RectPath(limit));
    if (region->path.elementCount() > kMaxCombinedElements) {
        return;
    }
    if (region->inverted) {
        Fill(worldLimit.subtracted(region->path), *brush);
    } else if (!limit.contains(WorldToDevice().mapRect(region->path.boundingRect()))) {
        Fill(region->path.intersected(worldLimit), *brush);
    } else {
        Fill(region->path, *brush);
    }
}

} // namespace figures
