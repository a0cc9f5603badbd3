// Runs the widget tests inside a widget application on the offscreen platform: real
// widgets receive QTest events and paint exactly as on a screen, without one.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The offscreen platform cannot grab the mouse at the window system level and says so on
// every drag; the widgets' own grab works, and the message is only noise in the log.
void QuietAboutGrabs(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support grabbing"))) {
        return;
    }
    fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(QuietAboutGrabs);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
