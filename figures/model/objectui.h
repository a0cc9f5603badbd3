#pragma once

#include "figures/render/geometry.h"
#include "figures/render/lineendgeometry.h"

namespace figures {

// What objects may ask of the user while the view routes a mouse action to them. The
// editing view implements it with dialogs; tests use a double. The model never includes
// a widget.
class ObjectUi {
public:
    virtual ~ObjectUi() = default;

    // Offers the line-end choice near devicePoint, starting from current. Returns false
    // when the user cancels; otherwise chosen holds the new type and sizes.
    virtual bool ChooseLineEnd(Point devicePoint, const LineEnd& current, LineEnd& chosen) = 0;
};

} // namespace figures
