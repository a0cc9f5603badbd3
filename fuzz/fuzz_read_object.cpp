// Feeds arbitrary bytes to the single-object reader used by the clipboard and object
// copies. A read object must write a record that reads back; from then on writing and
// reading are a fixed point.
#include "figures/model/objectregistry.h"

#include <cstdlib>

namespace {

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
    const std::vector<uint8_t> first = Rewrite(figures::WriteObject(*read.object));
    if (Rewrite(first) != first) {
        std::abort();
    }
    return 0;
}
