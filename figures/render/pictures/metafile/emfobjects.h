#pragma once

#include "figures/render/pictures/metafile/devicestate.h"

#include <QRegion>

#include <cstdint>
#include <optional>
#include <span>

namespace figures {

class MetafileCanvas;
class RecordReader;

// The object records of enhanced metafiles: pens, brushes and fonts created into the slot
// each record names, the stock objects (indices with the high bit set) and selection and
// deletion. Readers start after the record's type and size.
class EmfObjects {
public:
    explicit EmfObjects(MetafileCanvas& canvas) : canvas_(canvas) {}

    void Select(RecordReader& r);
    void Delete(RecordReader& r);
    void CreatePen(RecordReader& r);
    void ExtCreatePen(RecordReader& r);
    void CreateBrush(RecordReader& r);
    // Monochrome and device-independent pattern brushes: a bitmap at offsets in the record.
    void CreatePatternBrush(RecordReader& r);
    void CreateFont(RecordReader& r);
    // Palettes and colour spaces: they take their slot and draw nothing.
    void CreatePlaceholder(RecordReader& r);

    // The brush in a slot or a stock brush; nothing for anything else.
    std::optional<GdiBrush> BrushAt(uint32_t index) const;

private:
    void Put(uint32_t index, GdiObject object);

    MetafileCanvas& canvas_;
};

// Region data: a 32-byte header (its size, type, rectangle count, data size, bounds)
// then the rectangles, in reference-device units.
constexpr size_t kRegionHeaderSize = 32;

// Reads region data into out; false when the header or the rectangles it counts are not
// all there, or when more rectangles than a region can reasonably hold come unsorted.
bool ReadRegionData(std::span<const uint8_t> data, QRegion& out);

} // namespace figures
