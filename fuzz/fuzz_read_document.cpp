// Feeds arbitrary bytes to the document reader. Whatever reads successfully must write
// back to bytes that read again, and repeated writing and reading must settle on a fixed
// point within a few rounds. (A round may change damaged input: a custom shape whose
// stored record refuses items gets the empty program, a damaged item list is repaired
// when an item is set.)
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"

#include <cstdlib>

namespace {

constexpr int kRoundsToSettle = 4;

std::vector<uint8_t> Rewrite(std::span<const uint8_t> bytes)
{
    figures::Document document;
    if (!figures::ReadDocument(bytes, document).ok) {
        std::abort(); // our own writing must always read back
    }
    return figures::WriteDocument(document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    figures::Document document;
    if (!figures::ReadDocument({data, size}, document).ok) {
        return 0;
    }
    std::vector<uint8_t> previous = figures::WriteDocument(document);
    for (int round = 0; round < kRoundsToSettle; ++round) {
        std::vector<uint8_t> next = Rewrite(previous);
        if (next == previous) {
            return 0;
        }
        previous = std::move(next);
    }
    std::abort();
}
