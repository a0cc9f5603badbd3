// Metafiles without the placeable header, sized by the mapping their records set.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/fontscenes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

constexpr int kNullPen = 5;

// A picture in a fixed-scale mode filling w x h units red, down and right from the origin
// (y runs up in these modes), with a blue quarter at its top-left; a window extent, when
// given, says the picture's size.
Bytes FixedScale(int mode, int w, int h, QSize extent = {})
{
    WmfBuilder b(0, 0, 1, 1);
    b.SetMapMode(mode).SetWindowOrg(0, 0);
    if (!extent.isEmpty()) {
        b.SetWindowExt(extent.width(), extent.height());
    }
    b.CreatePen(kNullPen, 0, 0).SelectObject(0);
    b.CreateBrush(0, kRed).SelectObject(1).Rectangle(0, 0, w, -h);
    b.CreateBrush(0, kBlue).SelectObject(2).Rectangle(0, 0, w / 4, -h / 4);
    return b.FinishPlain();
}

// A scaled picture whose window of 1000 x 500 units lands on a viewport, filled likewise;
// a viewport turned upside down has the window's top at its larger y.
Bytes WithViewport(int mode, QPoint org, QSize extent)
{
    const bool up = extent.height() < 0;
    WmfBuilder b(0, 0, 1, 1);
    b.SetMapMode(mode).SetWindowOrg(0, 0).SetWindowExt(1000, 500);
    b.SetViewportOrg(org.x(), org.y()).SetViewportExt(extent.width(), extent.height());
    b.CreatePen(kNullPen, 0, 0).SelectObject(0);
    b.CreateBrush(0, kRed).SelectObject(1).Rectangle(0, 0, 1000, 500);
    b.CreateBrush(0, kBlue).SelectObject(2).Rectangle(0, up ? 500 : 0, 250, up ? 375 : 125);
    return b.FinishPlain();
}

TEST(PlainMetafiles, TakeTheirPhysicalSizeFromTheirMappingMode)
{
    struct Row {
        const char* name;
        Bytes bytes;
        int32_t width; // HIMETRIC
        int32_t height;
        QRectF bounds;
        double share = 1; // of the picture's width and height that the drawing covers
    };
    const Row rows[] = {
        {"0.1 mm units, drawn", FixedScale(2, 1000, 500), 10000, 5000,
         QRectF(0, 0, 1000, 500)},
        {"0.01 mm units, drawn", FixedScale(3, 5000, 2500), 5000, 2500,
         QRectF(0, 0, 5000, 2500)},
        {"0.01 inch units, drawn", FixedScale(4, 400, 200), 10160, 5080,
         QRectF(0, 0, 400, 200)},
        {"0.001 inch units, drawn", FixedScale(5, 2000, 1000), 5080, 2540,
         QRectF(0, 0, 2000, 1000)},
        {"twips, drawn", FixedScale(6, 1440, 720), 2540, 1270, QRectF(0, 0, 1440, 720)},
        {"0.1 mm units with a window extent twice the drawing",
         FixedScale(2, 1000, 500, {2000, 1000}), 20000, 10000, QRectF(0, 0, 2000, 1000), 0.5},
        {"twips with a window extent", FixedScale(6, 2880, 1440, {2880, 1440}), 5080, 2540,
         QRectF(0, 0, 2880, 1440)},
        {"anisotropic onto a viewport of 300 x 150 pixels",
         WithViewport(8, QPoint(10, 20), QSize(300, 150)), 7938, 3969, QRectF(10, 20, 300, 150)},
        {"isotropic onto a viewport shrunk to the window's proportions",
         WithViewport(7, QPoint(0, 0), QSize(400, 400)), 10583, 5292, QRectF(0, 0, 400, 200)},
        {"isotropic with the y axis turned up",
         WithViewport(7, QPoint(0, 200), QSize(400, -400)), 10583, 5292, QRectF(0, 0, 400, 200)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const MetafileInfo info = InspectMetafile(row.bytes);
        ASSERT_TRUE(info.ok);
        EXPECT_FALSE(info.enhanced);
        EXPECT_EQ(info.widthHimetric, row.width);
        EXPECT_EQ(info.heightHimetric, row.height);
        EXPECT_NEAR(info.bounds.x(), row.bounds.x(), 1e-6);
        EXPECT_NEAR(info.bounds.y(), row.bounds.y(), 1e-6);
        EXPECT_NEAR(info.bounds.width(), row.bounds.width(), 1e-6);
        EXPECT_NEAR(info.bounds.height(), row.bounds.height(), 1e-6);
        // Played into 100 x 50 pixels the red fills its share of the target from the
        // top-left, the blue quarter that share's top-left corner.
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(PlayMetafile(row.bytes, painter, QRectF(0, 0, 100, 50)));
        painter.end();
        const double k = row.share;
        EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(int(10 * k), int(5 * k)), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(int(60 * k), int(10 * k)), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(int(98 * k), int(48 * k)), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(98, 48), k < 1 ? qRgb(255, 255, 255) : qRgb(255, 0, 0));
    }
}

TEST(PlainMetafiles, ThatSayNoSizeAreNoPicture)
{
    const Bytes rows[] = {
        // A fixed-scale mode whose records draw nothing.
        WmfBuilder(0, 0, 1, 1).SetMapMode(2).SetWindowOrg(0, 0).FinishPlain(),
        // A viewport of no width.
        WmfBuilder(0, 0, 1, 1).SetMapMode(8).SetWindowExt(10, 10).SetViewportExt(0, 10)
            .Rectangle(0, 0, 5, 5).FinishPlain(),
        // A viewport over a window of no height.
        WmfBuilder(0, 0, 1, 1).SetMapMode(7).SetWindowExt(10, 0).SetViewportExt(10, 10)
            .Rectangle(0, 0, 5, 5).FinishPlain(),
    };
    for (const Bytes& bytes : rows) {
        EXPECT_FALSE(InspectMetafile(bytes).ok);
    }
}

} // namespace
} // namespace figures
