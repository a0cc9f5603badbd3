// Feeds arbitrary bytes to the document reader. Whatever reads successfully must write
// back to bytes that read again; from then on writing and reading are a fixed point.
// (The first write may differ from the input: a reader normalises, for instance a
// custom shape whose stored record refuses items gets the empty program.)
#include "figures/model/document.h"
#include "figures/model/documentformat.h"

#include <cstdlib>

namespace {

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
    const std::vector<uint8_t> first = Rewrite(figures::WriteDocument(document));
    if (Rewrite(first) != first) {
        std::abort();
    }
    return 0;
}
