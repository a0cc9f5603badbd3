// The object records of enhanced metafiles (pens, brushes and fonts created into the slot
// each record names), the stock objects, selection and deletion, and the clipping records.
#include "figures/render/pictures/metafile/emfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/pictures/metafile/sharedrecords.h"

#include <algorithm>

namespace figures {

namespace {

constexpr uint32_t kStockFlag = 0x80000000;

// The stock objects by number.
enum StockObject : uint32_t {
    kWhiteBrush = 0,
    kLightGrayBrush = 1,
    kGrayBrush = 2,
    kDarkGrayBrush = 3,
    kBlackBrush = 4,
    kNullBrush = 5,
    kWhitePen = 6,
    kBlackPen = 7,
    kNullPen = 8,
    kOemFixedFont = 10,
    kAnsiFixedFont = 11,
    kAnsiVarFont = 12,
    kSystemFont = 13,
    kDeviceDefaultFont = 14,
    kSystemFixedFont = 16,
    kDefaultGuiFont = 17,
    kDcBrush = 18,
    kDcPen = 19,
};

std::optional<GdiObject> StockObjectOf(uint32_t number)
{
    auto brush = [](int grey) {
        GdiBrush b;
        b.colour = QColor(grey, grey, grey);
        return b;
    };
    auto pen = [](QColor colour, uint32_t style) {
        GdiPen p;
        p.colour = colour;
        p.style = style;
        return p;
    };
    auto font = [](const char* face) {
        GdiFont f;
        f.face = QString::fromLatin1(face);
        return f;
    };
    switch (number) {
    case kWhiteBrush:
    case kDcBrush: return brush(255);
    case kLightGrayBrush: return brush(192);
    case kGrayBrush: return brush(128);
    case kDarkGrayBrush: return brush(64);
    case kBlackBrush: return brush(0);
    case kNullBrush: {
        GdiBrush b;
        b.kind = GdiBrush::Kind::Null;
        return b;
    }
    case kWhitePen: return pen(Qt::white, kPsSolid);
    case kBlackPen:
    case kDcPen: return pen(Qt::black, kPsSolid);
    case kNullPen: return pen(Qt::black, kPsNull);
    case kOemFixedFont:
    case kAnsiFixedFont:
    case kSystemFixedFont: return font("Courier New");
    case kAnsiVarFont:
    case kSystemFont:
    case kDeviceDefaultFont:
    case kDefaultGuiFont: return font(""); // the system face: the Song face here
    default: return std::nullopt;
    }
}

} // namespace

void EmfPlayer::Put(uint32_t index, GdiObject object)
{
    canvas_.Objects().Put(index, std::move(object));
}

void EmfPlayer::SelectObject(RecordReader& r)
{
    const uint32_t index = r.U32();
    if (!r.Ok()) {
        return;
    }
    if (index & kStockFlag) {
        if (const std::optional<GdiObject> stock = StockObjectOf(index & ~kStockFlag)) {
            canvas_.SelectObject(*stock);
        }
        return;
    }
    if (const GdiObject* object = canvas_.Objects().Find(index)) {
        canvas_.SelectObject(*object);
    }
}

void EmfPlayer::DeleteObject(RecordReader& r)
{
    const uint32_t index = r.U32();
    if (r.Ok() && !(index & kStockFlag)) {
        canvas_.Objects().Remove(index);
    }
}

void EmfPlayer::CreatePen(RecordReader& r)
{
    const uint32_t index = r.U32();
    GdiPen pen;
    ReadPenFields(r, FieldWidth::Long, pen);
    if (r.Ok()) {
        Put(index, pen);
    }
}

// Extended pens: a geometric pen keeps its width, caps, joins and user dashes; a cosmetic
// one is a single pixel. Pens painted with a null brush draw nothing; other brushes paint
// in their colour.
void EmfPlayer::ExtCreatePen(RecordReader& r)
{
    constexpr size_t kMaxUserDashes = 16;
    const uint32_t index = r.U32();
    r.Skip(16); // the offsets and sizes of a pattern bitmap
    GdiPen pen;
    pen.extended = true;
    pen.style = r.U32();
    const uint32_t width = r.U32();
    const uint32_t brushStyle = r.U32();
    pen.colour = ColourRef(r.U32());
    r.U32(); // hatch
    const uint32_t dashCount = r.U32();
    if (!r.Ok()) {
        return;
    }
    pen.width = (pen.style & kPsGeometric) ? double(width) : 0.0;
    if (brushStyle == kBsNull) {
        pen.style = (pen.style & ~kPsStyleMask) | kPsNull;
    }
    if ((pen.style & kPsStyleMask) == kPsUserStyle && r.Has(dashCount, 4)) {
        for (uint32_t i = 0; i < std::min<uint32_t>(dashCount, kMaxUserDashes); ++i) {
            pen.userDashes.push_back(r.U32());
        }
    }
    Put(index, pen);
}

void EmfPlayer::CreateBrush(RecordReader& r)
{
    const uint32_t index = r.U32();
    const uint32_t style = r.U32();
    GdiBrush brush;
    brush.colour = ColourRef(r.U32());
    brush.hatch = int32_t(std::min<uint32_t>(r.U32(), 5));
    if (!r.Ok()) {
        return;
    }
    if (style == kBsNull) {
        brush.kind = GdiBrush::Kind::Null;
    } else if (style == kBsHatched) {
        brush.kind = GdiBrush::Kind::Hatched;
    }
    // Pattern styles need a bitmap this record cannot carry: they paint solid.
    Put(index, brush);
}

void EmfPlayer::CreatePatternBrush(RecordReader& r, bool monochrome)
{
    const uint32_t index = r.U32();
    const uint32_t usage = r.U32();
    const BitmapPlace place = ReadBitmapPlace(r);
    if (!r.Ok()) {
        return;
    }
    GdiBrush brush;
    brush.kind = GdiBrush::Kind::Null;
    const Dib dib = DecodeDibAt(canvas_, r.Record(), place, usage);
    if (!dib.image.isNull()) {
        brush.kind = GdiBrush::Kind::Pattern;
        brush.pattern = dib.image;
        // A monochrome brush whose bitmap has its own colours (other than black and
        // white) keeps them.
        brush.monochrome = monochrome && IsBlackAndWhite(dib.image);
    }
    Put(index, brush);
}

// The font record: the fields both formats share (32-bit here), then a face name of up
// to 32 UTF-16 characters; longer forms add names this player does not need.
void EmfPlayer::CreateFont(RecordReader& r)
{
    constexpr size_t kFaceUnits = 32;
    const uint32_t index = r.U32();
    GdiFont font;
    ReadFontFields(r, FieldWidth::Long, font);
    if (!r.Ok()) {
        return;
    }
    const std::span<const uint8_t> name = r.Rest().first(std::min(r.Remaining(), 2 * kFaceUnits));
    for (size_t i = 0; i + 1 < name.size(); i += 2) {
        const char16_t unit = char16_t(name[i] | name[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        font.face += QChar(unit);
    }
    Put(index, font);
}

void EmfPlayer::CreatePlaceholder(RecordReader& r)
{
    const uint32_t index = r.U32();
    if (r.Ok()) {
        Put(index, GdiPlaceholder{});
    }
}

std::optional<GdiBrush> EmfPlayer::BrushAt(uint32_t index) const
{
    if (index & kStockFlag) {
        const std::optional<GdiObject> stock = StockObjectOf(index & ~kStockFlag);
        const GdiBrush* brush = stock ? std::get_if<GdiBrush>(&*stock) : nullptr;
        return brush != nullptr ? std::optional<GdiBrush>(*brush) : std::nullopt;
    }
    const GdiObject* object = canvas_.Objects().Find(index);
    const GdiBrush* brush = object != nullptr ? std::get_if<GdiBrush>(object) : nullptr;
    return brush != nullptr ? std::optional<GdiBrush>(*brush) : std::nullopt;
}

void EmfPlayer::OffsetClipRegion(RecordReader& r)
{
    const QPointF offset = ReadEmfPoint(r);
    if (r.Ok()) {
        canvas_.OffsetClip(offset);
    }
}

void EmfPlayer::IntersectClipRect(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    if (r.Ok()) {
        canvas_.IntersectClipRect(box);
    }
}

void EmfPlayer::ExcludeClipRect(RecordReader& r)
{
    const QRectF box = ReadEmfRect(r);
    if (r.Ok()) {
        canvas_.ExcludeClipRect(box);
    }
}

void EmfPlayer::SelectClipPath(RecordReader& r)
{
    const uint32_t mode = r.U32();
    if (r.Ok()) {
        canvas_.SelectClipPath(int32_t(mode));
    }
}

void EmfPlayer::SelectClipRegion(RecordReader& r)
{
    const uint32_t dataSize = r.U32();
    const uint32_t mode = r.U32();
    if (!r.Ok()) {
        return;
    }
    const std::span<const uint8_t> data = r.Bytes(std::min<size_t>(dataSize, r.Remaining()));
    if (mode == uint32_t(kRgnCopy) && data.size() < kRegionHeaderSize) {
        canvas_.CombineClipWith(ClipArea{}, kRgnCopy); // back to no clipping
        return;
    }
    QRegion region;
    if (ReadRegionData(data, region)) {
        ClipArea shape;
        shape.active = true;
        shape.region = region;
        canvas_.CombineClipWith(shape, int32_t(mode));
    }
}

bool ReadRegionData(std::span<const uint8_t> data, QRegion& out)
{
    RecordReader r(data);
    r.U32(); // header size
    r.U32(); // type
    const uint32_t count = r.U32();
    r.U32(); // data size
    r.Skip(16);
    if (!r.Ok() || !r.Has(count, 16)) {
        return false;
    }
    std::vector<QRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const int64_t left = r.I32();
        const int64_t top = r.I32();
        const int64_t right = r.I32();
        const int64_t bottom = r.I32();
        // Coordinates QRegion can hold; empty rectangles add nothing.
        constexpr int64_t kLimit = int64_t(1) << 28;
        if (right > left && bottom > top && left > -kLimit && right < kLimit && top > -kLimit &&
            bottom < kLimit) {
            rects.emplace_back(int(left), int(top), int(right - left), int(bottom - top));
        }
    }
    return RegionFromRects(rects, out);
}

} // namespace figures
