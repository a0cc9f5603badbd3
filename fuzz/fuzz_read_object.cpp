// Feeds arbitrary bytes to the single-object reader used by the clipboard and object
// copies. A read object must write back to a record that reads to the same bytes.
#include "figures/model/objectregistry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    figures::CArchive ar({data, size});
    const figures::ReadObjectResult read = figures::ReadObject(ar);
    if (!read.object) {
        return 0;
    }
    const std::vector<uint8_t> written = figures::WriteObject(*read.object);
    figures::CArchive again(written);
    const figures::ReadObjectResult reread = figures::ReadObject(again);
    if (!reread.object || figures::WriteObject(*reread.object) != written) {
        std::abort();
    }
    return 0;
}
