// The state records of placeable metafiles: saved states, modes, colours and the
// window-to-viewport mapping.
#include "figures/render/pictures/metafile/wmfplayer.h"

#include "figures/render/pictures/metafile/recordreader.h"

namespace figures {

void WmfPlayer::RestoreDc(RecordReader& r)
{
    const int16_t which = r.I16();
    if (r.Ok()) {
        canvas_.RestoreState(which);
    }
}

void WmfPlayer::SetBkMode(RecordReader& r)
{
    const uint16_t mode = r.U16();
    if (r.Ok() && (mode == kBkTransparent || mode == kBkOpaque)) {
        state_.bkMode = mode;
    }
}

void WmfPlayer::SetMapMode(RecordReader& r)
{
    const uint16_t mode = r.U16();
    if (r.Ok() && mode >= 1 && mode <= 8) {
        state_.SetMapMode(MapMode(mode));
    }
}

void WmfPlayer::SetRop2(RecordReader& r)
{
    const uint16_t rop2 = r.U16();
    if (r.Ok() && rop2 >= 1 && rop2 <= 16) {
        state_.rop2 = rop2;
    }
}

void WmfPlayer::SetPolyFillMode(RecordReader& r)
{
    const uint16_t mode = r.U16();
    if (r.Ok() && (mode == 1 || mode == 2)) {
        state_.windingFill = mode == 2;
    }
}

void WmfPlayer::SetStretchBltMode(RecordReader& r)
{
    const uint16_t mode = r.U16();
    if (r.Ok()) {
        state_.stretchMode = mode;
    }
}

void WmfPlayer::SetTextCharExtra(RecordReader& r)
{
    const int16_t extra = r.I16();
    if (r.Ok()) {
        state_.charExtra = extra;
    }
}

void WmfPlayer::SetTextAlign(RecordReader& r)
{
    const uint16_t align = r.U16();
    if (r.Ok()) {
        state_.textAlign = align;
    }
}

void WmfPlayer::SetColour(QColor& colour, RecordReader& r)
{
    const uint32_t value = r.U32();
    if (r.Ok()) {
        colour = ColourRef(value);
    }
}

void WmfPlayer::SetOrigin(QPointF& origin, RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        origin = QPointF(x, y);
    }
}

void WmfPlayer::OffsetOrigin(QPointF& origin, RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    if (r.Ok()) {
        origin += QPointF(x, y);
    }
}

void WmfPlayer::SetExtent(QPointF& extent, RecordReader& r)
{
    const int16_t y = r.I16();
    const int16_t x = r.I16();
    // A zero extent would collapse the mapping; the platform refuses it.
    if (r.Ok() && x != 0 && y != 0) {
        extent = QPointF(x, y);
    }
}

void WmfPlayer::ScaleExtent(QPointF& extent, RecordReader& r)
{
    const int16_t yDenom = r.I16();
    const int16_t yNum = r.I16();
    const int16_t xDenom = r.I16();
    const int16_t xNum = r.I16();
    if (r.Ok()) {
        ScaleExtentBy(extent, xNum, xDenom, yNum, yDenom);
    }
}

} // namespace figures
