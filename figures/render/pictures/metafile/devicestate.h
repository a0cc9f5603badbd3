#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace figures {

// The drawing state both metafile formats share: what a graphics device keeps between
// records (mapping, selected pen, brush and font, colours and modes, current position,
// clipping), the table of created objects and the stack of saved states.
//
// Coordinates: records speak in logical units. The world transform (enhanced metafiles
// only) takes them to page units, the window-to-viewport mapping of the mapping mode
// takes page units to the units of the reference device the picture was recorded on.
// The player then stretches the reference device's picture rectangle onto its target.

// Mapping modes. The fixed modes count their units in steps of a real length and turn
// the y axis upward; Text maps one unit to one device pixel.
enum class MapMode : int32_t {
    Text = 1,
    LoMetric = 2,  // 0.1 mm
    HiMetric = 3,  // 0.01 mm
    LoEnglish = 4, // 0.01 inch
    HiEnglish = 5, // 0.001 inch
    Twips = 6,     // 1/1440 inch
    Isotropic = 7,
    Anisotropic = 8,
};

// Background modes.
constexpr int32_t kBkTransparent = 1;
constexpr int32_t kBkOpaque = 2;

// Text alignment bits.
constexpr uint32_t kTaUpdateCp = 0x0001;
constexpr uint32_t kTaRight = 0x0002;
constexpr uint32_t kTaCenter = 0x0006;
constexpr uint32_t kTaHorizontalMask = 0x0006;
constexpr uint32_t kTaBottom = 0x0008;
constexpr uint32_t kTaBaseline = 0x0018;
constexpr uint32_t kTaVerticalMask = 0x0018;

// Binary raster operations applied to pens and brushes.
constexpr int32_t kR2Black = 1;
constexpr int32_t kR2Not = 6;
constexpr int32_t kR2XorPen = 7;
constexpr int32_t kR2MaskPen = 9;
constexpr int32_t kR2Nop = 11;
constexpr int32_t kR2CopyPen = 13;
constexpr int32_t kR2MergePen = 15;
constexpr int32_t kR2White = 16;

constexpr int32_t kStretchHalftone = 4;

// Pen style bits.
constexpr uint32_t kPsStyleMask = 0x0000000F;
constexpr uint32_t kPsSolid = 0;
constexpr uint32_t kPsDash = 1;
constexpr uint32_t kPsDot = 2;
constexpr uint32_t kPsDashDot = 3;
constexpr uint32_t kPsDashDotDot = 4;
constexpr uint32_t kPsNull = 5;
constexpr uint32_t kPsInsideFrame = 6;
constexpr uint32_t kPsUserStyle = 7;
constexpr uint32_t kPsAlternate = 8;
constexpr uint32_t kPsEndCapMask = 0x00000F00;
constexpr uint32_t kPsEndCapSquare = 0x00000100;
constexpr uint32_t kPsEndCapFlat = 0x00000200;
constexpr uint32_t kPsJoinMask = 0x0000F000;
constexpr uint32_t kPsJoinBevel = 0x00001000;
constexpr uint32_t kPsJoinMiter = 0x00002000;
constexpr uint32_t kPsGeometric = 0x00010000;

// Brush styles.
constexpr uint32_t kBsSolid = 0;
constexpr uint32_t kBsNull = 1;
constexpr uint32_t kBsHatched = 2;
constexpr uint32_t kBsPattern = 3;
constexpr uint32_t kBsDibPattern = 5;
constexpr uint32_t kBsDibPatternPt = 6;

// Region combination modes of clipping.
constexpr int32_t kRgnAnd = 1;
constexpr int32_t kRgnOr = 2;
constexpr int32_t kRgnXor = 3;
constexpr int32_t kRgnDiff = 4;
constexpr int32_t kRgnCopy = 5;

// Character set whose strings are GBK bytes.
constexpr uint8_t kGb2312Charset = 134;

// A colour of a record: 0x00BBGGRR. The high byte (palette references) is ignored, the
// player draws with true colours only.
QColor ColourRef(uint32_t colourRef);

struct GdiPen {
    uint32_t style = kPsSolid; // line style, end cap, join and type bits
    // Width in logical units; 0 draws one device pixel whatever the mapping.
    double width = 0;
    QColor colour = Qt::black;
    // Made by the extended-pen record: caps, joins and dash lengths follow the style bits.
    // Pens of the older records draw round and, when wider than a pixel, always solid.
    bool extended = false;
    std::vector<double> userDashes; // dash and gap lengths in logical units
};

struct GdiBrush {
    enum class Kind { Solid, Null, Hatched, Pattern };
    Kind kind = Kind::Solid;
    QColor colour = Qt::white;
    int32_t hatch = 0; // 0 horizontal .. 5 diagonal cross
    QImage pattern;    // for Pattern, in reference-device pixels
    // A two-colour pattern (a monochrome brush bitmap) has no colours of its own: its
    // black pixels take the text colour and its white ones the background colour current
    // when a shape is filled, whatever the background mode.
    bool monochrome = false;
};

// Whether every pixel of a decoded pattern is pure black or pure white.
bool IsBlackAndWhite(const QImage& pattern);

struct GdiFont {
    // Negative: character (em) height; positive: cell height; 0: the default size. All
    // lengths in logical units, angles in tenths of a degree counter-clockwise.
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    QString face;
};

// A region object: rectangles in logical units (placeable metafiles) or reference-device
// units (enhanced metafiles; the player converts those on creation).
struct GdiRegion {
    std::vector<QRect> rects;
};

// Palettes and colour spaces occupy an object slot but never change what is drawn.
struct GdiPlaceholder {};

using GdiObject = std::variant<GdiPlaceholder, GdiPen, GdiBrush, GdiFont, GdiRegion>;

// The objects a metafile creates, by index. Slots are limited to kCapacity: a file that
// creates more loses the surplus objects (their creation is skipped), as a device with a
// full handle table would.
class GdiObjectTable {
public:
    static constexpr uint32_t kCapacity = 4096;

    // Into the lowest free slot, as placeable metafiles number their objects; false when
    // the table is full.
    bool Add(GdiObject object);
    // Into the slot the record names, as enhanced metafiles do; replaces what was there.
    bool Put(uint32_t index, GdiObject object);
    // Null when the slot is empty or beyond the table.
    const GdiObject* Find(uint32_t index) const;
    void Remove(uint32_t index);

private:
    std::vector<std::optional<GdiObject>> slots_;
    size_t firstFree_ = 0; // no free slot below this one
};

// Where drawing is allowed, in reference-device units. Inactive means the whole device.
// Rectangle sets stay a QRegion (fast and exact for axis-aligned clipping); any curved or
// turned shape switches to a path.
struct ClipArea {
    bool active = false;
    bool usesPath = false;
    QRegion region;
    QPainterPath path;

    QPainterPath AsPath() const;
};

// A region of rectangles. Rectangles already in the banded order regions are kept in
// (sorted by top, then left; equal tops share a height; none overlap or touch within a
// band) are taken as they are; others are united one by one, at most kMaxUnsortedRects of
// them, since that costs time with their number. False when there are more.
constexpr size_t kMaxUnsortedRects = 4096;
bool RegionFromRects(const std::vector<QRect>& rects, QRegion& out);

// Combines shape into clip with one of the region modes (kRgnAnd .. kRgnCopy); an inactive
// clip stands for the whole device. Unknown modes leave the clip as it was.
void CombineClip(ClipArea& clip, const ClipArea& shape, int32_t mode);

struct DeviceState {
    MapMode mapMode = MapMode::Text;
    QPointF windowOrg;
    QPointF windowExt{1, 1};
    QPointF viewportOrg;
    QPointF viewportExt{1, 1};
    QTransform world; // logical to page units

    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColour = Qt::black;
    QColor bkColour = Qt::white;
    int32_t bkMode = kBkOpaque;
    uint32_t textAlign = 0;
    bool windingFill = false; // polygon fill mode: winding (true) or alternate
    int32_t rop2 = kR2CopyPen;
    int32_t stretchMode = 1;
    bool clockwise = false; // arc direction as seen on the device
    double miterLimit = 10;
    QPointF brushOrg;      // device units
    QPointF currentPos;    // logical units
    int32_t charExtra = 0; // logical units added after every character
    ClipArea clip;

    // Page to reference-device units for a device of dpiX x dpiY dots per inch.
    QTransform PageToDevice(double dpiX, double dpiY) const;
    QTransform LogicalToDevice(double dpiX, double dpiY) const
    {
        return world * PageToDevice(dpiX, dpiY);
    }
    // Switches the mapping mode; the isotropic modes keep the extents they find.
    void SetMapMode(MapMode mode) { mapMode = mode; }
};

// Saved device states. The depth is limited to kMaxDepth: saves beyond it are counted but
// not kept, and the restores that answer them restore nothing, so the states that were
// kept still pair with their own restores.
class SavedStates {
public:
    static constexpr size_t kMaxDepth = 64;

    void Push(const DeviceState& state);
    // which < 0: go back -which levels; which > 0: back to the state saved as number
    // which (1 = the first save). Fills state and returns true when a kept state is
    // restored; false (state untouched) otherwise.
    bool Restore(int32_t which, DeviceState& state);
    size_t Depth() const { return kept_.size() + size_t(overflow_); }

private:
    std::vector<DeviceState> kept_;
    uint32_t overflow_ = 0;
};

// Scales a window or viewport extent by two ratios, as both formats' scale records do.
// Zero terms, and results that would collapse or explode the mapping, leave it as it is.
void ScaleExtentBy(QPointF& extent, int32_t xNum, int32_t xDenom, int32_t yNum, int32_t yDenom);

} // namespace figures
