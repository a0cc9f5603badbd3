// The editor's undo history on a large drawing: a canvas holding the mixed scene of
// 100 000 objects, thirty single-object moves each recorded as a version, then undo and
// redo through the same commands the toolbar runs. Prints the document's size, what the
// thirty-odd versions cost, the heap the program grew by meanwhile, and the time of one
// undo and of its parts, with the machine's processor count and load.
//
// Run on the offscreen platform: undo_bench [objects]
#include "app/undocommands.h"
#include "bench/benchscene.h"
#include "figures/control/figurewindow.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QThread>
#include <QWidget>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray SceneDocument(int objects)
{
    figures::Document document;
    bench::FillMixedScene(*document.ViewAt(0), objects);
    const std::vector<uint8_t> bytes = figures::WriteDocument(document);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double Megabytes(size_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine()).trimmed()
                                          : QStringLiteral("unknown");
}

// Processor time of this thread, which the other programs on a busy machine do not add to.
double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Times {
    std::vector<double> ms;
    void Add(const QElapsedTimer& timer) { ms.push_back(double(timer.nsecsElapsed()) / 1e6); }
    void Add(double milliseconds) { ms.push_back(milliseconds); }
    void Print(const char* what)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%-34s median %8.1f ms  min %8.1f  max %8.1f  (%zu runs)\n", what,
                    ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int objects = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    std::printf("processors %d, load average at start: %s\n", QThread::idealThreadCount(),
                qPrintable(LoadAverage()));

    QWidget window;
    QAction undoButton(QStringLiteral("恢复"));
    QAction redoButton(QStringLiteral("重复"));
    QMenu anchor;
    auto* canvas = new figures::FigureWindow(&window);
    app::UndoCommands undo(*canvas, window, undoButton, redoButton, anchor);
    undo.Initialise(canvas->DocumentContent());

    const QByteArray scene = SceneDocument(objects);
    canvas->SetDocumentContent(scene);
    undo.RecordSnapshot();
    const size_t documentBytes = size_t(canvas->DocumentContent().size());
    std::printf("document: %d objects, %zu bytes (%.1f MiB)\n", canvas->ObjectCount(),
                documentBytes, Megabytes(documentBytes));
    const size_t versionsBefore = undo.History()->MemoryUse();
    const size_t heapBefore = HeapInUse();

    // Thirty moves of one object each, far apart in the drawing; each is recorded the way
    // the canvas reports it, from the event loop.
    Times record;
    for (int i = 0; i < 30; ++i) {
        canvas->GetObjects((i * 3331 + 17) % objects).Nudge(4);
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        record.Add(timer);
    }
    const app::UndoHistory& history = *undo.History();
    std::printf("versions: position %d of %d\n", history.Position(), history.Count());
    const size_t versions = history.MemoryUse();
    std::printf("history after one load:            %8.2f MiB (%.3f x the document)\n",
                Megabytes(versionsBefore), double(versionsBefore) / double(documentBytes));
    std::printf("history after 30 moves:            %8.2f MiB (%.3f x the document)\n",
                Megabytes(versions), double(versions) / double(documentBytes));
    std::printf("heap grown during the 30 moves:    %8.2f MiB (%.3f x the document)\n",
                Megabytes(HeapInUse() - std::min(HeapInUse(), heapBefore)),
                double(HeapInUse() - std::min(HeapInUse(), heapBefore)) / double(documentBytes));

    int distinct = 0;
    for (int slot = 2; slot <= history.Position(); ++slot) {
        distinct += history.Slot(slot).SameAs(history.Slot(slot - 1)) ? 0 : 1;
    }
    std::printf("slots 2..30 that differ from the slot before: %d\n", distinct);

    Times undoTimes;
    Times undoProcessor;
    Times redoTimes;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double start = ThreadMilliseconds();
        undo.Undo();
        undoProcessor.Add(ThreadMilliseconds() - start);
        undoTimes.Add(timer);
        timer.start();
        undo.Redo();
        redoTimes.Add(timer);
    }
    // The parts of an undo: putting the version's bytes together, then the canvas
    // reading them back as its own writing. Beside it, the canvas reading bytes of unknown
    // origin, which it writes once more for its comparison of later changes.
    Times assemble;
    Times restoreContent;
    Times setContent;
    const app::SnapshotPool::Snapshot& version = history.Slot(history.Position() - 1);
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        QByteArray bytes(qsizetype(version.Size()), Qt::Uninitialized);
        version.CopyTo({reinterpret_cast<uint8_t*>(bytes.data()), size_t(bytes.size())});
        assemble.Add(timer);
        timer.start();
        canvas->RestoreDocumentContent(bytes);
        restoreContent.Add(timer);
        timer.start();
        canvas->SetDocumentContent(bytes);
        setContent.Add(timer);
    }
    Times serialise;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray bytes = canvas->DocumentContent();
        serialise.Add(timer);
    }
    record.Print("record one move (event loop)");
    undoTimes.Print("one undo");
    undoProcessor.Print("one undo, processor time");
    redoTimes.Print("one redo");
    assemble.Print("  assemble the version's bytes");
    restoreContent.Print("  canvas RestoreDocumentContent");
    setContent.Print("canvas SetDocumentContent");
    serialise.Print("canvas DocumentContent");
    std::printf("load average at end: %s\n", qPrintable(LoadAverage()));
    return 0;
}
