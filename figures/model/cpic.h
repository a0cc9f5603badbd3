#pragma once

#include <cstdint>
#include <vector>

namespace figures {

class CArchive;

// A picture held as the complete image file (bitmap, JPEG, GIF, Windows or enhanced
// metafile, icon or cursor), kept byte for byte so that documents round-trip it
// unchanged. Stored form: u16 magic "GI" (0x4947), i32 byte count (0 = none), bytes.
class CPic {
public:
    static constexpr uint16_t kMagic = 0x4947;

    bool IsEmpty() const { return bytes_.empty(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    void SetBytes(std::vector<uint8_t> bytes) { bytes_ = std::move(bytes); }
    void Clear() { bytes_.clear(); }

    // Raises ArchiveError on a wrong magic, a negative count or truncated data.
    void Serialize(CArchive& ar);

private:
    std::vector<uint8_t> bytes_;
};

} // namespace figures
