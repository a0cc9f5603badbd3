// Replaces the global operator new and delete of every test program that links the
// support library; without a live AllocationLimit on the calling thread they are plain
// malloc and free.
#include "support/allocationlimit.h"

#include <cstdlib>
#include <new>

namespace {

thread_local size_t tLimit = 0; // 0: no limit on this thread
thread_local size_t tLargest = 0;
thread_local size_t tRefused = 0;
thread_local size_t tRequests = 0;

void* Allocate(size_t bytes)
{
    if (tLimit != 0) {
        ++tRequests;
        if (bytes > tLargest) {
            tLargest = bytes;
        }
        if (bytes > tLimit) {
            ++tRefused;
            throw std::bad_alloc();
        }
    }
    if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t bytes)
{
    return Allocate(bytes);
}

void* operator new[](size_t bytes)
{
    return Allocate(bytes);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}

namespace testsupport {

AllocationLimit::AllocationLimit(size_t limitBytes)
{
    tLimit = limitBytes;
    tLargest = 0;
    tRefused = 0;
    tRequests = 0;
}

AllocationLimit::~AllocationLimit()
{
    tLimit = 0;
}

size_t AllocationLimit::Largest() const
{
    return tLargest;
}

size_t AllocationLimit::Refused() const
{
    return tRefused;
}

size_t AllocationLimit::Requests() const
{
    return tRequests;
}

} // namespace testsupport
