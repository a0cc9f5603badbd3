#pragma once

#include <cstdint>
#include <span>

namespace figures {

// The built-in shape programs of the catalogue as 16-bit words, each closed by its 0 word,
// indexed by catalogue entry. The basic shapes and flowchart symbols (entries 0..55) and
// the callouts, stars, arrows and connector lines (entries 56..109) are kept in two
// tables; the catalogue joins them when it is prepared.
constexpr int kFirstCalloutEntry = 56;
std::span<const std::span<const uint16_t>> ShapeAndFlowchartPrograms();
std::span<const std::span<const uint16_t>> CalloutArrowAndLinePrograms();

} // namespace figures
