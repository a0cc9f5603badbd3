#include "figures/model/objects/cpic.h"

#include "figures/model/storage/carchive.h"

#include <QFile>

namespace figures {

namespace {

// Image files larger than this are refused before reading; no picture format the
// program shows comes near it.
constexpr qint64 kMaxPictureFileBytes = qint64(256) * 1024 * 1024;

// Reads a byte count and checks it against what the archive still holds, so that a
// hostile count never turns into a huge allocation.
size_t ReadByteCount(CArchive& ar)
{
    const int32_t count = ar.ReadI32();
    if (count < 0) {
        throw ArchiveError("negative picture size");
    }
    if (size_t(count) > ar.Remaining()) {
        throw TruncatedDataError("picture size exceeds the data");
    }
    return size_t(count);
}

} // namespace

void CPic::SetBytes(std::vector<uint8_t> bytes)
{
    bytes_ = std::move(bytes);
    decoded_ = Picture::Read(bytes_);
}

void CPic::Clear()
{
    bytes_.clear();
    decoded_ = Picture();
}

bool CPic::LoadFile(const std::string& path)
{
    Clear();
    if (path.empty()) {
        return false;
    }
    // A name without any dot is taken as a JPEG file of that name with ".jpg" added.
    // The format itself is recognised from the bytes, so ".jpg" needs no other rule.
    // Screens below 8 bits per pixel, where JPEG pictures were refused, do not occur on
    // the platforms this runs on, so that refusal is not made.
    std::string name = path;
    if (name.find('.') == std::string::npos) {
        name += ".jpg";
    }
    QFile file(QString::fromLocal8Bit(name.data(), qsizetype(name.size())));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileBytes) {
        return false;
    }
    const QByteArray content = file.readAll();
    std::vector<uint8_t> bytes(content.begin(), content.end());
    Picture decoded = Picture::Read(bytes);
    // A file the user chooses is decoded at once (which also prepares its first drawing),
    // so that damaged data is refused here rather than drawing nothing later. A picture
    // too large to decode is taken: it shows that it is too large.
    if (decoded.IsEmpty() ||
        (!decoded.IsMetafile() && !decoded.TooLarge() && decoded.Image().isNull())) {
        return false;
    }
    bytes_ = std::move(bytes);
    decoded_ = std::move(decoded);
    return true;
}

void CPic::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU16(kMagic);
        ar.WriteI32(int32_t(bytes_.size()));
        ar.WriteBytes(bytes_);
        return;
    }
    Clear();
    if (ar.ReadU16() != kMagic) {
        throw ArchiveError("wrong picture magic");
    }
    const size_t count = ReadByteCount(ar);
    const auto view = ar.ReadView(count);
    SetBytes(std::vector<uint8_t>(view.begin(), view.end()));
}

} // namespace figures
