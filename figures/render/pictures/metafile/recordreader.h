#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace figures {

// Reads the little-endian fields of one metafile record. A read past the end of the record
// yields zero and marks the reader failed, so a record handler reads all its fields and
// checks Ok() once before it acts on any of them; nothing is ever read outside the bytes
// it was given.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> bytes, size_t at = 0)
        : bytes_(bytes), at_(at <= bytes.size() ? at : bytes.size()), ok_(at <= bytes.size())
    {}

    bool Ok() const { return ok_; }
    size_t Position() const { return at_; }
    size_t Remaining() const { return bytes_.size() - at_; }

    // Whether count items of itemSize bytes each are left, for counts read from the file;
    // the product is formed in 64 bits so that no count can wrap it.
    bool Has(uint64_t count, uint64_t itemSize) const
    {
        if (itemSize != 0 && count > UINT64_MAX / itemSize) {
            return false;
        }
        return count * itemSize <= Remaining();
    }

    uint8_t U8() { return uint8_t(Load(1)); }
    uint16_t U16() { return uint16_t(Load(2)); }
    int16_t I16() { return int16_t(uint16_t(Load(2))); }
    uint32_t U32() { return uint32_t(Load(4)); }
    int32_t I32() { return int32_t(uint32_t(Load(4))); }
    float F32()
    {
        const uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    void Skip(size_t n)
    {
        if (n > Remaining()) {
            ok_ = false;
            at_ = bytes_.size();
            return;
        }
        at_ += n;
    }

    // The next n bytes, or an empty span (and a failed reader) when fewer are left.
    std::span<const uint8_t> Bytes(size_t n)
    {
        if (n > Remaining()) {
            ok_ = false;
            at_ = bytes_.size();
            return {};
        }
        const std::span<const uint8_t> out = bytes_.subspan(at_, n);
        at_ += n;
        return out;
    }

    // Everything from the current position to the end of the record.
    std::span<const uint8_t> Rest() const { return bytes_.subspan(at_); }
    // The whole record, for the offsets records give from their own start.
    std::span<const uint8_t> Record() const { return bytes_; }

private:
    uint32_t Load(size_t n)
    {
        if (n > Remaining()) {
            ok_ = false;
            at_ = bytes_.size();
            return 0;
        }
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) {
            v |= uint32_t(bytes_[at_ + i]) << (8 * i);
        }
        at_ += n;
        return v;
    }

    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

// The bytes [offset, offset + size) of a record when they lie wholly inside it, else an
// empty span; for the offset-and-size pairs that records carry (bitmaps, strings, arrays).
inline std::span<const uint8_t> SliceOf(std::span<const uint8_t> record, uint64_t offset,
                                        uint64_t size)
{
    if (offset > record.size() || size > record.size() - offset) {
        return {};
    }
    return record.subspan(size_t(offset), size_t(size));
}

} // namespace figures
