#include "figures/render/text/logfont.h"
#include "figures/render/littleendian.h"

#include <algorithm>

namespace figures {

namespace {
constexpr size_t kFaceOffset = 28;
// "宋体" in GBK.
constexpr char kDefaultFace[] = "\xCB\xCE\xCC\xE5";
} // namespace

LogFont::LogFont()
{
    SetHeight(-32);
    SetCharSet(1);
    bytes[24] = 7; // output precision
    bytes[26] = 2; // quality
    SetFaceName(kDefaultFace);
}

std::string LogFont::FaceName() const
{
    const auto begin = bytes.begin() + kFaceOffset;
    return std::string(begin, std::find(begin, bytes.end(), uint8_t(0)));
}

void LogFont::SetFaceName(const std::string& gbk)
{
    std::fill(bytes.begin() + kFaceOffset, bytes.end(), uint8_t(0));
    const size_t n = std::min(gbk.size(), kFaceSize - 1);
    std::copy_n(gbk.begin(), n, bytes.begin() + kFaceOffset);
}

int32_t LogFont::I32(size_t at) const
{
    return LoadI32(&bytes[at]);
}

void LogFont::SetI32(size_t at, int32_t v)
{
    StoreI32(&bytes[at], v);
}

} // namespace figures
