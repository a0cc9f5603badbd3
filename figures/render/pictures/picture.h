#pragma once

#include "figures/render/geometry.h"
#include "figures/render/pictures/picturecache.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace figures {

class DrawContext;

// What a picture draw call receives. Lengths in document units unless said otherwise.
struct PictureDrawRequest {
    const DrawContext* dc = nullptr;
    // Colour of the cell behind the picture; 0x7FFFFFFF paints the cell white.
    uint32_t background = 0xFFFFFF;
    Rect destination;
    // The area that needs painting; tiles outside a non-empty clip box are skipped.
    Rect clip;
    // The part of the picture shown, HIMETRIC from the picture's top-left; a size of 0
    // (or one reaching past the picture) takes the rest of the picture.
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    int32_t sourceCx = 0;
    int32_t sourceCy = 0;
    // Per mille; 0 means none. They size the cell of placements 1..10 (printing at
    // another resolution than the screen's).
    int32_t scaleX = 0;
    int32_t scaleY = 0;
    // 0 stretch, 1..9 cut and anchored (top/middle/bottom by left/centre/right), 10 tiled,
    // 11 tiles scaled to fit without distortion, 12 scaled to fit and centred.
    int32_t placement = 0;
    // A ternary raster operation code; 0 means plain copy.
    uint32_t rasterOperation = 0;
};

// The picture placements of the properties dialog, by the value objects store: stretched
// over the destination, cut at the natural size and anchored at one of nine places
// (rows top, middle, bottom by columns left, centre, right), tiled, or scaled to fit
// without distortion and then tiled or centred.
constexpr int32_t kPlacementStretch = 0;
constexpr int32_t kPlacementTopLeft = 1;
constexpr int32_t kPlacementTopCentre = 2;
constexpr int32_t kPlacementTopRight = 3;
constexpr int32_t kPlacementMiddleLeft = 4;
constexpr int32_t kPlacementMiddleCentre = 5;
constexpr int32_t kPlacementMiddleRight = 6;
constexpr int32_t kPlacementBottomLeft = 7;
constexpr int32_t kPlacementBottomCentre = 8;
constexpr int32_t kPlacementBottomRight = 9;
constexpr int32_t kPlacementTile = 10;
constexpr int32_t kPlacementFitTiled = 11;
constexpr int32_t kPlacementFitCentred = 12;

// The most pixel bytes, in MiB, that Qt's image readers may allocate for one picture: the
// decoded-picture cache's budget, which refuses larger pictures before they are read.
constexpr int kPictureAllocationLimitMb = int(PictureCache::kDefaultBudgetBytes >> 20);

// The text a picture too large to decode within the cache's budget shows in its place.
inline constexpr char kPictureTooLargeText[] = "图像过大";

// A picture file: bitmap (with or without its 14-byte file header), JPEG, GIF, icon or
// cursor, placeable Windows metafile or enhanced metafile. Reading one looks at its header
// only, so that opening a document costs what its bytes cost, whatever size the pictures
// claim; raster pictures are decoded on first draw into the process's PictureCache, at the
// resolution they are shown at when the format decodes smaller (JPEG), and a picture whose
// decoding alone would exceed the cache's budget draws a crossed box with
// kPictureTooLargeText instead. Copies share the bytes and the cached pixels. Drawing is
// const and may run on several threads at once.
//
// The size is the one the platform's picture object reports, in HIMETRIC (0.01 mm):
//  - raster formats at 96 dpi, MulDiv(px, 2540, 96), whatever resolution the file
//    records;
//  - icons and cursors: the first entry 32 pixels wide, else the first entry, sized by
//    its directory entry at 96 dpi (a size byte of 0 means 256);
//  - metafiles as their header says (see InspectMetafile).
// Bytes that are not a picture of these kinds, or whose header does not read, give an
// empty picture; a picture whose header reads but whose data does not decode draws
// nothing.
class Picture {
public:
    static Picture Read(std::span<const uint8_t> bytes);

    bool IsEmpty() const { return widthHimetric_ <= 0 || heightHimetric_ <= 0; }
    bool IsMetafile() const;
    int32_t WidthHimetric() const { return widthHimetric_; }
    int32_t HeightHimetric() const { return heightHimetric_; }
    // The size of a raster picture in pixels as its header says; empty for metafiles.
    QSize PixelSize() const;
    // Whether the full-size pixels of a raster picture exceed the cache's budget.
    bool TooLarge() const;
    // The full-size pixels of a raster picture, decoded through the cache; null for
    // metafiles, empty pictures, pictures too large and data that does not decode.
    QImage Image() const;

    // Draws the picture with its placement into the request's destination. Returns false
    // when there is nothing to draw (empty picture, empty source); a destination narrower
    // or lower than one unit stretches. Works in device pixels; the context's painter is
    // left with its transform, clip and composition as it found them.
    bool Draw(const PictureDrawRequest& request) const;

    // The picture's part (x, y, w, h in HIMETRIC from its top-left) stretched into
    // target, a rectangle of the painter's current coordinates, clipped to target.
    void Render(QPainter& painter, const QRectF& target, const QRect& sourceHimetric) const;

private:
    struct Source;

    // The pixels decoded at the full size divided by shrink, through the cache.
    QImage Pixels(int32_t shrink) const;
    // The largest shrink the format decodes at whose pixels still cover a part of
    // sourcePixels pixels shown over devicePixels device pixels.
    int32_t ShrinkFor(const QSizeF& sourcePixels, const QSizeF& devicePixels) const;

    std::shared_ptr<const Source> source_;
    int32_t widthHimetric_ = 0;
    int32_t heightHimetric_ = 0;
};

// The file format by the leading bytes: "bmp", "dib" (a bare bitmap information header),
// "jpeg", "gif", "ico", "cur", "wmf" (placeable or plain), "emf", or "" for anything else.
const char* SniffPictureFormat(std::span<const uint8_t> bytes);

// The composition mode that does a ternary raster operation on raster devices: copy,
// AND, OR, XOR, inverted copy and the AND NOT pair. Other codes copy.
QPainter::CompositionMode RasterOperationMode(uint32_t rop);

// A monochrome bitmap (rows padded to 16-bit words, most significant bit leftmost) as an
// image in which set bits are opaque black and clear bits transparent: drawn over a
// background it gives the "destination AND NOT source" result of a 1-bit blit on every
// device. Null when the size is not positive, exceeds 32767, or bits is too short.
QImage MonochromeImage(int32_t width, int32_t height, std::span<const uint8_t> bits);

// Draws a monochrome image at the document point (left, top): at its pixel size when both
// scales are 1000, else stretched to MulDiv(width, scaleX, 1000) by MulDiv(height,
// scaleY, 1000) device pixels. False when there is nothing to draw.
bool DrawMonochrome(const DrawContext& dc, const QImage& image, Point topLeft, int32_t scaleX,
                    int32_t scaleY);

} // namespace figures
