// Writes the bundled sample document to the path given on the command line.
#include "tools/makesample/sampledocument.h"

#include "figures/model/storage/documentformat.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: makesample OUT\n", stderr);
        return 2;
    }
    figures::Document document;
    makesample::BuildSampleDocument(document);
    const std::vector<uint8_t> bytes = figures::WriteDocument(document);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
