#pragma once

#include <memory>

namespace figures {

class CBaseCom;
class View;

// The shape picker a view may sit beside (the document-content design dialog). While
// the picker has a shape chosen, a press on the canvas creates that shape instead of
// selecting.
class PickerPanel {
public:
    virtual ~PickerPanel() = default;

    virtual bool HasShape() const = 0;
    // A new object for the chosen shape, not yet in any view; null when none is chosen.
    virtual std::unique_ptr<CBaseCom> NewObject() = 0;
    // Forgets the chosen shape, so that the next press selects again.
    virtual void ClearChoice() = 0;
    // The view the object under the mouse jumps to (null for none), for a preview.
    virtual void ShowJumpTarget(const View* target) = 0;
    // The view lost the keyboard focus: the picker shows its list again.
    virtual void ViewLostFocus() = 0;
};

} // namespace figures
