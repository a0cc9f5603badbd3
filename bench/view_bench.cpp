// The editing view's interactive costs on the offscreen platform:
//   - the hit test of one mouse move at 100 000 objects (mean and 99th percentile),
//   - one frame of a move drag (pointer moved by a pixel, 20 objects selected, 10 000 in
//     the view) including the paint of the outlines over the cached picture,
//   - scrolling by one line at 10 000 objects, paint included.
#include "figures/model/objects/crichgraph.h"
#include "figures/model/view.h"
#include "figures/view/cviewwnd.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

namespace {

using figures::CViewWnd;
using figures::Point;
using figures::Rect;

constexpr int32_t kRectangle = 2;
constexpr int32_t kEllipse = 10;

// A view of count shapes of 3..15 mm scattered over a square page sized so that they
// cover about a third of it (overlapping), with a 1000 x 700 client area.
std::unique_ptr<CViewWnd> Canvas(int count)
{
    auto view = std::make_unique<CViewWnd>();
    view->resize(1000, 700);
    view->show();
    std::mt19937 random(7);
    const int32_t side = int32_t(150 * std::sqrt(double(count)));
    std::uniform_int_distribution<int32_t> at(0, side);
    std::uniform_int_distribution<int32_t> size(30, 150);
    figures::View& v = *view->CurrentView();
    for (int i = 0; i < count; ++i) {
        const int32_t x = at(random);
        const int32_t y = at(random);
        const Rect frame{x, y, x + size(random), y + size(random)};
        v.AddNewShape(i % 2 ? kRectangle : kEllipse, &frame);
    }
    view->ObjectsChanged();
    QApplication::processEvents();
    view->viewport()->repaint();
    return view;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void HitTestAtOneHundredThousandObjects(benchmark::State& state)
{
    auto view = Canvas(100'000);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(0, 999);
    std::uniform_int_distribution<int> y(0, 699);
    std::vector<double> micros;
    int found = 0;
    for (auto _ : state) {
        const Point p{x(random), y(random)};
        const auto start = std::chrono::steady_clock::now();
        figures::CBaseCom* object = view->ObjectAt(p);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(object);
        found += object != nullptr ? 1 : 0;
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["p99_us"] = micros[size_t(double(micros.size() - 1) * 0.99)];
    state.counters["hit_share"] = double(found) / double(micros.size());
}
BENCHMARK(HitTestAtOneHundredThousandObjects)->Iterations(20000)->Unit(benchmark::kMicrosecond);

void MoveDragFrameAtTenThousandObjects(benchmark::State& state)
{
    auto view = Canvas(10'000);
    QWidget* canvas = view->viewport();
    // Twenty objects selected, the press on one of them.
    figures::View& v = *view->CurrentView();
    figures::CBaseCom* pressed = nullptr;
    for (const auto& object : v.objects) {
        const Rect client = view->DocumentToClient(object->frame);
        if (client.left > 100 && client.top > 100 && client.right < 900 && client.bottom < 600) {
            view->Select(object.get(), true);
            pressed = object.get();
            if (view->Selection().size() == 20) {
                break;
            }
        }
    }
    const Point centre = view->DocumentToClient(pressed->frame.Centre());
    QPoint at(centre.x, centre.y);
    view->viewport()->repaint();
    SendMouse(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton);
    int step = 1;
    for (auto _ : state) {
        at += QPoint(step, 0);
        step = -step;
        SendMouse(canvas, QEvent::MouseMove, at, Qt::LeftButton);
        canvas->repaint();
    }
    view->CancelDrag();
    state.counters["moved"] = double(view->Selection().size());
}
BENCHMARK(MoveDragFrameAtTenThousandObjects)->Unit(benchmark::kMillisecond);

void ScrollOneLineAtTenThousandObjects(benchmark::State& state)
{
    auto view = Canvas(10'000);
    view->verticalScrollBar()->setValue(50);
    view->viewport()->repaint();
    bool down = true;
    for (auto _ : state) {
        view->OnScroll(
            CViewWnd::VerticalScroll(down ? CViewWnd::SB_LINEDOWN : CViewWnd::SB_LINEUP));
        down = !down;
        view->viewport()->repaint();
    }
}
BENCHMARK(ScrollOneLineAtTenThousandObjects)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
