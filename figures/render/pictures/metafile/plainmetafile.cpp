#include "figures/render/pictures/metafile/plainmetafile.h"

#include "figures/render/pictures/metafile/drawingbounds.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/pictures/metafile/wmfplayer.h"
#include "figures/render/numeric.h"

#include <QPainter>

#include <cmath>
#include <optional>

namespace figures {

namespace {

constexpr uint16_t kStandardHeaderWords = 9;
constexpr size_t kRecordHeaderSize = 6; // size in words, function
constexpr uint16_t kMetaEof = 0x0000;
constexpr uint16_t kMetaSetMapMode = 0x0103;
constexpr uint16_t kMetaSetWindowOrg = 0x020B;
constexpr uint16_t kMetaSetWindowExt = 0x020C;
constexpr uint16_t kMetaSetViewportOrg = 0x020D;
constexpr uint16_t kMetaSetViewportExt = 0x020E;
constexpr double kScreenDpi = 96;
constexpr int32_t kHimetricPerInch = 2540;
// A picture wider or taller than this many device units is no picture.
constexpr double kMaxSide = 1e9;

// The mapping the records set first, each part on its own.
struct PlainMapping {
    std::optional<int32_t> mode;
    std::optional<QPointF> windowOrg;
    std::optional<QPointF> windowExt;
    std::optional<QPointF> viewportOrg;
    std::optional<QPointF> viewportExt;
};

// Walks record sizes only, never past the end-of-file record or the bytes.
PlainMapping FindMapping(std::span<const uint8_t> records)
{
    PlainMapping found;
    size_t at = 0;
    while (records.size() - at >= kRecordHeaderSize) {
        RecordReader r(records.subspan(at));
        const uint64_t bytes = uint64_t(r.U32()) * 2;
        const uint16_t function = r.U16();
        if (function == kMetaEof || bytes < kRecordHeaderSize || bytes > records.size() - at) {
            break;
        }
        RecordReader params(records.subspan(at + kRecordHeaderSize,
                                            size_t(bytes) - kRecordHeaderSize));
        if (function == kMetaSetMapMode) {
            const uint16_t mode = params.U16();
            if (params.Ok() && !found.mode) {
                found.mode = mode;
            }
        }
        std::optional<QPointF>* slot = function == kMetaSetWindowOrg     ? &found.windowOrg
                                       : function == kMetaSetWindowExt   ? &found.windowExt
                                       : function == kMetaSetViewportOrg ? &found.viewportOrg
                                       : function == kMetaSetViewportExt ? &found.viewportExt
                                                                         : nullptr;
        if (slot != nullptr && !*slot) {
            // y first, as the records store it.
            const int16_t y = params.I16();
            const int16_t x = params.I16();
            if (params.Ok()) {
                *slot = QPointF(x, y);
            }
        }
        at += size_t(bytes);
    }
    return found;
}

// Units per inch of the fixed-scale modes, 0 for the others.
double FixedUnitsPerInch(int32_t mode)
{
    switch (MapMode(mode)) {
    case MapMode::LoMetric: return 254;
    case MapMode::HiMetric: return 2540;
    case MapMode::LoEnglish: return 100;
    case MapMode::HiEnglish: return 1000;
    case MapMode::Twips: return 1440;
    default: return 0;
    }
}

// Where the records draw, in device units of a device of dpi units an inch starting from
// its initial state; empty when they draw nothing.
QRectF DrawnBounds(std::span<const uint8_t> records, double dpi)
{
    DrawingBounds device;
    QPainter painter(&device);
    {
        MetafileCanvas canvas(painter, QTransform(), dpi, dpi);
        PlayWmfRecords(records, canvas);
    }
    painter.end();
    return device.Bounds();
}

// Sets the picture's rectangle (device units at dpi) and its size from it; false when it
// is empty or absurd.
bool SetPicture(const QRectF& device, double dpi, MetafileInfo& info)
{
    const QRectF bounds = device.normalized();
    if (!(bounds.width() >= 1 && bounds.height() >= 1 && bounds.width() < kMaxSide &&
          bounds.height() < kMaxSide && std::abs(bounds.x()) < kMaxSide &&
          std::abs(bounds.y()) < kMaxSide)) {
        return false;
    }
    info.widthHimetric = int32_t(std::lround(bounds.width() * kHimetricPerInch / dpi));
    info.heightHimetric = int32_t(std::lround(bounds.height() * kHimetricPerInch / dpi));
    info.bounds = bounds;
    info.dpiX = dpi;
    info.dpiY = dpi;
    return info.widthHimetric > 0 && info.heightHimetric > 0;
}

// The device rectangle of a fixed-scale picture: the window extent from where the window
// origin lands, or what the records draw.
bool SizeFixed(const PlainMapping& m, double unitsPerInch, std::span<const uint8_t> records,
               MetafileInfo& info)
{
    if (m.windowExt && m.windowExt->x() != 0 && m.windowExt->y() != 0) {
        const QPointF at = m.viewportOrg.value_or(QPointF());
        const QPointF extent(std::abs(m.windowExt->x()), std::abs(m.windowExt->y()));
        return SetPicture(QRectF(at, at + extent), unitsPerInch, info);
    }
    return SetPicture(DrawnBounds(records, unitsPerInch), unitsPerInch, info);
}

// The device rectangle of a scaled picture with a viewport: the viewport, for the
// isotropic mode shrunk along the axis whose scale is larger.
bool SizeViewport(const PlainMapping& m, MetafileInfo& info)
{
    QPointF extent = *m.viewportExt;
    const QPointF window = m.windowExt.value_or(QPointF(1, 1));
    if (extent.x() == 0 || extent.y() == 0 || window.x() == 0 || window.y() == 0) {
        return false;
    }
    if (MapMode(*m.mode) == MapMode::Isotropic) {
        const double s = std::min(std::abs(extent.x() / window.x()),
                                  std::abs(extent.y() / window.y()));
        extent = QPointF(std::copysign(std::abs(window.x()) * s, extent.x()),
                         std::copysign(std::abs(window.y()) * s, extent.y()));
    }
    const QPointF at = m.viewportOrg.value_or(QPointF());
    return SetPicture(QRectF(at, at + extent), kScreenDpi, info);
}

} // namespace

PlainLayout InspectPlainMetafile(std::span<const uint8_t> bytes, MetafileInfo& info)
{
    RecordReader r(bytes);
    const uint16_t type = r.U16();
    const uint16_t headerWords = r.U16();
    const uint16_t version = r.U16();
    if (!r.Ok() || (type != 1 && type != 2) || headerWords != kStandardHeaderWords ||
        (version != 0x0100 && version != 0x0300) || bytes.size() < 2 * size_t(headerWords)) {
        return {};
    }
    const size_t recordsAt = 2 * size_t(headerWords);
    const std::span<const uint8_t> records = bytes.subspan(recordsAt);
    const PlainMapping m = FindMapping(records);
    const int32_t mode = m.mode.value_or(int32_t(MapMode::Text));
    if (const double unitsPerInch = FixedUnitsPerInch(mode)) {
        return SizeFixed(m, unitsPerInch, records, info) ? PlainLayout{recordsAt, true}
                                                         : PlainLayout{};
    }
    const bool scaled = mode == int32_t(MapMode::Isotropic) ||
                        mode == int32_t(MapMode::Anisotropic);
    if (scaled && m.viewportExt) {
        return SizeViewport(m, info) ? PlainLayout{recordsAt, true} : PlainLayout{};
    }
    // The window alone: its units are taken for screen pixels.
    if (!m.windowExt || m.windowExt->x() == 0 || m.windowExt->y() == 0) {
        return {};
    }
    const QPointF origin = m.windowOrg.value_or(QPointF());
    if (!SetPicture(QRectF(origin, origin + *m.windowExt), kScreenDpi, info)) {
        return {};
    }
    info.widthHimetric =
        MulDiv(int32_t(info.bounds.width()), kHimetricPerInch, int32_t(kScreenDpi));
    info.heightHimetric =
        MulDiv(int32_t(info.bounds.height()), kHimetricPerInch, int32_t(kScreenDpi));
    return PlainLayout{recordsAt, false};
}

} // namespace figures
