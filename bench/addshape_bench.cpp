// Adding shapes one by one through the drawing control, the way a host script does:
// each add followed by the event loop (which reports the change and lets the host ask
// for the document once), and a run of adds without it. Prints the processor time of
// each run of adds at a few sizes, so that the growth per add can be read off.
//
// Run on the offscreen platform: addshape_bench [largest count]
#include "figures/control/figurewindow.h"

#include <QApplication>
#include <QFile>

#include <time.h>

#include <algorithm>
#include <cstdio>

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

double AddShapes(int count, bool withEventLoop)
{
    figures::FigureWindow control;
    control.resize(800, 600);
    control.show();
    int reported = 0;
    QObject::connect(&control, &figures::FigureWindow::documentChanged, [&] {
        // A host that records every version asks for the document once per change.
        reported += control.DocumentContent().isEmpty() ? 0 : 1;
    });
    const double start = ProcessorMilliseconds();
    for (int i = 0; i < count; ++i) {
        control.AddShape(1 + i % 110);
        if (withEventLoop) {
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
    return ProcessorMilliseconds() - start;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int largest = argc > 1 ? std::max(1000, atoi(argv[1])) : 4000;
    std::printf("load average at start: %s\n", qPrintable(LoadAverage()));
    for (int count = largest / 4; count <= largest; count *= 2) {
        const double plain = AddShapes(count, false);
        const double looped = AddShapes(count, true);
        std::printf("%6d adds: %9.1f ms (%.3f ms each); with the event loop %9.1f ms "
                    "(%.3f ms each)\n",
                    count, plain, plain / count, looped, looped / count);
    }
    std::printf("load average at end: %s\n", qPrintable(LoadAverage()));
    return 0;
}
