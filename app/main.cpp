#include "app/documentcommand.h"
#include "app/icontheme.h"
#include "app/mainwindow.h"
#include "app/qttranslations.h"
#include "app/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>

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

// Unsaved work goes to a recovery file a minute after its first change; tests that kill the
// editor on purpose shorten the wait with VELKOR_AUTOSAVE_SECONDS.
int AutosaveIntervalMs()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VELKOR_AUTOSAVE_SECONDS", &ok);
    return (ok && seconds > 0 ? seconds : 60) * 1000;
}

// The sample beside the program (a build or a portable copy) wins over the one installed
// among the program's data.
QString SampleDocumentPath()
{
    const QString name = QStringLiteral("示例.vkd");
    const QString beside = QDir(QApplication::applicationDirPath()).filePath(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString installed = QStandardPaths::locate(QStandardPaths::AppDataLocation, name);
    return installed.isEmpty() ? beside : installed;
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList files = ReadCommandLine(argc, argv);
    QApplication application(argc, argv);
    NameTheApplication();
    app::InstallQtTranslations();
    app::UseInstalledIconTheme();
    // Installed, the program's icon and desktop entry are found by name.
    QGuiApplication::setDesktopFileName(QStringLiteral("velkor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velkor")));

    // The sample is shown when no file is named; it never becomes the current file, so a
    // save asks for a name instead of writing beside the program.
    const QString sample = files.isEmpty() ? SampleDocumentPath() : QString();
    app::MainWindow window(app::SettingsPath(), sample);
    window.show();
    if (!files.isEmpty()) {
        window.Documents().OpenFile(files.first());
    }
    window.EnableRecovery(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(QStringLiteral("recovery")),
        AutosaveIntervalMs());
    window.OfferRecovery();
    return application.exec();
}
