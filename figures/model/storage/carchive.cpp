#include "figures/model/storage/carchive.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace figures {

CArchive::CArchive() : storing_(true) {}

CArchive::CArchive(std::span<const uint8_t> data) : storing_(false), data_(data) {}

void CArchive::FailRead() const
{
    if (storing_) {
        throw ArchiveError("archive is not open for loading");
    }
    throw TruncatedDataError("unexpected end of data");
}

void CArchive::ReadBytes(std::span<uint8_t> out)
{
    const std::span<const uint8_t> in = ReadView(out.size());
    std::copy(in.begin(), in.end(), out.begin());
}

std::span<const uint8_t> CArchive::ReadView(size_t n)
{
    Need(n);
    const std::span<const uint8_t> view = data_.subspan(pos_, n);
    pos_ += n;
    return view;
}

std::string CArchive::ReadString()
{
    const int32_t count = ReadI32();
    if (count <= 0) {
        return {};
    }
    const std::span<const uint8_t> bytes = ReadView(size_t(count));
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> CArchive::ReadStringList()
{
    uint32_t count = ReadU16();
    if (count == 0xFFFF) {
        count = ReadU32();
    }
    // Every string takes at least its 4-byte count, so a larger count cannot be
    // genuine; refusing it here keeps a hostile count from reserving gigabytes.
    if (count > Remaining() / 4) {
        throw TruncatedDataError("string list count exceeds the data");
    }
    std::vector<std::string> list;
    list.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        list.push_back(ReadString());
    }
    return list;
}

void CArchive::Skip(size_t n)
{
    Need(n);
    pos_ += n;
}

void CArchive::Seek(size_t pos)
{
    if (storing_ || pos > data_.size()) {
        throw ArchiveError("seek outside the data");
    }
    pos_ = pos;
}

void CArchive::Reserve(size_t n)
{
    if (storing_ && n > out_.size() - used_) {
        out_.resize(used_ + n);
    }
}

void CArchive::Grow(size_t n)
{
    out_.resize(std::max(used_ + n, 2 * out_.size()));
}

std::vector<uint8_t> CArchive::TakeBytes()
{
    out_.resize(used_);
    used_ = 0;
    return std::move(out_);
}

void CArchive::WriteBytes(std::span<const uint8_t> bytes)
{
    if (!bytes.empty()) {
        Append(bytes.data(), bytes.size());
    }
}

void CArchive::WriteString(const std::string& s)
{
    if (s.size() > size_t(std::numeric_limits<int32_t>::max())) {
        throw ArchiveError("string too long to store");
    }
    WriteI32(int32_t(s.size()));
    WriteBytes({reinterpret_cast<const uint8_t*>(s.data()), s.size()});
}

void CArchive::WriteStringList(const std::vector<std::string>& list)
{
    if (list.size() < 0xFFFF) {
        WriteU16(uint16_t(list.size()));
    } else {
        if (list.size() > std::numeric_limits<uint32_t>::max()) {
            throw ArchiveError("string list too long to store");
        }
        WriteU16(0xFFFF);
        WriteU32(uint32_t(list.size()));
    }
    for (const std::string& s : list) {
        WriteString(s);
    }
}

void CArchive::WriteZeros(size_t n)
{
    if (n > out_.size() - used_) {
        Grow(n);
    }
    std::memset(out_.data() + used_, 0, n);
    used_ += n;
}

CArchive::NestingGuard::NestingGuard(CArchive& ar) : ar_(ar)
{
    if (ar_.depth_ >= kMaxNesting) {
        throw ArchiveError("objects nested too deeply");
    }
    ++ar_.depth_;
}

} // namespace figures
