#pragma once

#include "figures/render/pictures/metafile/decodeddibs.h"
#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/dibimage.h"

#include <QFont>
#include <QPainter>

#include <span>
#include <vector>

namespace figures {

struct Dib;

// Text output options.
constexpr uint32_t kEtoOpaque = 0x0002;
constexpr uint32_t kEtoClipped = 0x0004;
constexpr uint32_t kEtoGlyphIndex = 0x0010;
constexpr uint32_t kEtoPdy = 0x2000;

// One character cell of a text record: its characters (one, a surrogate pair or a
// double-byte character) and, when the record gives them, the offset to the next cell in
// logical units.
struct TextCell {
    QString text;
    double dx = 0;
    double dy = 0;
};

// The cells of a string of one-byte characters in a font's character set: double-byte
// GBK for the Chinese one (a double-byte character's advance is the sum of its two
// bytes'), otherwise one byte a character. advances holds one (dx, dy) a byte, or nothing.
std::vector<TextCell> AnsiTextCells(std::span<const uint8_t> bytes, uint8_t charSet,
                                    std::span<const QPointF> advances);
// The cells of a little-endian UTF-16 string, one a code unit and a surrogate pair in one
// cell; advances holds one (dx, dy) a code unit, or nothing.
std::vector<TextCell> WideTextCells(std::span<const uint8_t> utf16,
                                    std::span<const QPointF> advances);

struct TextRequest {
    QPointF reference; // logical units
    std::vector<TextCell> cells;
    bool hasAdvances = false; // the cells' dx and dy are given
    uint32_t options = 0;     // kEto... bits
    QRectF rect;              // logical units, for kEtoOpaque and kEtoClipped
};

struct GradientVertex {
    QPointF point; // logical units
    QColor colour;
};

enum class ArcKind { Arc, Chord, Pie };

// Plays graphics-device operations onto a QPainter: the device state of one metafile, its
// object table and saved states, the path bracket and the clipping, and the drawing
// itself. The record readers of both formats decode their records and call in here with
// logical coordinates.
//
// The painter keeps whatever world transform and clip the caller gave it; the canvas adds
// deviceToTarget (reference-device units to the painter's coordinates) and its own
// clipping inside a save of the painter, and hands the painter back as it found it.
class MetafileCanvas {
public:
    // pixelBudget: the bitmap pixels the playing may decode in all (see PixelBudget).
    MetafileCanvas(QPainter& painter, const QTransform& deviceToTarget, double dpiX, double dpiY,
                   uint64_t pixelBudget = 4 * kMaxDibPixels);
    ~MetafileCanvas();
    MetafileCanvas(const MetafileCanvas&) = delete;
    MetafileCanvas& operator=(const MetafileCanvas&) = delete;

    DeviceState& State() { return state_; }
    GdiObjectTable& Objects() { return objects_; }
    QTransform LogicalToDevice() const { return state_.LogicalToDevice(dpiX_, dpiY_); }
    double DpiY() const { return dpiY_; }
    // For records of the newer drawing model that some files carry in comments: the
    // painter, which they save and restore around their drawing, and the transform from
    // reference-device units to it.
    QPainter& Painter() { return painter_; }
    const QTransform& DeviceTransform() const { return deviceTransform_; }

    // Saving and restoring the whole state, clip included (see SavedStates).
    void SaveState();
    void RestoreState(int32_t which);
    // Pens, brushes and fonts become the state's; a region becomes the clip.
    void SelectObject(const GdiObject& object);

    // Lines from the current position, which they move to their last point.
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void PolylineTo(std::span<const QPointF> points);
    void PolyBezierTo(std::span<const QPointF> points); // 3 points a curve
    // Open figures that leave the current position alone.
    void Polyline(std::span<const QPointF> points);
    void PolyBezier(std::span<const QPointF> points); // start point, then 3 points a curve
    void PolyPolyline(const std::vector<std::vector<QPointF>>& lines);
    // Closed figures: filled with the brush under the polygon fill mode, then outlined.
    void PolyPolygon(const std::vector<std::vector<QPointF>>& polygons);
    void Rectangle(const QRectF& box);
    void RoundRect(const QRectF& box, QSizeF corner);
    void Ellipse(const QRectF& box);
    // Elliptic arcs of box from the radial through start to the one through end, in the
    // arc direction as seen on the device; start == end is the whole ellipse.
    void ArcShape(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    // The arc, joined by a line from the current position, which moves to its end.
    void ArcTo(const QRectF& box, QPointF start, QPointF end);
    // A line from the current position to a circle arc, angles in degrees counter-clockwise.
    void AngleArc(QPointF centre, double radius, double startAngle, double sweepAngle);
    // Points with their types (move, line, Bezier, close-figure flag) as one path.
    void PolyDraw(std::span<const QPointF> points, std::span<const uint8_t> types);
    void SetPixel(QPointF p, const QColor& colour);

    void DrawText(const TextRequest& request);

    // Bitmap transfer into a logical rectangle (negative sizes mirror) from a source
    // rectangle of the bitmap (top-left origin, image pixels) under a ternary raster
    // operation. A null image stands for operations that need no source.
    void StretchBlt(const QRectF& dest, const QImage& image, QRectF source, uint32_t rop);
    // Straight copy with a constant opacity (0..1) on top of the image's own alpha.
    void BlendImage(const QRectF& dest, const QImage& image, QRectF source, double opacity);
    void GradientRect(const GradientVertex& a, const GradientVertex& b, bool vertical);
    void GradientTriangle(const GradientVertex& a, const GradientVertex& b,
                          const GradientVertex& c);

    // Regions in reference-device units.
    void FillRegion(const QRegion& region, const GdiBrush& brush);
    void FrameRegion(const QRegion& region, const GdiBrush& brush, QSizeF logicalStroke);
    void InvertRegion(const QRegion& region);

    // Clipping.
    void IntersectClipRect(const QRectF& box);
    void ExcludeClipRect(const QRectF& box);
    void OffsetClip(QPointF logicalOffset);
    // Combines a shape in reference-device units with the clip.
    void CombineClipWith(const ClipArea& deviceShape, int32_t mode);
    // A region object's rectangles (logical units) in reference-device units.
    ClipArea DeviceShapeOf(const GdiRegion& logicalRegion) const;

    // The path bracket. Between BeginPath and EndPath the drawing records add figures to
    // the path instead of drawing; the path records then use and discard it.
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void WidenPath();
    void SelectClipPath(int32_t mode);

    // Bitmaps decoded during one playing may hold this many pixels in all, so that a
    // small file of many huge run-length bitmaps cannot keep the player busy for long.
    uint64_t PixelBudget() const { return pixelBudget_; }
    // How much smaller a bitmap transferred from source (its pixels) to dest (logical
    // units) may be decoded: the largest power of two, up to kMaxDibShrink, by which the
    // source still has a pixel for every output pixel.
    int32_t ShrinkFor(const QRectF& dest, const QRectF& source) const;
    void SpendPixels(uint64_t pixels);
    // The bitmaps decoded so far, so that repeated ones are decoded once.
    DecodedDibs& Decoded() { return decoded_; }

    // Metafiles that a picture carries as images are played inside it: this one lies
    // that many pictures deep, and the pictures nested in it may together play that many
    // bytes more, so that a file of many or recursive embedded pictures costs time in
    // proportion to its own size.
    struct Nesting {
        int depth = 0;
        uint64_t bytesLeft = 0;
    };
    Nesting& Nested() { return nesting_; }

private:
    struct TextFont;

    // Lines joined to the current position: inside the bracket they extend its figure,
    // otherwise they are stroked.
    void Connect(const QPainterPath& logical, QPointF newPosition);
    void DrawClosed(const QPainterPath& logical);
    void DrawOpen(const QPainterPath& logical);
    void DrawDevice(const QPainterPath& device, bool fill, bool stroke);
    bool Drawable(const QPainterPath& device) const;
    bool PlaceImage(const QRectF& dest, const QRectF& source, const QRect& pixels,
                    QTransform& toDevice, QRectF& visible) const;
    void ApplyClip();
    bool BeginRasterOp(int32_t rop2);
    QPen MakePen() const;
    QBrush MakeBrush(const GdiBrush& brush) const;
    // pattern in the colours current now, recoloured once for each pattern and pair of
    // colours during a playing.
    QImage Recoloured(const QImage& pattern) const;
    QRectF InsideFrame(const QRectF& box) const;
    bool DeviceRect(const QRectF& logical, QRect& out) const;
    ClipArea DeviceShapeOfRect(const QRectF& logical) const;
    bool PrepareFont(const QTransform& toOutput, TextFont& out);
    // Draws a request whose font is prepared, in the text frame of the logical mapping m,
    // and moves the current position past it when updateCp.
    void DrawLaidOut(const TextRequest& request, const TextFont& tf, const QTransform& frame,
                     const QTransform& m, bool flipped, bool updateCp);
    struct TextRun;
    TextRun LayOutText(const TextRequest& request, const TextFont& tf, bool flipped) const;
    // The glyphs of a laid-out string as one path, built anew for every call.
    QPainterPath GlyphOutlines(const TextRequest& request, const QFont& font,
                               const TextRun& run) const;
    // Paints a laid-out string outside the path bracket; false when it would not show.
    bool PaintText(const TextRequest& request, const TextFont& tf, const TextRun& run,
                   const QTransform& toDevice, const QTransform& logicalToDevice);
    void FillDeviceRect(const QRectF& logical, const QColor& colour);
    void FillPatternRect(const QRectF& dest, uint32_t rop);
    void DrawImageThrough(const QTransform& imageToOutput, const QImage& image,
                          const QRectF& visible);

    QPainter& painter_;
    QTransform deviceTransform_; // reference-device units to the painter's device
    double outputScale_ = 1;     // output pixels per reference-device unit
    double dpiX_;
    double dpiY_;
    bool rasterOps_ = false; // the paint engine combines pixels with raster operations

    DeviceState state_;
    GdiObjectTable objects_;
    SavedStates saved_;

    bool inBracket_ = false;  // between BeginPath and EndPath
    bool figureOpen_ = false; // the path's last figure ends at the current position
    QPainterPath path_;       // reference-device units

    uint64_t pixelBudget_;
    DecodedDibs decoded_;
    Nesting nesting_;
    // Monochrome patterns recoloured so far: a chart fills hundreds of shapes with one
    // brush in a few colours.
    struct RecolouredPattern {
        qint64 pattern = 0; // the pattern's cache key
        QRgb text = 0;
        QRgb background = 0;
        QImage image;
    };
    mutable std::vector<RecolouredPattern> recoloured_;
};

} // namespace figures
