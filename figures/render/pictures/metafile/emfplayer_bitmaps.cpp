// The bitmap records of enhanced metafiles: block transfers from a source device,
// device-independent transfers, blends, transparent copies and gradient fills. Every
// offset and size is checked against the record before a bitmap is decoded.
#include "figures/render/pictures/metafile/emfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"

#include <cmath>

namespace figures {

namespace {

// The fields the transfers from a source device share: the destination, an operation (or
// blend or transparent colour), the source position and transform and the bitmap.
struct DeviceBlit {
    QRectF dest;
    uint32_t operation = 0;
    QPointF source;
    QTransform sourceTransform;
    uint32_t usage = kDibRgbColours;
    BitmapPlace bitmap;
    QSizeF sourceSize;
};

// The source device's transform; the identity when any factor is out of range.
QTransform ReadSourceTransform(RecordReader& r)
{
    float m[6];
    bool finite = true;
    for (float& v : m) {
        v = r.F32();
        finite = finite && std::isfinite(v) && std::abs(v) < 1e6f;
    }
    return finite ? QTransform(m[0], m[1], m[2], m[3], m[4], m[5]) : QTransform();
}

bool ReadDeviceBlit(RecordReader& r, bool withSourceSize, DeviceBlit& out)
{
    r.Skip(kEmfBoundsSize);
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    const int32_t cx = r.I32();
    const int32_t cy = r.I32();
    out.dest = QRectF(x, y, cx, cy);
    out.operation = r.U32();
    out.source = ReadEmfPoint(r);
    out.sourceTransform = ReadSourceTransform(r);
    r.U32(); // background colour of the source
    out.usage = r.U32();
    out.bitmap = ReadBitmapPlace(r);
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

// A transparent copy's image: the pixels of one colour cleared.
QImage WithoutColour(const QImage& source, QRgb clear)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000) == clear) {
                line[x] = 0;
            }
        }
    }
    return image;
}

} // namespace

BitmapPlace ReadBitmapPlace(RecordReader& r)
{
    BitmapPlace place;
    place.offBmi = r.U32();
    place.cbBmi = r.U32();
    place.offBits = r.U32();
    place.cbBits = r.U32();
    return place;
}

Dib DecodeDibAt(MetafileCanvas& canvas, std::span<const uint8_t> record, const BitmapPlace& place,
                uint32_t usage, bool premultipliedAlpha, int32_t shrink)
{
    const std::span<const uint8_t> info = SliceOf(record, place.offBmi, place.cbBmi);
    if (info.empty()) {
        return {};
    }
    return DecodeDibWithin(canvas, info, SliceOf(record, place.offBits, place.cbBits), usage,
                           premultipliedAlpha, shrink);
}

void EmfPlayer::BitBlt(bool stretch, RecordReader& r)
{
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, stretch, blit)) {
        return;
    }
    if (blit.bitmap.cbBmi == 0) {
        canvas_.StretchBlt(blit.dest, QImage(), QRectF(), blit.operation);
        return;
    }
    const Dib dib = DecodeDibAt(canvas_, r.Record(), blit.bitmap, blit.usage);
    if (!dib.image.isNull()) {
        canvas_.StretchBlt(blit.dest, dib.image, SourceRect(blit, dib.image), blit.operation);
    }
}

void EmfPlayer::StretchDiBits(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    const QPointF destAt = ReadEmfPoint(r);
    const QPointF sourceAt = ReadEmfPoint(r);
    const int32_t cxSrc = r.I32();
    const int32_t cySrc = r.I32();
    const BitmapPlace place = ReadBitmapPlace(r);
    const uint32_t usage = r.U32();
    const uint32_t rop = r.U32();
    const int32_t cxDest = r.I32();
    const int32_t cyDest = r.I32();
    if (!r.Ok()) {
        return;
    }
    const QRectF dest(destAt, QSizeF(cxDest, cyDest));
    if (place.cbBmi == 0) {
        canvas_.StretchBlt(dest, QImage(), QRectF(), rop);
        return;
    }
    const QRectF source(sourceAt, QSizeF(cxSrc, cySrc));
    const Dib dib =
        DecodeDibAt(canvas_, r.Record(), place, usage, false, canvas_.ShrinkFor(dest, source));
    if (!dib.image.isNull()) {
        canvas_.StretchBlt(dest, dib.image,
                           DibSourceRect(dib, QRectF(sourceAt, QSizeF(cxSrc, cySrc))), rop);
    }
}

void EmfPlayer::SetDiBitsToDevice(RecordReader& r)
{
    r.Skip(kEmfBoundsSize);
    DibBand band;
    const QPointF destAt = ReadEmfPoint(r);
    band.source = ReadEmfPoint(r);
    const int32_t cx = r.I32();
    const int32_t cy = r.I32();
    const BitmapPlace place = ReadBitmapPlace(r);
    band.usage = r.U32();
    band.startScan = r.U32();
    band.scans = r.U32();
    band.info = SliceOf(r.Record(), place.offBmi, place.cbBmi);
    if (!r.Ok() || band.info.empty()) {
        return;
    }
    band.bits = SliceOf(r.Record(), place.offBits, place.cbBits);
    band.dest = QRectF(destAt, QSizeF(cx, cy));
    DrawDibBand(canvas_, band);
}

void EmfPlayer::AlphaBlend(RecordReader& r)
{
    constexpr uint32_t kSourceAlpha = 0x01;
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, true, blit)) {
        return;
    }
    const double constantAlpha = ((blit.operation >> 16) & 0xFF) / 255.0;
    const bool perPixel = ((blit.operation >> 24) & kSourceAlpha) != 0;
    const Dib dib = DecodeDibAt(canvas_, r.Record(), blit.bitmap, blit.usage, perPixel);
    if (!dib.image.isNull()) {
        canvas_.BlendImage(blit.dest, dib.image, SourceRect(blit, dib.image), constantAlpha);
    }
}

void EmfPlayer::TransparentBlt(RecordReader& r)
{
    DeviceBlit blit;
    if (!ReadDeviceBlit(r, true, blit)) {
        return;
    }
    const Dib dib = DecodeDibAt(canvas_, r.Record(), blit.bitmap, blit.usage);
    if (!dib.image.isNull()) {
        const QImage image = WithoutColour(dib.image, ColourRef(blit.operation).rgb());
        canvas_.BlendImage(blit.dest, image, SourceRect(blit, image), 1.0);
    }
}

void EmfPlayer::GradientFill(RecordReader& r)
{
    // Rectangles shade left to right (mode 0) or top to bottom (1).
    constexpr uint32_t kRectVertical = 1;
    constexpr uint32_t kTriangle = 2;
    r.Skip(kEmfBoundsSize);
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
            canvas_.GradientTriangle(vertices[index[0]], vertices[index[1]], vertices[index[2]]);
        } else {
            canvas_.GradientRect(vertices[index[0]], vertices[index[1]], mode == kRectVertical);
        }
    }
}

} // namespace figures
