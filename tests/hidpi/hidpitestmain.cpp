// Runs the high-density screen tests inside a widget application whose screens have
// VELKOR_TEST_SCALE_FACTOR device pixels per logical pixel (set by each program: 2, or 1.5,
// where edges of logical pixels fall inside screen pixels), on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The ratio is fixed before the application starts: Qt reads it once.
    qputenv("QT_SCALE_FACTOR", VELKOR_TEST_SCALE_FACTOR);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
