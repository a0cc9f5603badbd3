#pragma once

#include "figures/render/pictures/metafile/devicestate.h"
#include "figures/render/pictures/metafile/dibimage.h"

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;
class RecordReader;

// The object records of placeable metafiles: pens, brushes, fonts, regions and palettes,
// each created into the lowest free slot of the object table. A record that does not read
// still takes its slot (with a placeholder), so that the objects after it keep the
// numbers the file gives them. Readers start at the record's parameters.
class WmfObjects {
public:
    explicit WmfObjects(MetafileCanvas& canvas) : canvas_(canvas) {}

    void CreatePen(RecordReader& r);
    void CreateBrush(RecordReader& r);
    void CreateFont(RecordReader& r);
    void CreateRegion(RecordReader& r);
    // The old monochrome pattern and the device-independent one.
    void CreatePatternBrush(RecordReader& r);
    void CreateDibPatternBrush(RecordReader& r);
    void CreatePlaceholder();

    // Null when the slot is empty or holds something else.
    const GdiRegion* RegionAt(uint32_t index) const;
    const GdiBrush* BrushAt(uint32_t index) const;

private:
    void Add(GdiObject object);

    MetafileCanvas& canvas_;
};

// A packed device-independent bitmap, decoded within what is left of the canvas's pixel
// budget and charged to it.
Dib DecodePackedWithin(MetafileCanvas& canvas, std::span<const uint8_t> packed, uint32_t usage);

// Old device-dependent bitmaps (patterns and the older blits): a header of type, width,
// height, bytes per row, planes and bits per pixel, then reserved bytes, then the rows,
// top first. Monochrome ones take the state's text colour for 0 bits and its background
// colour for 1 bits; 24- and 32-bit ones hold blue, green, red. Other depths depended on
// the recording display and give a null image.
QImage DecodeBitmap16(RecordReader& r, const DeviceState& state, size_t reserved = 0);

} // namespace figures
