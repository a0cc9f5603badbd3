#include "figures/render/pictures/metafile/sharedrecords.h"

#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

#include <cmath>

namespace figures {

namespace {

constexpr uint32_t kSrcCopy = 0x00CC0020;

int32_t ReadField(RecordReader& r, FieldWidth width)
{
    return width == FieldWidth::Long ? r.I32() : r.I16();
}

} // namespace

void ReadFontFields(RecordReader& r, FieldWidth width, GdiFont& font)
{
    font.height = ReadField(r, width);
    font.width = ReadField(r, width);
    font.escapement = ReadField(r, width);
    ReadField(r, width); // orientation
    font.weight = ReadField(r, width);
    font.italic = r.U8() != 0;
    font.underline = r.U8() != 0;
    font.strikeOut = r.U8() != 0;
    font.charSet = r.U8();
    r.Skip(4); // precision, quality, pitch and family
}

void ReadPenFields(RecordReader& r, FieldWidth width, GdiPen& pen)
{
    pen.style = width == FieldWidth::Long ? r.U32() : r.U16();
    pen.width = std::abs(double(ReadField(r, width)));
    ReadField(r, width); // the height of the width "point" is not used
    pen.colour = ColourRef(r.U32());
}

Dib DecodeDibWithin(MetafileCanvas& canvas, std::span<const uint8_t> info,
                    std::span<const uint8_t> bits, uint32_t usage, bool premultipliedAlpha,
                    int32_t shrink)
{
    return canvas.Decoded().Find(info, bits, usage, premultipliedAlpha, shrink, [&] {
        Dib dib = DecodeDib(info, bits, usage, premultipliedAlpha, canvas.PixelBudget(), shrink);
        canvas.SpendPixels(uint64_t(dib.image.width()) * uint64_t(dib.image.height()));
        return dib;
    });
}

Dib DecodePackedWithin(MetafileCanvas& canvas, std::span<const uint8_t> packed, uint32_t usage,
                       int32_t shrink)
{
    return canvas.Decoded().Find(packed, {}, usage, false, shrink, [&] {
        Dib dib = DecodePackedDib(packed, usage, canvas.PixelBudget(), shrink);
        canvas.SpendPixels(uint64_t(dib.image.width()) * uint64_t(dib.image.height()));
        return dib;
    });
}

QRectF DibSourceRect(const Dib& dib, QRectF recorded)
{
    if (dib.shrink > 1) {
        const double f = 1.0 / dib.shrink;
        recorded =
            QRectF(recorded.x() * f, recorded.y() * f, recorded.width() * f, recorded.height() * f);
    }
    if (dib.bottomUp) {
        recorded.moveTop(double(dib.image.height()) - recorded.y() - recorded.height());
    }
    return recorded;
}

void DrawDibBand(MetafileCanvas& canvas, const DibBand& band)
{
    int64_t fullHeight = 0;
    const Dib dib = DecodeDibBand(band.info, band.bits, band.usage, band.scans, fullHeight,
                                  canvas.PixelBudget());
    if (dib.image.isNull()) {
        return;
    }
    canvas.SpendPixels(uint64_t(dib.image.width()) * uint64_t(dib.image.height()));
    // The band's top row within the whole bitmap, then the source's top within the band.
    const int64_t rows = fullHeight < 0 ? -fullHeight : fullHeight;
    const int64_t bandTop =
        dib.bottomUp ? rows - band.startScan - dib.image.height() : band.startScan;
    const int64_t sourceTop = dib.bottomUp
                                  ? rows - int64_t(band.source.y()) - int64_t(band.dest.height())
                                  : int64_t(band.source.y());
    canvas.StretchBlt(
        band.dest, dib.image,
        QRectF(band.source.x(), double(sourceTop - bandTop), band.dest.width(), band.dest.height()),
        kSrcCopy);
}

} // namespace figures
