// The object records of placeable metafiles (pens, brushes, fonts, regions and palettes,
// each created into the lowest free slot of the object table), selection and deletion,
// and the clipping records.
#include "figures/render/pictures/metafile/wmfplayer.h"

#include "figures/render/gbk.h"
#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/pictures/metafile/sharedrecords.h"

#include <algorithm>

namespace figures {

void WmfPlayer::Add(GdiObject object)
{
    canvas_.Objects().Add(std::move(object));
}

void WmfPlayer::CreatePlaceholder()
{
    Add(GdiPlaceholder{});
}

const GdiRegion* WmfPlayer::RegionAt(uint32_t index) const
{
    const GdiObject* object = canvas_.Objects().Find(index);
    return object != nullptr ? std::get_if<GdiRegion>(object) : nullptr;
}

const GdiBrush* WmfPlayer::BrushAt(uint32_t index) const
{
    const GdiObject* object = canvas_.Objects().Find(index);
    return object != nullptr ? std::get_if<GdiBrush>(object) : nullptr;
}

void WmfPlayer::CreatePen(RecordReader& r)
{
    GdiPen pen;
    ReadPenFields(r, FieldWidth::Short, pen);
    if (r.Ok()) {
        Add(pen);
    } else {
        Add(GdiPlaceholder{});
    }
}

void WmfPlayer::CreateBrush(RecordReader& r)
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

void WmfPlayer::CreateFont(RecordReader& r)
{
    GdiFont font;
    ReadFontFields(r, FieldWidth::Short, font);
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
void WmfPlayer::CreateRegion(RecordReader& r)
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
void WmfPlayer::CreatePatternBrush(RecordReader& r)
{
    constexpr size_t kPointerAndReserved = 4 + 18;
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Null;
    const QImage pattern = DecodeBitmap16(r, kPointerAndReserved);
    if (!pattern.isNull()) {
        brush.kind = GdiBrush::Kind::Pattern;
        brush.pattern = pattern;
    }
    Add(brush);
}

void WmfPlayer::CreateDibPatternBrush(RecordReader& r)
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

void WmfPlayer::SelectObject(RecordReader& r)
{
    const uint16_t index = r.U16();
    if (const GdiObject* object = r.Ok() ? canvas_.Objects().Find(index) : nullptr) {
        canvas_.SelectObject(*object);
    }
}

void WmfPlayer::DeleteObject(RecordReader& r)
{
    const uint16_t index = r.U16();
    if (r.Ok()) {
        canvas_.Objects().Remove(index);
    }
}

void WmfPlayer::SelectClipRegion(RecordReader& r)
{
    // A handle that is no region stands for the null region: clipping ends.
    const uint16_t index = r.U16();
    const GdiRegion* region = r.Ok() ? RegionAt(index) : nullptr;
    canvas_.CombineClipWith(region != nullptr ? canvas_.DeviceShapeOf(*region) : ClipArea{},
                            kRgnCopy);
}

void WmfPlayer::OffsetClipRegion(RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        canvas_.OffsetClip(QPointF(x, y));
    }
}

void WmfPlayer::IntersectClipRect(RecordReader& r)
{
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.IntersectClipRect(box);
    }
}

void WmfPlayer::ExcludeClipRect(RecordReader& r)
{
    const QRectF box = ReadReversedRect(r);
    if (r.Ok()) {
        canvas_.ExcludeClipRect(box);
    }
}

} // namespace figures
