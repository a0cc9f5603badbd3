#pragma once

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;

// Plays the records of an enhanced metafile (the whole file, header record first) onto a
// canvas whose mapping the caller has set up. Each record's size is checked against the
// bytes left, and every offset and count inside a record against the record's own size,
// before anything is read; comments (EMF+ among them) and unknown records are skipped.
//
// True when playing reached the end record or the end of the bytes; false when a record
// claims more bytes than are left or fewer than its own header.
bool PlayEmfRecords(std::span<const uint8_t> file, MetafileCanvas& canvas);

} // namespace figures
