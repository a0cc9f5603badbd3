#pragma once

#include "figures/render/pictures/metafile/metafileplayer.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace figures {

// How a metafile without the placeable header is played.
struct PlainLayout {
    // Where its records begin; 0 when the bytes are no such metafile or it has no size.
    size_t recordsAt = 0;
    // Its records map to the device by themselves (a fixed-scale mapping mode, or a
    // viewport they set), so they play from a device's initial state; otherwise they
    // play as if the window they set were also the viewport.
    bool ownMapping = false;
};

// Reads the header of a metafile without the placeable header and finds the picture's
// rectangle and physical size in its records (the first mapping mode, window and viewport
// they set):
// - a fixed-scale mode (0.1 mm, 0.01 mm, 0.01 inch, 0.001 inch or 1/1440 inch a unit,
//   the y axis upward) gives the units' real length; the picture's extent is the window
//   extent the records set (which such modes ignore for drawing, so writers use it to say
//   the size), starting at the window origin and running right and down the page, or
//   without one the bounds of what the records draw;
// - a scaled mode whose records set a viewport extent is as large as that viewport (made
//   square-scaled for the isotropic mode) in pixels at 96 an inch;
// - otherwise the window's extent in pixels at 96 an inch, as before.
// Sets info's size, bounds and units per inch; never reads outside bytes.
PlainLayout InspectPlainMetafile(std::span<const uint8_t> bytes, MetafileInfo& info);

} // namespace figures
