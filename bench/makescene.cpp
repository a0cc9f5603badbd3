// Writes the benchmarks' mixed scene as a document, for measuring the command-line tool:
//   make_bench_scene OUT.vkd COUNT
#include "bench/benchscene.h"

#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv)
{
    const int count = argc == 3 ? std::atoi(argv[2]) : 0;
    if (count <= 0) {
        std::fputs("usage: make_bench_scene OUT.vkd COUNT\n", stderr);
        return 2;
    }
    figures::Document document;
    bench::FillMixedScene(*document.ViewAt(0), count);
    const std::vector<uint8_t> bytes = figures::WriteDocument(document);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_bench_scene: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
