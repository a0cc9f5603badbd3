#include "figures/render/pictures/picture.h"

#include "figures/render/colour.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pictures/gifclip.h"
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "figures/render/numeric.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

namespace figures {

namespace {

constexpr int32_t kHimetricPerInch = 2540;
constexpr int32_t kScreenDpi = 96;
constexpr uint32_t kWhitenessBackground = 0x7FFFFFFF;
// A tiled cell is prepared once as a texture when it is no larger than this.
constexpr int64_t kMaxTextureCellPixels = int64_t(2048) * 2048;
constexpr int kMaxMonochromeSide = 32767;

uint32_t ReadU32(std::span<const uint8_t> b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint16_t ReadU16(std::span<const uint8_t> b, size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}

int32_t PixelsToHimetric(int32_t pixels)
{
    return MulDiv(pixels, kHimetricPerInch, kScreenDpi);
}

// The icon or cursor entry the picture object shows: the first 32 pixels wide, else the
// first. Returns its index and its directory size (a size byte of 0 means 256), or -1
// when the directory is empty or does not fit the bytes.
int ChooseIconEntry(std::span<const uint8_t> bytes, QSize& size)
{
    if (bytes.size() < 6) {
        return -1;
    }
    const size_t count = ReadU16(bytes, 4);
    if (count == 0 || bytes.size() < 6 + 16 * count) {
        return -1;
    }
    auto side = [](uint8_t v) { return v == 0 ? 256 : int(v); };
    size_t chosen = 0;
    for (size_t i = 0; i < count; ++i) {
        if (side(bytes[6 + 16 * i]) == 32) {
            chosen = i;
            break;
        }
    }
    size = QSize(side(bytes[6 + 16 * chosen]), side(bytes[6 + 16 * chosen + 1]));
    return int(chosen);
}

// A reader over the bytes, positioned at the icon entry; Qt's allocation limit is raised to
// the cache's budget once, before the first reader exists.
std::unique_ptr<QImageReader> OpenReader(QBuffer& buffer, const char* format, int entry)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kPictureAllocationLimitMb); });
    if (!buffer.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    auto reader = std::make_unique<QImageReader>(&buffer, format);
    reader->setAutoTransform(false);
    if (entry > 0 && !reader->jumpToImage(entry)) {
        return nullptr;
    }
    return reader;
}

QByteArray RawBytes(std::span<const uint8_t> bytes)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                   qsizetype(bytes.size()));
}

// The size the header promises, without decoding; invalid when the header does not read.
QSize HeaderSize(std::span<const uint8_t> bytes, const char* format, int entry)
{
    QByteArray data = RawBytes(bytes);
    QBuffer buffer(&data);
    const auto reader = OpenReader(buffer, format, entry);
    if (!reader) {
        return {};
    }
    const QSize size = reader->size();
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

// Qt's GIF reader leaves the pixels no data reaches as zero words in an image whose format
// says every pixel is opaque; painters copy such words as they are, so the same picture
// would show transparent on one device and black on another. They are the opaque black the
// format promises.
void MakeOpaque(QImage& image)
{
    if (image.format() != QImage::Format_RGB32) {
        return;
    }
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            row[x] |= 0xFF000000u;
        }
    }
}

// Decodes the pixels, at scaledSize when it is valid (formats that cannot decode smaller
// are scaled by the reader after decoding, so callers ask that only of those that can).
QImage DecodeRaster(std::span<const uint8_t> bytes, const char* format, int entry, QSize scaledSize)
{
    QByteArray data = RawBytes(bytes);
    QBuffer buffer(&data);
    auto reader = OpenReader(buffer, format, entry);
    if (!reader) {
        return {};
    }
    if (scaledSize.isValid()) {
        reader->setScaledSize(scaledSize);
    }
    QImage image;
    if (!reader->read(&image)) {
        return {};
    }
    // The GIF reader keeps a share of the pixels for the next frame: let it go first, so
    // that making them opaque writes into the only copy instead of copying them all.
    reader.reset();
    MakeOpaque(image);
    return image;
}

int64_t PixelBytes(QSize size, int32_t shrink)
{
    const int64_t w = (int64_t(size.width()) + shrink - 1) / shrink;
    const int64_t h = (int64_t(size.height()) + shrink - 1) / shrink;
    return w * h * 4;
}

// A light crossed box in place of a picture too large to decode, with the text when the
// box has room for it.
void DrawTooLarge(QPainter& painter, const QRectF& target)
{
    const QRectF box = painter.combinedTransform().mapRect(target.normalized());
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.fillRect(box, QColor(0xE8, 0xE8, 0xE8));
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomLeft());
    QFont font = painter.font();
    font.setPixelSize(std::clamp(int(box.height() / 5), 8, 24));
    const QString text = QString::fromUtf8(kPictureTooLargeText);
    const QFontMetricsF metrics(font);
    const QRectF textBox(0, 0, metrics.horizontalAdvance(text) + 8, metrics.height() + 4);
    if (textBox.width() <= box.width() && textBox.height() <= box.height()) {
        const QRectF placed = textBox.translated(box.center() - textBox.center());
        painter.fillRect(placed, Qt::white);
        painter.setFont(font);
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawText(placed, Qt::AlignCenter, text);
    }
    painter.restore();
}

// Draws the source part (HIMETRIC) of a raster picture size.width() wide whose decoded
// pixels show the rows from bandTop to bandBottom (HIMETRIC) of its size.height(): the pixels
// stretched over their share of target, and the rest of the picture in the colour of the
// last decoded row, which is what a cut GIF shows wherever its data does not reach (the
// decoder's background fill, or the zero pixel: opaque black in an image without alpha,
// nothing in one with alpha).
void DrawReached(QPainter& painter, const QRectF& target, const QRect& source, const QImage& image,
                 const QSizeF& size, double bandTop, double bandBottom)
{
    const QRectF part(source);
    const double fx = target.width() / part.width();
    const double fy = target.height() / part.height();
    auto toTarget = [&](const QRectF& r) {
        return QRectF(target.x() + (r.x() - part.x()) * fx, target.y() + (r.y() - part.y()) * fy,
                      r.width() * fx, r.height() * fy);
    };
    const QRectF band(0, bandTop, size.width(), bandBottom - bandTop);
    const QRectF drawn = part.intersected(band);
    if (!drawn.isEmpty()) {
        const double sx = image.width() / band.width();
        const double sy = image.height() / band.height();
        painter.drawImage(toTarget(drawn), image,
                          QRectF(drawn.x() * sx, (drawn.y() - bandTop) * sy, drawn.width() * sx,
                                 drawn.height() * sy));
    }
    const QRectF above = part.intersected(QRectF(0, 0, size.width(), std::max(0.0, bandTop)));
    const QRectF below = part.intersected(
        QRectF(0, bandBottom, size.width(), std::max(0.0, size.height() - bandBottom)));
    if (above.isEmpty() && below.isEmpty()) {
        return;
    }
    const int lastRow = image.height() - 1;
    if (qAlpha(image.pixel(0, lastRow)) == 0) {
        return;
    }
    // The last row stretched, rather than a filled rectangle, so that the picture's edges
    // fall on the same device pixels as an image drawn whole.
    const QRectF restRow(0, lastRow, image.width(), 1);
    for (const QRectF& r : {above, below}) {
        if (!r.isEmpty()) {
            painter.drawImage(toTarget(r), image, restRow);
        }
    }
}

} // namespace

// The bytes of a picture file and what its header says, shared by the copies of a picture.
// The last copy to go takes the file's decoded pixels out of the cache.
struct Picture::Source {
    std::vector<uint8_t> bytes;
    std::string format; // as SniffPictureFormat names it
    int entry = 0;      // the icon or cursor entry shown
    QSize pixels;       // raster formats: the size the header promises
    // A GIF whose data cannot reach all of its rows is decoded from a copy cut to the
    // rows it reaches (see ClipGifToItsData); the other rows show one colour.
    std::vector<uint8_t> clipped;
    int32_t firstRow = 0;    // the row of the picture that the decoded pixels start at
    int32_t reachedRows = 0; // the rows of pixels the decoded pixels hold
    uint64_t id = PictureCache::NewSource();

    Source() = default;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source() { PictureCache::Instance().Forget(id); }

    bool Metafile() const { return format == "wmf" || format == "emf"; }
    // The size decoding gives at full size.
    QSize Decoded() const { return QSize(pixels.width(), reachedRows); }
    std::span<const uint8_t> DecodedBytes() const { return clipped.empty() ? bytes : clipped; }
};

namespace {

QColor CellColour(uint32_t background)
{
    return background == kWhitenessBackground ? QColor(Qt::white) : ToQColor(background);
}

// Where the cell of placement 1..9 lies along one axis of the destination: at the start
// (anchor 0), centred (1) or at the end (2). A cell larger than the destination shows
// its middle (or its end) with the cut starting at the destination's edge.
int32_t AnchoredOffset(int anchor, int32_t destination, int32_t cell)
{
    switch (anchor) {
    case 1: return (destination - cell) / 2;
    case 2: return destination - cell;
    default: return 0;
    }
}

QRect DeviceRect(const DrawContext& dc, const Rect& doc)
{
    const Rect r = dc.ToDevice(doc).Normalised();
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

const char* SniffPictureFormat(std::span<const uint8_t> b)
{
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') {
        return "bmp";
    }
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) {
        return "jpeg";
    }
    if (b.size() >= 6 &&
        (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0)) {
        return "gif";
    }
    if (b.size() < 4) {
        return "";
    }
    const uint32_t first = ReadU32(b, 0);
    if (first == 0x00010000) {
        return "ico";
    }
    if (first == 0x00020000) {
        return "cur";
    }
    if (first == 0x9AC6CDD7) {
        return "wmf";
    }
    // A metafile without the placeable header: type 1 (memory) or 2 (disk), nine header
    // words, version 1 or 3.
    if ((first == 0x00090001 || first == 0x00090002) && b.size() >= 6 &&
        (ReadU16(b, 4) == 0x0100 || ReadU16(b, 4) == 0x0300)) {
        return "wmf";
    }
    if (first == 1 && b.size() >= 44 && ReadU32(b, 40) == 0x464D4520) {
        return "emf";
    }
    // A packed bitmap starts with the size of its information header.
    if (first == 12 || first == 40 || first == 52 || first == 56 || first == 108 || first == 124) {
        return "dib";
    }
    return "";
}

Picture Picture::Read(std::span<const uint8_t> bytes)
{
    Picture picture;
    const std::string_view format = SniffPictureFormat(bytes);
    if (format.empty()) {
        return picture;
    }
    auto source = std::make_shared<Source>();
    source->format = std::string(format);
    int32_t widthHimetric = 0;
    int32_t heightHimetric = 0;
    if (source->Metafile()) {
        const MetafileInfo info = InspectMetafile(bytes);
        if (!info.ok || info.widthHimetric <= 0 || info.heightHimetric <= 0) {
            return picture;
        }
        widthHimetric = info.widthHimetric;
        heightHimetric = info.heightHimetric;
    } else {
        // Icons and cursors report the size of their directory entry.
        QSize reported;
        if (format == "ico" || format == "cur") {
            source->entry = ChooseIconEntry(bytes, reported);
            if (source->entry < 0) {
                return picture;
            }
        }
        source->pixels = HeaderSize(bytes, source->format.c_str(), source->entry);
        if (!source->pixels.isValid()) {
            return picture;
        }
        if (!reported.isValid()) {
            reported = source->pixels;
        }
        source->reachedRows = source->pixels.height();
        if (format == "gif") {
            if (std::optional<ClippedGif> cut = ClipGifToItsData(bytes)) {
                source->clipped = std::move(cut->bytes);
                source->firstRow = cut->firstRow;
                source->reachedRows = cut->rows;
            }
        }
        widthHimetric = PixelsToHimetric(reported.width());
        heightHimetric = PixelsToHimetric(reported.height());
    }
    source->bytes.assign(bytes.begin(), bytes.end());
    picture.source_ = std::move(source);
    picture.widthHimetric_ = widthHimetric;
    picture.heightHimetric_ = heightHimetric;
    return picture;
}

bool Picture::IsMetafile() const
{
    return source_ && source_->Metafile();
}

QSize Picture::PixelSize() const
{
    return source_ ? source_->pixels : QSize();
}

bool Picture::TooLarge() const
{
    return !IsEmpty() && !IsMetafile() &&
           PixelBytes(source_->Decoded(), 1) > PictureCache::Instance().Budget();
}

QImage Picture::Image() const
{
    if (IsEmpty() || IsMetafile()) {
        return {};
    }
    return Pixels(1);
}

QImage Picture::Pixels(int32_t shrink) const
{
    const Source& source = *source_;
    const QSize full = source.Decoded();
    const QSize scaled = shrink > 1 ? QSize((full.width() + shrink - 1) / shrink,
                                            (full.height() + shrink - 1) / shrink)
                                    : QSize();
    return PictureCache::Instance().Find(
        {source.id, shrink}, PixelBytes(full, shrink), [&source, scaled] {
            return DecodeRaster(source.DecodedBytes(), source.format.c_str(), source.entry, scaled);
        });
}

// JPEG decodes at a half, a quarter or an eighth of its size for little more than the
// cost of reading the file; other formats decode at their full size.
int32_t Picture::ShrinkFor(const QSizeF& sourcePixels, const QSizeF& devicePixels) const
{
    if (source_->format != "jpeg" || devicePixels.width() <= 0 || devicePixels.height() <= 0) {
        return 1;
    }
    const double perDevicePixel = std::min(sourcePixels.width() / devicePixels.width(),
                                           sourcePixels.height() / devicePixels.height());
    int32_t shrink = 1;
    while (shrink < 8 && shrink * 2 <= perDevicePixel) {
        shrink *= 2;
    }
    return shrink;
}

void Picture::Render(QPainter& painter, const QRectF& target, const QRect& source) const
{
    if (IsEmpty() || target.isEmpty() || source.isEmpty()) {
        return;
    }
    if (!IsMetafile()) {
        const QSize pixels = source_->pixels;
        const QSizeF sourcePixels(double(source.width()) * pixels.width() / widthHimetric_,
                                  double(source.height()) * pixels.height() / heightHimetric_);
        const QSizeF shown = painter.combinedTransform().mapRect(target).size();
        const int32_t shrink = ShrinkFor(sourcePixels, shown);
        if (PixelBytes(source_->Decoded(), shrink) > PictureCache::Instance().Budget()) {
            DrawTooLarge(painter, target);
            return;
        }
        const QImage image = Pixels(shrink);
        if (!image.isNull()) {
            const double himetricPerRow = double(heightHimetric_) / pixels.height();
            DrawReached(painter, target, source, image, QSizeF(widthHimetric_, heightHimetric_),
                        himetricPerRow * source_->firstRow,
                        himetricPerRow * (source_->firstRow + source_->reachedRows));
        }
        return;
    }
    const std::span<const uint8_t> metafile = source_->bytes;
    const bool whole = source == QRect(0, 0, widthHimetric_, heightHimetric_);
    if (whole) {
        PlayMetafile(metafile, painter, target);
        return;
    }
    // A part of a metafile: play the whole picture at the part's scale, clipped.
    const double fx = target.width() / source.width();
    const double fy = target.height() / source.height();
    const QRectF full(target.x() - source.x() * fx, target.y() - source.y() * fy,
                      widthHimetric_ * fx, heightHimetric_ * fy);
    painter.save();
    painter.setClipRect(target, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    PlayMetafile(metafile, painter, full);
    painter.restore();
}

namespace {

// Where and how a picture lands on the device: the destination and the cell in device
// pixels, the part of the destination the device shows, the cell's background and the
// placement left once the fitting placements are resolved.
struct CellLayout {
    QRect dest;
    QSize cell;
    QRect visible;
    QColor background;
    int32_t placement = kPlacementStretch;
};

// The source part in HIMETRIC, clamped to the picture; a size of 0, or one reaching past
// the picture, takes the rest of it. Empty when nothing is left.
QRect ClampedSource(const PictureDrawRequest& request, int32_t width, int32_t height)
{
    const int32_t sx = std::clamp(request.sourceX, 0, width);
    const int32_t sy = std::clamp(request.sourceY, 0, height);
    const int32_t cx =
        request.sourceCx > 0 && request.sourceCx < width - sx ? request.sourceCx : width - sx;
    const int32_t cy =
        request.sourceCy > 0 && request.sourceCy < height - sy ? request.sourceCy : height - sy;
    return cx > 0 && cy > 0 ? QRect(sx, sy, cx, cy) : QRect();
}

// The cell's size in device pixels: the natural size of the source part (HIMETRIC to
// document units, then to device pixels) scaled per mille for the cut and tiled
// placements, the whole destination when stretching, and the natural size scaled to fit
// the destination without distortion for the fitting placements, which then place as
// tiles (fit tiled) or centred (fit centred). Never smaller than one pixel.
QSize CellSize(const DrawContext& dc, const PictureDrawRequest& request, const QRect& source,
               const QRect& dest, int32_t& placement)
{
    const int32_t naturalW = std::max(1, dc.DeviceLengthX(MulDiv(source.width(), 1, 10)));
    const int32_t naturalH = std::max(1, RoundCoord(MulDiv(source.height(), 1, 10) * dc.ScaleY()));
    int32_t cellW = naturalW;
    int32_t cellH = naturalH;
    if (placement == kPlacementStretch) {
        cellW = dest.width();
        cellH = dest.height();
    } else if (placement == kPlacementFitTiled || placement == kPlacementFitCentred) {
        const double f =
            std::min(double(dest.width()) / naturalW, double(dest.height()) / naturalH);
        cellW = int32_t(naturalW * f);
        cellH = int32_t(naturalH * f);
        placement = placement == kPlacementFitTiled ? kPlacementTile : kPlacementMiddleCentre;
    } else {
        if (request.scaleX > 0) {
            cellW = MulDiv(cellW, request.scaleX, 1000);
        }
        if (request.scaleY > 0) {
            cellH = MulDiv(cellH, request.scaleY, 1000);
        }
    }
    return QSize(std::max(1, cellW), std::max(1, cellH));
}

// Only what the device shows is prepared, so that a huge zoom never allocates a
// destination-sized bitmap.
QRect VisiblePart(const QPainter& painter, const QRect& dest)
{
    QRect visible =
        dest.intersected(QRect(0, 0, painter.device()->width(), painter.device()->height()));
    if (painter.hasClipping()) {
        visible = visible.intersected(painter.clipBoundingRect().toAlignedRect());
    }
    return visible;
}

// Paints the part (device pixels) of a cell placed at cell: the background colour, the
// picture stretched over the whole cell, and the result onto painter with its
// composition mode. Only the part is ever allocated.
void PaintCellPart(const Picture& picture, QPainter& painter, const QRect& cell, const QRect& part,
                   const QColor& background, const QRect& source)
{
    if (part.isEmpty()) {
        return;
    }
    QImage image(part.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter cellPainter(&image);
    cellPainter.translate(-part.topLeft());
    picture.Render(cellPainter, cell, source);
    cellPainter.end();
    painter.drawImage(part.topLeft(), image);
}

// One cell: over the whole destination (stretch) or cut and anchored by placements 1..9.
void DrawOneCell(const Picture& picture, QPainter& painter, const CellLayout& layout,
                 const QRect& source)
{
    QPoint origin = layout.dest.topLeft();
    if (layout.placement != kPlacementStretch) {
        const int anchor = layout.placement - 1;
        origin += QPoint(AnchoredOffset(anchor % 3, layout.dest.width(), layout.cell.width()),
                         AnchoredOffset(anchor / 3, layout.dest.height(), layout.cell.height()));
    }
    const QRect cell(origin, layout.cell);
    PaintCellPart(picture, painter, cell, cell.intersected(layout.visible), layout.background,
                  source);
}

// Tiling from the destination's top-left; cells outside wanted (the visible part within
// the request's clip box) are skipped, the last row and column are cut at the
// destination's edge.
void DrawTiles(const Picture& picture, QPainter& painter, const CellLayout& layout,
               const QRect& wanted, const QRect& source)
{
    const QRect& dest = layout.dest;
    const int32_t cellW = layout.cell.width();
    const int32_t cellH = layout.cell.height();
    const int64_t firstCol = (wanted.left() - dest.left()) / cellW;
    const int64_t lastCol = (wanted.right() - dest.left()) / cellW;
    const int64_t firstRow = (wanted.top() - dest.top()) / cellH;
    const int64_t lastRow = (wanted.bottom() - dest.top()) / cellH;
    const QRect tiles =
        QRect(QPoint(int(dest.left() + firstCol * cellW), int(dest.top() + firstRow * cellH)),
              QPoint(int(dest.left() + (lastCol + 1) * cellW - 1),
                     int(dest.top() + (lastRow + 1) * cellH - 1)))
            .intersected(layout.visible);
    if (int64_t(cellW) * cellH <= kMaxTextureCellPixels) {
        QImage image(layout.cell, QImage::Format_ARGB32_Premultiplied);
        image.fill(layout.background);
        QPainter cellPainter(&image);
        picture.Render(cellPainter, QRectF(0, 0, cellW, cellH), source);
        cellPainter.end();
        QBrush brush(image);
        brush.setTransform(QTransform::fromTranslate(dest.left(), dest.top()));
        painter.fillRect(tiles, brush);
        return;
    }
    // Cells this large are few on any device: each is prepared for its visible part.
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        for (int64_t col = firstCol; col <= lastCol; ++col) {
            const QRect cell(int(dest.left() + col * cellW), int(dest.top() + row * cellH), cellW,
                             cellH);
            PaintCellPart(picture, painter, cell, cell.intersected(tiles), layout.background,
                          source);
        }
    }
}

} // namespace

bool Picture::Draw(const PictureDrawRequest& request) const
{
    if (IsEmpty() || request.dc == nullptr) {
        return false;
    }
    const DrawContext& dc = *request.dc;
    int32_t placement = request.placement;
    if (request.destination.Width() < 1 || request.destination.Height() < 1 || placement < 0 ||
        placement > kPlacementFitCentred) {
        placement = kPlacementStretch;
    }
    const QRect source = ClampedSource(request, widthHimetric_, heightHimetric_);
    if (source.isEmpty()) {
        return false;
    }
    CellLayout layout;
    layout.dest = DeviceRect(dc, request.destination);
    if (layout.dest.isEmpty()) {
        return true;
    }

    QPainter& painter = dc.Painter();
    painter.save();
    painter.setWorldTransform(QTransform());
    const QPainter::CompositionMode mode = dc.PaintsRaster()
                                               ? RasterOperationMode(request.rasterOperation)
                                               : QPainter::CompositionMode_SourceOver;
    if (placement == kPlacementStretch && mode == QPainter::CompositionMode_SourceOver) {
        Render(painter, layout.dest, source);
        painter.restore();
        return true;
    }

    // The cell: the picture over the background colour, placed and repeated.
    layout.cell = CellSize(dc, request, source, layout.dest, placement);
    layout.placement = placement;
    layout.visible = VisiblePart(painter, layout.dest);
    layout.background = CellColour(request.background);
    painter.setCompositionMode(mode);
    if (placement != kPlacementTile) {
        DrawOneCell(*this, painter, layout, source);
    } else {
        const QRect wanted = request.clip.IsEmpty()
                                 ? layout.visible
                                 : layout.visible.intersected(DeviceRect(dc, request.clip));
        if (!wanted.isEmpty()) {
            DrawTiles(*this, painter, layout, wanted, source);
        }
    }
    painter.restore();
    return true;
}

QPainter::CompositionMode RasterOperationMode(uint32_t rop)
{
    switch (rop) {
    case 0x8800C6: return QPainter::RasterOp_SourceAndDestination;    // SRCAND
    case 0xEE0086: return QPainter::RasterOp_SourceOrDestination;     // SRCPAINT
    case 0x660046: return QPainter::RasterOp_SourceXorDestination;    // SRCINVERT
    case 0x330008: return QPainter::RasterOp_NotSource;               // NOTSRCCOPY
    case 0x220326: return QPainter::RasterOp_NotSourceAndDestination; // destination AND NOT source
    case 0x440328: return QPainter::RasterOp_SourceAndNotDestination; // SRCERASE
    case 0x1100A6: return QPainter::RasterOp_NotSourceAndNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QImage MonochromeImage(int32_t width, int32_t height, std::span<const uint8_t> bits)
{
    if (width <= 0 || height <= 0 || width > kMaxMonochromeSide || height > kMaxMonochromeSide) {
        return {};
    }
    // Rows are padded to 16-bit words.
    const size_t rowBytes = size_t((width + 15) / 16) * 2;
    if (bits.size() < rowBytes * size_t(height)) {
        return {};
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = bits.data() + rowBytes * size_t(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < width; ++x) {
            const bool set = (row[x / 8] >> (7 - x % 8)) & 1;
            out[x] = set ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

bool DrawMonochrome(const DrawContext& dc, const QImage& image, Point topLeft, int32_t scaleX,
                    int32_t scaleY)
{
    if (image.isNull()) {
        return false;
    }
    // A scale of 0 means none, like 1000.
    const int32_t fx = scaleX == 0 ? 1000 : scaleX;
    const int32_t fy = scaleY == 0 ? 1000 : scaleY;
    const int32_t w = MulDiv(image.width(), fx, 1000);
    const int32_t h = MulDiv(image.height(), fy, 1000);
    if (w <= 0 || h <= 0) {
        return false;
    }
    const Point at = dc.ToDevice(topLeft);
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(at.x, at.y, w, h), image);
    painter.restore();
    return true;
}

} // namespace figures
