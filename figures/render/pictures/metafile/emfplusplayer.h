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
// clipping, and the drawing of rectangles, ellipses, arcs, pies, polygons, lines, paths,
// regions, strings and strings of positioned glyphs.
//
// A file whose first such header says it is dual holds the same drawing in the older
// records too: those are played and these are skipped, since the older records are
// the complete ones here. A file without that flag draws only through these records;
// then they are played.
//
// Brushes are solid, hatched (the six line hatches as such, the percentage ones as the
// nearest dot density, the rest as their colours half and half), textured, or linear
// gradients with their blend; a path gradient is drawn as an elliptic gradient from its
// centre colour to its first surrounding colour, inside its boundary. Images are bitmaps
// in PNG, JPEG, GIF or BMP form or of 24 and 32 bits a pixel, also when stored in several
// records; their pixels count against the canvas's budget.
//
// Not played: images that are metafiles, custom line caps, dashes, image attributes,
// records with relative or run-length coded points, and glyph strings given as glyph
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
    struct Pen {
        Brush brush;
        double width = 0; // world units; 0 draws one device pixel
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
        uint32_t alignment = 0;     // 0 near, 1 centre, 2 far
        uint32_t lineAlignment = 0; // likewise, across the lines
    };
    using Object = std::variant<Brush, Pen, QPainterPath, Region, Font, StringFormat, QImage>;

private:
    void PlayRecord(uint16_t type, uint16_t flags, RecordReader& r);
    void ReadHeader(uint16_t flags, RecordReader& r);
    void ReadObject(uint16_t flags, RecordReader& r);
    // An object stored in parts: gathers them, then reads the whole.
    void ReadObjectPart(uint32_t id, uint32_t type, RecordReader& r);
    void StoreObject(uint32_t id, uint32_t type, RecordReader& r);
    std::optional<QImage> ReadImage(RecordReader& r);
    void DrawImage(bool points, uint16_t flags, RecordReader& r);
    void SetPageTransform(uint16_t flags, RecordReader& r);
    void FillRects(uint16_t flags, RecordReader& r);
    void DrawRects(uint16_t flags, RecordReader& r);
    void Ellipse(bool fill, uint16_t flags, RecordReader& r);
    void ArcLike(uint16_t type, uint16_t flags, RecordReader& r);
    void FillPolygon(uint16_t flags, RecordReader& r);
    void DrawLines(uint16_t flags, RecordReader& r);
    void FillPath(uint16_t flags, RecordReader& r);
    void DrawPath(uint16_t flags, RecordReader& r);
    void DrawString(uint16_t flags, RecordReader& r);
    void DrawDriverString(uint16_t flags, RecordReader& r);
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
