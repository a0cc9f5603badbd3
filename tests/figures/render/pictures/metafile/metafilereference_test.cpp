// Plays small metafiles written by the test builder and compares the pictures with
// reviewed reference images in tests/data. Set VELKOR_UPDATE_REFERENCES=1 to rewrite the
// references after a deliberate change, then look at every rewritten image before
// committing it.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/emfplusfillscenes.h"
#include "tests/figures/render/pictures/metafile/emfplusscenes.h"
#include "tests/figures/render/pictures/metafile/emfplusstrokescenes.h"
#include "tests/figures/render/pictures/metafile/fontscenes.h"
#include "tests/figures/render/pictures/metafile/metafilescenes.h"
#include "support/referencepicture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

using namespace metafiletest;

// The metafile written by build, played antialiased over white at size and compared with
// tests/data/<name>.png. A picture that does not play whole is no picture: it comes out
// null and fails the comparison.
testsupport::ReferencePicture Played(const char* name, Bytes (*build)(), QSize size)
{
    return {{name}, [build, size] {
                QImage actual(size, QImage::Format_RGB32);
                actual.fill(Qt::white);
                QPainter painter(&actual);
                painter.setRenderHint(QPainter::Antialiasing);
                const bool played = PlayMetafile(build(), painter, QRectF(QPointF(0, 0), size));
                painter.end();
                return played ? actual : QImage();
            }};
}

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(
    MetafilePictures, ReferencePictures,
    testing::Values(Played("metafile-wmf-shapes", WmfShapes, {400, 300}),
                    Played("metafile-wmf-text", WmfText, {400, 200}),
                    Played("metafile-wmf-bitmaps", WmfBitmaps, {400, 300}),
                    Played("metafile-wmf-clip-mapping", WmfClipAndMapping, {400, 300}),
                    Played("metafile-emf-shapes", EmfShapes, {384, 288}),
                    Played("metafile-emf-paths-transforms", EmfPathsAndTransforms, {384, 288}),
                    Played("metafile-emf-bitmaps", EmfBitmaps, {384, 288}),
                    Played("metafile-emf-text", EmfText, {384, 288}),
                    Played("metafile-wmf-western-text", WmfWesternText, {400, 250}),
                    Played("metafile-wmf-plain", WmfPlain, {400, 300}),
                    Played("metafile-wmf-plain-metric", WmfPlainMetric, {400, 300}),
                    Played("metafile-emfplus-only", EmfPlusOnly, {384, 288}),
                    Played("metafile-emfplus-images", EmfPlusImages, {384, 288}),
                    Played("metafile-emfplus-clip-brushes", EmfPlusClipAndBrushes, {384, 288}),
                    Played("metafile-emfplus-strokes", plus::EmfPlusStrokes, {384, 288}),
                    Played("metafile-emfplus-nested", plus::EmfPlusNested, {384, 288})),
    testsupport::CaseName());

} // namespace
} // namespace figures
