#pragma once

#include "figures/model/viewpainter.h"
#include "figures/render/devicemapping.h"
#include "figures/render/geometry.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <cstdint>

namespace figures {

class GeometryCache;
class View;

// How a view maps onto an image painted in bands: the document mapping of DrawContext,
// and the device pixel shown at the image's top-left corner (the scroll offset).
struct BandedPaint {
    double dpiX = 96;
    double dpiY = 96;
    int32_t zoomX = 1000;
    int32_t zoomY = 1000;
    Point origin;       // document point at device (0, 0)
    QPoint imageOffset; // device pixel at the image's (0, 0)
    int bands = 0;      // 0: one per thread of the global thread pool
};

// Device rows top..bottom - 1 of a banded paint.
struct Band {
    int top;
    int bottom;
};

// The bands a paint of the clip is split into: up to `wanted` of them, none thinner than
// 32 rows, each with about the same share of the objects in order to draw (by the rows of
// their centres) and of canvas to fill. They cover the clip's rows in order.
std::vector<Band> SplitIntoBands(const std::vector<PaintEntry>& order, const DeviceMapping& map,
                                 const Rect& clip, int wanted);

// The device row above which a band's painter writes every pixel it writes: below its own
// rows and every object it draws (those whose area meets its rows grown by BandCullMargin),
// each grown by that margin for the spread of antialiased edges. Rows from there on can
// take another band's pixels while this band still paints.
int RowsReachedBy(const std::vector<PaintEntry>& order, const DeviceMapping& map,
                  const Rect& clip, const Band& band);

// The document mapping of a banded paint.
DeviceMapping MappingOf(const BandedPaint& mapping);

// The whole logical pixels an image painted at its device pixel ratio covers.
QSize LogicalSize(const QImage& image);

// Paints the part of the image that options.deviceClip names (device pixels, in the
// coordinates of the mapping, not of the image; an image with a device pixel ratio gets
// that many of its pixels per device pixel, so that a high-density screen is sharp) with
// PaintView, split into horizontal bands that the global thread pool and the calling
// thread paint at once, each band with its own painter and DrawContext. The pixels are
// the ones a single painter over the clip gives: every band paints on a picture the size
// of the image with the same transform and clip, draws the objects that reach into its
// rows, and keeps only those rows (at a fractional ratio, where band edges would fall
// inside image pixels, one band paints the whole clip). With a cache the objects'
// geometry is brought up to date in it before the bands start, and the bands only read
// it. Returns when every band is done.
void PaintViewInBands(const View& view, QImage& image, const BandedPaint& mapping,
                      const PaintOptions& options, GeometryCache* cache = nullptr);

// The same with the objects to paint given in painting order, their geometry already
// prepared (or none): a repaint of part of a picture passes only the objects near the
// clip. The result is PaintViewInBands' when order holds every object whose area meets
// the clip grown by BandCullMargin device pixels each way.
void PaintViewInBands(const View& view, const std::vector<PaintEntry>& order, QImage& image,
                      const BandedPaint& mapping, const PaintOptions& options);

// Device pixels beyond its rows within which a band still paints objects.
int BandCullMargin();

// For tests: while withheld, no band gets a picture of its own, as when memory runs out,
// and every band paints in place after the others, clipped to its rows.
void WithholdBandPicturesForTesting(bool withhold);

} // namespace figures
