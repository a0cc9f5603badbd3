#pragma once

#include <QBrush>
#include <QImage>
#include <QTransform>

#include <cstdint>
#include <optional>

namespace figures {

// What fills an object's interior (fillKind), by the value documents store. The first
// five are the choices of the properties dialog; None is set only by the program, for
// new curves.
enum class FillKind : int32_t {
    White = 0,    // the default: white
    Colour = 1,   // fillColour, unless it is kNoColour
    Pattern = 2,  // hatchStyle in fillColour on fillBackColour
    Picture = 3,  // fillPicture with picturePlacement
    Gradient = 4, // transparent, or the gradient when gradientKind is set
    None = 5,     // nothing at all: no fill, no white in the holes, no face shading
};

// The fill kind a stored value stands for; nothing for a value no kind has.
std::optional<FillKind> FillKindFromStored(int32_t value);

// The fill patterns an object's hatchStyle indexes: 0..5 the six hatches (right
// diagonal, cross, diagonal cross, left diagonal, horizontal, vertical), 6..53 the
// dotted, striped and textured 8×8 patterns, in the order the properties dialog lists
// them.
int32_t FillPatternCount();

// The UTF-8 name of pattern i, null outside 0..53.
const char* FillPatternName(int32_t i);

// The 8×8 tile of a pattern, opaque, one image pixel per device pixel: the pattern's
// marks in foreground, the rest in background (both 0x00BBGGRR). The hatches are lines
// one pixel wide that join up from tile to tile; the right diagonal (0) climbs from
// bottom left to top right, the left diagonal (3) falls from top left to bottom right.
// nullopt for a pattern outside 0..53.
std::optional<QImage> FillPatternImage(int32_t pattern, uint32_t foreground, uint32_t background);

// A texture brush of FillPatternImage, nullopt for a pattern outside 0..53.
//
// Patterns are sized in device pixels, not in document units: a tile stays 8 pixels
// at every zoom. A texture brush, though, is transformed with the painter, so the
// caller either fills with the identity world transform (the fill region in device
// coordinates) or hands the brush through DevicePixelBrush with the painter's current
// world transform. Either way the tiles line up with the device origin, so adjacent
// fills continue the same pattern.
std::optional<QBrush> MakeFillBrush(int32_t pattern, uint32_t foreground, uint32_t background);

// brush with its transform composed with the inverse of worldTransform, so that under
// a painter with that world transform its texture lands pixel for pixel on the device.
// A transform that cannot be inverted (a zero scale draws nothing anyway) leaves the
// brush as it is.
QBrush DevicePixelBrush(const QBrush& brush, const QTransform& worldTransform);

// The vocabulary of the properties dialog, UTF-8, null outside the ranges given.
// Fill kinds 0..4: default white, colour, pattern, picture, transparent. FillKind::None
// is set only by the program and has no name.
const char* FillKindName(int32_t i);
// Shadow directions 0..8: none, then clockwise from top left.
const char* ShadowDirectionName(int32_t i);
// Picture placements 0..12: stretch, nine anchored positions, tile, and the two
// aspect-keeping fits.
const char* PicturePlacementName(int32_t i);

} // namespace figures
