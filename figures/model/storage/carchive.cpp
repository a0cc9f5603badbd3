#include "figures/model/storage/carchive.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace figures {

CArchive::CArchive() : storing_(true) {}

CArchive::CArchive(std::span<const uint8_t> data) : storing_(false), data_(data) {}

void CArchive::Need(size_t n) const
{
    if (storing_) {
        throw ArchiveError("archive is not open for loading");
    }
    if (n > Remaining()) {
        throw TruncatedDataError("unexpected end of data");
    }
}

uint8_t CArchive::ReadU8()
{
    Need(1);
    return data_[pos_++];
}

uint16_t CArchive::ReadU16()
{
    Need(2);
    const uint16_t v = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
}

uint32_t CArchive::ReadU32()
{
    Need(4);
    const uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                       uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
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
    if (storing_) {
        out_.reserve(out_.size() + n);
    }
}

// Every write lands here: one size check and one copy instead of a push per byte.
void CArchive::Append(const uint8_t* bytes, size_t n)
{
    const size_t at = out_.size();
    out_.resize(at + n);
    std::memcpy(out_.data() + at, bytes, n);
}

void CArchive::WriteU8(uint8_t v)
{
    out_.push_back(v);
}

void CArchive::WriteU16(uint16_t v)
{
    const uint8_t bytes[2] = {uint8_t(v), uint8_t(v >> 8)};
    Append(bytes, 2);
}

void CArchive::WriteU32(uint32_t v)
{
    const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Append(bytes, 4);
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
    out_.insert(out_.end(), n, 0);
}

CArchive::NestingGuard::NestingGuard(CArchive& ar) : ar_(ar)
{
    if (ar_.depth_ >= kMaxNesting) {
        throw ArchiveError("objects nested too deeply");
    }
    ++ar_.depth_;
}

} // namespace figures
