#pragma once

#include <QString>

#include <cstdint>

namespace figures {
class View;
}

namespace vkdtool {

struct RenderSettings {
    int32_t zoom = 0;  // per mille; 0 = the view's own zoom
    double dpi = 96.0; // device pixels per inch of the output
};

// Renders the part of the view its objects paint, with a small margin, to a PNG, SVG
// or PDF file chosen by the extension of path. PDF and SVG keep vector geometry.
// Returns false with a readable reason in error.
bool RenderViewToFile(const figures::View& view, const QString& path,
                      const RenderSettings& settings, QString& error);

} // namespace vkdtool
