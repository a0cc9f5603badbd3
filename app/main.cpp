#include "app/icontheme.h"
#include "app/mainwindow.h"
#include "app/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <memory>

namespace {

void NameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("velkor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELKOR_VERSION));
}

// The files named on the command line. "--help" and "--version" are answered here, on
// the terminal, and end the process: they need no display, so the command line is read
// before the window system is contacted.
QStringList ReadCommandLine(int argc, char* argv[])
{
    QCoreApplication terminal(argc, argv);
    NameTheApplication();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velkor图形绘制设计器"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.vkd"),
                                 QStringLiteral("要打开的图形文档；不给时打开程序旁的示例文档。"));
    parser.process(terminal);
    return parser.positionalArguments();
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList files = ReadCommandLine(argc, argv);
    QApplication application(argc, argv);
    NameTheApplication();
    app::UseInstalledIconTheme();

    const QString document =
        files.isEmpty()
            ? QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("示例.vkd"))
            : files.first();
    app::MainWindow window(app::SettingsPath(), document);
    window.show();
    return application.exec();
}
