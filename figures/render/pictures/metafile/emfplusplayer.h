#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

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
// comment records ("EMF+"): an object table of brushes, pens, paths, fonts and string
// formats, a world and a page transform, and the drawing of rectangles, ellipses, arcs,
// pies, polygons, lines, paths and strings.
//
// A file whose first such header says it is dual holds the same drawing in the older
// records too: those are played and these are skipped, since the older records are
// the complete ones here. A file without that flag draws only through these records;
// then they are played.
//
// Images are bitmaps in PNG, JPEG, GIF or BMP form or of 24 and 32 bits a pixel, also
// when stored in several records; their pixels count against the canvas's budget.
// Not played: images that are metafiles, regions and clipping, hatch and gradient
// brushes (drawn in their first colour), custom line caps, image attributes, and
// records with relative or run-length coded points. Every count is checked against the bytes of
// its record; objects live in 64 slots as the format numbers them.
class EmfPlusPlayer {
public:
    explicit EmfPlusPlayer(MetafileCanvas& canvas);

    // One comment record of the enhanced metafile (type, size and all).
    void PlayComment(std::span<const uint8_t> record);

    struct Pen {
        QColor colour;
        double width = 0; // world units; 0 draws one device pixel
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
    using Object = std::variant<QColor, Pen, QPainterPath, Font, StringFormat, QImage>;

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

    // The fill colour of a record: its own colour or the brush in the slot it names.
    std::optional<QColor> BrushOf(uint16_t flags, uint32_t value) const;
    const Object* Find(uint32_t id) const;
    void Fill(const QPainterPath& world, const QColor& colour);
    void Stroke(const QPainterPath& world, uint32_t penId);
    // World units to the painter's coordinates.
    QTransform ToPainter() const;
    // Device pixels per unit of the reference device.
    double UnitScale(uint32_t unit) const;

    MetafileCanvas& canvas_;
    bool decided_ = false; // the first header was read
    bool playing_ = false; // the file draws through these records
    double dpiX_ = 96;
    double dpiY_ = 96;
    QTransform world_;
    QTransform page_; // page units to reference-device pixels
    std::map<uint32_t, std::pair<QTransform, QTransform>> saved_;
    std::array<std::optional<Object>, 64> objects_;
    // The parts of an object stored in several records so far.
    uint32_t partId_ = UINT32_MAX;
    uint32_t partTotal_ = 0;
    QByteArray parts_;
};

} // namespace figures
