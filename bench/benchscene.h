#pragma once

#include "figures/model/view.h"

namespace bench {

// Catalogue entries the mixed scene draws.
constexpr int32_t kRectangleEntry = 2;
constexpr int32_t kEllipseEntry = 10;
constexpr int32_t kStarEntry = 61;
constexpr int32_t kArrowEntry = 64;

// A view of count objects that fills a 1920 x 1080 window at 96 dpi and 100 % zoom
// (5080 x 2857 document units): rectangles, ellipses, five-pointed stars, right arrows
// and plain lines in turn on a grid, a fifth of the shapes turned, solid and pattern
// fills mixed. The same count always gives the same scene.
void FillMixedScene(figures::View& view, int count);

} // namespace bench
