#pragma once

#include "figures/model/bandedpainter.h"
#include "figures/model/viewpainter.h"

#include <QImage>

#include <cstddef>
#include <vector>

namespace figures {

class CBaseCom;
class GeometryCache;
class SpatialIndex;
class View;

// Paints parts of an editing view's cached picture with only the objects near each part,
// as the view's spatial index finds them, so that repainting a small area costs what the
// area shows rather than what the drawing holds. The pixels are those PaintViewInBands
// gives for the same clip, provided the index is current (every object's painted area and
// painting rank as they stand).
//
// The device clip of the options is in the mapping's device pixels, as for
// PaintViewInBands. Scratch lists are kept between paints, so that a paint allocates only
// when the area holds more objects than any before.
class PartialPainter {
public:
    // Paints the canvas and the objects meeting options.deviceClip into the picture.
    void Paint(const View& view, const SpatialIndex& index, GeometryCache& cache,
               QImage& picture, const BandedPaint& mapping, const PaintOptions& options);
    // Paints one object over the picture inside options.deviceClip, where the picture
    // already shows everything painted under the object and nothing over it: the result
    // is what Paint gives when the object is the topmost one meeting the clip.
    void PaintOnTop(const View& view, const CBaseCom& object, GeometryCache& cache,
                    QImage& picture, const BandedPaint& mapping, const PaintOptions& options);

    // The objects the last paint handed to the painter (those whose areas met its clip).
    size_t LastCount() const { return lastCount_; }

private:
    void Collect(const SpatialIndex& index, const Rect& docArea);

    std::vector<CBaseCom*> near_;
    std::vector<PaintEntry> order_;
    size_t lastCount_ = 0;
};

} // namespace figures
