#pragma once

#include "figures/model/handles/objecthandles.h"

#include <QCursor>

namespace figures {

// The mouse cursor for a shape an object asks for: the platform's own arrows and size
// cursors, the component's pictures for the rest. None gives the arrow.
QCursor CursorForShape(CursorShape shape);

} // namespace figures
