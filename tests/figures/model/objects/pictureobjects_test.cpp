// Picture objects, picture and gradient fills of shapes and polylines, pictures in
// documents, and reviewed reference images of every placement. Set
// VELKOR_UPDATE_REFERENCES=1 to rewrite the references, then look at each one before
// committing it.
#include "figures/model/objects/clinegraph.h"
#include "figures/model/objects/cpcxpicturebox.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/document.h"
#include "figures/model/storage/documentformat.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "tests/figures/render/pictures/metafile/metafilebuilder.h"
#include "tests/figures/render/pictures/picturefiles.h"
#include "support/referencepicture.h"
#include "support/viewpicture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace figures {
namespace {

using picturetest::Bytes;
using picturetest::kBlue;
using picturetest::kGreen;
using picturetest::kRed;
using picturetest::kYellow;

constexpr QRgb kCanvas = 0xFF808080;
constexpr QRgb kBlack = 0xFF000000;
constexpr double kScreenDpi = 96.0;
// 127 document units are 48 pixels at 96 dpi.
constexpr Rect kFrame{127, 127, 381, 254}; // 96 x 48 pixels from (48, 48)

Bytes QuadrantBitmap(int side = 20)
{
    return picturetest::Encode(picturetest::Quadrants(side, side), "bmp");
}

struct Canvas {
    explicit Canvas(QSize size = {200, 160}) : image(size, QImage::Format_RGB32)
    {
        image.fill(kCanvas);
        painter.begin(&image);
    }
    QImage Finish()
    {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

void Draw(CBaseCom& object, Canvas& canvas, Rect target, bool fromView = false,
          int32_t scale = 1000, double dpi = kScreenDpi)
{
    DrawContext dc(canvas.painter, dpi, dpi);
    DrawRequest request;
    request.dc = &dc;
    request.target = target;
    request.scaleX = request.scaleY = scale;
    request.background = 0x808080;
    request.fromView = fromView;
    object.OnMessage(OM_DRAW, &request);
}

int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour;
        }
    }
    return n;
}

TEST(PictureObjects, PictureBoxDrawsShadowPictureThenEdgesOnlyInAView)
{
    for (bool fromView : {false, true}) {
        SCOPED_TRACE(fromView);
        CPictureBox box;
        box.frame = kFrame;
        box.placement = 1;
        box.picture.SetBytes(QuadrantBitmap());
        box.shadowDirection = 5;
        box.shadowOffset = 27; // 10 pixels
        box.shadowColour = 0x00FFFF;
        box.edgeMask = 0xF;
        box.lineStyle = 1;
        Canvas canvas;
        Draw(box, canvas, box.frame, fromView);
        const QImage image = canvas.Finish();
        EXPECT_EQ(image.pixel(50, 50), kRed);
        EXPECT_EQ(image.pixel(66, 66), kYellow);
        // The shadow is the frame rectangle moved, showing where the picture leaves it.
        EXPECT_EQ(image.pixel(48 + 96 + 5, 48 + 48 + 5), kYellow);
        EXPECT_EQ(image.pixel(48 + 60, 48 + 30), kYellow);
        EXPECT_EQ(image.pixel(48 + 60, 48 + 5), kCanvas); // above the shadow
        // The top edge right of the picture.
        EXPECT_EQ(image.pixel(48 + 60, 48) == kCanvas, !fromView);
    }
}

TEST(PictureObjects, RegionsAreTheFrameRectangle)
{
    CPictureBox picture;
    CPCXPictureBox bitmap;
    for (CRectCom* object : {static_cast<CRectCom*>(&picture), static_cast<CRectCom*>(&bitmap)}) {
        object->frame = kFrame;
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        DrawContext dc(painter, kScreenDpi, kScreenDpi);
        DrawRequest draw;
        draw.dc = &dc;
        draw.target = kFrame;
        RegionRequest silhouette{&draw, {}, false};
        EXPECT_EQ(object->OnMessage(OM_GET_REGION, &silhouette), 0);
        EXPECT_EQ(silhouette.region.boundingRect(), QRectF(48, 48, 96, 48));
        RegionRequest fill{&draw, {}, false};
        EXPECT_EQ(object->OnMessage(OM_FILL_HOOK, &fill), 0);
        EXPECT_EQ(fill.region.boundingRect(), QRectF(48, 48, 96, 48));
    }
}

TEST(PictureObjects, MonochromeBoxInksSetBitsAtTheRequestScale)
{
    const struct {
        int32_t scale;
        int factor;
    } cases[] = {{1000, 1}, {4000, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        CPCXPictureBox box;
        box.frame = {10, 10, 200, 100};
        // 1111 0000 0000 1111 over 1010 1010 0101 0101
        box.pcxPicture.Set(16, 2, {0xF0, 0x0F, 0xAA, 0x55});
        Canvas canvas;
        Draw(box, canvas, box.frame, false, c.scale, 254); // one pixel per unit
        const QImage image = canvas.Finish();
        EXPECT_EQ(image.pixel(10, 10), kBlack);
        EXPECT_EQ(image.pixel(10 + 4 * c.factor, 10), kCanvas);
        EXPECT_EQ(image.pixel(10 + 16 * c.factor - 1, 10 + 2 * c.factor - 1), kBlack);
        EXPECT_EQ(CountColour(image, kBlack), 16 * c.factor * c.factor);
    }
    // Bits too few for the size stay in the object but draw nothing.
    CPCXPictureBox broken;
    broken.pcxPicture.Set(64, 64, {1, 2, 3});
    EXPECT_TRUE(broken.pcxPicture.Image().isNull());
    EXPECT_EQ(broken.pcxPicture.Bits().size(), 3u);
    Canvas canvas;
    Draw(broken, canvas, {0, 0, 100, 100});
    EXPECT_EQ(CountColour(canvas.Finish(), kCanvas), 200 * 160);
}

TEST(PictureFill, ShapesShowThePictureClippedToTheirRegion)
{
    const Bytes red = picturetest::Encode(
        picturetest::Solid(20, 20, kRed).convertToFormat(QImage::Format_RGB32), "bmp");
    const struct {
        const char* name;
        int32_t placement;
        QRgb centre;
        QRgb insideOutsideCell; // inside the ellipse, away from a centred 20-pixel cell
        bool pattern;
    } cases[] = {
        {"stretched", 0, kRed, kRed, false},
        {"tiled", 10, kRed, kRed, false},
        {"fit and tiled", 11, kRed, kRed, false},
        {"centred over the pattern", 5, kRed, 0, true},
        {"fit and centred over the pattern", 12, kRed, kRed, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRichGraph ellipse(10);
        ellipse.frame = {127, 127, 381, 381}; // 96 x 96 pixels from (48, 48)
        ellipse.fillKind = FillKind::Picture;
        ellipse.picturePlacement = c.placement;
        ellipse.fillPicture.SetBytes(red);
        ellipse.hatchStyle = 12; // checkerboard
        ellipse.fillColour = 0x000000;
        ellipse.fillBackColour = 0xFFFFFF;
        ellipse.lineStyle = 0;
        Canvas canvas;
        Draw(ellipse, canvas, ellipse.frame);
        const QImage image = canvas.Finish();
        EXPECT_EQ(image.pixel(96, 96), c.centre);
        EXPECT_EQ(image.pixel(50, 50), kCanvas); // the box's corner is outside the ellipse
        const QRgb side = image.pixel(60, 96);
        if (c.pattern && c.placement == 5) {
            EXPECT_TRUE(side == kBlack || side == 0xFFFFFFFF) << std::hex << side;
        } else {
            EXPECT_EQ(side, c.insideOutsideCell);
        }
    }
}

TEST(GradientFill, PolylinesShowGradientsShapesDoNot)
{
    auto make = [](CRectCom& object) {
        object.fillKind = FillKind::Gradient;
        object.gradientKind = 2;
        object.gradientCount = 2;
        object.gradientColours[0] = 0x0000FF;
        object.gradientColours[1] = 0xFF0000;
        object.lineStyle = 0;
        object.frame = {10, 10, 110, 60};
    };
    CLineGraph polyline;
    make(polyline);
    polyline.closed = 1;
    polyline.layoutWidth = 100;
    polyline.layoutHeight = 50;
    polyline.SetPoints({{0, 0}, {100, 0}, {100, 50}, {0, 50}});
    Canvas lineCanvas;
    Draw(polyline, lineCanvas, polyline.frame, false, 1000, 254);
    const QImage line = lineCanvas.Finish();
    EXPECT_EQ(line.pixel(10, 30), kRed);
    EXPECT_EQ(line.pixel(109, 30), qRgb(3, 0, 252));
    EXPECT_EQ(line.pixel(111, 30), kCanvas);

    // Without a gradient kind, fill kind 4 is transparent.
    polyline.gradientKind = 0;
    Canvas clearCanvas;
    Draw(polyline, clearCanvas, polyline.frame, false, 1000, 254);
    EXPECT_EQ(CountColour(clearCanvas.Finish(), kCanvas), 200 * 160);

    CRichGraph rectangle(2);
    make(rectangle);
    Canvas shapeCanvas;
    Draw(rectangle, shapeCanvas, rectangle.frame, false, 1000, 254);
    EXPECT_EQ(CountColour(shapeCanvas.Finish(), kCanvas), 200 * 160);
}

// One picture of every format the holder reads, as the files' bytes.
std::vector<std::pair<const char*, Bytes>> PictureOfEachFormat()
{
    using namespace picturetest;
    return {
        {"bmp", QuadrantBitmap(30)},
        {"dib", PackedDib(Quadrants(24, 16))},
        {"jpeg", Encode(Quadrants(32, 24), "jpeg", 90)},
        {"gif", Gif(12, 10)},
        {"ico", IconFile({Solid(16, 16, kRed), Solid(32, 32, kBlue)})},
        {"cur", IconFile({Solid(32, 32, kGreen)}, 2)},
        {"wmf", metafiletest::WmfBuilder(0, 0, 1440, 720, 1440)
                    .CreateBrush(0, metafiletest::Rgb(0, 128, 255))
                    .SelectObject(0)
                    .Ellipse(0, 0, 1440, 720)
                    .Finish()},
        {"emf", metafiletest::EmfBuilder(QRect(0, 0, 100, 50), QRect(0, 0, 2000, 1000))
                    .CreateBrush(1, 0, metafiletest::Rgb(255, 160, 0))
                    .SelectObject(1)
                    .Rectangle(5, 5, 70, 35)
                    .Finish()},
        {"undecodable", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
    };
}

TEST(PictureDocuments, EveryFormatRoundTripsByteForByte)
{
    const auto pictures = PictureOfEachFormat();
    Document document;
    View& view = *document.ViewAt(0);
    int32_t left = 0;
    for (const auto& [name, bytes] : pictures) {
        auto box = std::make_unique<CPictureBox>();
        box->frame = {left, 0, left + 200, 100};
        box->placement = int32_t(left / 200 % 13);
        box->picture.SetBytes(bytes);
        view.Append(std::move(box));
        left += 200;
    }
    auto filled = std::make_unique<CRichGraph>(2);
    filled->frame = {0, 200, 300, 400};
    filled->fillKind = FillKind::Picture;
    filled->fillPicture.SetBytes(pictures[2].second);
    view.Append(std::move(filled));

    const std::vector<uint8_t> stored = WriteDocument(document);
    Document back;
    const ReadDocumentResult result = ReadDocument(stored, back);
    ASSERT_TRUE(result.ok) << result.error;
    const View& read = *back.ViewAt(0);
    ASSERT_EQ(read.ObjectCount(), int(pictures.size()) + 1);
    for (size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(pictures[i].first);
        const auto& box = dynamic_cast<const CPictureBox&>(*read.objects[i]);
        EXPECT_EQ(box.picture.Bytes(), pictures[i].second);
        const Picture original = Picture::Read(pictures[i].second);
        EXPECT_EQ(box.picture.HasPicture(), !original.IsEmpty());
        EXPECT_EQ(box.picture.Width(), original.WidthHimetric());
        EXPECT_EQ(box.picture.Height(), original.HeightHimetric());
        EXPECT_EQ(box.placement, int32_t(i % 13));
    }
    EXPECT_FALSE(
        dynamic_cast<const CPictureBox&>(*read.objects[pictures.size() - 1]).picture.HasPicture());
    const auto& shape = dynamic_cast<const CRichGraph&>(*read.objects.back());
    EXPECT_EQ(shape.fillPicture.Bytes(), pictures[2].second);
    EXPECT_TRUE(shape.fillPicture.HasPicture());
    EXPECT_EQ(WriteDocument(back), stored);
}

TEST(PictureDocuments, DamagedPictureRecordsStopTheObject)
{
    Document document;
    auto box = std::make_unique<CPictureBox>();
    box->frame = {0, 0, 100, 100};
    box->picture.SetBytes(QuadrantBitmap());
    document.ViewAt(0)->Append(std::move(box));
    const std::vector<uint8_t> stored = WriteDocument(document);
    // Every cut through the picture's bytes reads without crashing; the object is lost,
    // the document is not.
    for (size_t n = stored.size() / 2; n < stored.size(); n += 97) {
        Document back;
        ReadDocument(std::span(stored).first(n), back);
        ASSERT_GE(back.ViewCount(), 1);
        EXPECT_EQ(back.ViewAt(0)->ObjectCount(), 0) << n;
    }
}

TEST(PictureLoading, LoadFileFollowsTheNamingRulesAndEmptiesOnFailure)
{
    QTemporaryDir dir(QDir::tempPath() + "/picturesXXXXXX");
    ASSERT_TRUE(dir.isValid());
    ASSERT_FALSE(dir.path().contains('.')) << "the no-dot rule needs a dotless folder";
    auto write = [&](const QString& name, const Bytes& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    };
    write("photo.jpg", picturetest::Encode(picturetest::Quadrants(30, 20), "jpeg", 90));
    write("clip.gif", picturetest::Gif(10, 8));
    write("notes.txt", {'n', 'o', 't', 'e', 's'});
    write("noext", QuadrantBitmap());

    const struct {
        const char* name;
        QString path;
        bool loads;
        int32_t width;
    } cases[] = {
        {"no dot opens the JPEG", dir.filePath("photo"), true, 794},
        {"JPEG by name", dir.filePath("photo.jpg"), true, 794},
        {"GIF", dir.filePath("clip.gif"), true, 265},
        {"no dot never opens the file as named", dir.filePath("noext"), false, 0},
        {"not a picture", dir.filePath("notes.txt"), false, 0},
        {"missing file", dir.filePath("missing.bmp"), false, 0},
        {"empty path", QString(), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPic pic;
        pic.SetBytes(QuadrantBitmap()); // replaced or cleared by every load
        const QByteArray path = c.path.toLocal8Bit();
        EXPECT_EQ(pic.LoadFile(std::string(path.constData(), size_t(path.size()))), c.loads);
        EXPECT_EQ(pic.Width(), c.width);
        EXPECT_EQ(pic.IsEmpty(), !c.loads);
        EXPECT_EQ(pic.HasPicture(), c.loads);
    }
}

// ---- reference images ----

QImage Render(const View& view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const DrawContext dc(painter, kScreenDpi, kScreenDpi);
    PaintOptions options;
    options.deviceClip = {0, 0, size.width(), size.height()};
    options.background = 0xF0F0F0;
    PaintView(view, dc, options);
    return image;
}

// Every placement of a 20 x 16 pixel picture in boxes of 64 x 40 pixels, then the two
// fits in a tall box and a picture larger than its box.
void BuildPlacements(View& view)
{
    const Bytes bitmap = picturetest::Encode(picturetest::Quadrants(20, 16), "bmp");
    for (int32_t placement = 0; placement <= 12; ++placement) {
        auto box = std::make_unique<CPictureBox>();
        const int32_t col = placement % 5;
        const int32_t row = placement / 5;
        box->frame = {20 + 200 * col, 20 + 140 * row, 189 + 200 * col, 126 + 140 * row};
        box->placement = placement;
        box->picture.SetBytes(bitmap);
        box->shadowDirection = placement == 0 ? 5 : 0;
        view.Append(std::move(box));
    }
    for (int32_t placement : {11, 12, 5}) {
        auto box = std::make_unique<CPictureBox>();
        const int32_t at = 620 + 140 * (placement % 11 == 0 ? 0 : placement == 12 ? 1 : 2);
        box->frame = {at, 300, at + 100, 400 + (placement == 5 ? 0 : 100)};
        box->placement = placement;
        box->picture.SetBytes(
            placement == 5 ? picturetest::Encode(picturetest::Coordinates(40, 40), "bmp") : bitmap);
        view.Append(std::move(box));
    }
}

// One picture box per format, and the monochrome bitmap at two sizes.
void BuildFormats(View& view)
{
    const auto pictures = PictureOfEachFormat();
    for (size_t i = 0; i + 1 < pictures.size(); ++i) {
        auto box = std::make_unique<CPictureBox>();
        const auto col = int32_t(i % 4);
        const auto row = int32_t(i / 4);
        box->frame = {20 + 200 * col, 20 + 160 * row, 200 + 200 * col, 160 + 160 * row};
        box->placement = 12;
        box->picture.SetBytes(pictures[i].second);
        view.Append(std::move(box));
    }
    auto bitmap = std::make_unique<CPCXPictureBox>();
    bitmap->frame = {20, 340, 400, 420};
    std::vector<uint8_t> bits;
    for (int y = 0; y < 16; ++y) {
        bits.push_back(uint8_t(0xFF >> (y % 8)));
        bits.push_back(uint8_t(y % 2 ? 0xAA : 0x55));
        bits.push_back(uint8_t(1 << (y % 8)));
        bits.push_back(0x0F);
    }
    bitmap->pcxPicture.Set(32, 16, bits);
    view.Append(std::move(bitmap));
}

// Picture fills of shapes in several placements and the eight gradient directions on
// polylines.
void BuildFills(View& view)
{
    const Bytes bitmap = picturetest::Encode(picturetest::Quadrants(20, 16), "bmp");
    const struct {
        int32_t entry;
        int32_t placement;
    } shapes[] = {{10, 0}, {10, 10}, {61, 11}, {10, 5}, {2, 12}};
    int32_t left = 20;
    for (const auto& s : shapes) {
        auto shape = std::make_unique<CRichGraph>(s.entry);
        shape->frame = {left, 20, left + 160, 160};
        shape->fillKind = FillKind::Picture;
        shape->picturePlacement = s.placement;
        shape->fillPicture.SetBytes(bitmap);
        shape->hatchStyle = 41;
        shape->fillColour = 0x804000;
        shape->fillBackColour = 0xE0FFFF;
        view.Append(std::move(shape));
        left += 180;
    }
    const int32_t modes[] = {1, -1, 2, -2, 3, 4, -3, -4};
    for (int i = 0; i < 8; ++i) {
        auto polyline = std::make_unique<CLineGraph>();
        const int32_t x = 20 + 110 * i;
        polyline->frame = {x, 200, x + 100, 330};
        polyline->layoutWidth = 100;
        polyline->layoutHeight = 130;
        polyline->closed = 1;
        polyline->SetPoints({{50, 0}, {100, 40}, {80, 130}, {20, 130}, {0, 40}});
        polyline->fillKind = FillKind::Gradient;
        polyline->gradientKind = modes[i];
        polyline->gradientCount = i < 4 ? 2 : 3;
        polyline->gradientColours = {0x0000FF, 0xFF0000, 0x00C000};
        polyline->lineWidth = 5;
        view.Append(std::move(polyline));
    }
}

testsupport::ReferencePicture Drawing(const char* name, void (*build)(View&), QSize size)
{
    return testsupport::ViewPicture(name, build, size, Render);
}

using testsupport::ReferencePictures;

INSTANTIATE_TEST_SUITE_P(Pictures, ReferencePictures,
                         testing::Values(Drawing("picture-placements", BuildPlacements, {400, 200}),
                                         Drawing("picture-formats", BuildFormats, {320, 170}),
                                         Drawing("picture-fills", BuildFills, {350, 135})),
                         testsupport::CaseName());

} // namespace
} // namespace figures
