#include "support/referencepicture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport {

namespace {

int DifferingPixels(const QImage& actual, const QImage& expected, int channel)
{
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (std::abs(qRed(a[x]) - qRed(e[x])) > channel ||
                std::abs(qGreen(a[x]) - qGreen(e[x])) > channel ||
                std::abs(qBlue(a[x]) - qBlue(e[x])) > channel) {
                ++differing;
            }
        }
    }
    return differing;
}

} // namespace

void ExpectMatchesReference(const QImage& actual, const QString& name, PictureTolerance tolerance)
{
    ASSERT_FALSE(actual.isNull()) << name.toStdString() << ": nothing was painted";
    const QString path = QStringLiteral(VELKOR_TEST_DATA "/%1.png").arg(name);
    if (qEnvironmentVariableIsSet("VELKOR_UPDATE_REFERENCES")) {
        ASSERT_TRUE(actual.save(path)) << path.toStdString();
        GTEST_SKIP() << "reference rewritten: " << path.toStdString();
    }
    QImage expected(path);
    ASSERT_FALSE(expected.isNull()) << "missing reference " << path.toStdString();
    expected = expected.convertToFormat(QImage::Format_RGB32);
    const QImage shown = actual.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), shown.size()) << path.toStdString();
    const int differing = DifferingPixels(shown, expected, tolerance.channel);
    const int allowed = int(tolerance.share * shown.width() * shown.height());
    if (differing > allowed) {
        shown.save(name + QStringLiteral("-actual.png"));
    }
    EXPECT_LE(differing, allowed) << name.toStdString()
                                  << ": the actual picture was saved next to the test run";
}

// Programs that show no reference pictures (the widget tests) link this test too.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReferencePictures);

TEST_P(ReferencePictures, MatchTheReviewedPicture)
{
    const ReferencePicture& reference = GetParam();
    ExpectMatchesReference(reference.paint(), QString::fromUtf8(reference.name),
                           reference.tolerance);
}

} // namespace testsupport
