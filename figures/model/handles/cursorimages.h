#pragma once

#include "figures/model/handles/objecthandles.h"

#include <QImage>
#include <QPoint>

namespace figures {

// The component's own cursor pictures (32 x 32, transparent background) for the cursor
// shapes the platform does not provide: the move and resize movers of adjust handles,
// the hand of button handles, rotation and the text-box I-beam. Returns a null image for
// shapes the platform draws itself (arrows, size cursors); hotSpot receives the pixel
// that points.
QImage CursorImage(CursorShape shape, QPoint* hotSpot = nullptr);

} // namespace figures
