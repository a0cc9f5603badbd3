#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace figures {

// Attribute bits of a catalogue entry.
enum CatalogueAttribute : uint16_t {
    CA_OPEN = 1,     // open figure: no fill region and no silhouette
    CA_SHADED = 2,   // three-dimensional shape with face shading
    CA_TEXT_BOX = 4, // the program has a text-box step (computed once at start-up)
    CA_CURVE = 8,    // curve: new objects get fill kind 5 (no fill)
};

// Handle descriptor word 0 is kind << 13 | x; word 1 is the sub-kind << 13 | y.
constexpr uint16_t kHandleCoordMask = 0x1FFF;
constexpr int kHandleKindShift = 13;

// One preset shape. Programs and handle lists are constant tables viewed as bytes in
// the little-endian word format the objects store.
struct ShapeCatalogueEntry {
    std::string_view name; // UTF-8, as shown to users
    uint16_t category = 0;
    uint16_t attributes = 0;
    std::span<const uint8_t> program; // including the terminating 0 word
    int32_t programLength = 0;        // 16-bit words including the terminating 0 word
    std::span<const uint8_t> handles; // 4 bytes per descriptor; empty when none
    int32_t handleListLength = 0;     // 16-bit words (2 per descriptor)
};

struct ShapeCategory {
    uint16_t value;
    std::string_view name; // UTF-8
};

int CatalogueCount();
// The entry for 0 <= i < CatalogueCount(), else null (such shapes draw nothing).
const ShapeCatalogueEntry* CatalogueEntry(int i);
// The six categories in the picker's order.
std::span<const ShapeCategory> CategoryList();

} // namespace figures
