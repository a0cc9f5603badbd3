#include "figures/render/drawcontext.h"
#include "figures/render/pictures/picture.h"
#include "tests/figures/render/pictures/metafile/metafilebuilder.h"
#include "tests/figures/render/pictures/picturefiles.h"
#include "tests/support/hostilepictures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace figures {
namespace {

using picturetest::Bytes;
using picturetest::kBlue;
using picturetest::kGreen;
using picturetest::kRed;
using picturetest::kYellow;

constexpr QRgb kCanvas = 0xFF808080;
// At 96 dpi a picture's natural size comes out at its pixel size: 20 px are 529
// HIMETRIC, 53 document units and 20 device pixels again.
constexpr double kScreenDpi = 96.0;
// 127 document units are 48 pixels at 96 dpi: the destination's top-left.
constexpr int32_t kOrigin = 127;
constexpr int kOriginPx = 48;

QImage Canvas(int w = 200, int h = 130)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kCanvas);
    return image;
}

// Draws the picture into the destination (document units) of a fresh canvas.
QImage DrawPicture(const Picture& picture, PictureDrawRequest request, bool* drawn = nullptr)
{
    QImage canvas = Canvas();
    QPainter painter(&canvas);
    const DrawContext dc(painter, kScreenDpi, kScreenDpi);
    request.dc = &dc;
    const bool result = picture.Draw(request);
    if (drawn) {
        *drawn = result;
    }
    painter.end();
    return canvas;
}

PictureDrawRequest Into(int32_t width, int32_t height, int32_t placement)
{
    PictureDrawRequest request;
    request.destination = {kOrigin, kOrigin, kOrigin + width, kOrigin + height};
    request.placement = placement;
    return request;
}

Picture QuadrantPicture(int side = 20)
{
    return Picture::Read(picturetest::Encode(picturetest::Quadrants(side, side), "bmp"));
}

int CountNot(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) != colour;
        }
    }
    return n;
}

TEST(PictureFormats, ReportHimetricSizesAsThePictureObjectDoes)
{
    using namespace picturetest;
    QImage printed = Quadrants(30, 20);
    printed.setDotsPerMeterX(11811); // 300 dpi, which the size ignores
    printed.setDotsPerMeterY(11811);
    struct Case {
        const char* name;
        Bytes bytes;
        int32_t width;
        int32_t height;
        bool metafile;
    };
    const Case cases[] = {
        {"bitmap at 96 dpi", Encode(Quadrants(30, 20), "bmp"), 794, 529, false},
        {"bitmap recorded at 300 dpi", Encode(printed, "bmp"), 794, 529, false},
        {"bitmap without file header", PackedDib(Quadrants(30, 20)), 794, 529, false},
        {"JPEG", Encode(Quadrants(30, 20), "jpeg", 90), 794, 529, false},
        {"GIF", Gif(10, 8), 265, 212, false},
        {"icon takes the 32-pixel entry", IconFile({Solid(16, 16, kRed), Solid(32, 32, kBlue)}),
         847, 847, false},
        {"icon without 32-pixel entry takes the first",
         IconFile({Solid(16, 16, kRed), Solid(48, 48, kBlue)}), 423, 423, false},
        {"cursor", IconFile({Solid(48, 48, kRed), Solid(32, 32, kBlue)}, 2), 847, 847, false},
        {"icon size byte 0 means 256", IconFile({Solid(256, 256, kGreen)}, 1, {0}), 6773, 6773,
         false},
        {"placeable metafile", metafiletest::WmfBuilder(0, 0, 1440, 720, 1440).Finish(), 2540, 1270,
         true},
        {"plain metafile, its window at 96 per inch",
         metafiletest::WmfBuilder(0, 0, 1, 1)
             .SetWindowExt(96, 48)
             .Rectangle(0, 0, 50, 40)
             .FinishPlain(),
         2540, 1270, true},
        {"enhanced metafile frame",
         metafiletest::EmfBuilder(QRect(0, 0, 100, 50), QRect(QPoint(0, 0), QPoint(2000, 1000)))
             .Finish(),
         2000, 1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        const Picture picture = Picture::Read(c.bytes);
        ASSERT_FALSE(picture.IsEmpty());
        EXPECT_EQ(picture.WidthHimetric(), c.width);
        EXPECT_EQ(picture.HeightHimetric(), c.height);
        EXPECT_EQ(picture.IsMetafile(), c.metafile);
        EXPECT_EQ(picture.Image().isNull(), c.metafile);
    }
}

TEST(PictureFormats, IconDrawsTheChosenEntry)
{
    using namespace picturetest;
    const Picture picture = Picture::Read(
        IconFile({Solid(16, 16, kRed), Solid(32, 32, kBlue), Solid(32, 32, kGreen)}));
    ASSERT_FALSE(picture.Image().isNull());
    EXPECT_EQ(picture.Image().size(), QSize(32, 32));
    EXPECT_EQ(picture.Image().pixel(5, 5), kBlue);
}

TEST(PictureFormats, BytesThatAreNoPictureLeaveItEmpty)
{
    using namespace picturetest;
    // A metafile without the placeable header that sets no window: no size to show it at.
    const Bytes bareMetafile{1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0};
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"nothing", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"metafile without placeable header and window", bareMetafile},
        {"PNG is not among the formats", Encode(Quadrants(8, 8), "png")},
        {"GIF signature only", {'G', 'I', 'F', '8', '9', 'a'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = Picture::Read(c.bytes);
        EXPECT_TRUE(picture.IsEmpty());
        EXPECT_EQ(picture.WidthHimetric(), 0);
        EXPECT_FALSE(DrawPicture(picture, Into(254, 127, 0)).isNull());
        bool drawn = true;
        const QImage canvas = DrawPicture(picture, Into(254, 127, 0), &drawn);
        EXPECT_FALSE(drawn);
        EXPECT_EQ(CountNot(canvas, kCanvas), 0);
    }
}

TEST(PictureFormats, TruncatedAndHostileBytesDecodeBoundedWithoutCrashing)
{
    using namespace picturetest;
    const std::vector<Bytes> files = {
        Encode(Quadrants(30, 20), "bmp"),
        PackedDib(Quadrants(30, 20)),
        Encode(Quadrants(30, 20), "jpeg", 90),
        Gif(10, 8),
        IconFile({Solid(16, 16, kRed), Solid(32, 32, kBlue)}),
        metafiletest::WmfBuilder(0, 0, 1440, 720, 1440).Rectangle(10, 10, 500, 300).Finish(),
        metafiletest::WmfBuilder(0, 0, 1, 1)
            .SetWindowExt(96, 48)
            .Rectangle(0, 0, 50, 40)
            .FinishPlain(),
        metafiletest::EmfBuilder(QRect(0, 0, 100, 50), QRect(0, 0, 2000, 1000))
            .Rectangle(5, 5, 90, 40)
            .Finish(),
    };
    for (const Bytes& file : files) {
        // Cut short anywhere inside the headers, nothing is a picture.
        for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(5), size_t(13)}) {
            const Bytes cut(file.begin(), file.begin() + long(std::min(n, file.size())));
            EXPECT_TRUE(Picture::Read(cut).IsEmpty()) << "cut at " << n;
        }
        // Cut in the middle of the data: whatever decodes must be drawable.
        for (size_t n : {file.size() / 2, file.size() - 1}) {
            const Bytes cut(file.begin(), file.begin() + long(n));
            const Picture picture = Picture::Read(cut);
            if (!picture.IsEmpty()) {
                EXPECT_GT(picture.WidthHimetric(), 0);
                DrawPicture(picture, Into(254, 127, 10));
            }
        }
        // Random damage, the same every run.
        std::mt19937 random(uint32_t(file.size()));
        for (int round = 0; round < 60; ++round) {
            Bytes damaged = file;
            for (int k = 0; k < 6; ++k) {
                damaged[random() % damaged.size()] = uint8_t(random());
            }
            const Picture picture = Picture::Read(damaged);
            if (!picture.IsEmpty()) {
                DrawPicture(picture, Into(254, 127, 5));
            }
        }
    }

    // Sizes that would need gigabytes: a bitmap header the reader refuses.
    Bytes hugeBitmap = Encode(Quadrants(4, 4), "bmp");
    Set32(hugeBitmap, 18, 1000000);
    Set32(hugeBitmap, 22, 1000000);
    EXPECT_TRUE(Picture::Read(hugeBitmap).IsEmpty());
    // A size beyond the decoded-picture budget whose data describes every pixel, so that no
    // cut makes it smaller: it reads from the header and the pixels are never decoded.
    const Picture huge = Picture::Read(testsupport::SolidGif(20000, 20000));
    EXPECT_EQ(huge.PixelSize(), QSize(20000, 20000));
    EXPECT_TRUE(huge.TooLarge());
    EXPECT_TRUE(huge.Image().isNull());
    // An icon directory promising more entries than the file holds.
    Bytes manyIcons = IconFile({Solid(16, 16, kRed)});
    manyIcons[4] = 0x88;
    manyIcons[5] = 0x13;
    EXPECT_TRUE(Picture::Read(manyIcons).IsEmpty());
    // An entry whose data lies past the end of the file.
    Bytes farIcon = IconFile({Solid(16, 16, kRed)});
    Set32(farIcon, 18, 0x7FFFFFF0);
    EXPECT_TRUE(Picture::Read(farIcon).Image().isNull());
}

TEST(PictureDraw, StretchFillsTheDestinationWithoutCell)
{
    const QImage canvas = DrawPicture(QuadrantPicture(), Into(254, 127, 0));
    const int l = kOriginPx;
    EXPECT_EQ(canvas.pixel(l + 1, l + 1), kRed);
    EXPECT_EQ(canvas.pixel(l + 46, l + 22), kRed); // a quarter is 48 x 24 pixels
    EXPECT_EQ(canvas.pixel(l + 50, l + 2), kGreen);
    EXPECT_EQ(canvas.pixel(l + 2, l + 26), kBlue);
    EXPECT_EQ(canvas.pixel(l + 95, l + 47), kYellow);
    EXPECT_EQ(canvas.pixel(l - 1, l - 1), kCanvas);
    EXPECT_EQ(canvas.pixel(l + 96, l + 48), kCanvas);
    EXPECT_EQ(CountNot(canvas, kCanvas), 96 * 48);
}

TEST(PictureDraw, AnchoredPlacementsPutTheCellAtTheirPosition)
{
    // A 20-pixel picture in a 96 x 48 destination: left, centre and right are 0, 38 and
    // 76 pixels in, top, middle and bottom 0, 14 and 28.
    const Picture picture = QuadrantPicture();
    const int xs[] = {0, 38, 76};
    const int ys[] = {0, 14, 28};
    for (int placement = 1; placement <= 9; ++placement) {
        SCOPED_TRACE(placement);
        const QImage canvas = DrawPicture(picture, Into(254, 127, placement));
        const int x = kOriginPx + xs[(placement - 1) % 3];
        const int y = kOriginPx + ys[(placement - 1) / 3];
        EXPECT_EQ(canvas.pixel(x, y), kRed);
        EXPECT_EQ(canvas.pixel(x + 19, y), kGreen);
        EXPECT_EQ(canvas.pixel(x, y + 19), kBlue);
        EXPECT_EQ(canvas.pixel(x + 19, y + 19), kYellow);
        // Only the cell is painted; the rest of the destination stays as it was.
        EXPECT_EQ(CountNot(canvas, kCanvas), 20 * 20);
    }
}

TEST(PictureDraw, CentredPlacementOnSmallDestinationShowsTheMiddle)
{
    // A 40-pixel picture in a destination of 20 pixels (53 units): the cut starts at the
    // destination's top-left and shows the cell from (10, 10).
    const Picture picture =
        Picture::Read(picturetest::Encode(picturetest::Coordinates(40, 40), "bmp"));
    const QImage canvas = DrawPicture(picture, Into(53, 53, 5));
    for (const QPoint d : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 19), QPoint(19, 19)}) {
        SCOPED_TRACE(d.x() * 100 + d.y());
        EXPECT_EQ(canvas.pixel(kOriginPx + d.x(), kOriginPx + d.y()),
                  qRgb(6 * (10 + d.x()), 6 * (10 + d.y()), 100));
    }
    EXPECT_EQ(CountNot(canvas, kCanvas), 20 * 20);
}

TEST(PictureDraw, TilingRepeatsCellsAndCutsTheLastRowAndColumn)
{
    const QImage canvas = DrawPicture(QuadrantPicture(), Into(254, 127, 10));
    const int l = kOriginPx;
    EXPECT_EQ(canvas.pixel(l + 1, l + 1), kRed);
    EXPECT_EQ(canvas.pixel(l + 21, l + 21), kRed);
    EXPECT_EQ(canvas.pixel(l + 60 + 15, l + 40 + 5), kGreen);
    // 96 = 4 x 20 + 16: the fifth column is cut after 16 pixels, the third row after 8.
    EXPECT_EQ(canvas.pixel(l + 95, l + 47), kGreen);
    EXPECT_EQ(canvas.pixel(l + 96, l + 47), kCanvas);
    EXPECT_EQ(canvas.pixel(l + 95, l + 48), kCanvas);
    EXPECT_EQ(CountNot(canvas, kCanvas), 96 * 48);
}

TEST(PictureDraw, TilingSkipsCellsOutsideTheClipBox)
{
    PictureDrawRequest request = Into(254, 127, 10);
    request.clip = {kOrigin, kOrigin, kOrigin + 10, kOrigin + 10};
    const QImage canvas = DrawPicture(QuadrantPicture(), request);
    EXPECT_EQ(canvas.pixel(kOriginPx + 19, kOriginPx + 19), kYellow); // the whole first cell
    EXPECT_EQ(canvas.pixel(kOriginPx + 21, kOriginPx + 1), kCanvas);
    EXPECT_EQ(CountNot(canvas, kCanvas), 20 * 20);
}

TEST(PictureDraw, FitPlacementsKeepTheAspect)
{
    // A square picture in a 2:1 destination: placement 11 tiles squares of the
    // destination's height, 12 centres one.
    const Picture picture = QuadrantPicture();
    const int l = kOriginPx;
    const QImage tiled = DrawPicture(picture, Into(254, 127, 11));
    for (int left : {0, 48}) {
        SCOPED_TRACE(left);
        EXPECT_EQ(tiled.pixel(l + left + 1, l + 1), kRed);
        EXPECT_EQ(tiled.pixel(l + left + 30, l + 1), kGreen);
        EXPECT_EQ(tiled.pixel(l + left + 47, l + 47), kYellow);
    }
    EXPECT_EQ(CountNot(tiled, kCanvas), 96 * 48);

    const QImage centred = DrawPicture(picture, Into(254, 127, 12));
    EXPECT_EQ(centred.pixel(l + 24, l), kRed);
    EXPECT_EQ(centred.pixel(l + 71, l + 47), kYellow);
    EXPECT_EQ(centred.pixel(l + 23, l + 10), kCanvas);
    EXPECT_EQ(CountNot(centred, kCanvas), 48 * 48);
}

TEST(PictureDraw, ScaleEnlargesTheCell)
{
    PictureDrawRequest request = Into(254, 127, 1);
    request.scaleX = 2000;
    request.scaleY = 1000;
    const QImage canvas = DrawPicture(QuadrantPicture(), request);
    EXPECT_EQ(canvas.pixel(kOriginPx + 19, kOriginPx + 1), kRed);
    EXPECT_EQ(canvas.pixel(kOriginPx + 39, kOriginPx + 1), kGreen);
    EXPECT_EQ(CountNot(canvas, kCanvas), 40 * 20);
}

TEST(PictureDraw, CellBackgroundShowsThroughTransparentPixels)
{
    // An icon whose left half is transparent.
    QImage half(32, 32, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y) {
        for (int x = 16; x < 32; ++x) {
            half.setPixel(x, y, kBlue);
        }
    }
    const Picture icon = Picture::Read(picturetest::IconFile({half}));
    ASSERT_FALSE(icon.IsEmpty());
    const struct {
        int32_t placement;
        uint32_t background;
        QRgb left;
        int blueFrom; // where the opaque half starts, pixels into the destination
    } cases[] = {
        {1, 0x00FF00, kGreen, 16},       // the cell in the background colour
        {1, 0x7FFFFFFF, 0xFFFFFFFF, 16}, // no colour: a white cell
        {0, 0x00FF00, kCanvas, 48},      // stretching has no cell
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.placement * 1000 + int(c.background & 0xF));
        PictureDrawRequest request = Into(254, 127, c.placement);
        request.background = c.background;
        const QImage canvas = DrawPicture(icon, request);
        EXPECT_EQ(canvas.pixel(kOriginPx + 2, kOriginPx + 2), c.left);
        EXPECT_EQ(canvas.pixel(kOriginPx + c.blueFrom - 1, kOriginPx + 2), c.left);
        EXPECT_EQ(canvas.pixel(kOriginPx + c.blueFrom, kOriginPx + 2), kBlue);
    }
}

TEST(PictureDraw, RasterOperationCombinesWithTheDestination)
{
    const Picture picture = Picture::Read(picturetest::Encode(
        picturetest::Solid(20, 20, 0xFFFF00FF).convertToFormat(QImage::Format_RGB32), "bmp"));
    const struct {
        uint32_t rop;
        QRgb expected; // over the grey canvas 0x808080
    } cases[] = {
        {0, 0xFFFF00FF},
        {0x8800C6, qRgb(0x80, 0, 0x80)},    // source AND destination
        {0xEE0086, qRgb(0xFF, 0x80, 0xFF)}, // source OR destination
        {0x660046, qRgb(0x7F, 0x80, 0x7F)}, // source XOR destination
        {0x220326, qRgb(0, 0x80, 0)},       // destination AND NOT source
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rop);
        for (int32_t placement : {0, 1}) {
            PictureDrawRequest request = Into(254, 127, placement);
            request.rasterOperation = c.rop;
            const QImage canvas = DrawPicture(picture, request);
            EXPECT_EQ(canvas.pixel(kOriginPx + 5, kOriginPx + 5), c.expected);
        }
    }
}

TEST(PictureDraw, DegenerateRequestsDrawNothingOrStretch)
{
    const Picture picture = QuadrantPicture();
    bool drawn = true;
    PictureDrawRequest pastTheEnd = Into(254, 127, 1);
    pastTheEnd.sourceX = picture.WidthHimetric();
    QImage canvas = DrawPicture(picture, pastTheEnd, &drawn);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(CountNot(canvas, kCanvas), 0);

    // A destination less than a unit high forces stretching, which here covers nothing.
    canvas = DrawPicture(picture, Into(254, 0, 10), &drawn);
    EXPECT_EQ(CountNot(canvas, kCanvas), 0);

    // A placement outside the table stretches.
    canvas = DrawPicture(picture, Into(254, 127, 99), &drawn);
    EXPECT_TRUE(drawn);
    EXPECT_EQ(CountNot(canvas, kCanvas), 96 * 48);

    // The right half of the picture as source, stretched over the destination.
    PictureDrawRequest rightHalf = Into(254, 127, 0);
    rightHalf.sourceX = picture.WidthHimetric() / 2;
    canvas = DrawPicture(picture, rightHalf, &drawn);
    EXPECT_EQ(canvas.pixel(kOriginPx + 2, kOriginPx + 2), kGreen);
    EXPECT_EQ(canvas.pixel(kOriginPx + 2, kOriginPx + 46), kYellow);
}

TEST(PictureDraw, MetafilePlacementsUseTheHeaderSize)
{
    // One inch by half an inch: 96 x 48 pixels at 96 dpi, drawn centred in a larger box.
    const Bytes wmf = metafiletest::WmfBuilder(0, 0, 1440, 720, 1440)
                          .CreateBrush(0, metafiletest::Rgb(255, 0, 0))
                          .SelectObject(0)
                          .Rectangle(0, 0, 1440, 720)
                          .Finish();
    const Picture picture = Picture::Read(wmf);
    ASSERT_TRUE(picture.IsMetafile());
    const QImage canvas = DrawPicture(picture, Into(381, 254, 5)); // 144 x 96 pixels
    EXPECT_EQ(canvas.pixel(kOriginPx + 24 + 48, kOriginPx + 24 + 24), kRed);
    EXPECT_EQ(canvas.pixel(kOriginPx + 10, kOriginPx + 10), kCanvas);
}

TEST(PictureMonochrome, SetBitsComeOutBlackOverWhatIsBeneath)
{
    // Rows of 16 pixels: 1111 0000 0000 1111 and 1010 1010 0101 0101.
    const QImage bits = MonochromeImage(16, 2, Bytes{0xF0, 0x0F, 0xAA, 0x55});
    ASSERT_FALSE(bits.isNull());
    const struct {
        int32_t scale;
        int factor;
    } cases[] = {{1000, 1}, {4000, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        QImage canvas = Canvas();
        canvas.fill(kRed);
        QPainter painter(&canvas);
        const DrawContext dc(painter, 254, 254); // one unit per pixel
        EXPECT_TRUE(DrawMonochrome(dc, bits, {10, 10}, c.scale, c.scale));
        painter.end();
        const int f = c.factor;
        EXPECT_EQ(canvas.pixel(10, 10), 0xFF000000u);
        EXPECT_EQ(canvas.pixel(10 + 4 * f, 10), kRed);
        EXPECT_EQ(canvas.pixel(10 + 16 * f - 1, 10 + f - 1), 0xFF000000u);
        EXPECT_EQ(canvas.pixel(10 + f, 10 + f), kRed); // row 1, column 1
        EXPECT_EQ(canvas.pixel(10 + 16 * f - 1, 10 + 2 * f - 1), 0xFF000000u);
        EXPECT_EQ(canvas.pixel(10 + 16 * f, 10), kRed); // past the right edge
        EXPECT_EQ(canvas.pixel(10, 10 + 2 * f), kRed);  // below the last row
        EXPECT_EQ(CountNot(canvas, kRed), (8 + 8) * f * f);
    }
}

TEST(PictureMonochrome, RejectsSizesTheBitsDoNotCover)
{
    EXPECT_TRUE(MonochromeImage(16, 2, Bytes{1, 2, 3}).isNull());
    EXPECT_TRUE(MonochromeImage(17, 1, Bytes{1, 2}).isNull()); // a row of 17 needs 4 bytes
    EXPECT_FALSE(MonochromeImage(17, 1, Bytes{1, 2, 3, 4}).isNull());
    EXPECT_TRUE(MonochromeImage(0, 1, Bytes{1, 2}).isNull());
    EXPECT_TRUE(MonochromeImage(-16, 1, Bytes{1, 2}).isNull());
    EXPECT_TRUE(MonochromeImage(40000, 1, Bytes(5000, 0)).isNull());
    QImage canvas = Canvas();
    QPainter painter(&canvas);
    const DrawContext dc(painter, 254, 254);
    EXPECT_FALSE(DrawMonochrome(dc, QImage(), {0, 0}, 1000, 1000));
}

} // namespace
} // namespace figures
