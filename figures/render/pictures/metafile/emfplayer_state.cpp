// The state records of enhanced metafiles: the window-to-viewport mapping and the world
// transform, modes, colours and saved states.
#include "figures/render/pictures/metafile/emfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"

#include <cmath>

namespace figures {

namespace {

// A transform of six floats; false when any is not a finite number. All six are read
// either way, so that the fields after the matrix are read where they lie.
bool ReadTransform(RecordReader& r, QTransform& out)
{
    float m[6];
    bool finite = true;
    for (float& v : m) {
        v = r.F32();
        finite = finite && std::isfinite(v) && std::abs(v) <= 1e12f;
    }
    if (!finite) {
        return false;
    }
    out = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
    return r.Ok();
}

} // namespace

void EmfPlayer::SetExtent(QPointF& extent, RecordReader& r)
{
    const int32_t x = r.I32();
    const int32_t y = r.I32();
    // A zero extent would collapse the mapping; the platform refuses it.
    if (r.Ok() && x != 0 && y != 0) {
        extent = QPointF(x, y);
    }
}

void EmfPlayer::ScaleExtent(QPointF& extent, RecordReader& r)
{
    const int32_t xNum = r.I32();
    const int32_t xDenom = r.I32();
    const int32_t yNum = r.I32();
    const int32_t yDenom = r.I32();
    if (r.Ok()) {
        ScaleExtentBy(extent, xNum, xDenom, yNum, yDenom);
    }
}

void EmfPlayer::SetOrigin(QPointF& origin, RecordReader& r)
{
    const QPointF p = ReadEmfPoint(r);
    if (r.Ok()) {
        origin = p;
    }
}

void EmfPlayer::SetMapMode(RecordReader& r)
{
    const uint32_t mode = r.U32();
    if (r.Ok() && mode >= 1 && mode <= 8) {
        state_.SetMapMode(MapMode(mode));
    }
}

void EmfPlayer::SetBkMode(RecordReader& r)
{
    const uint32_t mode = r.U32();
    if (r.Ok() && (mode == uint32_t(kBkTransparent) || mode == uint32_t(kBkOpaque))) {
        state_.bkMode = int32_t(mode);
    }
}

void EmfPlayer::SetPolyFillMode(RecordReader& r)
{
    const uint32_t mode = r.U32();
    if (r.Ok() && (mode == 1 || mode == 2)) {
        state_.windingFill = mode == 2;
    }
}

void EmfPlayer::SetRop2(RecordReader& r)
{
    const uint32_t rop2 = r.U32();
    if (r.Ok() && rop2 >= 1 && rop2 <= 16) {
        state_.rop2 = int32_t(rop2);
    }
}

void EmfPlayer::SetStretchBltMode(RecordReader& r)
{
    const uint32_t mode = r.U32();
    if (r.Ok()) {
        state_.stretchMode = int32_t(mode & 0xFF);
    }
}

void EmfPlayer::SetTextAlign(RecordReader& r)
{
    const uint32_t align = r.U32();
    if (r.Ok()) {
        state_.textAlign = align;
    }
}

void EmfPlayer::SetColour(QColor& colour, RecordReader& r)
{
    const uint32_t value = r.U32();
    if (r.Ok()) {
        colour = ColourRef(value);
    }
}

void EmfPlayer::SetArcDirection(RecordReader& r)
{
    const uint32_t direction = r.U32();
    if (r.Ok() && (direction == 1 || direction == 2)) {
        state_.clockwise = direction == 2;
    }
}

void EmfPlayer::SetMiterLimit(RecordReader& r)
{
    // Written as a float by most recorders and as an integer by some.
    RecordReader asInteger = r;
    const float limit = r.F32();
    const uint32_t integer = asInteger.U32();
    if (r.Ok() && std::isfinite(limit) && limit >= 1 && limit <= 1000) {
        state_.miterLimit = limit;
    } else if (r.Ok() && integer >= 1 && integer <= 1000) {
        state_.miterLimit = integer;
    }
}

void EmfPlayer::RestoreDc(RecordReader& r)
{
    const int32_t which = r.I32();
    // Enhanced metafiles restore relative to the current level only.
    if (r.Ok() && which < 0) {
        canvas_.RestoreState(which);
    }
}

void EmfPlayer::SetWorldTransform(RecordReader& r)
{
    QTransform world;
    if (ReadTransform(r, world)) {
        state_.world = world;
    }
}

void EmfPlayer::ModifyWorldTransform(RecordReader& r)
{
    constexpr uint32_t kIdentity = 1;
    constexpr uint32_t kLeftMultiply = 2;
    constexpr uint32_t kRightMultiply = 3;
    constexpr uint32_t kSet = 4;
    QTransform x;
    const bool valid = ReadTransform(r, x);
    const uint32_t mode = r.U32();
    if (!r.Ok()) {
        return;
    }
    QTransform world = state_.world;
    switch (mode) {
    case kIdentity: world = QTransform(); break;
    case kLeftMultiply: world = valid ? x * world : world; break; // x applies first
    case kRightMultiply: world = valid ? world * x : world; break;
    case kSet: world = valid ? x : world; break;
    default: break;
    }
    // Products of many transforms can still run away; those are refused as a whole.
    if (std::isfinite(world.m11()) && std::isfinite(world.m12()) && std::isfinite(world.m21()) &&
        std::isfinite(world.m22()) && std::isfinite(world.dx()) && std::isfinite(world.dy()) &&
        std::abs(world.determinant()) < 1e24) {
        state_.world = world;
    }
}

} // namespace figures
