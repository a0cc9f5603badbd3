#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace figures {

// The 60-byte font record documents carry, kept byte for byte so that every byte
// written comes back unchanged. Layout: i32 height, width, escapement, orientation,
// weight; u8 italic, underline, strike-out, character set, output precision, clip
// precision, quality, pitch and family; 32 bytes of NUL-padded face name in GBK.
class LogFont {
public:
    static constexpr size_t kSize = 60;
    static constexpr size_t kFaceSize = 32;

    // Height -32, character set 1, output precision 7, quality 2, face "宋体".
    LogFont();

    int32_t Height() const { return I32(0); }
    int32_t Width() const { return I32(4); }
    int32_t Escapement() const { return I32(8); }
    int32_t Orientation() const { return I32(12); }
    int32_t Weight() const { return I32(16); }
    uint8_t Italic() const { return bytes[20]; }
    uint8_t Underline() const { return bytes[21]; }
    uint8_t StrikeOut() const { return bytes[22]; }
    uint8_t CharSet() const { return bytes[23]; }
    // The face name up to its first NUL, in GBK.
    std::string FaceName() const;

    void SetHeight(int32_t v) { SetI32(0, v); }
    void SetWidth(int32_t v) { SetI32(4, v); }
    void SetEscapement(int32_t v) { SetI32(8, v); }
    void SetOrientation(int32_t v) { SetI32(12, v); }
    void SetWeight(int32_t v) { SetI32(16, v); }
    void SetItalic(uint8_t v) { bytes[20] = v; }
    void SetUnderline(uint8_t v) { bytes[21] = v; }
    void SetStrikeOut(uint8_t v) { bytes[22] = v; }
    void SetCharSet(uint8_t v) { bytes[23] = v; }
    // Stores at most 31 bytes so that the name stays NUL-terminated.
    void SetFaceName(const std::string& gbk);

    std::array<uint8_t, kSize> bytes{};

    friend bool operator==(const LogFont&, const LogFont&) = default;

private:
    int32_t I32(size_t at) const;
    void SetI32(size_t at, int32_t v);
};

} // namespace figures
