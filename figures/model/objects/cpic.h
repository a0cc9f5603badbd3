#pragma once

#include "figures/render/pictures/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace figures {

class CArchive;

// A picture held as the complete image file (bitmap, JPEG, GIF, Windows or enhanced
// metafile, icon or cursor), kept byte for byte so that documents round-trip it
// unchanged. Setting the bytes reads only the picture's header (the pixels are decoded
// when it is first drawn, see Picture). Bytes that are no picture keep their place in the
// document but draw nothing. Stored form: u16 magic "GI" (0x4947),
// i32 byte count (0 = none), bytes.
class CPic {
public:
    static constexpr uint16_t kMagic = 0x4947;

    bool IsEmpty() const { return bytes_.empty(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    void SetBytes(std::vector<uint8_t> bytes);
    void Clear();

    // The picture; empty when there are no bytes or their header does not read.
    const Picture& Decoded() const { return decoded_; }
    bool HasPicture() const { return !decoded_.IsEmpty(); }
    // The size the picture reports, HIMETRIC (0.01 mm); 0 without a picture.
    int32_t Width() const { return decoded_.WidthHimetric(); }
    int32_t Height() const { return decoded_.HeightHimetric(); }

    // Replaces the content with an image file. A path without a dot gets ".jpg"
    // appended. False, with the holder empty, when the path is empty, the file cannot be
    // read or is not a picture.
    bool LoadFile(const std::string& path);

    // Draws the picture (see Picture::Draw); false without a picture.
    bool Draw(const PictureDrawRequest& request) const { return decoded_.Draw(request); }

    // Raises ArchiveError on a wrong magic, a negative count or truncated data. Bytes
    // that read but do not decode leave the picture empty; reading goes on.
    void Serialize(CArchive& ar);

private:
    std::vector<uint8_t> bytes_;
    Picture decoded_;
};

} // namespace figures
