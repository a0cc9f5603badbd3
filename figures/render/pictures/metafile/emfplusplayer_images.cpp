// Bitmaps of the newer metafile model, and its objects stored in several records.
#include "figures/render/pictures/metafile/emfplusplayer.h"

#include "figures/render/pictures/metafile/emfplusfields.h"
#include "figures/render/pictures/metafile/metafilecanvas.h"
#include "figures/render/pictures/metafile/metafileplayer.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace figures {

using namespace emfplus;

namespace {

// An object stored in parts may be this large in all.
constexpr uint32_t kMaxObjectBytes = 64u << 20;
// Bitmap sides beyond this are no picture a metafile shows.
constexpr int32_t kMaxImageSide = 1 << 15;
constexpr uint32_t kBitmapImage = 1;
constexpr uint32_t kPixelData = 0;
constexpr uint32_t kCompressedData = 1;
constexpr uint32_t kFormatRgb24 = 0x00021808;
constexpr uint32_t kFormatRgb32 = 0x00022009;
constexpr uint32_t kFormatArgb32 = 0x0026200A;
constexpr uint32_t kFormatPargb32 = 0x000E200B;

constexpr uint32_t kMetafileImage = 2;
constexpr uint16_t kCompressed = 0x4000; // points and rectangles as 16-bit integers
constexpr uint32_t kWrapFlipX = 1;
constexpr uint32_t kWrapFlipY = 2;
constexpr uint32_t kWrapFlipXY = 3;
constexpr uint32_t kWrapClamp = 4;

} // namespace

void EmfPlusPlayer::ReadObjectPart(uint32_t id, uint32_t type, RecordReader& r)
{
    if (partId_ != id) {
        // A new object in parts: each part starts with the whole object's size.
        const uint32_t total = r.U32();
        parts_.clear();
        partId_ = r.Ok() && total <= kMaxObjectBytes ? id : UINT32_MAX;
        partTotal_ = total;
    } else {
        r.U32(); // the whole size again
    }
    if (partId_ == UINT32_MAX || !r.Ok()) {
        return;
    }
    const std::span<const uint8_t> part = r.Rest();
    if (part.size() > partTotal_ - size_t(parts_.size())) {
        partId_ = UINT32_MAX; // more than announced: the object is dropped
        return;
    }
    parts_.append(reinterpret_cast<const char*>(part.data()), qsizetype(part.size()));
    if (size_t(parts_.size()) == partTotal_) {
        partId_ = UINT32_MAX;
        RecordReader whole(
            {reinterpret_cast<const uint8_t*>(parts_.constData()), size_t(parts_.size())});
        StoreObject(id, type, whole);
        parts_.clear();
    }
}

std::optional<QImage> EmfPlusPlayer::ReadImage(RecordReader& r)
{
    r.U32(); // version
    const uint32_t type = r.U32();
    const int32_t width = r.I32();
    const int32_t height = r.I32();
    const int32_t stride = r.I32();
    const uint32_t format = r.U32();
    const uint32_t storage = r.U32();
    if (!r.Ok() || type != kBitmapImage) {
        return std::nullopt;
    }
    QImage image;
    if (storage == kCompressedData) {
        const std::span<const uint8_t> data = r.Rest();
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                   qsizetype(data.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        // The size is checked before decoding, so a small file cannot ask for a huge image.
        if (size.isValid() &&
            uint64_t(size.width()) * uint64_t(size.height()) <= canvas_.PixelBudget()) {
            image = reader.read();
        }
    } else if (storage == kPixelData && width > 0 && height > 0 && width <= kMaxImageSide &&
               height <= kMaxImageSide) {
        const int bytesPerPixel = format == kFormatRgb24 ? 3 : 4;
        const bool known = format == kFormatRgb24 || format == kFormatRgb32 ||
                           format == kFormatArgb32 || format == kFormatPargb32;
        if (!known || stride < int64_t(width) * bytesPerPixel ||
            uint64_t(width) * uint64_t(height) > canvas_.PixelBudget() ||
            !r.Has(uint64_t(height), uint64_t(stride))) {
            return std::nullopt;
        }
        const QImage::Format qformat = format == kFormatRgb24   ? QImage::Format_BGR888
                                       : format == kFormatRgb32 ? QImage::Format_RGB32
                                       : format == kFormatArgb32
                                           ? QImage::Format_ARGB32
                                           : QImage::Format_ARGB32_Premultiplied;
        const std::span<const uint8_t> data = r.Bytes(size_t(height) * size_t(stride));
        // Copied, as the record's bytes do not outlive it.
        image = QImage(data.data(), width, height, stride, qformat).copy();
        if (qformat == QImage::Format_BGR888) {
            image = image.rgbSwapped().convertToFormat(QImage::Format_RGB32);
        }
    }
    if (image.isNull()) {
        return std::nullopt;
    }
    const uint64_t pixels = uint64_t(image.width()) * uint64_t(image.height());
    if (pixels > canvas_.PixelBudget()) {
        return std::nullopt;
    }
    canvas_.SpendPixels(pixels);
    return image;
}

std::optional<EmfPlusPlayer::Object> EmfPlusPlayer::ReadImageObject(RecordReader& r)
{
    RecordReader head = r;
    head.U32(); // version
    if (head.U32() != kMetafileImage) {
        std::optional<QImage> image = ReadImage(r);
        return image ? std::optional<Object>(std::move(*image)) : std::nullopt;
    }
    r.Skip(8); // version, type
    r.U32();   // the metafile's kind: its header tells
    const uint32_t size = r.U32();
    const std::span<const uint8_t> bytes = r.Bytes(size);
    const MetafileInfo info = r.Ok() ? InspectMetafile(bytes) : MetafileInfo{};
    if (!info.ok) {
        return std::nullopt;
    }
    return Metafile{QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(size)),
                    info.bounds};
}

void EmfPlusPlayer::DrawImage(bool points, uint16_t flags, RecordReader& r)
{
    const uint32_t attributesId = r.U32();
    r.I32(); // source unit: pixels
    const QRectF source = ReadRect(r, false);
    const Object* object = Find(flags & 0xFF);
    if (!r.Ok() || object == nullptr || !Finite(source) || source.width() <= 0 ||
        source.height() <= 0) {
        return;
    }
    // The source rectangle lands on a rectangle, or on the parallelogram of three points
    // (top-left, top-right, bottom-left).
    QTransform sourceToWorld;
    if (points) {
        const uint32_t count = r.U32();
        const std::optional<QPolygonF> p = ReadPoints(r, count, PointFormOf(flags));
        if (!p || count != 3) {
            return;
        }
        const QPointF across = ((*p)[1] - (*p)[0]) / source.width();
        const QPointF down = ((*p)[2] - (*p)[0]) / source.height();
        sourceToWorld =
            QTransform::fromTranslate(-source.x(), -source.y()) *
            QTransform(across.x(), across.y(), down.x(), down.y(), (*p)[0].x(), (*p)[0].y());
    } else {
        const QRectF dest = ReadRect(r, flags & kCompressed);
        if (!r.Ok() || !Finite(dest)) {
            return;
        }
        sourceToWorld =
            QTransform::fromTranslate(-source.x(), -source.y()) *
            QTransform::fromScale(dest.width() / source.width(), dest.height() / source.height()) *
            QTransform::fromTranslate(dest.x(), dest.y());
    }
    if (const auto* image = std::get_if<QImage>(object)) {
        const ImageAttributes* attributes = FindAs<ImageAttributes>(attributesId);
        DrawBitmap(*image, source, sourceToWorld,
                   attributes != nullptr ? *attributes : ImageAttributes{});
    } else if (const auto* metafile = std::get_if<Metafile>(object)) {
        DrawMetafile(*metafile, source, sourceToWorld);
    }
}

// A tile of image and its mirror images, as wrap mode lays them side by side; null when
// the pixels it needs are beyond the budget.
QImage EmfPlusPlayer::WrapTile(const QImage& image, uint32_t wrap)
{
    const bool acrossX = wrap == kWrapFlipX || wrap == kWrapFlipXY;
    const bool acrossY = wrap == kWrapFlipY || wrap == kWrapFlipXY;
    if (!acrossX && !acrossY) {
        return image;
    }
    const QSize size(image.width() * (acrossX ? 2 : 1), image.height() * (acrossY ? 2 : 1));
    const uint64_t pixels = uint64_t(size.width()) * uint64_t(size.height());
    if (pixels > canvas_.PixelBudget()) {
        return QImage();
    }
    canvas_.SpendPixels(pixels);
    QImage tile(size, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.drawImage(0, 0, image);
    if (acrossX) {
        painter.drawImage(image.width(), 0, image.mirrored(true, false));
    }
    if (acrossY) {
        painter.drawImage(0, image.height(), image.mirrored(false, true));
    }
    if (acrossX && acrossY) {
        painter.drawImage(image.width(), image.height(), image.mirrored(true, true));
    }
    return tile;
}

void EmfPlusPlayer::DrawBitmap(const QImage& image, const QRectF& source,
                               const QTransform& sourceToWorld, const ImageAttributes& attributes)
{
    const QRectF pixels(QPointF(0, 0), image.size());
    const QImage tile = attributes.wrap != kWrapClamp ? WrapTile(image, attributes.wrap) : QImage();
    Drawing drawing(*this);
    QPainter& painter = drawing.painter;
    painter.setWorldTransform(sourceToWorld * ToPainter());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!tile.isNull()) {
        // Tiles repeat from the image's own origin, as far as the source reaches.
        painter.fillRect(source, QBrush(tile));
        return;
    }
    if (attributes.clamp.alpha() > 0 && !pixels.contains(source)) {
        QPainterPath beyond;
        beyond.addRect(source);
        QPainterPath inside;
        inside.addRect(pixels);
        painter.fillPath(beyond.subtracted(inside), attributes.clamp);
    }
    const QRectF shown = source & pixels;
    if (!shown.isEmpty()) {
        painter.drawImage(shown, image, shown);
    }
}

// The source rectangle, in the coordinates of the metafile's own rectangle, of a picture
// played by the metafile player inside this one.
void EmfPlusPlayer::DrawMetafile(const Metafile& metafile, const QRectF& source,
                                 const QTransform& sourceToWorld)
{
    Drawing drawing(*this);
    QPainter& painter = drawing.painter;
    painter.setWorldTransform(sourceToWorld * ToPainter());
    painter.setClipRect(source, Qt::IntersectClip);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(metafile.bytes.data()),
                                         size_t(metafile.bytes.size()));
    PlayNestedMetafile(bytes, painter, metafile.bounds, canvas_);
}

} // namespace figures
