#pragma once

#include "figures/render/geometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace figures {

class CBaseCom;

// The bytes the component puts on the clipboard: the object records of the copied
// objects one after the other, in the order given, each exactly as the object writes
// itself into a document (version and type id first, so that a reader can recreate the
// class). Nothing else: no count, no header, no view or zoom.

// The records of the objects; false (and no bytes) when one of them cannot be written.
bool WriteClipboardRecords(std::span<const CBaseCom* const> objects, std::vector<uint8_t>& out);

struct PastedRecords {
    std::vector<std::unique_ptr<CBaseCom>> objects; // in reading order
    // Why the reading ended before the bytes did; empty when every byte was read.
    std::string error;
};

// Reads records until the bytes end or a record cannot be read: the objects before a
// damaged record are kept, the damaged one and everything after it are dropped. Every
// read is bounded by the bytes given, whatever they hold.
PastedRecords ReadClipboardRecords(std::span<const uint8_t> bytes);

// Pasted objects keep their arrangement and land with their common top-left corner
// kOffset units right of and below origin (the document point at the window's top-left).
// Frames that would leave the coordinate range stop at its edge instead of wrapping.
constexpr int32_t kPasteOffset = 200;
void PlacePasted(std::span<const std::unique_ptr<CBaseCom>> objects, Point origin);

} // namespace figures
