#pragma once

#include <cstdint>

namespace figures {

// Capability and state bits of a drawing object's flags word.
enum ObjectFlag : uint32_t {
    OF_DIALOG = 0x00000001, // takes part in the properties dialog
    OF_LINE = 0x00000002,   // line colour, style and width are editable
    OF_SHADOW = 0x00000004, // shadow direction, colour and offset are editable
    OF_FILL = 0x00000008,   // fill kind, colours, hatch and picture are editable
    OF_MOVE = 0x00000010,   // position is editable
    OF_SIZE = 0x00000020,   // width and height are editable
    OF_ROTATE = 0x00000040, // rotation is editable, the rotation handle is shown
    OF_TEXT = 0x00000080,   // font and text alignment are editable
    OF_FLIP = 0x00000100,   // the flip commands apply
    OF_FLIPPED_H = 0x04000000,
    OF_FLIPPED_V = 0x08000000,
    OF_LOCKED = 0x10000000, // handles grey and inert, no dragging
};

// Type ids: what documents and the clipboard store to name an object's class.
enum ObjectTypeId : int32_t {
    TID_BASE = 1,
    TID_RECT = 2,
    TID_GRAPH = 4,
    TID_PICTURE_BOX = 5,
    TID_PCX_PICTURE_BOX = 6,
    TID_TEXT_BOX = 7,
    TID_RICH_LINE = 8,
    TID_RICH_GRAPH = 9,
    TID_COMBINED = 10,
    TID_LINE_GRAPH = 11,
};

// Property tags of an object's record.
enum PropertyTag : uint16_t {
    PT_HANDLES = 2,  // adjust-handle list, 4 bytes per handle
    PT_PROGRAM = 3,  // shape program, or a line's end points
    PT_TEXTS = 4,    // text-box texts
    PT_POLYLINE = 5, // polyline points, 8 bytes each
};

} // namespace figures
