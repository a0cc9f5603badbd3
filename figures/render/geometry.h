#pragma once

#include <cstdint>

namespace figures {

// A point in document units (0.1 mm, y growing downward) or in device pixels,
// as the caller says. Integer on purpose: every coordinate of the model is exact.
struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle with the Win32 meaning: right and bottom are exclusive in
// point-in-rectangle tests, width = right - left. "Normalised" means
// left <= right and top <= bottom. Never mix with QRect, whose right() is
// left + width - 1.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    // An empty rectangle has no area (zero or negative width or height).
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Centre with integer halving of the sums, as frames define it.
    Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    bool Contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // True when the two share area; an empty rectangle meets nothing.
    bool Intersects(const Rect& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom &&
               o.top < bottom;
    }

    Rect Normalised() const;
    Rect Inflated(int32_t d) const { return {left - d, top - d, right + d, bottom + d}; }
    Rect Offset(int32_t dx, int32_t dy) const
    {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    // Union of two rectangles; an empty operand contributes nothing.
    Rect United(const Rect& other) const;
    // The smallest rectangle holding both, degenerate ones included.
    Rect Spanning(const Rect& other) const;

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace figures
