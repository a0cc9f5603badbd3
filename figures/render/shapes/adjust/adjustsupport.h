#pragma once

// Shared by the adjust routines of the different shape families; not for other callers.

#include "figures/render/shapes/adjust/adjustroutines.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace figures::adjust {

// Program words are built here and turned into the little-endian bytes objects store.
class ProgramBuilder {
public:
    // One step: its code and parameters. Parameters are grid values the routines have
    // already limited; anything outside a word would be a fault and is clamped to it.
    void Step(uint16_t code, std::initializer_list<int32_t> params);
    // Appends the text-box step of the entry's catalogue program, if it has one.
    void CatalogueTextBox(int entry);
    // The program with its terminating 0 word.
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<uint16_t> words_;
};

// Descriptor `index` of a handle list: its grid point (low 13 bits of each word), or
// nothing when the list does not hold it.
std::optional<Point> HandlePoint(std::span<const uint8_t> handles, int index);
// Rewrites the low 13 bits of both words of descriptor `index`, keeping the kind bits.
// False when the list does not hold the descriptor.
bool SetHandlePoint(std::vector<uint8_t>& handles, int index, Point grid);

// Word offset of step n's opcode, or nothing when the program ends before it.
std::optional<size_t> StepOffset(std::span<const uint8_t> program, int n);
uint16_t WordAt(std::span<const uint8_t> program, size_t index);
void SetWordAt(std::vector<uint8_t>& program, size_t index, int32_t value);

// A handle value between display space and program space: a flipped axis reads 8191 - v.
Point Mirrored(Point grid, const AdjustShape& shape);
// The mouse displacement turned by -angle, in document units.
Point UnturnedDisplacement(Point displacement, const AdjustShape& shape);
// The same, scaled to grid units by the frame's width and height (0 on an empty axis).
Point GridDisplacement(Point displacement, const AdjustShape& shape);
// A grid position of the shape's frame as a document position of the unturned frame,
// flips applied, and back: the inverse for a frame that may have moved. Empty axes map
// to the frame's left or top edge and back to 0.
Point GridToDocument(Point grid, const AdjustShape& shape);
int32_t DocumentToGrid(int32_t offset, int32_t extent);

// The families, each answering its own entries; false when the entry is not theirs.
bool IsCurveOrCallout(int entry);
// Fills the points of drag (which the caller has reset) for the curve or a callout.
bool BeginCurveOrCallout(AdjustDragState& drag, int entry, int handle,
                         std::span<const uint8_t> handles, const AdjustShape& shape);
AdjustResult DragCurveOrCallout(const AdjustDragState& drag, int entry, Point displacement,
                                const AdjustShape& shape, std::vector<uint8_t>& program,
                                std::vector<uint8_t>& handles);

bool IsArrow(int entry);
// The handles of the arrow families that the user drags.
bool IsArrowHandle(int entry, int handle);
AdjustResult DragArrow(int entry, int handle, Point value, std::vector<uint8_t>& program,
                       std::vector<uint8_t>& handles);

} // namespace figures::adjust
