#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace figures {

// Raised inside the readers and writers of the document format; it never leaves
// the public entry points (ReadDocument, ReadObject, CopyObject), which turn it
// into a result with a readable message.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The data ends before the record it holds does: a read past the end, or a count or
// length that the bytes left cannot hold. A document cut short (an interrupted save or
// copy) fails this way; unlike a record that is merely not understood, it cannot be
// skipped without losing what the cut took, so readers report it.
class TruncatedDataError : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// A little-endian byte archive over memory: either storing into its own buffer or
// loading from a caller's buffer that must outlive it. Every read is bounded: asking
// for more bytes than remain or a count that cannot fit the bytes left raises
// TruncatedDataError, nesting deeper than kMaxNesting raises ArchiveError, instead of
// reading past the buffer or allocating without bound.
class CArchive {
public:
    // Groups nest objects inside objects; a few hundred levels is far beyond any
    // drawing, and the bound keeps a hostile document from exhausting the stack.
    static constexpr int kMaxNesting = 256;

    CArchive();                                       // storing
    explicit CArchive(std::span<const uint8_t> data); // loading

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    // Loading.
    uint8_t ReadU8()
    {
        Need(1);
        return data_[pos_++];
    }
    uint16_t ReadU16()
    {
        Need(2);
        const uint16_t v = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    int16_t ReadI16() { return int16_t(ReadU16()); }
    uint32_t ReadU32()
    {
        Need(4);
        const uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                           uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    int32_t ReadI32() { return int32_t(ReadU32()); }
    void ReadBytes(std::span<uint8_t> out);
    // n bytes as a view into the loaded buffer; n is checked against the bytes left.
    std::span<const uint8_t> ReadView(size_t n);
    // An i32 byte count then the bytes; a count of 0 or less is the empty string.
    std::string ReadString();
    // A u16 count (or 0xFFFF and a u32 count) then that many strings.
    std::vector<std::string> ReadStringList();
    void Skip(size_t n);
    size_t Remaining() const { return data_.size() - pos_; }

    // Storing.
    // Makes room for n more bytes at once, so that writing a document of known size
    // copies its bytes once instead of at every doubling of the buffer.
    void Reserve(size_t n);
    void WriteU8(uint8_t v) { Append(&v, 1); }
    void WriteU16(uint16_t v)
    {
        const uint8_t bytes[2] = {uint8_t(v), uint8_t(v >> 8)};
        Append(bytes, 2);
    }
    void WriteI16(int16_t v) { WriteU16(uint16_t(v)); }
    void WriteU32(uint32_t v)
    {
        const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16),
                                  uint8_t(v >> 24)};
        Append(bytes, 4);
    }
    void WriteI32(int32_t v) { WriteU32(uint32_t(v)); }
    void WriteBytes(std::span<const uint8_t> bytes);
    void WriteString(const std::string& s);
    void WriteStringList(const std::vector<std::string>& list);
    void WriteZeros(size_t n);
    std::span<const uint8_t> Bytes() const { return {out_.data(), used_}; }
    // The stored bytes; the archive is empty afterwards.
    std::vector<uint8_t> TakeBytes();

    // Position in the loaded buffer, or the number of bytes stored so far.
    size_t Position() const { return storing_ ? used_ : pos_; }
    // Returns a loading archive to an earlier position.
    void Seek(size_t pos);

    // Counts nesting levels for as long as it lives; raises ArchiveError when the
    // archive is already kMaxNesting levels deep.
    class NestingGuard {
    public:
        explicit NestingGuard(CArchive& ar);
        ~NestingGuard() { --ar_.depth_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        CArchive& ar_;
    };

private:
    // Every read and write of a field is inlined down to one bounds check and a copy:
    // a document of 100 000 shapes makes some ten million of them.
    void Need(size_t n) const
    {
        if (storing_ || n > data_.size() - pos_) [[unlikely]] {
            FailRead();
        }
    }
    [[noreturn]] void FailRead() const;
    void Append(const uint8_t* bytes, size_t n)
    {
        if (n > out_.size() - used_) [[unlikely]] {
            Grow(n);
        }
        std::memcpy(out_.data() + used_, bytes, n);
        used_ += n;
    }
    // Makes room for n more bytes behind the used ones, at least doubling the buffer.
    void Grow(size_t n);

    bool storing_;
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    // Storing: out_ is the buffer, of which the first used_ bytes are written.
    std::vector<uint8_t> out_;
    size_t used_ = 0;
    int depth_ = 0;
};

} // namespace figures
