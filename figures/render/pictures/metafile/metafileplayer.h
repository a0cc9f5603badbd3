#pragma once

#include <QRectF>

#include <cstdint>
#include <span>

class QPainter;

namespace figures {

class MetafileCanvas;

// What the header of a metafile picture says: placeable metafiles (16-bit records behind a
// 22-byte header with a bounding box and its units per inch), plain metafiles (the same
// records without that header) and enhanced metafiles (32-bit records, the first a header
// with bounds, frame and the reference device's size). A plain metafile carries no size:
// its records' mapping says it (see InspectPlainMetafile): a fixed-scale mapping mode
// gives the units' real length, a viewport its pixels at 96 an inch, else the window its
// records set first (origin and extent) is taken at 96 units per inch; one that says no
// size is not taken as a picture.
struct MetafileInfo {
    bool ok = false;       // a picture of any kind whose header reads and has a size
    bool enhanced = false; // enhanced (true) or placeable or plain
    // The size the platform's picture object reports, in HIMETRIC (0.01 mm): a placeable
    // file's bounding box scaled by its units per inch (MulDiv(extent, 2540, inch)), a
    // plain file's rectangle likewise at its units per inch; an enhanced file's frame,
    // right - left by bottom - top, or when the frame is empty its bounds scaled from
    // device pixels by the reference device's millimetres per pixel.
    int32_t widthHimetric = 0;
    int32_t heightHimetric = 0;
    // The rectangle of the file's own coordinates that fills the picture: the bounding
    // box (logical units) of a placeable file, the window or device rectangle of a plain
    // one; the frame, or
    // the bounds, in the reference device's pixels of an enhanced file. Normalised: width
    // and height are positive.
    QRectF bounds;
    // Units per inch of bounds.
    double dpiX = 0;
    double dpiY = 0;
};

// Reads the header only; never reads outside bytes.
MetafileInfo InspectMetafile(std::span<const uint8_t> bytes);

// Draws the picture stretched into target, a rectangle in the painter's current
// coordinates (any world transform, any clip; both are left as they were). Lines of
// width zero or one draw one pixel of the painter's device.
//
// Returns false when the bytes are not a picture InspectMetafile accepts, the painter is
// not active or target is empty, and when a damaged record ended playing early; what was drawn up
// to there stays. Unknown and unsupported records are skipped without failing.
//
// Bitmaps the records carry are decoded within pixelBudget pixels for the whole playing (a
// bitmap that would overrun it is left out), so that a small file of many huge run-length
// bitmaps cannot keep the player busy for long; a bitmap carried several times is decoded
// and charged once.
constexpr uint64_t kMetafilePixelBudget = uint64_t(256) << 20;
bool PlayMetafile(std::span<const uint8_t> bytes, QPainter& painter, const QRectF& target,
                  uint64_t pixelBudget = kMetafilePixelBudget);

// Pictures inside pictures: a metafile a picture carries as an image lies at most this deep,
// and all those inside one picture may play this many times the outer file's bytes.
constexpr int kMaxMetafileNesting = 4;
constexpr uint64_t kNestedBytesFactor = 8;

// Draws a metafile that the picture being played on outer carries as an image, as
// PlayMetafile does, spending outer's budgets of bitmap pixels and nested bytes; draws
// nothing and returns false when it lies too deep or those budgets cannot pay for it.
bool PlayNestedMetafile(std::span<const uint8_t> bytes, QPainter& painter, const QRectF& target,
                        MetafileCanvas& outer);

} // namespace figures
