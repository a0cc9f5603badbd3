#pragma once

#include "figures/render/geometry.h"

#include <QPainterPath>

#include <array>
#include <cstdint>

namespace figures {

class CBaseCom;

// Everything an object's geometry at its own frame is built from. Any change of the object
// changes one of these: frame, angle and flags are taken as they stand; every write to the
// object's property record (programs, handle lists, texts) and every read of the object
// from bytes counts its revision up; the serial tells an object apart from a deleted one
// that lived at the same address.
struct GeometryKey {
    uint64_t serial = 0;
    uint64_t revision = 0;
    Rect frame;
    int32_t angle = 0;
    uint32_t flags = 0;
    int32_t variant = 0; // what else the class builds from (a shape's catalogue entry)
    friend bool operator==(const GeometryKey&, const GeometryKey&) = default;
};

// What an object's painted area (Bounds(0)) is worked out from beyond its geometry key:
// line type and width, shadow direction and offset, and what else a class draws (a line's
// end decorations).
using PaintedAreaInputs = std::array<int32_t, 6>;

// The paths an object would otherwise rebuild at every paint, kept between paints while
// the object stays as it was. In document units at the object's own frame and pose: the
// painter's transform takes them to the device, so they hold at every zoom and scroll
// position.
struct ObjectGeometry {
    const CBaseCom* object = nullptr;
    GeometryKey key;
    bool built = false;       // false: the object keeps nothing and draws as without
    QPainterPath outline;     // the outline, also the fill region (odd-even rule)
    QPainterPath silhouette;  // the silhouette (shares outline's data when they are equal)
    int arrowLines = 0;       // 1 when the outline run reported arrow lines
    bool showsText = true;    // false when the shape has no text to lay out

    // The painted area, kept while the key and the inputs it was worked out from hold.
    Rect area;
    GeometryKey areaKey;
    PaintedAreaInputs areaInputs{};
    bool areaKnown = false;
};

} // namespace figures
