// Reading and writing a generated document of 100 000 shape objects. Reports bytes
// per second and objects per second.
#include "figures/model/objects/crichgraph.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kObjects = 100000;

// Shapes of many catalogue entries on a grid, a tenth of them adjusted (with their own
// program and handle copies) and a tenth custom, as in a large real drawing.
const figures::Document& LargeDocument()
{
    static figures::Document document = [] {
        figures::Document d;
        figures::View& view = *d.ViewAt(0);
        for (int i = 0; i < kObjects; ++i) {
            const int x = (i % 300) * 120;
            const int y = (i / 300) * 120;
            const int entry = i % 10 == 9 ? figures::CRichGraph::kCustomShape : i % 110;
            view.AddNewShape(entry, nullptr);
            figures::CBaseCom& shape = *view.objects.back();
            shape.frame = {x, y, x + 100, y + 100};
            shape.angle = (i * 7) % 3600;
        }
        return d;
    }();
    return document;
}

void BM_WriteDocument(benchmark::State& state)
{
    const figures::Document& document = LargeDocument();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> written = figures::WriteDocument(document);
        bytes = written.size();
        benchmark::DoNotOptimize(written.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetItemsProcessed(int64_t(state.iterations()) * kObjects);
}
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond);

void BM_ReadDocument(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = figures::WriteDocument(LargeDocument());
    for (auto _ : state) {
        figures::Document document;
        const auto result = figures::ReadDocument(bytes, document);
        if (!result.ok) {
            state.SkipWithError("the generated document did not read back");
            break;
        }
        benchmark::DoNotOptimize(document.ViewCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.SetItemsProcessed(int64_t(state.iterations()) * kObjects);
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
