#include "figures/render/pictures/metafile/wmfobjects.h"

#include "figures/render/gbk.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"

#include <algorithm>

namespace figures {

QImage DecodeBitmap16(RecordReader& r, const DeviceState& state, size_t reserved)
{
    r.I16(); // type
    const int16_t width = r.I16();
    const int16_t height = r.I16();
    const int16_t widthBytes = r.I16();
    const uint8_t planes = r.U8();
    const uint8_t bitsPixel = r.U8();
    r.Skip(reserved);
    if (!r.Ok() || planes != 1 || width <= 0 || height <= 0 ||
        (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32) ||
        widthBytes < (int64_t(width) * bitsPixel + 7) / 8 ||
        !r.Has(uint64_t(widthBytes) * uint64_t(height), 1)) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const QRgb zero = state.textColour.rgb();
    const QRgb one = state.bkColour.rgb();
    for (int y = 0; y < height; ++y) {
        const std::span<const uint8_t> row = r.Bytes(size_t(widthBytes));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPixel == 1) {
                out[x] = (row[size_t(x / 8)] >> (7 - x % 8)) & 1 ? one : zero;
            } else {
                const size_t at = size_t(x) * (bitsPixel / 8);
                out[x] = qRgb(row[at + 2], row[at + 1], row[at]);
            }
        }
    }
    return image;
}

Dib DecodePackedWithin(MetafileCanvas& canvas, std::span<const uint8_t> packed, uint32_t usage)
{
    Dib dib = DecodePackedDib(packed, usage, canvas.PixelBudget());
    if (!dib.image.isNull()) {
        canvas.SpendPixels(uint64_t(dib.image.width()) * uint64_t(dib.image.height()));
    }
    return dib;
}

void WmfObjects::Add(GdiObject object)
{
    canvas_.Objects().Add(std::move(object));
}

void WmfObjects::CreatePlaceholder()
{
    Add(GdiPlaceholder{});
}

const GdiRegion* WmfObjects::RegionAt(uint32_t index) const
{
    const GdiObject* object = canvas_.Objects().Find(index);
    return object != nullptr ? std::get_if<GdiRegion>(object) : nullptr;
}

const GdiBrush* WmfObjects::BrushAt(uint32_t index) const
{
    const GdiObject* object = canvas_.Objects().Find(index);
    return object != nullptr ? std::get_if<GdiBrush>(object) : nullptr;
}

void WmfObjects::CreatePen(RecordReader& r)
{
    GdiPen pen;
    pen.style = r.U16();
    pen.width = std::abs(r.I16());
    r.I16(); // the height of the width "point" is not used
    pen.colour = ColourRef(r.U32());
    if (r.Ok()) {
        Add(pen);
    } else {
        Add(GdiPlaceholder{});
    }
}

void WmfObjects::CreateBrush(RecordReader& r)
{
    GdiBrush brush;
    const uint16_t style = r.U16();
    brush.colour = ColourRef(r.U32());
    brush.hatch = r.U16();
    if (style == kBsNull) {
        brush.kind = GdiBrush::Kind::Null;
    } else if (style == kBsHatched) {
        brush.kind = GdiBrush::Kind::Hatched;
    }
    // Pattern styles need a bitmap, which this record cannot carry: they paint solid.
    if (r.Ok()) {
        Add(brush);
    } else {
        Add(GdiPlaceholder{});
    }
}

void WmfObjects::CreateFont(RecordReader& r)
{
    GdiFont font;
    font.height = r.I16();
    font.width = r.I16();
    font.escapement = r.I16();
    r.I16(); // orientation of the characters: the escapement turns them too
    font.weight = r.I16();
    font.italic = r.U8() != 0;
    font.underline = r.U8() != 0;
    font.strikeOut = r.U8() != 0;
    font.charSet = r.U8();
    r.Skip(4); // precision, quality, pitch and family
    if (!r.Ok()) {
        Add(GdiPlaceholder{});
        return;
    }
    // The face name: up to 32 bytes, NUL-terminated when shorter. Face names are in the
    // system's code page, GBK, whatever character set the font asks for.
    const std::span<const uint8_t> name = r.Rest().first(std::min<size_t>(r.Remaining(), 32));
    const auto end = std::find(name.begin(), name.end(), uint8_t(0));
    font.face = FromGbk(
        std::string_view(reinterpret_cast<const char*>(name.data()), size_t(end - name.begin())));
    Add(font);
}

// A region: a header with its bounds, then scans, each a band of rows with the
// left-right pairs of its rectangles.
void WmfObjects::CreateRegion(RecordReader& r)
{
    r.Skip(2 + 2 + 4 + 2); // next in chain, object type, object count, region size
    const int16_t scanCount = r.I16();
    r.Skip(2 + 8); // largest scan, bounding rectangle
    GdiRegion region;
    for (int16_t i = 0; i < scanCount && r.Ok(); ++i) {
        const uint16_t count = r.U16();
        const int16_t top = r.I16();
        const int16_t bottom = r.I16();
        if (!r.Has(count, 2)) {
            r.Skip(r.Remaining() + 1);
            break;
        }
        for (uint16_t k = 0; k + 1 < count; k += 2) {
            const int16_t left = r.I16();
            const int16_t right = r.I16();
            if (right > left && bottom > top) {
                region.rects.emplace_back(left, top, right - left, bottom - top);
            }
        }
        if (count % 2) {
            r.U16();
        }
        r.U16(); // the count again
    }
    if (r.Ok() && scanCount >= 0) {
        Add(region);
    } else {
        Add(GdiPlaceholder{});
    }
}

// The device-dependent pattern: the old bitmap header with room for a bits pointer, 18
// reserved bytes, then the bits.
void WmfObjects::CreatePatternBrush(RecordReader& r)
{
    constexpr size_t kPointerAndReserved = 4 + 18;
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Null;
    const QImage pattern = DecodeBitmap16(r, canvas_.State(), kPointerAndReserved);
    if (!pattern.isNull()) {
        brush.kind = GdiBrush::Kind::Pattern;
        brush.pattern = pattern;
    }
    Add(brush);
}

void WmfObjects::CreateDibPatternBrush(RecordReader& r)
{
    r.U16(); // style: the bitmap is a device-independent one either way
    const uint16_t usage = r.U16();
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Null;
    if (r.Ok()) {
        const Dib dib = DecodePackedWithin(canvas_, r.Rest(), usage);
        if (!dib.image.isNull()) {
            brush.kind = GdiBrush::Kind::Pattern;
            brush.pattern = dib.image;
        }
    }
    Add(brush);
}

} // namespace figures
