#pragma once

#include <cstdint>
#include <vector>

namespace figures {

class CArchive;

// A monochrome bitmap: width and height in pixels and rows of bits padded to 16-bit
// words. Stored form: u16 magic "XP" (0x5058), i32 byte count (0 = none, nothing
// follows), then i32 width, i32 height and the bytes.
class CPCXPic {
public:
    static constexpr uint16_t kMagic = 0x5058;

    bool IsEmpty() const { return bits_.empty(); }
    const std::vector<uint8_t>& Bits() const { return bits_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void Set(int32_t width, int32_t height, std::vector<uint8_t> bits);
    void Clear();

    void Serialize(CArchive& ar);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> bits_;
};

} // namespace figures
