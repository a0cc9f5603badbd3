#include "figures/render/pictures/metafile/devicestate.h"

#include <cmath>

namespace figures {

QColor ColourRef(uint32_t colourRef)
{
    return QColor(int(colourRef & 0xFF), int((colourRef >> 8) & 0xFF),
                  int((colourRef >> 16) & 0xFF));
}

bool GdiObjectTable::Add(GdiObject object)
{
    size_t slot = firstFree_;
    while (slot < slots_.size() && slots_[slot].has_value()) {
        ++slot;
    }
    if (slot >= kCapacity) {
        firstFree_ = slot;
        return false;
    }
    if (slot == slots_.size()) {
        slots_.emplace_back();
    }
    slots_[slot] = std::move(object);
    firstFree_ = slot + 1;
    return true;
}

bool GdiObjectTable::Put(uint32_t index, GdiObject object)
{
    if (index >= kCapacity) {
        return false;
    }
    if (index >= slots_.size()) {
        slots_.resize(size_t(index) + 1);
    }
    slots_[index] = std::move(object);
    return true;
}

const GdiObject* GdiObjectTable::Find(uint32_t index) const
{
    if (index >= slots_.size() || !slots_[index].has_value()) {
        return nullptr;
    }
    return &*slots_[index];
}

void GdiObjectTable::Remove(uint32_t index)
{
    if (index >= slots_.size()) {
        return;
    }
    slots_[index].reset();
    if (index < firstFree_) {
        firstFree_ = index;
    }
}

QPainterPath ClipArea::AsPath() const
{
    if (usesPath) {
        return path;
    }
    QPainterPath out;
    out.addRegion(region);
    return out;
}

namespace {

// Stands for "everything" when a mode needs the complement of a clip that is not set. The
// reference devices of real pictures are a few thousand units wide at most.
constexpr int kWholeDeviceHalf = 1 << 22;

ClipArea WholeDevice()
{
    ClipArea whole;
    whole.active = true;
    whole.region =
        QRegion(-kWholeDeviceHalf, -kWholeDeviceHalf, 2 * kWholeDeviceHalf, 2 * kWholeDeviceHalf);
    return whole;
}

QPainterPath CombinePaths(const QPainterPath& a, const QPainterPath& b, int32_t mode)
{
    switch (mode) {
    case kRgnAnd: return a.intersected(b);
    case kRgnOr: return a.united(b);
    case kRgnXor: return a.united(b).subtracted(a.intersected(b));
    case kRgnDiff: return a.subtracted(b);
    default: return b;
    }
}

QRegion CombineRegions(const QRegion& a, const QRegion& b, int32_t mode)
{
    switch (mode) {
    case kRgnAnd: return a.intersected(b);
    case kRgnOr: return a.united(b);
    case kRgnXor: return a.xored(b);
    case kRgnDiff: return a.subtracted(b);
    default: return b;
    }
}

// Rectangles sorted by top then left, in bands of equal top and height, neither
// overlapping nor touching within a band: the form QRegion can take as it is.
bool Banded(const std::vector<QRect>& rects)
{
    for (size_t i = 1; i < rects.size(); ++i) {
        const QRect& a = rects[i - 1];
        const QRect& b = rects[i];
        if (b.top() < a.top()) {
            return false;
        }
        if (b.top() == a.top() && (b.height() != a.height() || b.left() <= a.right() + 1)) {
            return false;
        }
        if (b.top() != a.top() && b.top() <= a.bottom()) {
            return false;
        }
    }
    return true;
}

} // namespace

bool RegionFromRects(const std::vector<QRect>& rects, QRegion& out)
{
    out = QRegion();
    if (Banded(rects)) {
        out.setRects(rects.data(), int(rects.size()));
        return true;
    }
    if (rects.size() > kMaxUnsortedRects) {
        return false;
    }
    for (const QRect& rect : rects) {
        out += rect;
    }
    return true;
}

void CombineClip(ClipArea& clip, const ClipArea& shape, int32_t mode)
{
    if (mode < kRgnAnd || mode > kRgnCopy) {
        return;
    }
    if (mode == kRgnCopy) {
        clip = shape;
        return;
    }
    // An inactive clip or shape stands for the whole device: AND with it keeps the other
    // side, OR with it opens everything.
    if (!shape.active && mode == kRgnAnd) {
        return;
    }
    if ((!shape.active || !clip.active) && mode == kRgnOr) {
        clip = ClipArea{};
        return;
    }
    if (!clip.active && mode == kRgnAnd) {
        clip = shape;
        return;
    }
    const ClipArea whole = WholeDevice();
    const ClipArea& a = clip.active ? clip : whole;
    const ClipArea& b = shape.active ? shape : whole;
    if (!a.usesPath && !b.usesPath) {
        const QRegion region = CombineRegions(a.region, b.region, mode);
        clip = ClipArea{};
        clip.active = true;
        clip.region = region;
        return;
    }
    const QPainterPath path = CombinePaths(a.AsPath(), b.AsPath(), mode);
    clip = ClipArea{};
    clip.active = true;
    clip.usesPath = true;
    clip.path = path;
}

QTransform DeviceState::PageToDevice(double dpiX, double dpiY) const
{
    double sx = 1;
    double sy = 1;
    switch (mapMode) {
    case MapMode::Text: break;
    case MapMode::LoMetric:
        sx = dpiX / 254.0;
        sy = -dpiY / 254.0;
        break;
    case MapMode::HiMetric:
        sx = dpiX / 2540.0;
        sy = -dpiY / 2540.0;
        break;
    case MapMode::LoEnglish:
        sx = dpiX / 100.0;
        sy = -dpiY / 100.0;
        break;
    case MapMode::HiEnglish:
        sx = dpiX / 1000.0;
        sy = -dpiY / 1000.0;
        break;
    case MapMode::Twips:
        sx = dpiX / 1440.0;
        sy = -dpiY / 1440.0;
        break;
    case MapMode::Isotropic:
    case MapMode::Anisotropic:
        // Extents are never zero: the records that would make them so are refused.
        sx = viewportExt.x() / windowExt.x();
        sy = viewportExt.y() / windowExt.y();
        if (mapMode == MapMode::Isotropic) {
            // Equal units on both axes: the larger scale shrinks to the smaller, each
            // axis keeping its own direction.
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    }
    // device = (page - window origin) * scale + viewport origin
    return QTransform(sx, 0, 0, sy, viewportOrg.x() - windowOrg.x() * sx,
                      viewportOrg.y() - windowOrg.y() * sy);
}

void SavedStates::Push(const DeviceState& state)
{
    if (kept_.size() < kMaxDepth && overflow_ == 0) {
        kept_.push_back(state);
    } else if (overflow_ < UINT32_MAX) {
        ++overflow_;
    }
}

bool SavedStates::Restore(int32_t which, DeviceState& state)
{
    const uint64_t depth = Depth();
    uint64_t target = 0; // 1-based number of the save to go back to
    if (which < 0) {
        const uint64_t back = uint64_t(-int64_t(which));
        if (back > depth) {
            return false;
        }
        target = depth - back + 1;
    } else if (which > 0) {
        if (uint64_t(which) > depth) {
            return false;
        }
        target = uint64_t(which);
    } else {
        return false;
    }
    if (target > kept_.size()) {
        // Back to a save that was beyond the limit: nothing was kept for it.
        overflow_ = uint32_t(target - 1 - kept_.size());
        return false;
    }
    state = kept_[size_t(target - 1)];
    kept_.resize(size_t(target - 1));
    overflow_ = 0;
    return true;
}

void ScaleExtentBy(QPointF& extent, int32_t xNum, int32_t xDenom, int32_t yNum, int32_t yDenom)
{
    if (xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0) {
        return;
    }
    const QPointF scaled(extent.x() * xNum / xDenom, extent.y() * yNum / yDenom);
    if (std::abs(scaled.x()) >= 1e-6 && std::abs(scaled.y()) >= 1e-6 &&
        std::abs(scaled.x()) <= 1e12 && std::abs(scaled.y()) <= 1e12) {
        extent = scaled;
    }
}

bool IsBlackAndWhite(const QImage& pattern)
{
    const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = row[x] | 0xFF000000;
            if (pixel != 0xFF000000 && pixel != 0xFFFFFFFF) {
                return false;
            }
        }
    }
    return true;
}

} // namespace figures
