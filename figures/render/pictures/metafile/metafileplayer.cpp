#include "figures/render/pictures/metafile/metafileplayer.h"

#include "figures/render/pictures/metafile/emfplayer.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/plainmetafile.h"
#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/pictures/metafile/wmfplayer.h"
#include "figures/render/numeric.h"

#include <cmath>

namespace figures {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr uint16_t kStandardHeaderWords = 9;
constexpr uint32_t kEmfHeaderType = 1;
constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr size_t kEmfHeaderMinSize = 88;
// Reference devices that do not say their size are taken for screens.
constexpr double kDefaultDpi = 96;
constexpr double kHimetricPerInch = 2540;

// Where the records of a placeable metafile begin, or 0 when its headers do not read.
size_t InspectPlaceable(std::span<const uint8_t> bytes, MetafileInfo& info)
{
    RecordReader r(bytes);
    const uint32_t key = r.U32();
    r.U16(); // handle
    const int16_t left = r.I16();
    const int16_t top = r.I16();
    const int16_t right = r.I16();
    const int16_t bottom = r.I16();
    const uint16_t inch = r.U16();
    r.Skip(4 + 2); // reserved, checksum
    const uint16_t type = r.U16();
    const uint16_t headerWords = r.U16();
    if (!r.Ok() || key != kPlaceableKey || inch == 0 || (type != 1 && type != 2) ||
        headerWords != kStandardHeaderWords || bytes.size() < kPlaceableSize + 2 * headerWords) {
        return 0;
    }
    const int32_t width = std::abs(int32_t(right) - left);
    const int32_t height = std::abs(int32_t(bottom) - top);
    if (width == 0 || height == 0) {
        return 0;
    }
    info.widthHimetric = MulDiv(width, int32_t(kHimetricPerInch), inch);
    info.heightHimetric = MulDiv(height, int32_t(kHimetricPerInch), inch);
    info.bounds = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    info.dpiX = inch;
    info.dpiY = inch;
    return kPlaceableSize + 2 * size_t(headerWords);
}

// A length in device pixels as HIMETRIC, rounded half away from zero; false when it does
// not fit.
bool PixelsToHimetric(int64_t pixels, double dpi, int32_t& out)
{
    const double himetric = std::round(double(pixels) * kHimetricPerInch / dpi);
    if (!(std::abs(himetric) <= INT32_MAX)) {
        return false;
    }
    out = int32_t(himetric);
    return true;
}

bool InspectEnhanced(std::span<const uint8_t> bytes, MetafileInfo& info)
{
    RecordReader r(bytes);
    const uint32_t type = r.U32();
    const uint32_t size = r.U32();
    const int64_t boundsLeft = r.I32();
    const int64_t boundsTop = r.I32();
    const int64_t boundsRight = r.I32();
    const int64_t boundsBottom = r.I32();
    const int64_t frameLeft = r.I32();
    const int64_t frameTop = r.I32();
    const int64_t frameRight = r.I32();
    const int64_t frameBottom = r.I32();
    const uint32_t signature = r.U32();
    r.Skip(28); // version, sizes, counts, description, palette
    const int64_t devicePixelsX = r.I32();
    const int64_t devicePixelsY = r.I32();
    const int64_t deviceMmX = r.I32();
    const int64_t deviceMmY = r.I32();
    if (!r.Ok() || type != kEmfHeaderType || signature != kEmfSignature ||
        size < kEmfHeaderMinSize || size > bytes.size()) {
        return false;
    }
    info.dpiX = devicePixelsX > 0 && deviceMmX > 0 ? devicePixelsX * 25.4 / deviceMmX : kDefaultDpi;
    info.dpiY = devicePixelsY > 0 && deviceMmY > 0 ? devicePixelsY * 25.4 / deviceMmY : kDefaultDpi;
    if (frameRight > frameLeft && frameBottom > frameTop) {
        const int64_t width = frameRight - frameLeft;
        const int64_t height = frameBottom - frameTop;
        if (width > INT32_MAX || height > INT32_MAX) {
            return false;
        }
        info.widthHimetric = int32_t(width);
        info.heightHimetric = int32_t(height);
        const double sx = info.dpiX / kHimetricPerInch;
        const double sy = info.dpiY / kHimetricPerInch;
        info.bounds = QRectF(frameLeft * sx, frameTop * sy, width * sx, height * sy);
        return true;
    }
    if (boundsRight > boundsLeft && boundsBottom > boundsTop) {
        const int64_t width = boundsRight - boundsLeft;
        const int64_t height = boundsBottom - boundsTop;
        if (!PixelsToHimetric(width, info.dpiX, info.widthHimetric) ||
            !PixelsToHimetric(height, info.dpiY, info.heightHimetric)) {
            return false;
        }
        info.bounds = QRectF(double(boundsLeft), double(boundsTop), double(width), double(height));
        return true;
    }
    return false;
}

// Where the records begin, and whether they map to the device by themselves.
PlainLayout Inspect(std::span<const uint8_t> bytes, MetafileInfo& info)
{
    info = MetafileInfo{};
    if (const size_t recordsAt = InspectPlaceable(bytes, info)) {
        info.ok = true;
        return {recordsAt, false};
    }
    info = MetafileInfo{};
    if (const PlainLayout plain = InspectPlainMetafile(bytes, info); plain.recordsAt != 0) {
        info.ok = true;
        return plain;
    }
    info = MetafileInfo{};
    if (InspectEnhanced(bytes, info)) {
        info.ok = true;
        info.enhanced = true;
        return {};
    }
    info = MetafileInfo{};
    return {};
}

} // namespace

MetafileInfo InspectMetafile(std::span<const uint8_t> bytes)
{
    MetafileInfo info;
    Inspect(bytes, info);
    return info;
}

namespace {

// Plays bytes onto painter within the budgets of a canvas nested as deep as nesting says,
// and hands back what is left of them.
bool Play(std::span<const uint8_t> bytes, QPainter& painter, const QRectF& target,
          uint64_t& pixelBudget, MetafileCanvas::Nesting& nesting)
{
    MetafileInfo info;
    const PlainLayout layout = Inspect(bytes, info);
    if (!info.ok || !painter.isActive() || !std::isfinite(target.x()) ||
        !std::isfinite(target.y()) || !std::isfinite(target.width()) ||
        !std::isfinite(target.height()) || target.width() == 0 || target.height() == 0) {
        return false;
    }
    // The picture's rectangle of reference-device units lands on the target.
    const double sx = target.width() / info.bounds.width();
    const double sy = target.height() / info.bounds.height();
    const QTransform deviceToTarget(sx, 0, 0, sy, target.x() - info.bounds.x() * sx,
                                    target.y() - info.bounds.y() * sy);
    MetafileCanvas canvas(painter, deviceToTarget, info.dpiX, info.dpiY, pixelBudget);
    canvas.Nested() = nesting;
    const auto handBack = [&](bool result) {
        pixelBudget = canvas.PixelBudget();
        nesting.bytesLeft = canvas.Nested().bytesLeft;
        return result;
    };
    if (info.enhanced) {
        return handBack(PlayEmfRecords(bytes, canvas));
    }
    if (layout.ownMapping) {
        return handBack(PlayWmfRecords(bytes.subspan(layout.recordsAt), canvas));
    }
    // A placeable picture plays as if its bounding box were both window and viewport,
    // so that logical units are bounding-box units until the file sets its own window;
    // a picture without the placeable header likewise with the window it sets.
    DeviceState& state = canvas.State();
    state.SetMapMode(MapMode::Anisotropic);
    state.windowOrg = state.viewportOrg = info.bounds.topLeft();
    state.windowExt = state.viewportExt = QPointF(info.bounds.width(), info.bounds.height());
    return handBack(PlayWmfRecords(bytes.subspan(layout.recordsAt), canvas));
}

} // namespace

bool PlayMetafile(std::span<const uint8_t> bytes, QPainter& painter, const QRectF& target,
                  uint64_t pixelBudget)
{
    MetafileCanvas::Nesting nesting{0, kNestedBytesFactor * uint64_t(bytes.size())};
    return Play(bytes, painter, target, pixelBudget, nesting);
}

bool PlayNestedMetafile(std::span<const uint8_t> bytes, QPainter& painter, const QRectF& target,
                        MetafileCanvas& outer)
{
    MetafileCanvas::Nesting& outerNesting = outer.Nested();
    if (outerNesting.depth >= kMaxMetafileNesting || bytes.size() > outerNesting.bytesLeft) {
        return false;
    }
    MetafileCanvas::Nesting nesting{outerNesting.depth + 1,
                                    outerNesting.bytesLeft - uint64_t(bytes.size())};
    uint64_t pixels = outer.PixelBudget();
    const bool played = Play(bytes, painter, target, pixels, nesting);
    outer.SpendPixels(outer.PixelBudget() - pixels);
    outerNesting.bytesLeft = nesting.bytesLeft;
    return played;
}

} // namespace figures
