// Feeds arbitrary bytes to the document reader. Whatever reads successfully must write
// back to bytes that read again and write identically.
#include "figures/model/document.h"
#include "figures/model/documentformat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    figures::Document document;
    const auto read = figures::ReadDocument({data, size}, document);
    if (!read.ok) {
        return 0;
    }
    const std::vector<uint8_t> written = figures::WriteDocument(document);
    figures::Document again;
    if (!figures::ReadDocument(written, again).ok || figures::WriteDocument(again) != written) {
        std::abort();
    }
    return 0;
}
