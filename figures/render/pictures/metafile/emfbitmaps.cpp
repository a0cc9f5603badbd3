#include "figures/render/pictures/metafile/emfbitmaps.h"

#include "figures/render/pictures/metafile/dibimage.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

#include <cmath>

namespace figures {

namespace {

constexpr size_t kRecordHeader = 8;
constexpr size_t kBoundsSize = 16;
constexpr uint32_t kSrcCopy = 0x00CC0020;

// Where a bitmap lies in its record.
struct BitmapPlace {
    uint32_t usage = kDibRgbColours;
    uint32_t offBmi = 0;
    uint32_t cbBmi = 0;
    uint32_t offBits = 0;
    uint32_t cbBits = 0;
};

Dib DecodeIn(MetafileCanvas& canvas, std::span<const uint8_t> record, const BitmapPlace& place,
             bool premultipliedAlpha = false)
{
    const std::span<const uint8_t> info = SliceOf(record, place.offBmi, place.cbBmi);
    if (info.empty()) {
        return {};
    }
    Dib dib = DecodeDib(info, SliceOf(record, place.offBits, place.cbBits), place.usage,
                        premultipliedAlpha, canvas.PixelBudget());
    if (!dib.image.isNull()) {
        canvas.SpendPixels(uint64_t(dib.image.width()) * uint64_t(dib.image.height()));
    }
    return dib;
}

// The fields the transfers from a source device share: the destination, an operation (or
// blend or transparent colour), the source position and transform and the bitmap.
struct DeviceBlit {
    QRectF dest;
    uint32_t operation = 0;
    QPointF source;
    QTransform sourceTransform;
    BitmapPlace bitmap;
    QSizeF sourceSize;
};

bool ReadDeviceBlit(RecordReader& r, bool withSourceSize, DeviceBlit& out)
{
    r.Skip(kBoundsSize);
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    const int32_t cx = r.I32();
    const int32_t cy = r.I32();
    out.dest = QRectF(x, y, cx, cy);
    out.operation = r.U32();
    const int32_t xSrc = r.I32();
    const int32_t ySrc = r.I32();
    out.source = QPointF(xSrc, ySrc);
    float m[6];
    bool finite = true;
    for (float& v : m) {
        v = r.F32();
        finite = finite && std::isfinite(v) && std::abs(v) < 1e6f;
    }
    if (finite) {
        out.sourceTransform = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
    }
    r.U32(); // background colour of the source
    out.bitmap.usage = r.U32();
    out.bitmap.offBmi = r.U32();
    out.bitmap.cbBmi = r.U32();
    out.bitmap.offBits = r.U32();
    out.bitmap.cbBits = r.U32();
    out.sourceSize = QSizeF(cx, cy);
    if (withSourceSize) {
        const int32_t cxSrc = r.I32();
        const int32_t cySrc = r.I32();
        out.sourceSize = QSizeF(cxSrc, cySrc);
    }
    return r.Ok();
}

// The source rectangle in the bitmap's pixels. The source device's transform takes the
// source position to pixels when it only scales and moves; a rectangle that then does
// not fit a bitmap big enough for it means the bitmap holds just the source area.
QRectF SourceRect(const DeviceBlit& blit, const QImage& image)
{
    QRectF source(blit.source, blit.sourceSize);
    const QTransform& t = blit.sourceTransform;
    if (t.m12() == 0 && t.m21() == 0) {
        source = QRectF(t.map(blit.source), QSizeF(blit.sourceSize.width() * t.m11(),
                                                   blit.sourceSize.height() * t.m22()));
    }
    const QRectF pixels(image.rect());
    if (!pixels.contains(source.normalized()) && std::abs(source.width()) <= pixels.width() &&
        std::abs(source.height()) <= pixels.height()) {
        source.moveTopLeft(QPointF(0, 0));
    }
    return source;
}

} // namespace

void PlayBitBlt(MetafileCanvas& canvas, std::span<const uint8_t> record, bool stretch)
{
    RecordReader r(record, kRecordHeader);
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, stretch, blit)) {
        return;
    }
    if (blit.bitmap.cbBmi == 0) {
        canvas.StretchBlt(blit.dest, QImage(), QRectF(), blit.operation);
        return;
    }
    const Dib dib = DecodeIn(canvas, record, blit.bitmap);
    if (!dib.image.isNull()) {
        canvas.StretchBlt(blit.dest, dib.image, SourceRect(blit, dib.image), blit.operation);
    }
}

void PlayStretchDiBits(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader + kBoundsSize);
    const int32_t xDest = r.I32();
    const int32_t yDest = r.I32();
    const int32_t xSrc = r.I32();
    const int32_t ySrc = r.I32();
    const int32_t cxSrc = r.I32();
    const int32_t cySrc = r.I32();
    BitmapPlace place;
    place.offBmi = r.U32();
    place.cbBmi = r.U32();
    place.offBits = r.U32();
    place.cbBits = r.U32();
    place.usage = r.U32();
    const uint32_t rop = r.U32();
    const int32_t cxDest = r.I32();
    const int32_t cyDest = r.I32();
    if (!r.Ok()) {
        return;
    }
    const QRectF dest(xDest, yDest, cxDest, cyDest);
    if (place.cbBmi == 0) {
        canvas.StretchBlt(dest, QImage(), QRectF(), rop);
        return;
    }
    const Dib dib = DecodeIn(canvas, record, place);
    if (dib.image.isNull()) {
        return;
    }
    const double top = dib.bottomUp ? double(dib.image.height()) - ySrc - cySrc : ySrc;
    canvas.StretchBlt(dest, dib.image, QRectF(xSrc, top, cxSrc, cySrc), rop);
}

void PlaySetDiBitsToDevice(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader + kBoundsSize);
    const int32_t xDest = r.I32();
    const int32_t yDest = r.I32();
    const int32_t xSrc = r.I32();
    const int32_t ySrc = r.I32();
    const int32_t cx = r.I32();
    const int32_t cy = r.I32();
    BitmapPlace place;
    place.offBmi = r.U32();
    place.cbBmi = r.U32();
    place.offBits = r.U32();
    place.cbBits = r.U32();
    place.usage = r.U32();
    const uint32_t startScan = r.U32();
    const uint32_t scans = r.U32();
    const std::span<const uint8_t> info = SliceOf(record, place.offBmi, place.cbBmi);
    if (!r.Ok() || info.empty()) {
        return;
    }
    int64_t fullHeight = 0;
    const Dib band = DecodeDibBand(info, SliceOf(record, place.offBits, place.cbBits), place.usage,
                                   scans, fullHeight, canvas.PixelBudget());
    if (band.image.isNull()) {
        return;
    }
    canvas.SpendPixels(uint64_t(band.image.width()) * uint64_t(band.image.height()));
    // The band's top row within the whole bitmap, then the source's top within the band.
    const int64_t rows = fullHeight < 0 ? -fullHeight : fullHeight;
    const int64_t bandTop =
        band.bottomUp ? rows - int64_t(startScan) - band.image.height() : int64_t(startScan);
    const int64_t sourceTop = band.bottomUp ? rows - ySrc - cy : ySrc;
    canvas.StretchBlt(QRectF(xDest, yDest, cx, cy), band.image,
                      QRectF(xSrc, double(sourceTop - bandTop), cx, cy), kSrcCopy);
}

void PlayAlphaBlend(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    constexpr uint32_t kSourceAlpha = 0x01;
    RecordReader r(record, kRecordHeader);
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, true, blit)) {
        return;
    }
    const double constantAlpha = ((blit.operation >> 16) & 0xFF) / 255.0;
    const bool perPixel = ((blit.operation >> 24) & kSourceAlpha) != 0;
    const Dib dib = DecodeIn(canvas, record, blit.bitmap, perPixel);
    if (!dib.image.isNull()) {
        canvas.BlendImage(blit.dest, dib.image, SourceRect(blit, dib.image), constantAlpha);
    }
}

void PlayTransparentBlt(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    RecordReader r(record, kRecordHeader);
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, true, blit)) {
        return;
    }
    const Dib dib = DecodeIn(canvas, record, blit.bitmap);
    if (dib.image.isNull()) {
        return;
    }
    const QRgb clear = ColourRef(blit.operation).rgb();
    QImage image = dib.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000) == clear) {
                line[x] = 0;
            }
        }
    }
    canvas.BlendImage(blit.dest, image, SourceRect(blit, image), 1.0);
}

void PlayGradientFill(MetafileCanvas& canvas, std::span<const uint8_t> record)
{
    // Rectangles shade left to right (mode 0) or top to bottom (1).
    constexpr uint32_t kRectVertical = 1;
    constexpr uint32_t kTriangle = 2;
    RecordReader r(record, kRecordHeader + kBoundsSize);
    const uint32_t vertexCount = r.U32();
    const uint32_t meshCount = r.U32();
    const uint32_t mode = r.U32();
    if (!r.Ok() || mode > kTriangle || !r.Has(vertexCount, 16)) {
        return;
    }
    std::vector<GradientVertex> vertices(vertexCount);
    for (GradientVertex& v : vertices) {
        const int32_t x = r.I32();
        const int32_t y = r.I32();
        // Channels are 16-bit; their high bytes are the colour.
        const int red = r.U16() >> 8;
        const int green = r.U16() >> 8;
        const int blue = r.U16() >> 8;
        r.U16(); // alpha
        v = {QPointF(x, y), QColor(red, green, blue)};
    }
    const size_t corners = mode == kTriangle ? 3 : 2;
    if (!r.Has(meshCount, 4 * corners)) {
        return;
    }
    for (uint32_t i = 0; i < meshCount; ++i) {
        uint32_t index[3] = {0, 0, 0};
        bool valid = true;
        for (size_t k = 0; k < corners; ++k) {
            index[k] = r.U32();
            valid = valid && index[k] < vertexCount;
        }
        if (!valid) {
            continue;
        }
        if (mode == kTriangle) {
            canvas.GradientTriangle(vertices[index[0]], vertices[index[1]], vertices[index[2]]);
        } else {
            canvas.GradientRect(vertices[index[0]], vertices[index[1]], mode == kRectVertical);
        }
    }
}

} // namespace figures
