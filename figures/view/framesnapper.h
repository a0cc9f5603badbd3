#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace figures {

// A line a dragged frame rests against: x = at for a vertical guide, y = at for a
// horizontal one (document units).
struct GuideLine {
    bool vertical = true;
    int32_t at = 0;
    friend bool operator==(const GuideLine&, const GuideLine&) = default;
};

// Where moved and created frames come to rest when the user asks for help: on a grid of
// a given spacing, or against the left, centre and right (top, centre, bottom) lines of
// other objects. Both are off by default, so a drag moves by exactly the mouse offset.
// A guide within the tolerance wins over the grid on its axis.
class FrameSnapper {
public:
    // Grid spacing in document units; 0 or less switches the grid off.
    void SetGrid(int32_t spacing) { grid_ = spacing > 0 ? spacing : 0; }
    int32_t Grid() const { return grid_; }
    void SetGuides(bool on) { guides_ = on; }
    bool Guides() const { return guides_; }
    bool Active() const { return grid_ > 0 || guides_; }

    // The frames whose edges and centres guide the drag (the objects not being dragged).
    void SetTargets(std::span<const Rect> frames);

    // The correction that makes a frame rest on a guide or the grid: a guide when one of
    // the frame's three lines per axis is within tolerance units of a target line, else
    // the frame's top-left corner on the nearest grid point. guides receives the lines
    // used.
    Point SnapFrame(const Rect& frame, int32_t tolerance, std::vector<GuideLine>& guides) const;
    // The same for a single point (the dragged corner of a new frame).
    Point SnapPoint(Point p, int32_t tolerance, std::vector<GuideLine>& guides) const;

    // The multiple of spacing nearest to v (halves away from zero).
    static int32_t NearestOnGrid(int32_t v, int32_t spacing);

private:
    // The correction for one axis given the frame's lines on it, or none.
    bool GuideCorrection(std::span<const int32_t> lines, const std::vector<int32_t>& targets,
                         int32_t tolerance, int32_t& correction, int32_t& at) const;
    int32_t grid_ = 0;
    bool guides_ = false;
    std::vector<int32_t> xs_; // sorted target lines
    std::vector<int32_t> ys_;
};

} // namespace figures
