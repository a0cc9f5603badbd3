#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"

#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/recordreader.h"
#include "figures/render/text/facesubstitution.h"
#include "figures/render/text/fontmapping.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace figures {

using namespace emfplus;

namespace {

constexpr uint32_t kCommentType = 70;
constexpr uint32_t kPlusSignature = 0x2B464D45; // "EMF+"
constexpr size_t kPlusRecordHeader = 12;        // type, flags, size, data size

enum PlusRecord : uint16_t {
    kHeader = 0x4001,
    kEndOfFile = 0x4002,
    kObject = 0x4008,
    kFillRects = 0x400A,
    kDrawRects = 0x400B,
    kFillPolygon = 0x400C,
    kDrawLines = 0x400D,
    kFillEllipse = 0x400E,
    kDrawEllipse = 0x400F,
    kFillPie = 0x4010,
    kDrawPie = 0x4011,
    kDrawArc = 0x4012,
    kFillRegion = 0x4013,
    kFillPath = 0x4014,
    kDrawPath = 0x4015,
    kFillClosedCurve = 0x4016,
    kDrawClosedCurve = 0x4017,
    kDrawCurve = 0x4018,
    kDrawBeziers = 0x4019,
    kDrawImage = 0x401A,
    kDrawImagePoints = 0x401B,
    kDrawString = 0x401C,
    kSave = 0x4025,
    kRestore = 0x4026,
    kBeginContainer = 0x4027,
    kBeginContainerNoParams = 0x4028,
    kEndContainer = 0x4029,
    kSetWorldTransform = 0x402A,
    kResetWorldTransform = 0x402B,
    kMultiplyWorldTransform = 0x402C,
    kTranslateWorldTransform = 0x402D,
    kScaleWorldTransform = 0x402E,
    kRotateWorldTransform = 0x402F,
    kSetPageTransform = 0x4030,
    kResetClip = 0x4031,
    kSetClipRect = 0x4032,
    kSetClipPath = 0x4033,
    kSetClipRegion = 0x4034,
    kOffsetClip = 0x4035,
    kDrawDriverString = 0x4036,
};

enum PlusObjectType : uint32_t {
    kBrushObject = 1,
    kPenObject = 2,
    kPathObject = 3,
    kRegionObject = 4,
    kImageObject = 5,
    kFontObject = 6,
    kStringFormatObject = 7,
    kImageAttributesObject = 8,
};

// Record flags.
constexpr uint16_t kDual = 0x0001;        // header: the older records draw the same
constexpr uint16_t kColourGiven = 0x8000; // the brush field is a colour
constexpr uint16_t kCompressed = 0x4000;  // points and rectangles as 16-bit integers
constexpr uint16_t kContinued = 0x8000;   // object: more of it in the next record

std::optional<EmfPlusPlayer::Font> ReadFont(RecordReader& r)
{
    r.U32(); // version
    const float emSize = r.F32();
    const uint32_t unit = r.U32();
    const int32_t style = r.I32();
    r.U32(); // reserved
    const uint32_t length = r.U32();
    if (!r.Ok() || !Finite(emSize) || emSize <= 0 || !r.Has(length, 2)) {
        return std::nullopt;
    }
    QString family;
    for (uint32_t i = 0; i < length; ++i) {
        family += QChar(char16_t(r.U16()));
    }
    return EmfPlusPlayer::Font{family, emSize, unit, style};
}

} // namespace

EmfPlusPlayer::EmfPlusPlayer(MetafileCanvas& canvas) : canvas_(canvas) {}

void EmfPlusPlayer::PlayComment(std::span<const uint8_t> record)
{
    RecordReader comment(record);
    const uint32_t type = comment.U32();
    comment.U32(); // size
    const uint32_t dataSize = comment.U32();
    const uint32_t signature = comment.U32();
    if (!comment.Ok() || type != kCommentType || signature != kPlusSignature || dataSize < 4 ||
        dataSize - 4 > comment.Remaining() || (decided_ && !playing_)) {
        return;
    }
    const std::span<const uint8_t> records = comment.Bytes(dataSize - 4);
    size_t at = 0;
    while (records.size() - at >= kPlusRecordHeader) {
        RecordReader header(records, at);
        const uint16_t recordType = header.U16();
        const uint16_t flags = header.U16();
        const uint32_t size = header.U32();
        const uint32_t data = header.U32();
        if (size < kPlusRecordHeader || size > records.size() - at ||
            data > size - kPlusRecordHeader) {
            return;
        }
        RecordReader r(records.subspan(at + kPlusRecordHeader, data));
        if (recordType == kHeader) {
            ReadHeader(flags, r);
        } else if (playing_) {
            PlayRecord(recordType, flags, r);
        }
        if (decided_ && !playing_) {
            return;
        }
        at += size;
    }
}

void EmfPlusPlayer::ReadHeader(uint16_t flags, RecordReader& r)
{
    if (decided_) {
        return;
    }
    r.U32(); // version
    r.U32(); // flags of the reference device
    const uint32_t dpiX = r.U32();
    const uint32_t dpiY = r.U32();
    decided_ = true;
    playing_ = (flags & kDual) == 0;
    if (r.Ok() && dpiX > 0 && dpiY > 0 && dpiX < 100000 && dpiY < 100000) {
        dpiX_ = dpiX;
        dpiY_ = dpiY;
    }
    // Pixels of the recording device become pixels of the picture's reference device.
    const double k = canvas_.DpiY() / dpiY_;
    page_ = QTransform::fromScale(k, k);
}

void EmfPlusPlayer::PlayRecord(uint16_t type, uint16_t flags, RecordReader& r)
{
    switch (type) {
    case kObject: ReadObject(flags, r); break;
    case kFillRects: FillRects(flags, r); break;
    case kDrawRects: DrawRects(flags, r); break;
    case kFillEllipse: Ellipse(true, flags, r); break;
    case kDrawEllipse: Ellipse(false, flags, r); break;
    case kFillPie:
    case kDrawPie:
    case kDrawArc: ArcLike(type, flags, r); break;
    case kFillPolygon: FillPolygon(flags, r); break;
    case kDrawLines: DrawLines(flags, r); break;
    case kDrawBeziers: DrawBeziers(flags, r); break;
    case kDrawCurve: DrawCurve(flags, r); break;
    case kDrawClosedCurve: DrawClosedCurve(flags, r); break;
    case kFillClosedCurve: FillClosedCurve(flags, r); break;
    case kFillPath: FillPath(flags, r); break;
    case kDrawPath: DrawPath(flags, r); break;
    case kDrawString: DrawString(flags, r); break;
    case kDrawDriverString: DrawDriverString(flags, r); break;
    case kFillRegion: FillRegion(flags, r); break;
    case kResetClip: clip_.reset(); break;
    case kSetClipRect: SetClipRect(flags, r); break;
    case kSetClipPath: SetClipPath(flags); break;
    case kSetClipRegion: SetClipRegion(flags); break;
    case kOffsetClip: OffsetClip(r); break;
    case kDrawImage: DrawImage(false, flags, r); break;
    case kDrawImagePoints: DrawImage(true, flags, r); break;
    case kSave: saved_[r.U32()] = Saved{world_, container_, page_, clip_}; break;
    case kBeginContainer: BeginContainerWithRects(r); break;
    case kBeginContainerNoParams: BeginContainer(r.U32(), QTransform()); break;
    case kRestore:
    case kEndContainer: {
        // Containers and saved states share their numbers' stack.
        const auto found = saved_.find(r.U32());
        if (found != saved_.end()) {
            world_ = found->second.world;
            container_ = found->second.container;
            page_ = found->second.page;
            clip_ = found->second.clip;
        }
        break;
    }
    case kSetWorldTransform: world_ = ReadMatrix(r); break;
    case kResetWorldTransform: world_ = QTransform(); break;
    case kMultiplyWorldTransform: {
        // Flag 0x2000: the new matrix applies after the current one.
        const QTransform m = ReadMatrix(r);
        world_ = (flags & 0x2000) ? world_ * m : m * world_;
        break;
    }
    case kTranslateWorldTransform:
    case kScaleWorldTransform: {
        const double a = r.F32();
        const double b = r.F32();
        if (!Finite(a) || !Finite(b)) {
            break;
        }
        const QTransform m = type == kScaleWorldTransform ? QTransform::fromScale(a, b)
                                                          : QTransform::fromTranslate(a, b);
        world_ = (flags & 0x2000) ? world_ * m : m * world_;
        break;
    }
    case kRotateWorldTransform: {
        const double angle = r.F32();
        if (Finite(angle)) {
            const QTransform m = QTransform().rotate(angle);
            world_ = (flags & 0x2000) ? world_ * m : m * world_;
        }
        break;
    }
    case kSetPageTransform: SetPageTransform(flags, r); break;
    case kEndOfFile: playing_ = false; break;
    default: break;
    }
}

double EmfPlusPlayer::UnitScale(uint32_t unit) const
{
    switch (unit) {
    case 3: return dpiY_ / 72.0;  // point
    case 4: return dpiY_;         // inch
    case 5: return dpiY_ / 300.0; // document
    case 6: return dpiY_ / 25.4;  // millimetre
    default: return 1;            // world, display and pixel
    }
}

void EmfPlusPlayer::SetPageTransform(uint16_t flags, RecordReader& r)
{
    const double scale = r.F32();
    if (!r.Ok() || !Finite(scale) || scale <= 0) {
        return;
    }
    const double k = UnitScale(flags & 0xFF) * scale * canvas_.DpiY() / dpiY_;
    page_ = QTransform::fromScale(k, k);
}

void EmfPlusPlayer::BeginContainer(uint32_t index, const QTransform& transform)
{
    saved_[index] = Saved{world_, container_, page_, clip_};
    container_ = transform * world_ * container_;
    world_ = QTransform();
}

// A container whose source rectangle (its units) lands on a destination rectangle of the
// parent's world.
void EmfPlusPlayer::BeginContainerWithRects(RecordReader& r)
{
    const QRectF dest = ReadRect(r, false);
    const QRectF source = ReadRect(r, false);
    const uint32_t index = r.U32();
    if (!r.Ok() || !Finite(dest) || !Finite(source) || source.width() == 0 ||
        source.height() == 0) {
        return;
    }
    BeginContainer(index, QTransform::fromTranslate(-source.x(), -source.y()) *
                              QTransform::fromScale(dest.width() / source.width(),
                                                    dest.height() / source.height()) *
                              QTransform::fromTranslate(dest.x(), dest.y()));
}

void EmfPlusPlayer::ReadObject(uint16_t flags, RecordReader& r)
{
    const uint32_t id = flags & 0xFF;
    const uint32_t type = (flags >> 8) & 0x7F;
    if (id >= objects_.size()) {
        return;
    }
    if ((flags & kContinued) || partId_ == id) {
        ReadObjectPart(id, type, r);
        return;
    }
    StoreObject(id, type, r);
}

void EmfPlusPlayer::StoreObject(uint32_t id, uint32_t type, RecordReader& r)
{
    objects_[id].reset();
    switch (type) {
    case kBrushObject:
        if (auto brush = ReadBrush(r)) {
            objects_[id] = std::move(*brush);
        }
        break;
    case kPenObject:
        if (auto pen = ReadPen(r)) {
            objects_[id] = std::move(*pen);
        }
        break;
    case kPathObject:
        if (auto path = ReadPath(r)) {
            objects_[id] = std::move(*path);
        }
        break;
    case kRegionObject:
        if (auto region = ReadRegion(r)) {
            objects_[id] = std::move(*region);
        }
        break;
    case kImageObject:
        if (auto image = ReadImageObject(r)) {
            objects_[id] = std::move(*image);
        }
        break;
    case kFontObject:
        if (auto font = ReadFont(r)) {
            objects_[id] = std::move(*font);
        }
        break;
    case kStringFormatObject: {
        r.U32(); // version
        const uint32_t formatFlags = r.U32();
        r.U32(); // language
        const uint32_t alignment = r.U32();
        const uint32_t lineAlignment = r.U32();
        if (r.Ok()) {
            objects_[id] = StringFormat{formatFlags, alignment, lineAlignment};
        }
        break;
    }
    case kImageAttributesObject: {
        r.U32(); // version
        r.U32(); // reserved
        const uint32_t wrap = r.U32();
        const QColor clamp = Argb(r.U32());
        if (r.Ok()) {
            objects_[id] = ImageAttributes{wrap <= 4 ? wrap : 4, clamp};
        }
        break;
    }
    default: break; // custom caps alone are read with the pens that use them
    }
}

const EmfPlusPlayer::Object* EmfPlusPlayer::Find(uint32_t id) const
{
    return id < objects_.size() && objects_[id] ? &*objects_[id] : nullptr;
}

std::optional<EmfPlusPlayer::Brush> EmfPlusPlayer::BrushOf(uint16_t flags, uint32_t value) const
{
    if (flags & kColourGiven) {
        return Brush{QBrush(Argb(value)), QColor(Qt::transparent), std::nullopt};
    }
    if (const Brush* brush = FindAs<Brush>(value)) {
        return *brush;
    }
    return std::nullopt;
}

QTransform EmfPlusPlayer::ToPainter() const
{
    return WorldToDevice() * canvas_.DeviceTransform();
}

EmfPlusPlayer::Drawing::Drawing(const EmfPlusPlayer& player) : painter(player.canvas_.Painter())
{
    painter.save();
    if (player.clip_) {
        painter.setWorldTransform(player.canvas_.DeviceTransform());
        painter.setClipPath(*player.clip_, Qt::IntersectClip);
    }
    painter.setWorldTransform(player.ToPainter());
}

EmfPlusPlayer::Drawing::~Drawing()
{
    painter.restore();
}

void EmfPlusPlayer::Fill(const QPainterPath& world, const Brush& brush)
{
    Drawing drawing(*this);
    if (brush.bounds) {
        drawing.painter.setClipPath(*brush.bounds, Qt::IntersectClip);
    }
    if (brush.back.alpha() > 0) {
        drawing.painter.fillPath(world, brush.back);
    }
    drawing.painter.fillPath(world, brush.brush);
}

void EmfPlusPlayer::FillRects(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> colour = BrushOf(flags, r.U32());
    const uint32_t count = r.U32();
    if (!colour || !r.Has(count, flags & kCompressed ? 8 : 16)) {
        return;
    }
    QPainterPath path;
    for (uint32_t i = 0; i < count; ++i) {
        const QRectF rect = ReadRect(r, flags & kCompressed);
        if (Finite(rect)) {
            path.addRect(rect);
        }
    }
    Fill(path, *colour);
}

void EmfPlusPlayer::DrawRects(uint16_t flags, RecordReader& r)
{
    const uint32_t count = r.U32();
    if (!r.Has(count, flags & kCompressed ? 8 : 16)) {
        return;
    }
    QPainterPath path;
    for (uint32_t i = 0; i < count; ++i) {
        const QRectF rect = ReadRect(r, flags & kCompressed);
        if (Finite(rect)) {
            path.addRect(rect);
        }
    }
    Stroke(path, flags & 0xFF);
}

void EmfPlusPlayer::Ellipse(bool fill, uint16_t flags, RecordReader& r)
{
    const uint32_t brush = fill ? r.U32() : 0;
    const QRectF rect = ReadRect(r, flags & kCompressed);
    if (!r.Ok() || !Finite(rect)) {
        return;
    }
    QPainterPath path;
    path.addEllipse(rect);
    if (!fill) {
        Stroke(path, flags & 0xFF);
    } else if (const auto colour = BrushOf(flags, brush)) {
        Fill(path, *colour);
    }
}

void EmfPlusPlayer::ArcLike(uint16_t type, uint16_t flags, RecordReader& r)
{
    const uint32_t brush = type == kFillPie ? r.U32() : 0;
    const double start = r.F32();
    const double sweep = r.F32();
    const QRectF rect = ReadRect(r, flags & kCompressed);
    if (!r.Ok() || !Finite(rect) || !Finite(start) || !Finite(sweep)) {
        return;
    }
    // Angles run clockwise on a y-down page, Qt's counter-clockwise.
    QPainterPath path;
    if (type == kDrawArc) {
        path.arcMoveTo(rect, -start);
    } else {
        path.moveTo(rect.center());
    }
    path.arcTo(rect, -start, -sweep);
    if (type != kDrawArc) {
        path.closeSubpath();
    }
    if (type != kFillPie) {
        Stroke(path, flags & 0xFF);
    } else if (const auto colour = BrushOf(flags, brush)) {
        Fill(path, *colour);
    }
}

void EmfPlusPlayer::FillPath(uint16_t flags, RecordReader& r)
{
    const std::optional<Brush> colour = BrushOf(flags, r.U32());
    const QPainterPath* path = FindAs<QPainterPath>(flags & 0xFF);
    if (colour && path != nullptr) {
        Fill(*path, *colour);
    }
}

void EmfPlusPlayer::DrawPath(uint16_t flags, RecordReader& r)
{
    const uint32_t pen = r.U32();
    const QPainterPath* path = FindAs<QPainterPath>(flags & 0xFF);
    if (r.Ok() && path != nullptr) {
        Stroke(*path, pen);
    }
}

} // namespace figures
