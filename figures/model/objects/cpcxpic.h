#pragma once

#include "figures/render/geometry.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace figures {

class CArchive;
class DrawContext;

// A monochrome bitmap: width and height in pixels and rows of bits padded to 16-bit
// words, a set bit being ink. The bits are turned into an image once, whenever they
// change; bits too few for the size draw nothing but stay in the document.
// Stored form: u16 magic "XP" (0x5058), i32 byte count (0 = none, nothing follows),
// then i32 width, i32 height and the bytes.
class CPCXPic {
public:
    static constexpr uint16_t kMagic = 0x5058;

    bool IsEmpty() const { return bits_.empty(); }
    const std::vector<uint8_t>& Bits() const { return bits_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void Set(int32_t width, int32_t height, std::vector<uint8_t> bits);
    void Clear();

    // The bitmap with set bits in black and clear bits transparent; null when the size
    // and the bits do not make a bitmap.
    const QImage& Image() const { return image_; }

    // Draws the bitmap with its top-left at the document point: at its pixel size when
    // both scales (per mille) are 1000, else stretched by them. Set bits come out in black
    // ink, the rest leaves what is beneath ("destination AND NOT source"). False without
    // a bitmap.
    bool Draw(const DrawContext& dc, Point topLeft, int32_t scaleX, int32_t scaleY) const;

    void Serialize(CArchive& ar);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> bits_;
    QImage image_;
};

} // namespace figures
