// Interpreter throughput on catalogue programs, and painting a full-HD view of the mixed
// scene at 100 % zoom: building every object's geometry, and repainting the unchanged
// drawing from the geometry cache.
#include "bench/benchscene.h"
#include "figures/model/bandedpainter.h"
#include "figures/model/geometrycache.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pathsink.h"
#include "figures/render/shapes/shapeinterpreter.h"
#include "figures/render/shapes/shapeprogram.h"

#include <QGuiApplication>
#include <QImage>
#include <QThreadPool>

#include <algorithm>
#include <ctime>
#include <map>

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

// The mixed scene of count objects, built once per count.
const View& Scene(int count)
{
    static std::map<int, View> scenes;
    auto [at, inserted] = scenes.try_emplace(count);
    if (inserted) {
        bench::FillMixedScene(at->second, count);
    }
    return at->second;
}

// CPU time of the whole process (every thread), in milliseconds.
double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Frames per iteration are one; the process's CPU time per frame is reported beside the
// calling thread's, as the bands' work is spread over the pool.
class FrameCounters {
public:
    explicit FrameCounters(benchmark::State& state) : state_(state), start_(ProcessCpuMs()) {}
    ~FrameCounters()
    {
        const double frames = double(std::max<int64_t>(1, state_.iterations()));
        state_.counters["process_cpu_ms"] = (ProcessCpuMs() - start_) / frames;
        state_.counters["threads"] = double(QThreadPool::globalInstance()->maxThreadCount());
    }

private:
    benchmark::State& state_;
    double start_;
};

// Paint options for the whole of a full-HD frame.
PaintOptions FullHdFrame()
{
    PaintOptions options;
    options.deviceClip = {0, 0, 1920, 1080};
    return options;
}

void PaintFrame(const View& view, QImage& image, GeometryCache* cache)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, 96, 96);
    PaintView(view, dc, FullHdFrame(), cache);
}

// One full frame of a 1920 x 1080 window at 100 % zoom, painted by one painter: every
// object builds its geometry (arg 1 = 0), or takes it from a cache that the frame before
// filled (arg 1 = 1: the repaint of an unchanged drawing).
void BM_PaintFullHdFrame(benchmark::State& state)
{
    const View& view = Scene(int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    GeometryCache cache;
    GeometryCache* used = state.range(1) != 0 ? &cache : nullptr;
    if (used != nullptr) {
        PaintFrame(view, image, used);
    }
    const FrameCounters counters(state);
    for (auto _ : state) {
        PaintFrame(view, image, used);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(view.objects.size()));
}
BENCHMARK(BM_PaintFullHdFrame)
    ->ArgNames({"objects", "cached"})
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The same frame in horizontal bands on the global thread pool and the calling thread.
// Real time is the figure; process_cpu_ms counts every thread.
void BM_PaintFullHdFrameInBands(benchmark::State& state)
{
    const View& view = Scene(int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    const PaintOptions options = FullHdFrame();
    GeometryCache cache;
    GeometryCache* used = state.range(1) != 0 ? &cache : nullptr;
    if (used != nullptr) {
        PaintViewInBands(view, image, BandedPaint{}, options, used);
    }
    const FrameCounters counters(state);
    for (auto _ : state) {
        PaintViewInBands(view, image, BandedPaint{}, options, used);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(view.objects.size()));
}
BENCHMARK(BM_PaintFullHdFrameInBands)
    ->ArgNames({"objects", "cached"})
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What a banded repaint of an unchanged drawing does before its bands start: the painting
// order, with every object's painted area and cached geometry checked.
void BM_PaintingOrderFromCache(benchmark::State& state)
{
    const View& view = Scene(int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGB32);
    const PaintOptions options = FullHdFrame();
    GeometryCache cache;
    PaintViewInBands(view, image, BandedPaint{}, options, &cache);
    const Rect docClip = MappingOf(BandedPaint{}).ToDocument(options.deviceClip);
    for (auto _ : state) {
        const std::vector<PaintEntry> order = cache.PaintingOrder(view, docClip);
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(view.objects.size()));
}
BENCHMARK(BM_PaintingOrderFromCache)
    ->ArgName("objects")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Text and fonts need a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
