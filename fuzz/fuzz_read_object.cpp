// Feeds arbitrary bytes to the single-object reader used by the clipboard and object
// copies. A read object must write a record that reads back whole, and repeated writing
// and reading must settle on a fixed point within a few rounds.
#include "figures/model/objects/objectregistry.h"

#include <cstdlib>

namespace {

constexpr int kRoundsToSettle = 4;

std::vector<uint8_t> Rewrite(const std::vector<uint8_t>& bytes)
{
    figures::CArchive ar(bytes);
    const figures::ReadObjectResult read = figures::ReadObject(ar);
    if (!read.object || ar.Remaining() != 0) {
        std::abort(); // our own record must read back whole
    }
    return figures::WriteObject(*read.object);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    figures::CArchive ar({data, size});
    const figures::ReadObjectResult read = figures::ReadObject(ar);
    if (!read.object) {
        return 0;
    }
    std::vector<uint8_t> previous = figures::WriteObject(*read.object);
    for (int round = 0; round < kRoundsToSettle; ++round) {
        std::vector<uint8_t> next = Rewrite(previous);
        if (next == previous) {
            return 0;
        }
        previous = std::move(next);
    }
    std::abort();
}
