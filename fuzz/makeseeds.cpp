// Writes the seed corpora of the fuzz targets into DIR/document and DIR/object.
#include "tools/makesample/sampledocument.h"

#include "figures/model/objects/ccmbobj.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/objects/objectregistry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void WriteSeed(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: makeseeds DIR\n", stderr);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "document");
    std::filesystem::create_directories(root / "object");

    figures::Document sample;
    makesample::BuildSampleDocument(sample);
    WriteSeed(root / "document" / "sample", figures::WriteDocument(sample));
    figures::Document empty;
    WriteSeed(root / "document" / "empty", figures::WriteDocument(empty));

    int n = 0;
    for (int v = 0; v < sample.ViewCount(); ++v) {
        for (const auto& object : sample.ViewAt(v)->objects) {
            WriteSeed(root / "object" / ("object" + std::to_string(n++)),
                      figures::WriteObject(*object));
        }
    }
    return 0;
}
