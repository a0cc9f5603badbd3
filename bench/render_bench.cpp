// Interpreter throughput on catalogue programs, and painting a full-HD view of 10 000
// shapes at 100 % zoom.
#include "figures/model/objects/crichgraph.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pathsink.h"
#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/shapes/shapeprogram.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using namespace figures;

// Counts what the interpreter emits, so that only the interpreter is measured.
class CountingSink : public PathSink {
public:
    void MoveTo(Point p) override { sum += p.x; }
    void LineTo(Point p) override { sum += p.y; }
    void BezierTo(Point, Point, Point end) override { sum += end.x; }
    int64_t sum = 0;
};

int StepCount(std::span<const uint8_t> program)
{
    int steps = 0;
    while (!SkipSteps(program, steps).empty() && ProgramWord(SkipSteps(program, steps), 0) != 0) {
        ++steps;
    }
    return steps;
}

void BM_InterpretCataloguePrograms(benchmark::State& state)
{
    std::vector<std::span<const uint8_t>> programs;
    int64_t stepsPerRound = 0;
    for (int i = 0; i < CatalogueCount(); ++i) {
        const auto program = CatalogueEntry(i)->program;
        if (StepCount(program) > 0) {
            programs.push_back(program);
            stepsPerRound += StepCount(program);
        }
    }
    const ShapeFrame frame{{100, 100}, 400, 300, 300, false, true};
    CountingSink sink;
    for (auto _ : state) {
        for (const auto& program : programs) {
            RunShapeProgram(program, frame, ProgramMode::Outline, sink);
        }
    }
    benchmark::DoNotOptimize(sink.sum);
    state.SetItemsProcessed(int64_t(state.iterations()) * stepsPerRound);
    state.counters["steps_per_round"] = double(stepsPerRound);
}
BENCHMARK(BM_InterpretCataloguePrograms);

// 10 000 shapes of the catalogue entries that have programs, on a grid that fills a
// 1920 x 1080 window at 96 dpi (about 5080 x 2860 units), some turned, mixed fills.
const View& LargeView()
{
    static View view = [] {
        std::vector<int32_t> entries;
        for (int i = 0; i < CatalogueCount(); ++i) {
            if (StepCount(CatalogueEntry(i)->program) > 0) {
                entries.push_back(i);
            }
        }
        View v;
        for (int i = 0; i < 10000; ++i) {
            const int32_t x = (i % 125) * 40;
            const int32_t y = (i / 125) * 36;
            const Rect frame{x, y, x + 38, y + 34};
            v.AddNewShape(entries[size_t(i) % entries.size()], &frame);
            auto& shape = static_cast<CRichGraph&>(*v.objects.back());
            shape.fillKind = i % 3 == 0 ? FillKind::Pattern : FillKind::Colour;
            shape.hatchStyle = i % 54;
            shape.fillColour = uint32_t(0x102030 * (i % 7));
            shape.angle = i % 5 == 0 ? (i * 37) % 3600 : 0;
        }
        return v;
    }();
    return view;
}

void BM_PaintFullHdView(benchmark::State& state)
{
    const View& view = LargeView();
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const DrawContext dc(painter, 96, 96);
        PaintOptions options;
        options.deviceClip = {0, 0, 1920, 1080};
        PaintView(view, dc, options);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(view.objects.size()));
}
BENCHMARK(BM_PaintFullHdView)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
