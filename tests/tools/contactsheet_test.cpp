// The catalogue's contact sheet against a reviewed copy in tests/data. Set
// VELKOR_UPDATE_REFERENCES=1 to rewrite it after a deliberate change to a shape, an
// adjust routine or the sheet, then look at the whole picture before committing it.
#include "tools/vkdtool/contactsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Small enough to keep in the repository, large enough to see every shape's proportions.
constexpr int32_t kReferenceZoom = 800;
// A channel may differ this much (antialiasing, font hinting on another build) ...
constexpr int kChannelTolerance = 24;
// ... in at most this share of the pixels: a few hundred, fewer than one shape covers.
constexpr double kPixelTolerance = 0.0002;

QString ReferencePath()
{
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .absoluteFilePath(QStringLiteral("../data/catalogue-sheet.png"));
}

TEST(ContactSheet, MatchesTheReviewedSheet)
{
    const QImage actual =
        vkdtool::DrawContactSheet(kReferenceZoom).convertToFormat(QImage::Format_RGB32);
    const QString path = ReferencePath();
    if (qEnvironmentVariableIsSet("VELKOR_UPDATE_REFERENCES")) {
        ASSERT_TRUE(actual.save(path));
        GTEST_SKIP() << "reference rewritten: " << path.toStdString();
    }
    QImage expected(path);
    ASSERT_FALSE(expected.isNull()) << "missing reference " << path.toStdString();
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), actual.size());
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const QRgb* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (std::abs(qRed(a[x]) - qRed(e[x])) > kChannelTolerance ||
                std::abs(qGreen(a[x]) - qGreen(e[x])) > kChannelTolerance ||
                std::abs(qBlue(a[x]) - qBlue(e[x])) > kChannelTolerance) {
                ++differing;
            }
        }
    }
    const int allowed = int(kPixelTolerance * actual.width() * actual.height());
    if (differing > allowed) {
        actual.save(QStringLiteral("catalogue-sheet-actual.png"));
    }
    EXPECT_LE(differing, allowed) << "the actual sheet was saved next to the test run";
}

} // namespace
