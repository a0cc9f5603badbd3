// Adding shapes one by one through the drawing control, the way a host script does:
// each add followed by the event loop (which reports the change, lets the host ask for the
// document once and repaints the canvas), and a run of adds without it. Every shape lands
// at the same place, on top of all the others. Prints the processor time of each run of
// adds at a few sizes and the objects the canvas repainted per add, so that the growth
// per add can be read off: it should be none.
//
// Run on the offscreen platform: addshape_bench [count ...] (500 1000 2000 10000 unless
// given)
#include "figures/control/figurewindow.h"
#include "figures/view/cviewwnd.h"

#include <QApplication>
#include <QFile>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double ProcessorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine()).trimmed()
                                          : QStringLiteral("unknown");
}

struct Run {
    double milliseconds = 0;
    double paintedPerAdd = 0; // objects handed to the canvas painter per add
};

Run AddShapes(int count, bool withEventLoop)
{
    figures::FigureWindow control;
    control.resize(800, 600);
    control.show();
    int reported = 0;
    QObject::connect(&control, &figures::FigureWindow::documentChanged, [&] {
        // A host that records every version asks for the document once per change.
        reported += control.DocumentContent().isEmpty() ? 0 : 1;
    });
    QCoreApplication::processEvents();
    const auto* canvas = control.findChild<figures::CViewWnd*>();
    const uint64_t paintedBefore = canvas != nullptr ? canvas->PaintedObjectCount() : 0;
    const double start = ProcessorMilliseconds();
    for (int i = 0; i < count; ++i) {
        control.AddShape(1 + i % 110);
        if (withEventLoop) {
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
    Run run;
    run.milliseconds = ProcessorMilliseconds() - start;
    const uint64_t painted = canvas != nullptr ? canvas->PaintedObjectCount() - paintedBefore : 0;
    run.paintedPerAdd = double(painted) / count;
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::max(1, std::atoi(argv[i])));
    }
    if (counts.empty()) {
        counts = {500, 1000, 2000, 10000};
    }
    std::printf("load average at start: %s\n", qPrintable(LoadAverage()));
    for (const int count : counts) {
        const Run plain = AddShapes(count, false);
        const Run looped = AddShapes(count, true);
        std::printf("%6d adds: %9.1f ms (%.3f ms each); with the event loop %9.1f ms "
                    "(%.3f ms each, %.1f objects repainted each)\n",
                    count, plain.milliseconds, plain.milliseconds / count, looped.milliseconds,
                    looped.milliseconds / count, looped.paintedPerAdd);
    }
    std::printf("load average at end: %s\n", qPrintable(LoadAverage()));
    return 0;
}
