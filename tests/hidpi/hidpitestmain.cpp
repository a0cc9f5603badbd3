// Runs the high-density screen tests inside a widget application whose screens have two
// device pixels per logical pixel, on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The ratio is fixed before the application starts: Qt reads it once.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
