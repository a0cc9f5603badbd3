// Opening and painting documents whose small picture files claim huge pixel counts: sixteen
// GIFs of thirty bytes that each claim 7000 x 7000 pixels (and the same padded with codes
// that give no pixel, and sixteen whose one-pixel image sits on a screen that large), and four
// placeable metafiles of a few kilobytes that each stretch an 8192 x 8192 run-length bitmap eight
// times. The time and memory of all stay bounded by the file and by the decoded-picture cache's
// budget.
//
//   picture_bench [benchmark flags]      runs the benchmarks (peak memory as a counter)
//   picture_bench --write DIR            writes claiming-gifs.vkd, padded-gifs.vkd,
//                                        small-image-gifs.vkd and runlength-wmf.vkd, for
//                                        measuring vkdtool info and render under time -v
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pictures/picturecache.h"
#include "tests/support/hostilepictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace figures;

std::vector<uint8_t> GifDocumentBytes()
{
    Document document;
    testsupport::BuildPictureDocument(document, testsupport::ClaimingGifs());
    return WriteDocument(document);
}

// The same sixteen pictures, each padded with forty kilobytes of clear codes: data enough
// to describe every pixel if it were pixels, yet it describes none.
std::vector<uint8_t> PaddedGifDocumentBytes()
{
    std::vector<testsupport::Bytes> gifs;
    for (int i = 0; i < 16; ++i) {
        gifs.push_back(testsupport::ClaimingGif(7000, 7000, uint8_t(i), 40000));
    }
    Document document;
    testsupport::BuildPictureDocument(document, gifs);
    return WriteDocument(document);
}

// Sixteen GIFs whose single pixel lies at sixteen places of a 7000 x 7000 screen that the
// decoder fills with the background colour.
std::vector<uint8_t> SmallImageGifDocumentBytes()
{
    std::vector<testsupport::Bytes> gifs;
    for (int i = 0; i < 16; ++i) {
        gifs.push_back(testsupport::SmallImageGif(7000, 7000, i * 400, i * 430));
    }
    Document document;
    testsupport::BuildPictureDocument(document, gifs);
    return WriteDocument(document);
}

std::vector<uint8_t> MetafileDocumentBytes()
{
    Document document;
    const std::vector<testsupport::Bytes> pictures(4, testsupport::RunLengthMetafile());
    testsupport::BuildPictureDocument(document, pictures, 2);
    return WriteDocument(document);
}

double PeakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Open(benchmark::State& state, const std::vector<uint8_t>& bytes)
{
    for (auto _ : state) {
        Document document;
        if (!ReadDocument(bytes, document).ok) {
            state.SkipWithError("the document does not read");
            return;
        }
        benchmark::DoNotOptimize(document.ViewCount());
    }
    state.counters["file_bytes"] = double(bytes.size());
    state.counters["peak_MiB"] = PeakResidentMiB();
}

// Paints the document's first view at 100 % on a 96-dpi page, as vkdtool render does.
void Render(benchmark::State& state, const std::vector<uint8_t>& bytes)
{
    Document document;
    if (!ReadDocument(bytes, document).ok) {
        state.SkipWithError("the document does not read");
        return;
    }
    const Rect area = PaintedArea(*document.ViewAt(0));
    QImage image(area.right / 2 + 40, area.bottom / 2 + 40, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        // Every round starts cold: the cache holds nothing of an earlier round.
        PictureCache::Instance().Clear();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const DrawContext dc(painter, 96, 96);
        PaintOptions options;
        options.deviceClip = {0, 0, image.width(), image.height()};
        PaintView(*document.ViewAt(0), dc, options);
    }
    const PictureCache::Counters counters = PictureCache::Instance().Statistics();
    state.counters["decodes"] = double(counters.decodes);
    state.counters["cache_peak_MiB"] = double(counters.peakBytes) / (1024.0 * 1024.0);
    state.counters["peak_MiB"] = PeakResidentMiB();
}

void BM_OpenClaimingGifDocument(benchmark::State& state)
{
    Open(state, GifDocumentBytes());
}
BENCHMARK(BM_OpenClaimingGifDocument)->Unit(benchmark::kMillisecond);

void BM_RenderClaimingGifDocument(benchmark::State& state)
{
    Render(state, GifDocumentBytes());
}
BENCHMARK(BM_RenderClaimingGifDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenderPaddedGifDocument(benchmark::State& state)
{
    Render(state, PaddedGifDocumentBytes());
}
BENCHMARK(BM_RenderPaddedGifDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenderSmallImageGifDocument(benchmark::State& state)
{
    Render(state, SmallImageGifDocumentBytes());
}
BENCHMARK(BM_RenderSmallImageGifDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenderRunLengthMetafileDocument(benchmark::State& state)
{
    Render(state, MetafileDocumentBytes());
}
BENCHMARK(BM_RenderRunLengthMetafileDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

bool WriteFile(const QString& path, const std::vector<uint8_t>& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ==
               qint64(bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        if (!WriteFile(dir + "/claiming-gifs.vkd", GifDocumentBytes()) ||
            !WriteFile(dir + "/padded-gifs.vkd", PaddedGifDocumentBytes()) ||
            !WriteFile(dir + "/small-image-gifs.vkd", SmallImageGifDocumentBytes()) ||
            !WriteFile(dir + "/runlength-wmf.vkd", MetafileDocumentBytes())) {
            std::fputs("picture_bench: cannot write the documents\n", stderr);
            return 1;
        }
        return 0;
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
