#include "figures/model/storage/mappingguard.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/mman.h>
#include <unistd.h>
#define VELKOR_GUARDS_MAPPINGS 1
#endif

namespace figures {

#ifdef VELKOR_GUARDS_MAPPINGS

namespace {

// One guarded range. The signal handler reads these while other threads may add or remove
// ranges, so they are lock-free atomics only: a range is published by storing its begin
// last and withdrawn by clearing its begin first.
struct GuardedRange {
    std::atomic<bool> taken{false};
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0};
    std::atomic<bool> faulted{false};
};

std::array<GuardedRange, MappingGuard::kMaxGuards> guardedRanges;
struct sigaction previousAction;
uintptr_t pageSize = 4096;

// Hands a bus error that is not ours to the handler that was there before.
void PassOn(int signal, siginfo_t* info, void* context)
{
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler == SIG_DFL || previousAction.sa_handler == SIG_IGN) {
        // Returning retries the faulting access, which now ends the process as it would
        // have without us.
        std::signal(signal, SIG_DFL);
        return;
    }
    previousAction.sa_handler(signal);
}

// Runs in signal context: touches only atomics and calls mmap, a plain system call.
void OnBusError(int signal, siginfo_t* info, void* context)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (GuardedRange& range : guardedRanges) {
        const uintptr_t begin = range.begin.load(std::memory_order_acquire);
        const uintptr_t end = range.end.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= end) {
            continue;
        }
        const uintptr_t page = address & ~(pageSize - 1);
        void* zeros = mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            range.faulted.store(true, std::memory_order_release);
            return;
        }
        break;
    }
    PassOn(signal, info, context);
}

void InstallHandler()
{
    pageSize = uintptr_t(sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &previousAction);
}

} // namespace

MappingGuard::MappingGuard(const void* begin, size_t size)
{
    if (begin == nullptr || size == 0) {
        return;
    }
    static std::once_flag installed;
    std::call_once(installed, InstallHandler);
    for (int i = 0; i < kMaxGuards; ++i) {
        GuardedRange& range = guardedRanges[size_t(i)];
        bool expected = false;
        if (range.taken.compare_exchange_strong(expected, true)) {
            const uintptr_t first = reinterpret_cast<uintptr_t>(begin);
            range.faulted.store(false, std::memory_order_relaxed);
            range.end.store(first + size, std::memory_order_release);
            range.begin.store(first, std::memory_order_release);
            slot_ = i;
            return;
        }
    }
}

MappingGuard::~MappingGuard()
{
    if (slot_ < 0) {
        return;
    }
    GuardedRange& range = guardedRanges[size_t(slot_)];
    range.begin.store(0, std::memory_order_release);
    range.end.store(0, std::memory_order_release);
    range.taken.store(false, std::memory_order_release);
}

bool MappingGuard::Faulted() const
{
    return slot_ >= 0 && guardedRanges[size_t(slot_)].faulted.load(std::memory_order_acquire);
}

bool MappingGuard::Needed()
{
    return true;
}

#else

bool MappingGuard::Needed()
{
    return false;
}

MappingGuard::MappingGuard(const void*, size_t) {}
MappingGuard::~MappingGuard() = default;
bool MappingGuard::Faulted() const
{
    return false;
}

#endif

} // namespace figures
