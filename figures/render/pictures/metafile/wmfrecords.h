#pragma once

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;

// Plays the records of a placeable metafile (the bytes after its two headers) onto a
// canvas whose mapping the caller has set up. Each record's size is checked against the
// bytes left before it is read; records the player does not know are skipped.
//
// True when playing reached the end record or the end of the bytes; false when a record
// claims more bytes than are left or fewer than its own header (what was drawn before it
// stays drawn).
bool PlayWmfRecords(std::span<const uint8_t> records, MetafileCanvas& canvas);

} // namespace figures
