// Plays small metafiles written by the test builder and compares the pictures with
// reviewed reference images in tests/data. Set VELKOR_UPDATE_REFERENCES=1 to rewrite the
// references after a deliberate change, then look at every rewritten image before
// committing it.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/metafilescenes.h"
#include "support/referencepicture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace figures {
namespace {

using namespace metafiletest;

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
    testsupport::ExpectMatchesReference(
        actual, QStringLiteral("metafile-%1").arg(QLatin1String(reference.name)));
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
