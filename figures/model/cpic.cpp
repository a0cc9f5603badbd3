#include "figures/model/cpic.h"

#include "figures/model/carchive.h"

namespace figures {

namespace {

// Reads a byte count and checks it against what the archive still holds, so that a
// hostile count never turns into a huge allocation.
size_t ReadByteCount(CArchive& ar)
{
    const int32_t count = ar.ReadI32();
    if (count < 0) {
        throw ArchiveError("negative picture size");
    }
    if (size_t(count) > ar.Remaining()) {
        throw ArchiveError("picture size exceeds the data");
    }
    return size_t(count);
}

} // namespace

void CPic::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU16(kMagic);
        ar.WriteI32(int32_t(bytes_.size()));
        ar.WriteBytes(bytes_);
        return;
    }
    bytes_.clear();
    if (ar.ReadU16() != kMagic) {
        throw ArchiveError("wrong picture magic");
    }
    const size_t count = ReadByteCount(ar);
    const auto view = ar.ReadView(count);
    bytes_.assign(view.begin(), view.end());
}

} // namespace figures
