#pragma once

#include <cstddef>

namespace figures {

// Keeps a read-only file mapping from killing the process when the file shrinks under it.
//
// A page of a mapping that lies past the end of its file raises a bus error when it is
// touched; another program that truncates or rewrites the file while we parse it can cause
// exactly that. While a guard lives, a bus error inside its range is answered by putting
// zero-filled memory over the rest of the range: the faulting read is retried and sees zero
// bytes, as does every later read of the lost part, and Faulted() becomes true so the caller
// can throw away what it read. Bus errors anywhere else go on to whoever handled them
// before (by default: the process ends, as it would have without the guard).
//
// At most kMaxGuards ranges are guarded at once; a guard that finds no free place guards
// nothing and says so through Active(). Guards only exist on systems with POSIX signals;
// elsewhere Active() is false and the system keeps a mapped file from being cut anyway.
class MappingGuard {
public:
    static constexpr int kMaxGuards = 32;

    MappingGuard(const void* begin, size_t size);
    ~MappingGuard();
    MappingGuard(const MappingGuard&) = delete;
    MappingGuard& operator=(const MappingGuard&) = delete;

    // True where a cut file makes its mapped pages fault, so that a mapping needs a guard.
    static bool Needed();

    bool Active() const { return slot_ >= 0; }
    // True once part of the range had to be replaced by zero bytes.
    bool Faulted() const;

private:
    int slot_ = -1;
};

} // namespace figures
