#include "figures/model/objects/cpcxpic.h"

#include "figures/model/storage/carchive.h"
#include "figures/render/pictures/picture.h"

namespace figures {

void CPCXPic::Set(int32_t width, int32_t height, std::vector<uint8_t> bits)
{
    width_ = width;
    height_ = height;
    bits_ = std::move(bits);
    image_ = MonochromeImage(width_, height_, bits_);
}

bool CPCXPic::Draw(const DrawContext& dc, Point topLeft, int32_t scaleX, int32_t scaleY) const
{
    return DrawMonochrome(dc, image_, topLeft, scaleX, scaleY);
}

void CPCXPic::Clear()
{
    Set(0, 0, {});
}

void CPCXPic::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU16(kMagic);
        ar.WriteI32(int32_t(bits_.size()));
        if (!bits_.empty()) {
            ar.WriteI32(width_);
            ar.WriteI32(height_);
            ar.WriteBytes(bits_);
        }
        return;
    }
    Clear();
    if (ar.ReadU16() != kMagic) {
        throw ArchiveError("wrong bitmap magic");
    }
    const int32_t count = ar.ReadI32();
    if (count < 0) {
        throw ArchiveError("negative bitmap size");
    }
    if (count == 0) {
        return;
    }
    const int32_t width = ar.ReadI32();
    const int32_t height = ar.ReadI32();
    if (size_t(count) > ar.Remaining()) {
        throw TruncatedDataError("bitmap size exceeds the data");
    }
    const auto view = ar.ReadView(size_t(count));
    Set(width, height, std::vector<uint8_t>(view.begin(), view.end()));
}

} // namespace figures
