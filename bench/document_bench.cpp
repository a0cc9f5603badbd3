// Reading and writing a generated document of 10 000 and 100 000 shape objects. Reports bytes
// per second and objects per second.
#include "figures/model/objects/crichgraph.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/storage/filebytes.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

// Shapes of many catalogue entries on a grid, a tenth of them adjusted (with their own
// program and handle copies) and a tenth custom, as in a large real drawing.
figures::Document& LargeDocument(int count)
{
    static std::map<int, figures::Document> documents;
    const auto [at, inserted] = documents.try_emplace(count);
    if (inserted) {
        figures::View& view = *at->second.ViewAt(0);
        for (int i = 0; i < count; ++i) {
            const int x = (i % 300) * 120;
            const int y = (i / 300) * 120;
            const int entry = i % 10 == 9 ? figures::CRichGraph::kCustomShape : i % 110;
            view.AddNewShape(entry, nullptr);
            figures::CBaseCom& shape = *view.objects.back();
            shape.frame = {x, y, x + 100, y + 100};
            shape.angle = (i * 7) % 3600;
        }
    }
    return at->second;
}

void BM_WriteDocument(benchmark::State& state)
{
    const figures::Document& document = LargeDocument(int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> written = figures::WriteDocument(document);
        bytes = written.size();
        benchmark::DoNotOptimize(written.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_WriteDocument)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadDocument(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = figures::WriteDocument(LargeDocument(int(state.range(0))));
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
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ReadDocument)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Opening the document from a file, as vkdtool does: range(1) 0 maps the file, 1 reads it
// into memory of its own; either way the bytes are parsed in place.
void BM_OpenDocumentFile(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = figures::WriteDocument(LargeDocument(int(state.range(0))));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.vkd"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
            qint64(bytes.size())) {
        state.SkipWithError("cannot write the generated document");
        return;
    }
    file.close();
    const auto way = state.range(1) == 0 ? figures::FileBytes::Way::MapWherePossible
                                         : figures::FileBytes::Way::Read;
    for (auto _ : state) {
        const figures::FileBytes opened(path, bytes.size(), way);
        figures::Document document;
        if (!opened.Ok() || !figures::ReadDocument(opened.Bytes(), document).ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
        benchmark::DoNotOptimize(document.ViewCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_OpenDocumentFile)
    ->ArgNames({"objects", "read"})
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
