#pragma once

#include <cstdint>
#include <span>

namespace figures {

class MetafileCanvas;

// The text records of enhanced metafiles. Each takes the whole record (type and size
// included), since the string and the advances lie at offsets counted from its start.

// UTF-16 strings (wide) or one-byte strings in the font's character set.
void PlayExtTextOut(MetafileCanvas& canvas, std::span<const uint8_t> record, bool wide);
// The compact form: no advances, the string in UTF-16 or, with the small-characters
// option, one byte a character.
void PlaySmallTextOut(MetafileCanvas& canvas, std::span<const uint8_t> record);

} // namespace figures
