#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QRect;

namespace figures {

class View;

struct RenderSettings {
    int32_t zoom = 0;  // per mille; 0 = each view's own zoom
    double dpi = 96.0; // device pixels per inch of the output
};

// Told before each page of a long output with the pages done so far and the total; false
// stops the output, which then writes nothing.
using RenderProgress = std::function<bool(int done, int total)>;

// Renders the part of the view its objects paint, with a small margin, to a PNG, SVG
// or PDF file chosen by the extension of path. PDF and SVG keep vector geometry.
// The file is replaced only when it was written whole: a failure leaves an existing file
// as it was. Returns false with a readable reason in error.
bool RenderViewToFile(const View& view, const QString& path, const RenderSettings& settings,
                      QString& error);

// Renders the views to one PDF file, one page per view in list order, each page exactly
// the page RenderViewToFile would write for that view alone. A cancelled or failed output
// leaves an existing file as it was.
bool RenderViewsToPdf(const std::vector<const View*>& views, const QString& path,
                      const RenderSettings& settings, QString& error,
                      const RenderProgress& progress = {});

// Paints the part of the view its objects paint into target (device pixels of the
// painter's device, whose resolution is dpi), as large as fits with its proportions kept
// and centred, on a white ground. An empty view paints the white ground only. The zoom is
// rounded down to a whole per mille, so the drawing never spills out of target.
void PaintViewFitted(const View& view, QPainter& painter, double dpi, const QRect& target);

} // namespace figures
