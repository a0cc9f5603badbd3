#pragma once

#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/styles/fillstyle.h"

#include <cstdint>
#include <span>

namespace figures {

class DrawContext;

// The lighter and darker faces of the three-dimensional catalogue shapes (the cylinder,
// cube, bevel, folded corner and smiley, and the magnetic disk and drum, which use the
// cylinder's faces), painted right after the shape's fill and before its outline.
//
// Each face is a range of the program's steps, drawn in outline mode into one path and
// filled without a stroke, in a colour derived from the base colour B: fillBackColour
// for a pattern fill, fillColour for a colour fill, white otherwise. Nothing is drawn for
// other entries, for FillKind::None or when the fill's own colour is kNoColour
// (fillColour of a colour fill, fillBackColour of a pattern fill). program is the
// object's own copy when it has one, so the faces follow its adjust handles; frame is
// where the shape draws (as for RunShapeProgram).
void DrawFaceShading(const DrawContext& dc, int entry, std::span<const uint8_t> program,
                     const ShapeFrame& frame, FillKind fillKind, uint32_t fillColour,
                     uint32_t fillBackColour);

} // namespace figures
