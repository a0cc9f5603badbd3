#include "figures/model/storage/filebytes.h"

#include "figures/model/storage/mappingguard.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/stat.h>
#define VELKOR_HAS_FSTAT 1
#endif

namespace figures {

namespace {

// Streams are read in pieces of this size; the buffer doubles as they fill it.
constexpr int64_t kStreamPiece = 64 * 1024;

} // namespace

FileBytes::FileBytes(const QString& path, uint64_t maxBytes, Way way,
                     std::span<const uint8_t> signature)
    : file_(std::make_unique<QFile>(path))
{
    if (QFileInfo(path).isDir()) {
        Fail("cannot open", QStringLiteral("it is a folder"));
        return;
    }
    if (!file_->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        Fail("cannot open", file_->errorString());
        return;
    }
    opened_ = CurrentStamp();
    // A size the system does not know (a pipe, a device, a /proc file) reads as 0; such
    // files are streamed to their end.
    const int64_t size = opened_.regular ? opened_.size : 0;
    if (uint64_t(size) > maxBytes) {
        Fail("cannot read", QStringLiteral("it is longer than %1 bytes").arg(maxBytes));
        return;
    }
    if (size > 0 && way == Way::MapWherePossible && TryMap(size)) {
        return;
    }
    if (size > 0) {
        ReadExactly(size);
    } else {
        ReadStream(maxBytes, signature);
    }
}

FileBytes::~FileBytes()
{
    // The guard goes before the mapping it watches; the file unmaps when it closes.
    guard_.reset();
}

bool FileBytes::Changed() const
{
    if (guard_ && guard_->Faulted()) {
        return true;
    }
    return Ok() && opened_.regular && CurrentStamp() != opened_;
}

FileBytes::Stamp FileBytes::CurrentStamp() const
{
    Stamp stamp;
#ifdef VELKOR_HAS_FSTAT
    // Asked of the open file, not of its name: a file renamed over the name later is not
    // the one whose bytes we hold.
    struct stat status {};
    if (fstat(file_->handle(), &status) == 0) {
        stamp.regular = S_ISREG(status.st_mode);
        stamp.size = int64_t(status.st_size);
#ifdef __APPLE__
        stamp.modifiedSeconds = int64_t(status.st_mtimespec.tv_sec);
        stamp.modifiedNanoseconds = int64_t(status.st_mtimespec.tv_nsec);
#else
        stamp.modifiedSeconds = int64_t(status.st_mtim.tv_sec);
        stamp.modifiedNanoseconds = int64_t(status.st_mtim.tv_nsec);
#endif
    }
#else
    const QFileInfo info(file_->fileName());
    stamp.regular = info.isFile() && !file_->isSequential();
    stamp.size = info.size();
    stamp.modifiedNanoseconds = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

// Maps the first size bytes, the file's length when it was opened. A mapping may still
// fail (a file system without mappings, an address space too small); the caller then
// reads instead.
bool FileBytes::TryMap(int64_t size)
{
    if (uint64_t(size) > uint64_t(SIZE_MAX)) {
        return false;
    }
    const uchar* at = file_->map(0, size);
    if (at == nullptr) {
        return false;
    }
    guard_ = std::make_unique<MappingGuard>(at, size_t(size));
    if (!guard_->Active() && MappingGuard::Needed()) {
        // Without a guard a cut file would end the process; the read is the safe way.
        guard_.reset();
        file_->unmap(const_cast<uchar*>(at));
        return false;
    }
    bytes_ = {at, size_t(size)};
    mapped_ = true;
    return true;
}

// Reads the size bytes the file had when it was opened. Fewer bytes mean the file was cut
// meanwhile, which Changed() reports; the bytes read stay.
void FileBytes::ReadExactly(int64_t size)
{
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(size_t(size));
    int64_t got = 0;
    while (got < size) {
        const qint64 piece = file_->read(reinterpret_cast<char*>(buffer_.get()) + got, size - got);
        if (piece < 0) {
            Fail("cannot read", file_->errorString());
            return;
        }
        if (piece == 0) {
            break;
        }
        got += piece;
    }
    bytes_ = {buffer_.get(), size_t(got)};
}

void FileBytes::ReadStream(uint64_t maxBytes, std::span<const uint8_t> signature)
{
    int64_t capacity = 0;
    int64_t got = 0;
    for (;;) {
        if (capacity - got < kStreamPiece) {
            // Never more than one piece past the most that is accepted.
            const int64_t grown = std::min<int64_t>(
                std::max<int64_t>(capacity * 2, kStreamPiece),
                int64_t(std::min<uint64_t>(maxBytes, INT64_MAX / 4)) + kStreamPiece);
            auto bigger = std::make_unique_for_overwrite<uint8_t[]>(size_t(grown));
            if (got > 0) {
                std::memcpy(bigger.get(), buffer_.get(), size_t(got));
            }
            buffer_ = std::move(bigger);
            capacity = grown;
        }
        const qint64 piece =
            file_->read(reinterpret_cast<char*>(buffer_.get()) + got, capacity - got);
        if (piece < 0) {
            Fail("cannot read", file_->errorString());
            return;
        }
        if (piece == 0) {
            break;
        }
        const bool startSeen =
            got < int64_t(signature.size()) && piece + got >= int64_t(signature.size());
        got += piece;
        if (startSeen && !std::equal(signature.begin(), signature.end(), buffer_.get())) {
            break;
        }
        if (uint64_t(got) > maxBytes) {
            Fail("cannot read", QStringLiteral("it is longer than %1 bytes").arg(maxBytes));
            return;
        }
    }
    bytes_ = {buffer_.get(), size_t(got)};
}

void FileBytes::Fail(const char* what, const QString& reason)
{
    error_ = QStringLiteral("%1 %2: %3")
                 .arg(QLatin1String(what), file_->fileName(), reason)
                 .toStdString();
    bytes_ = {};
    buffer_.reset();
}

} // namespace figures
