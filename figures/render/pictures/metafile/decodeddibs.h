#pragma once

#include "figures/render/pictures/metafile/dibimage.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace figures {

// The bitmaps decoded during one playing of a metafile, by their bytes, so that a file that
// transfers one bitmap many times has it decoded (and charged to the playing's pixel
// budget) once. The bytes are the metafile's own and must outlive the playing; what is
// kept is bounded by kMaxKept bitmaps and kMaxDibPixels pixels, the oldest going first.
class DecodedDibs {
public:
    static constexpr size_t kMaxKept = 16;

    // The bitmap of these bytes decoded earlier, or what decode() gives, kept when it is
    // not null. info and bits are compared byte for byte.
    Dib Find(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
             bool premultipliedAlpha, int32_t shrink, const std::function<Dib()>& decode);

private:
    struct Kept {
        std::span<const uint8_t> info;
        std::span<const uint8_t> bits;
        uint32_t usage = 0;
        bool premultipliedAlpha = false;
        int32_t shrink = 1;
        Dib dib;
    };

    std::vector<Kept> kept_;
    uint64_t keptPixels_ = 0;
};

} // namespace figures
