#pragma once

#include "figures/render/geometry.h"
#include "figures/render/lineends/lineendgeometry.h"

#include <functional>
#include <string>

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

    // Edits a shape's text in place over box (document units), starting from text (GBK).
    // Every change of the text is handed to changed, which stores it in the shape and
    // returns where the box is now, so the editor can follow it. Returns when editing ends.
    using TextChanged = std::function<Rect(const std::string& gbk)>;
    virtual void EditShapeText(const Rect& box, const std::string& text,
                               const TextChanged& changed) = 0;
};

} // namespace figures
