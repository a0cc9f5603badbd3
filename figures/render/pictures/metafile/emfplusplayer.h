#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

class QPainter;

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <variant>

namespace figures {

class MetafileCanvas;
class RecordReader;

// Plays the records of the newer drawing model that enhanced metafiles carry in their
// comment records ("EMF+"): an object table of brushes, pens, paths, regions, fonts,
// images and string formats, a world and a page transform, saved states and containers,
// clipping, and the drawing of rectangles, ellipses, arcs, pies, polygons, lines, Bezier
// curves, cardinal splines, paths, regions, images, strings and strings of positioned
// glyphs.
//
// A file whose first such header says it is dual holds the same drawing in the older
// records too: those are played and these are skipped, since the older records are
// the complete ones here. A file without that flag draws only through these records;
// then they are played.
//
// Brushes are solid, hatched (the six line hatches as such, the percentage ones as the
// nearest dot density, the rest as their colours half and half), textured, or linear
// gradients with their blend; a path gradient is drawn as an elliptic gradient from its
// centre colour to its first surrounding colour, inside its boundary. Pens draw their
// dashes (named or the file's own lengths, shifted by their offset), their joins, and at
// the ends of open figures their caps: plain, anchored, or of the file's own design (an
// arrow, or paths to fill and stroke). Points come as reals, 16-bit integers or offsets
// from the point before, and path types one a byte or in runs. Images are bitmaps in PNG,
// JPEG, GIF or BMP form or of 24 and 32 bits a pixel, also when stored in several
// records, whose pixels count against the canvas's budget, and where the source reaches
// beyond them they are tiled, mirrored or clamped as their attributes say; or metafiles,
// played by the metafile player inside this one, a bounded number deep and within a
// budget of bytes. Strings are laid out in their box, right to left or vertical as their
// format says.
//
// Not played: a pen's own transform, alignment and compound lines; colour remapping of
// images (the file does not carry it); and glyph strings given as glyph
// numbers of a face that is not installed under its own name (the numbers of a stand-in
// face mean other letters). Every count is checked against the bytes of its record;
// objects live in 64 slots as the format numbers them; regions are read to a bounded
// depth and number of nodes, and shapes too complex to combine leave the clip as it was.
class EmfPlusPlayer {
public:
    explicit EmfPlusPlayer(MetafileCanvas& canvas);

    // One comment record of the enhanced metafile (type, size and all).
    void PlayComment(std::span<const uint8_t> record);

    // A brush in world units. Where bounds is set, the brush paints only inside it.
    struct Brush {
        QBrush brush;
        QColor back; // behind a hatch; transparent for other brushes
        std::optional<QPainterPath> bounds;
    };
    // What a pen draws at a line's end, in units of the pen's width: y runs out of the
    // line along its direction there and x across it, the end at the origin. fill is
    // painted with the pen's brush and outline stroked with it.
    struct LineCap {
        QPainterPath fill;
        QPainterPath outline;
        // How far the line stops short of its end, in pen widths, so that it does not
        // show beside the point of an arrow.
        double inset = 0;
        bool Empty() const { return fill.isEmpty() && outline.isEmpty(); }
    };
    struct Pen {
        Brush brush;
        double width = 0; // world units; 0 draws one device pixel
        Qt::PenJoinStyle join = Qt::MiterJoin;
        double miterLimit = 2;
        // Dash and gap lengths in pen widths, from the start of each figure shifted by
        // dashOffset; empty draws solid.
        QList<qreal> dashes;
        double dashOffset = 0;
        // The painter's own end of the stroke: the dashes' ends on a dashed line, both
        // ends on a solid one whose ends are alike and plain; flat otherwise, where the
        // ends are drawn as start and end.
        Qt::PenCapStyle cap = Qt::FlatCap;
        LineCap start;
        LineCap end;
    };
    // A region in world units: the inside of path, or with inverted everything outside
    // it (the infinite region is an inverted empty path).
    struct Region {
        QPainterPath path;
        bool inverted = false;
    };
    struct Font {
        QString family;
        double emSize = 0;
        uint32_t unit = 0; // of emSize: 0 world, 2 pixel, 3 point, 4 inch, 5 document, 6 mm
        int32_t style = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
    };
    struct StringFormat {
        uint32_t flags = 0;         // 1 right to left, 2 vertical, 0x1000 no wrapping
        uint32_t alignment = 0;     // 0 near, 1 centre, 2 far
        uint32_t lineAlignment = 0; // likewise, across the lines
    };
    // A picture in its own metafile format, drawn by the metafile player; its image
    // coordinates are those of bounds, the picture's rectangle.
    struct Metafile {
        QByteArray bytes;
        QRectF bounds;
    };
    // How an image's source rectangle is painted where it reaches beyond the image:
    // tiled (0), tiled and mirrored across x (1), y (2) or both (3), or in clamp (4).
    struct ImageAttributes {
        uint32_t wrap = 4;
        QColor clamp = Qt::transparent;
    };
    using Object = std::variant<Brush, Pen, QPainterPath, Region, Font, StringFormat, QImage,
                                Metafile, ImageAttributes>;

private:
    void PlayRecord(uint16_t type, uint16_t flags, RecordReader& r);
    void ReadHeader(uint16_t flags, RecordReader& r);
    void ReadObject(uint16_t flags, RecordReader& r);
    // An object stored in parts: gathers them, then reads the whole.
    void ReadObjectPart(uint32_t id, uint32_t type, RecordReader& r);
    void StoreObject(uint32_t id, uint32_t type, RecordReader& r);
    // A bitmap image object, or nothing for a damaged one or one of another kind.
    std::optional<QImage> ReadImage(RecordReader& r);
    // Any image object: a bitmap or a metafile.
    std::optional<Object> ReadImageObject(RecordReader& r);
    void DrawImage(bool points, uint16_t flags, RecordReader& r);
    // Paints the source rectangle of image (its pixels) through sourceToWorld, beyond
    // the image as attributes say.
    void DrawBitmap(const QImage& image, const QRectF& source, const QTransform& sourceToWorld,
                    const ImageAttributes& attributes);
    QImage WrapTile(const QImage& image, uint32_t wrap);
    void DrawMetafile(const Metafile& metafile, const QRectF& source,
                      const QTransform& sourceToWorld);
    std::optional<Pen> ReadPen(RecordReader& r);
    // The painter's pen for pen, drawing path (world units): solid where its dashes would
    // be too many to draw.
    QPen PainterPen(const Pen& pen, const QPainterPath& world) const;
    void DrawLineCaps(QPainter& painter, const QPainterPath& world, const Pen& pen) const;
    // world with the straight ends of its open figures drawn in by the caps' insets.
    static QPainterPath InsetEnds(const QPainterPath& world, const Pen& pen);
    void SetPageTransform(uint16_t flags, RecordReader& r);
    void FillRects(uint16_t flags, RecordReader& r);
    void DrawRects(uint16_t flags, RecordReader& r);
    void Ellipse(bool fill, uint16_t flags, RecordReader& r);
    void ArcLike(uint16_t type, uint16_t flags, RecordReader& r);
    void FillPolygon(uint16_t flags, RecordReader& r);
    void DrawLines(uint16_t flags, RecordReader& r);
    void DrawBeziers(uint16_t flags, RecordReader& r);
    // Cardinal splines through points: open (a run of their segments) or closed, drawn or
    // filled.
    void DrawCurve(uint16_t flags, RecordReader& r);
    void DrawClosedCurve(uint16_t flags, RecordReader& r);
    void FillClosedCurve(uint16_t flags, RecordReader& r);
    void FillPath(uint16_t flags, RecordReader& r);
    void DrawPath(uint16_t flags, RecordReader& r);
    void DrawString(uint16_t flags, RecordReader& r);
    void DrawDriverString(uint16_t flags, RecordReader& r);
    static void DrawInBox(QPainter& painter, const QRectF& box, const QString& text,
                          const StringFormat& format);
    void FillRegion(uint16_t flags, RecordReader& r);
    void SetClipRect(uint16_t flags, RecordReader& r);
    void SetClipPath(uint16_t flags);
    void SetClipRegion(uint16_t flags);
    void OffsetClip(RecordReader& r);
    // Combines a region in world units with the clip by the mode in bits 8-11 of flags.
    void CombineClip(uint16_t flags, const Region& world);

    std::optional<Brush> ReadBrush(RecordReader& r);
    std::optional<Brush> ReadPathGradient(RecordReader& r);
    std::optional<Region> ReadRegion(RecordReader& r);
    // The whole output and a margin, in reference-device units: what a clip of everywhere
    // or a region of everything stands for, so that no shape handed to the rasteriser
    // grows beyond what its fixed-point coordinates hold.
    QRectF DeviceLimit() const;
    // The painter saved, clipped to the picture's clip and transformed to world units;
    // restored when the returned guard goes.
    struct Drawing {
        explicit Drawing(const EmfPlusPlayer& player);
        ~Drawing();
        Drawing(const Drawing&) = delete;
        Drawing& operator=(const Drawing&) = delete;

        QPainter& painter;
    };
    // How a string in font is drawn: layout pixels to the painter's coordinates through
    // extra (a transform of world units), and world units per layout pixel; nothing when
    // its glyphs would be too small to see or too large to rasterise.
    struct TextFrame;
    std::optional<TextFrame> TextFrameFor(const Font& font, const QTransform& extra) const;

    // The fill colour of a record: its own colour or the brush in the slot it names.
    std::optional<Brush> BrushOf(uint16_t flags, uint32_t value) const;
    const Object* Find(uint32_t id) const;
    template <typename T> const T* FindAs(uint32_t id) const
    {
        const Object* object = Find(id);
        return object != nullptr ? std::get_if<T>(object) : nullptr;
    }
    void Fill(const QPainterPath& world, const Brush& brush);
    void Stroke(const QPainterPath& world, uint32_t penId);
    // World units to the painter's coordinates.
    QTransform ToPainter() const;
    // World units to reference-device units.
    QTransform WorldToDevice() const { return world_ * container_ * page_; }
    // Opens a container drawing through transform (its units to its parent's world).
    void BeginContainer(uint32_t index, const QTransform& transform);
    void BeginContainerWithRects(RecordReader& r);
    // Device pixels per unit of the reference device.
    double UnitScale(uint32_t unit) const;

    MetafileCanvas& canvas_;
    bool decided_ = false; // the first header was read
    bool playing_ = false; // the file draws through these records
    double dpiX_ = 96;
    double dpiY_ = 96;
    QTransform world_;
    QTransform container_; // the open containers' units to the outermost world
    QTransform page_;      // page units to reference-device pixels
    // Where drawing may go, in reference-device units; none means everywhere.
    std::optional<QPainterPath> clip_;
    struct Saved {
        QTransform world;
        QTransform container;
        QTransform page;
        std::optional<QPainterPath> clip;
    };
    std::map<uint32_t, Saved> saved_;
    std::array<std::optional<Object>, 64> objects_;
    // The parts of an object stored in several records so far.
    uint32_t partId_ = UINT32_MAX;
    uint32_t partTotal_ = 0;
    QByteArray parts_;
};

} // namespace figures
