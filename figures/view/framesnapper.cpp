#include "figures/view/framesnapper.h"

#include <algorithm>
#include <cstdlib>

namespace figures {

int32_t FrameSnapper::NearestOnGrid(int32_t v, int32_t spacing)
{
    if (spacing <= 0) {
        return v;
    }
    const int64_t s = spacing;
    const int64_t half = s / 2;
    const int64_t shifted = v >= 0 ? int64_t(v) + half : int64_t(v) - half;
    return int32_t(shifted / s * s);
}

void FrameSnapper::SetTargets(std::span<const Rect> frames)
{
    xs_.clear();
    ys_.clear();
    for (const Rect& f : frames) {
        const Point c = f.Centre();
        xs_.insert(xs_.end(), {f.left, c.x, f.right});
        ys_.insert(ys_.end(), {f.top, c.y, f.bottom});
    }
    std::sort(xs_.begin(), xs_.end());
    std::sort(ys_.begin(), ys_.end());
}

bool FrameSnapper::GuideCorrection(std::span<const int32_t> lines,
                                   const std::vector<int32_t>& targets, int32_t tolerance,
                                   int32_t& correction, int32_t& at) const
{
    bool found = false;
    int64_t best = int64_t(tolerance) + 1;
    for (const int32_t line : lines) {
        // The nearest target on either side of the line.
        const auto it = std::lower_bound(targets.begin(), targets.end(), line);
        for (auto near : {it, it == targets.begin() ? it : it - 1}) {
            if (near == targets.end()) {
                continue;
            }
            const int64_t distance = std::llabs(int64_t(*near) - line);
            if (distance < best) {
                best = distance;
                correction = *near - line;
                at = *near;
                found = true;
            }
        }
    }
    return found;
}

Point FrameSnapper::SnapFrame(const Rect& frame, int32_t tolerance,
                              std::vector<GuideLine>& guides) const
{
    guides.clear();
    Point correction;
    const Point c = frame.Centre();
    const int32_t xLines[] = {frame.left, c.x, frame.right};
    const int32_t yLines[] = {frame.top, c.y, frame.bottom};
    int32_t at = 0;
    if (guides_ && GuideCorrection(xLines, xs_, tolerance, correction.x, at)) {
        guides.push_back({true, at});
    } else if (grid_ > 0) {
        correction.x = NearestOnGrid(frame.left, grid_) - frame.left;
    }
    if (guides_ && GuideCorrection(yLines, ys_, tolerance, correction.y, at)) {
        guides.push_back({false, at});
    } else if (grid_ > 0) {
        correction.y = NearestOnGrid(frame.top, grid_) - frame.top;
    }
    return correction;
}

Point FrameSnapper::SnapPoint(Point p, int32_t tolerance, std::vector<GuideLine>& guides) const
{
    const Point correction = SnapFrame(Rect{p.x, p.y, p.x, p.y}, tolerance, guides);
    return {p.x + correction.x, p.y + correction.y};
}

} // namespace figures
