#pragma once

namespace figures {

class CViewWnd;

// The view's properties command: opens the properties dialog for the selected objects
// that take part in it (rectangle-based, with the dialog flag), in selection order. One
// such object is edited whole; several share out position, size, angle and font. What
// the user confirmed is applied to the objects as one change of the view: the view is
// marked modified once, moved and sized objects go through the view's frame setting, and
// the changed areas are repainted. Nothing happens without a shown view or an eligible
// object, and nothing changes on cancel.
void OpenProperties(CViewWnd& view);

} // namespace figures
