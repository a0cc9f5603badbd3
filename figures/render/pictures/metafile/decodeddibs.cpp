#include "figures/render/pictures/metafile/decodeddibs.h"

#include <algorithm>

namespace figures {

namespace {

bool SameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

uint64_t Pixels(const Dib& dib)
{
    return uint64_t(dib.image.width()) * uint64_t(dib.image.height());
}

} // namespace

Dib DecodedDibs::Find(std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t usage,
                      bool premultipliedAlpha, int32_t shrink, const std::function<Dib()>& decode)
{
    for (const Kept& kept : kept_) {
        if (kept.usage == usage && kept.premultipliedAlpha == premultipliedAlpha &&
            kept.shrink == shrink && SameBytes(kept.info, info) && SameBytes(kept.bits, bits)) {
            return kept.dib;
        }
    }
    Dib dib = decode();
    const uint64_t pixels = Pixels(dib);
    if (dib.image.isNull() || pixels > kMaxDibPixels) {
        return dib;
    }
    while (!kept_.empty() && (kept_.size() >= kMaxKept || keptPixels_ + pixels > kMaxDibPixels)) {
        keptPixels_ -= Pixels(kept_.front().dib);
        kept_.erase(kept_.begin());
    }
    kept_.push_back({info, bits, usage, premultipliedAlpha, shrink, dib});
    keptPixels_ += pixels;
    return dib;
}

} // namespace figures
