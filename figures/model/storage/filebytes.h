#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class QFile;

namespace figures {

class MappingGuard;

// The whole content of a file as one span of bytes, for readers that parse in place.
//
// A regular file is mapped into memory where the system allows it, so its bytes are neither
// copied nor zero-filled first; whatever cannot be mapped (a pipe, a device, a file the system
// reports as empty such as those under /proc) is read in one pass instead. Both ways give
// the same bytes.
//
// Another program may cut or rewrite the file while it is open. Mapped pages lost to a cut
// read as zero bytes instead of ending the process (see MappingGuard); either way Changed()
// then says that the bytes are not the file as it was when it was opened, and whatever was
// made of them should be thrown away.
class FileBytes {
public:
    enum class Way {
        MapWherePossible,
        Read, // always one pass of reads into memory of our own
    };

    // Opens path and takes its bytes. A file (or stream) longer than maxBytes is refused
    // rather than read, so that a huge input costs nothing. A stream whose first bytes
    // differ from signature is read no further: Bytes() then holds only those first bytes,
    // enough for the reader to say what it is not, so an endless stream of something else
    // (a device full of zeros) is turned down at once.
    FileBytes(const QString& path, uint64_t maxBytes, Way way = Way::MapWherePossible,
              std::span<const uint8_t> signature = {});
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool Ok() const { return error_.empty(); }
    // Why the bytes could not be had, naming the file; empty when Ok().
    const std::string& Error() const { return error_; }
    // The file's bytes; valid while this object lives, empty when not Ok().
    std::span<const uint8_t> Bytes() const { return bytes_; }
    bool Mapped() const { return mapped_; }
    // True when the file was cut or rewritten since it was opened, as far as the system
    // tells: a mapped page that had to be replaced by zeros, or a new size or modification
    // time of a regular file. Streams never report a change.
    bool Changed() const;

private:
    struct Stamp {
        bool regular = false;
        int64_t size = -1;
        int64_t modifiedSeconds = 0;
        int64_t modifiedNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };

    Stamp CurrentStamp() const;
    bool TryMap(int64_t size);
    void ReadExactly(int64_t size);
    void ReadStream(uint64_t maxBytes, std::span<const uint8_t> signature);
    void Fail(const char* what, const QString& reason);

    std::unique_ptr<QFile> file_;
    std::unique_ptr<uint8_t[]> buffer_;
    std::unique_ptr<MappingGuard> guard_;
    std::span<const uint8_t> bytes_;
    Stamp opened_;
    bool mapped_ = false;
    std::string error_;
};

} // namespace figures
