#pragma once

#include <cstddef>

namespace testsupport {

// While one is alive, requests to operator new from its thread larger than the limit are
// refused with std::bad_alloc before any memory is taken, and the largest request is
// remembered, refused or not. Tests of hostile counts use it to see that a count is
// weighed against the data before anything is sized by it: a reader that trusts the count
// asks for the huge block, and the test sees that request even when the reader catches
// the failure.
class AllocationLimit {
public:
    explicit AllocationLimit(size_t limitBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // The largest single request since this limit was set, in bytes.
    size_t Largest() const;
    // How many requests were refused.
    size_t Refused() const;
    // How many requests were made, refused or not: with a limit no request reaches, a
    // count of the allocations a piece of code makes.
    size_t Requests() const;
};

} // namespace testsupport
