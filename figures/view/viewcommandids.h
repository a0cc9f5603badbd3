#pragma once

#include <cstdint>

namespace figures {

// The command ids of the editing view. They are the numbers the component's popup menu,
// its keyboard table and the object-set commands of the control send, so they are kept
// exactly; a host that translates its own keys into commands uses them too.
enum ViewCommandId : int32_t {
    // Layer order.
    ID_BRING_TO_TOP = 160,
    ID_SEND_TO_BOTTOM = 161,
    // Alignment and equal size against the last selected object.
    ID_ALIGN_TOP = 165,
    ID_ALIGN_LEFT = 166,
    ID_ALIGN_BOTTOM = 32785,
    ID_ALIGN_RIGHT = 32786,
    ID_SAME_WIDTH = 169,
    ID_SAME_HEIGHT = 170,
    // Nudges by one screen pixel.
    ID_MOVE_UP = 171,
    ID_MOVE_DOWN = 172,
    ID_MOVE_LEFT = 173,
    ID_MOVE_RIGHT = 174,
    ID_BOTTOM_EDGE_UP = 175,
    ID_BOTTOM_EDGE_DOWN = 176,
    ID_RIGHT_EDGE_LEFT = 177,
    ID_RIGHT_EDGE_RIGHT = 178,
    // Quarter turns and flips.
    ID_ROTATE_LEFT = 179,
    ID_ROTATE_RIGHT = 180,
    ID_FLIP_HORIZONTAL = 181,
    ID_FLIP_VERTICAL = 182,
    // Groups and locks.
    ID_GROUP = 183,
    ID_UNGROUP = 184,
    ID_LOCK = 185,
    ID_UNLOCK = 186,
    // Clipboard and selection.
    ID_EDIT_DELETE = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_SELECT_ALL = 32798,
    // Text or a picture from another program; not one of the component's resource ids.
    ID_PASTE_EXTERNAL = 32800,
    // Dialogs, views and zoom.
    ID_PROPERTIES = 32773,
    ID_VIEW_MANAGER = 32796,
    ID_JUMP = 32797,
    ID_ZOOM_10 = 32784,
    ID_ZOOM_25 = 32778,
    ID_ZOOM_50 = 32779,
    ID_ZOOM_100 = 32780,
    ID_ZOOM_150 = 32781,
    ID_ZOOM_200 = 32782,
    ID_ZOOM_300 = 32783,
};

} // namespace figures
