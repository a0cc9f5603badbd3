// Plays small metafiles written by the test builder and compares the pictures with
// reviewed reference images in tests/data. Set VELKOR_UPDATE_REFERENCES=1 to rewrite the
// references after a deliberate change, then look at every rewritten image before
// committing it.
#include "figures/render/metafile/metafileplayer.h"
#include "figures/render/metafilescenes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace figures {
namespace {

using namespace metafiletest;

// A channel may differ this much (antialiasing on another CPU or Qt build) ...
constexpr int kChannelTolerance = 24;
// ... in at most this share of the pixels.
constexpr double kPixelTolerance = 0.002;

struct Reference {
    const char* name;
    std::function<Bytes()> build;
    QSize size;
};

class MetafileReferenceImages : public testing::TestWithParam<Reference> {};

TEST_P(MetafileReferenceImages, MatchTheReviewedPicture)
{
    const Reference& reference = GetParam();
    QImage actual(reference.size, QImage::Format_RGB32);
    actual.fill(Qt::white);
    {
        QPainter painter(&actual);
        painter.setRenderHint(QPainter::Antialiasing);
        ASSERT_TRUE(
            PlayMetafile(reference.build(), painter, QRectF(QPointF(0, 0), reference.size)));
    }
    const QString path =
        QStringLiteral(VELKOR_TEST_DATA "/metafile-%1.png").arg(QLatin1String(reference.name));
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
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) > kChannelTolerance ||
                std::abs(qGreen(a) - qGreen(e)) > kChannelTolerance ||
                std::abs(qBlue(a) - qBlue(e)) > kChannelTolerance) {
                ++differing;
            }
        }
    }
    const int allowed = int(kPixelTolerance * actual.width() * actual.height());
    if (differing > allowed) {
        actual.save(QStringLiteral("metafile-%1-actual.png").arg(QLatin1String(reference.name)));
    }
    EXPECT_LE(differing, allowed) << "the actual picture was saved next to the test run";
}

INSTANTIATE_TEST_SUITE_P(
    MetafilePictures, MetafileReferenceImages,
    testing::Values(Reference{"wmf-shapes", WmfShapes, {400, 300}},
                    Reference{"wmf-text", WmfText, {400, 200}},
                    Reference{"wmf-bitmaps", WmfBitmaps, {400, 300}},
                    Reference{"wmf-clip-mapping", WmfClipAndMapping, {400, 300}},
                    Reference{"emf-shapes", EmfShapes, {384, 288}},
                    Reference{"emf-paths-transforms", EmfPathsAndTransforms, {384, 288}},
                    Reference{"emf-bitmaps", EmfBitmaps, {384, 288}},
                    Reference{"emf-text", EmfText, {384, 288}}),
    [](const testing::TestParamInfo<Reference>& param) {
        std::string name = param.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

} // namespace
} // namespace figures
