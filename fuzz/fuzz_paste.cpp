// Feeds arbitrary bytes to the reader of pasted clipboard data, then places the objects
// as a paste does. Whatever was read must write records that read back to the same
// number of objects, and reading those again must give the same bytes.
#include "figures/model/objects/cbasecom.h"
#include "figures/view/clipboardrecords.h"

#include <cstdlib>
#include <cstring>

namespace {

std::vector<uint8_t> Records(const figures::PastedRecords& pasted)
{
    std::vector<const figures::CBaseCom*> objects;
    for (const auto& object : pasted.objects) {
        objects.push_back(object.get());
    }
    std::vector<uint8_t> bytes;
    if (!figures::WriteClipboardRecords(objects, bytes)) {
        std::abort(); // objects that were read can always be written
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    figures::PastedRecords pasted = figures::ReadClipboardRecords({data, size});
    if (pasted.objects.empty()) {
        return 0;
    }
    // The scroll origin comes from the first bytes, so that far places are tried too.
    figures::Point origin;
    if (size >= 8) {
        std::memcpy(&origin.x, data, 4);
        std::memcpy(&origin.y, data + 4, 4);
    }
    figures::PlacePasted(pasted.objects, origin);

    const std::vector<uint8_t> first = Records(pasted);
    const figures::PastedRecords again = figures::ReadClipboardRecords(first);
    if (again.objects.size() != pasted.objects.size() || !again.error.empty()) {
        std::abort();
    }
    // A record may normalise once on its first round trip; after that it is stable.
    const std::vector<uint8_t> second = Records(again);
    const figures::PastedRecords third = figures::ReadClipboardRecords(second);
    if (Records(third) != second) {
        std::abort();
    }
    return 0;
}
