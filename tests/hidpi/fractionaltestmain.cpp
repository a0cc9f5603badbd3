// Runs the repaint tests of the editing view inside a widget application whose screens
// have one and a half device pixels per logical pixel, on the offscreen platform: edges
// of logical pixels then fall inside screen pixels.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The ratio is fixed before the application starts: Qt reads it once.
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
