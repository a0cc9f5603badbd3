#include "figures/model/handles/objecthandles.h"

#include "figures/render/numeric.h"

namespace figures {

bool IsLargeFrame(const Rect& deviceFrame)
{
    return deviceFrame.Width() >= kLargeFramePixels || deviceFrame.Height() >= kLargeFramePixels;
}

Point StandardHandlePoint(const Rect& frame, int position, int32_t angle, int32_t halfSize)
{
    const int32_t mx = (frame.left + frame.right) / 2;
    const int32_t my = (frame.top + frame.bottom) / 2;
    static constexpr int8_t kColumn[kStandardHandleCount] = {0, 1, 2, 2, 2, 1, 0, 0, 0};
    static constexpr int8_t kRow[kStandardHandleCount] = {0, 0, 0, 1, 2, 2, 2, 1, 2};
    const int32_t xs[3] = {frame.left, mx, frame.right};
    const int32_t ys[3] = {frame.top, my, frame.bottom};
    Point p{xs[kColumn[position]], ys[kRow[position]]};
    if (position == 8) {
        p.x -= 3 * halfSize;
    }
    return RotatePoint(frame.Centre(), p, angle);
}

CursorShape ResizeCursor(int32_t hitCode, int32_t angle)
{
    using C = CursorShape;
    // Columns: left/right, top/bottom, top-left/bottom-right, top-right/bottom-left. As
    // the object turns, each handle's direction on screen passes through the four arrows.
    struct Row {
        int32_t below; // the row applies to angles below this bound
        C cursors[4];
    };
    static constexpr Row kRows[] = {
        {200, {C::SizeWE, C::SizeNS, C::SizeNWSE, C::SizeNESW}},
        {300, {C::SizeWE, C::SizeNS, C::SizeNS, C::SizeWE}},
        {500, {C::SizeNWSE, C::SizeNESW, C::SizeNS, C::SizeWE}},
        {700, {C::SizeNS, C::SizeWE, C::SizeNS, C::SizeWE}},
        {1100, {C::SizeNS, C::SizeWE, C::SizeNESW, C::SizeNWSE}},
        {1300, {C::SizeNS, C::SizeWE, C::SizeWE, C::SizeNS}},
        {1500, {C::SizeNESW, C::SizeNWSE, C::SizeWE, C::SizeNS}},
        {1600, {C::SizeWE, C::SizeNS, C::SizeWE, C::SizeNS}},
        {1900, {C::SizeWE, C::SizeNS, C::SizeNWSE, C::SizeNESW}},
        {2100, {C::SizeWE, C::SizeNS, C::SizeNS, C::SizeWE}},
        {2400, {C::SizeNWSE, C::SizeNESW, C::SizeNS, C::SizeWE}},
        {2500, {C::SizeNWSE, C::SizeNESW, C::SizeNESW, C::SizeNWSE}},
        {2900, {C::SizeNS, C::SizeWE, C::SizeNESW, C::SizeNWSE}},
        {3100, {C::SizeNS, C::SizeWE, C::SizeWE, C::SizeNS}},
        {3401, {C::SizeNESW, C::SizeNWSE, C::SizeWE, C::SizeNS}}, // up to 3400 inclusive
        {INT32_MAX, {C::SizeWE, C::SizeNS, C::SizeNWSE, C::SizeNESW}},
    };
    // Angles set from outside are stored as given and act modulo a full turn.
    angle = (angle % 3600 + 3600) % 3600;
    int column;
    switch (hitCode) {
    case HIT_LEFT:
    case HIT_RIGHT: column = 0; break;
    case HIT_TOP:
    case HIT_BOTTOM: column = 1; break;
    case HIT_TOP_LEFT:
    case HIT_BOTTOM_RIGHT: column = 2; break;
    case HIT_TOP_RIGHT:
    case HIT_BOTTOM_LEFT: column = 3; break;
    default: return C::None;
    }
    for (const Row& row : kRows) {
        if (angle < row.below) {
            return row.cursors[column];
        }
    }
    return C::None;
}

const char* HandleTooltip(int32_t hitCode, uint16_t kind)
{
    if (hitCode == HIT_ROTATE) {
        return "拖动此调节器可旋转对象";
    }
    if (IsResizeHit(hitCode)) {
        return "拖动此调节器可改变尺寸";
    }
    if (hitCode >= 0) {
        switch (kind) {
        case 0: return "拖动此调节器可调整对象局部尺寸";
        case 1: return "拖动此调节器可调整对象内部结构";
        case 2: return "按动此按钮可设定对象内部结构";
        default: break;
        }
    }
    return "";
}

const char* LineHandleTooltip(uint16_t kind)
{
    return kind == 2 ? "按下此按钮可改变端点的类型与尺寸." : "拖动此调节器可改变线条方向与长度";
}

} // namespace figures
