#pragma once

#include "figures/render/geometry.h"

#include <QByteArray>
#include <QImage>

#include <span>

namespace figures {

class CBaseCom;

// The objects drawn on their own, for other programs (word processors, chats): at
// 100 % on a 96-dpi page with a small white margin, the objects given in painting order.

// The area the objects paint, in document units; empty for no objects.
Rect PaintedAreaOf(std::span<const CBaseCom* const> objects);
// A picture of the objects on white; a null image for no objects or an area too large to
// hold in memory.
QImage RenderObjectsImage(std::span<const CBaseCom* const> objects);
// The same drawing as an SVG document; empty for no objects.
QByteArray RenderObjectsSvg(std::span<const CBaseCom* const> objects);

} // namespace figures
