// The metafile player's public contract: picture sizes from the headers, drawing into a
// target through any painter, the device state's limits, and damaged or hostile input
// refused or skipped without harm.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/fontscenes.h"
#include "tests/figures/render/pictures/metafile/metafilebuilder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

namespace figures {
namespace {

using namespace metafiletest;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kStock = 0x80000000;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kRedPixel = 0xFFFF0000;
constexpr QRgb kBluePixel = 0xFF0000FF;
constexpr QRgb kGreenPixel = 0xFF00FF00;

// Plays into a white image of size, the picture filling it unless target says otherwise.
QImage Play(const Bytes& bytes, QSize size = {100, 100}, bool* played = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool ok = PlayMetafile(bytes, painter, QRectF(QPointF(0, 0), size));
    if (played != nullptr) {
        *played = ok;
    }
    return image;
}

// A 100 x 100 placeable picture, one logical unit a pixel, pens off.
WmfBuilder Wmf100()
{
    WmfBuilder b(0, 0, 100, 100, 96);
    b.CreatePen(5, 0, 0).SelectObject(0); // slot 0: the null pen
    return b;
}

// A 100 x 100 enhanced picture on a 96-dpi reference device, pens off.
EmfBuilder Emf100()
{
    EmfBuilder b(QRect(0, 0, 100, 100), QRect(0, 0, 2646, 2646));
    b.SelectObject(kStock | 8);
    return b;
}

TEST(MetafileInspect, SizesInHimetricAsThePictureObjectReportsThem)
{
    struct Case {
        const char* name;
        Bytes bytes;
        bool enhanced;
        int32_t width;
        int32_t height;
        QRectF bounds;
    };
    const Case cases[] = {
        {"placeable twips", WmfBuilder(0, 0, 1440, 720, 1440).Finish(), false, 2540, 1270,
         QRectF(0, 0, 1440, 720)},
        {"placeable 1000 per inch, offset box", WmfBuilder(100, 200, 1100, 700, 1000).Finish(),
         false, 2540, 1270, QRectF(100, 200, 1000, 500)},
        {"placeable rounds halves away from zero", WmfBuilder(0, 0, 3, 1, 200).Finish(), false, 38,
         13, QRectF(0, 0, 3, 1)},
        {"placeable box given right to left", WmfBuilder(96, 48, 0, 0, 96).Finish(), false, 2540,
         1270, QRectF(0, 0, 96, 48)},
        {"enhanced frame, no plus one",
         EmfBuilder(QRect(0, 0, 100, 50), QRect(QPoint(0, 0), QPoint(2540, 1270))).Finish(), true,
         2540, 1270, QRectF(0, 0, 96, 48)},
        {"enhanced frame with an offset",
         EmfBuilder(QRect(0, 0, 10, 10), QRect(QPoint(1000, 500), QPoint(2000, 1000))).Finish(),
         true, 1000, 500,
         QRectF(1000 * 96 / 2540.0, 500 * 96 / 2540.0, 1000 * 96 / 2540.0, 500 * 96 / 2540.0)},
        {"plain metafile sized by its window at 96 per inch", WmfPlain(), false, 10583, 7938,
         QRectF(100, 50, 400, 300)},
        {"plain metafile with the y axis turned up",
         WmfBuilder(0, 0, 1, 1).SetWindowOrg(-20, 192).SetWindowExt(96, -192).FinishPlain(), false,
         2540, 5080, QRectF(-20, 0, 96, 192)},
        {"plain metafile takes the first window",
         WmfBuilder(0, 0, 1, 1).SetWindowExt(48, 96).SetWindowExt(1, 1).FinishPlain(), false, 1270,
         2540, QRectF(0, 0, 48, 96)},
        // Empty frame: bounds of 480 x 240 pixels on a device of 1920 pixels in 480 mm.
        {"enhanced empty frame falls back on the bounds",
         EmfBuilder(QRect(0, 0, 481, 241), QRect(0, 0, 0, 0), {1920, 1080}, {480, 270}).Finish(),
         true, 12000, 6000, QRectF(0, 0, 480, 240)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MetafileInfo info = InspectMetafile(c.bytes);
        ASSERT_TRUE(info.ok);
        EXPECT_EQ(info.enhanced, c.enhanced);
        EXPECT_EQ(info.widthHimetric, c.width);
        EXPECT_EQ(info.heightHimetric, c.height);
        EXPECT_NEAR(info.bounds.x(), c.bounds.x(), 1e-9);
        EXPECT_NEAR(info.bounds.y(), c.bounds.y(), 1e-9);
        EXPECT_NEAR(info.bounds.width(), c.bounds.width(), 1e-9);
        EXPECT_NEAR(info.bounds.height(), c.bounds.height(), 1e-9);
    }
}

TEST(MetafileInspect, RefusesWhatIsNoSizedPicture)
{
    const Bytes placeable = WmfBuilder(0, 0, 100, 100, 96).Rectangle(0, 0, 10, 10).Finish();
    const Bytes enhanced = Emf100().Rectangle(0, 0, 10, 10).Finish();
    auto with = [](Bytes bytes, size_t at, uint8_t value) {
        bytes[at] = value;
        return bytes;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"a plain metafile that sets no window", Bytes(placeable.begin() + 22, placeable.end())},
        {"a plain metafile with an empty window",
         WmfBuilder(0, 0, 1, 1).SetWindowExt(0, 100).Rectangle(0, 0, 5, 5).FinishPlain()},
        {"a plain metafile whose window comes after a record longer than the file",
         with(with(WmfBuilder(0, 0, 1, 1).Rectangle(0, 0, 5, 5).SetWindowExt(10, 10).FinishPlain(),
                   18, 0xFF),
              19, 0xFF)},
        {"a plain metafile of an unknown version", with(WmfPlain(), 4, 0x02)},
        {"a plain window record cut short",
         WmfBuilder(0, 0, 1, 1).Raw(0x020C, {10, 0}).FinishPlain()},
        {"placeable header cut short", Bytes(placeable.begin(), placeable.begin() + 30)},
        {"zero units per inch", with(with(placeable, 14, 0), 15, 0)},
        {"empty bounding box", WmfBuilder(10, 10, 10, 90, 96).Finish()},
        {"standard header of the wrong size", with(placeable, 24, 8)},
        {"enhanced signature wrong", with(enhanced, 40, 'X')},
        {"enhanced header cut short", Bytes(enhanced.begin(), enhanced.begin() + 60)},
        {"enhanced header larger than the file", with(enhanced, 7, 0x40)},
        {"enhanced frame and bounds both empty",
         EmfBuilder(QRect(5, 5, 0, 0), QRect(5, 5, 0, 0)).Finish()},
        {"a bitmap", Bytes{'B', 'M', 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(InspectMetafile(c.bytes).ok);
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        EXPECT_FALSE(PlayMetafile(c.bytes, painter, QRectF(0, 0, 10, 10)));
    }
}

TEST(MetafilePlay, StretchesThePictureOntoTheTargetThroughThePainterTransform)
{
    // Both formats fill their whole picture red; the target is 30 x 40 at (5, 10) under a
    // painter that moves by (10, 20) and doubles x, so red covers (20..80, 30..70).
    const Bytes wmf = WmfBuilder(-50, -50, 50, 50, 96)
                          .CreateBrush(0, kRed)
                          .SelectObject(0)
                          .CreatePen(5, 0, 0)
                          .SelectObject(1)
                          .Rectangle(-50, -50, 50, 50)
                          .Finish();
    const Bytes emf =
        Emf100().CreateBrush(1, 0, kRed).SelectObject(1).Rectangle(0, 0, 100, 100).Finish();
    for (const Bytes* bytes : {&wmf, &emf}) {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(10, 20);
        painter.scale(2, 1);
        painter.setClipRect(QRectF(0, 0, 40, 45)); // the caller's clip cuts the bottom row off
        const QTransform before = painter.worldTransform();
        ASSERT_TRUE(PlayMetafile(*bytes, painter, QRectF(5, 10, 30, 40)));
        EXPECT_EQ(painter.worldTransform(), before);
        EXPECT_TRUE(painter.hasClipping());
        painter.end();
        EXPECT_EQ(image.pixel(21, 31), kRedPixel);
        EXPECT_EQ(image.pixel(78, 63), kRedPixel);
        EXPECT_EQ(image.pixel(50, 66), kWhitePixel); // beyond the caller's clip
        EXPECT_EQ(image.pixel(18, 50), kWhitePixel);
        EXPECT_EQ(image.pixel(82, 50), kWhitePixel);
        EXPECT_EQ(image.pixel(50, 28), kWhitePixel);
    }
}

TEST(MetafilePlay, MapsWindowAndViewportForEveryMappingMode)
{
    // A blue square in each mode on a 100 x 100 picture of 100 units per inch: a point
    // it must cover and one it must leave white. The fixed modes count y upward from the
    // viewport origin, put at the bottom left.
    struct Case {
        const char* name;
        int mode;
        QPoint windowExt, viewportExt;
        QRect square;
        QPoint blue, white;
    };
    const Case cases[] = {
        {"text: one unit a device unit", 1, {1, 1}, {1, 1}, {10, 10, 10, 10}, {15, 15}, {50, 50}},
        {"anisotropic doubles x", 8, {50, 100}, {100, 100}, {10, 10, 10, 10}, {30, 15}, {15, 15}},
        {"anisotropic turns y over",
         8,
         {100, -100},
         {100, 100},
         {10, -20, 10, 10},
         {15, 15},
         {15, 85}},
        {"isotropic keeps the smaller scale",
         7,
         {50, 100},
         {100, 100},
         {10, 10, 10, 10},
         {15, 15},
         {30, 15}},
        {"low English, 0.01 inch", 4, {1, 1}, {1, 1}, {10, 10, 10, 10}, {15, 85}, {15, 15}},
        {"high English, 0.001 inch", 5, {1, 1}, {1, 1}, {500, 500, 500, 500}, {75, 25}, {25, 75}},
        {"low metric, 0.1 mm", 2, {1, 1}, {1, 1}, {127, 127, 254, 254}, {75, 25}, {25, 25}},
        {"high metric, 0.01 mm", 3, {1, 1}, {1, 1}, {1270, 1270, 1270, 1270}, {75, 25}, {75, 75}},
        {"twips", 6, {1, 1}, {1, 1}, {720, 720, 720, 720}, {75, 25}, {25, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WmfBuilder b(0, 0, 100, 100, 100);
        b.CreatePen(5, 0, 0).SelectObject(0).CreateBrush(0, kBlue).SelectObject(1);
        b.SetMapMode(c.mode).SetWindowOrg(0, 0).SetWindowExt(c.windowExt.x(), c.windowExt.y());
        b.SetViewportExt(c.viewportExt.x(), c.viewportExt.y());
        if (c.mode >= 2 && c.mode <= 6) {
            b.SetViewportOrg(0, 100);
        }
        b.Rectangle(c.square.left(), c.square.top(), c.square.left() + c.square.width(),
                    c.square.top() + c.square.height());
        const QImage image = Play(b.Finish());
        EXPECT_EQ(image.pixel(c.blue), kBluePixel);
        EXPECT_EQ(image.pixel(c.white), kWhitePixel);
    }
}

TEST(MetafilePlay, ArcsRunCounterClockwiseOnTheDeviceWhateverTheAxes)
{
    // A pie from the radial to the right to the radial upward on the screen: the
    // counter-clockwise quarter is the top right one, in y-down and y-up mappings alike;
    // the clockwise direction takes the other three quarters.
    for (int direction : {1, 2}) {
        for (bool yUp : {false, true}) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << " y up " << yUp);
            EmfBuilder b = Emf100();
            b.CreateBrush(1, 0, kGreen).SelectObject(1).SetArcDirection(direction);
            if (yUp) {
                b.SetMapMode(8).SetWindowExt(100, -100).SetViewportOrg(0, 100);
                b.SetViewportExt(100, 100);
                b.ArcLike(47, 10, 10, 90, 90, 90, 50, 50, 90);
            } else {
                b.ArcLike(47, 10, 10, 90, 90, 90, 50, 50, 10);
            }
            const QImage image = Play(b.Finish());
            const QRgb topRight = image.pixel(70, 30);
            const QRgb bottomLeft = image.pixel(30, 70);
            EXPECT_EQ(topRight, direction == 1 ? kGreenPixel : kWhitePixel);
            EXPECT_EQ(bottomLeft, direction == 1 ? kWhitePixel : kGreenPixel);
        }
    }
}

TEST(MetafilePlay, SavedStatesBeyondTheDepthLimitStillPairWithTheirRestores)
{
    // Red brush, 100 saves (64 kept), blue brush, then restores one by one: the first 36
    // answer saves that were not kept and leave blue; the 37th reaches the last kept save
    // and brings red back, as do all after it.
    for (int restores : {36, 37, 100}) {
        SCOPED_TRACE(restores);
        WmfBuilder b = Wmf100();
        b.CreateBrush(0, kRed).SelectObject(1);
        for (int i = 0; i < 100; ++i) {
            b.SaveDc();
        }
        b.CreateBrush(0, kBlue).SelectObject(2);
        for (int i = 0; i < restores; ++i) {
            b.RestoreDc(-1);
        }
        b.Rectangle(0, 0, 100, 100);
        const QRgb expected = restores == 36 ? kBluePixel : kRedPixel;
        EXPECT_EQ(Play(b.Finish()).pixel(50, 50), expected);
    }
    // Restoring more levels than were saved is refused and changes nothing; an absolute
    // restore goes back to the numbered save.
    WmfBuilder b = Wmf100();
    b.CreateBrush(0, kRed).SelectObject(1).SaveDc().CreateBrush(0, kGreen).SelectObject(2);
    b.SaveDc().CreateBrush(0, kBlue).SelectObject(3).RestoreDc(-5);
    b.Rectangle(0, 0, 50, 100).RestoreDc(1).Rectangle(50, 0, 100, 100);
    const QImage image = Play(b.Finish());
    EXPECT_EQ(image.pixel(25, 50), kBluePixel);
    EXPECT_EQ(image.pixel(75, 50), kRedPixel);
}

TEST(MetafilePlay, ObjectsBeyondTheTableAreDroppedAndFreedSlotsReused)
{
    // 4096 slots: the pen in slot 0 and 4095 red brushes fill the table; a blue brush has
    // no room, so selecting "its" slot 4096 keeps the last red brush.
    WmfBuilder b = Wmf100();
    for (int i = 1; i < 4096; ++i) {
        b.CreateBrush(0, kRed);
    }
    b.CreateBrush(0, kBlue).SelectObject(4095).SelectObject(4096).Rectangle(0, 0, 50, 100);
    // Deleting slot 7 makes room there for the next object.
    b.DeleteObject(7).CreateBrush(0, kGreen).SelectObject(7).Rectangle(50, 0, 100, 100);
    const QImage image = Play(b.Finish());
    EXPECT_EQ(image.pixel(25, 50), kRedPixel);
    EXPECT_EQ(image.pixel(75, 50), kGreenPixel);

    // Enhanced files name their slots; those beyond the table are ignored.
    EmfBuilder e = Emf100();
    e.CreateBrush(4095, 0, kRed).CreateBrush(4096, 0, kBlue).SelectObject(4095);
    e.SelectObject(4096).Rectangle(0, 0, 100, 100);
    EXPECT_EQ(Play(e.Finish()).pixel(50, 50), kRedPixel);
}

TEST(MetafilePlay, SkipsUnknownRecordsAndComments)
{
    WmfBuilder w = Wmf100();
    w.CreateBrush(0, kRed).SelectObject(1);
    w.Words(0x0999, {1, 2, 3});     // no such record
    w.Words(0x0626, {15, 4, 0, 0}); // an escape to a printer
    w.Rectangle(0, 0, 100, 100);
    bool played = false;
    EXPECT_EQ(Play(w.Finish(), {100, 100}, &played).pixel(50, 50), kRedPixel);
    EXPECT_TRUE(played);

    EmfBuilder e = Emf100();
    e.CreateBrush(1, 0, kRed).SelectObject(1);
    e.Comment({'E', 'M', 'F', '+', 1, 0x40, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0});
    e.Ints(250, {1, 2, 3});
    e.Rectangle(0, 0, 100, 100);
    EXPECT_EQ(Play(e.Finish(), {100, 100}, &played).pixel(50, 50), kRedPixel);
    EXPECT_TRUE(played);
}

TEST(MetafilePlay, StopsAtADamagedRecordKeepingWhatWasDrawn)
{
    struct Case {
        const char* name;
        Bytes bytes;
    };
    auto wmfWith = [](const Bytes& tail) {
        Bytes bytes =
            Wmf100().CreateBrush(0, kRed).SelectObject(1).Rectangle(0, 0, 50, 100).Finish();
        bytes.resize(bytes.size() - 6); // the end record
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    auto emfWith = [](const Bytes& tail) {
        Bytes bytes =
            Emf100().CreateBrush(1, 0, kRed).SelectObject(1).Rectangle(0, 0, 50, 100).Finish();
        bytes.resize(bytes.size() - 20);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const Case cases[] = {
        {"placeable record longer than the file", wmfWith({0x00, 0x10, 0, 0, 0x1B, 0x04, 1, 2})},
        {"placeable record shorter than its header", wmfWith({2, 0, 0, 0, 0x1B, 0x04})},
        {"placeable size of four billion words", wmfWith({0xFF, 0xFF, 0xFF, 0xFF, 0x1B, 0x04})},
        {"enhanced record longer than the file", emfWith({43, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0})},
        {"enhanced record shorter than its header", emfWith({43, 0, 0, 0, 4, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool played = true;
        const QImage image = Play(c.bytes, {100, 100}, &played);
        EXPECT_FALSE(played);
        EXPECT_EQ(image.pixel(25, 50), kRedPixel);
        EXPECT_EQ(image.pixel(75, 50), kWhitePixel);
    }
}

// Records whose counts, sizes or offsets point past their own bytes. Each must be skipped
// whole, and the green rectangle after it must still be drawn.
TEST(MetafilePlay, SkipsRecordsWhoseCountsAndOffsetsLeaveTheRecord)
{
    auto words = [](std::initializer_list<int> values) {
        Bytes out;
        for (int v : values) {
            Put16(out, uint32_t(v));
        }
        return out;
    };
    auto ints = [](std::initializer_list<uint32_t> values) {
        Bytes out;
        for (uint32_t v : values) {
            Put32(out, v);
        }
        return out;
    };
    Bytes hugeDib = PackedDib(Quarters(2, 2), 24);
    Set32(hugeDib, 4, 100000);
    Set32(hugeDib, 8, 100000);
    Bytes shortDib = PackedDib(Quarters(8, 8), 24);
    shortDib.resize(shortDib.size() - 10);
    struct WmfCase {
        const char* name;
        uint16_t function;
        Bytes params;
    };
    const WmfCase wmfCases[] = {
        {"polygon of 30000 points with two", 0x0324, words({30000, 1, 1, 5, 5})},
        {"polypolygon counting past the points", 0x0538, words({2, 3, 60000, 1, 1, 2, 2, 3, 3})},
        {"polypolygon of 65535 polygons", 0x0538, words({65535, 1})},
        {"text longer than the record", 0x0521, words({5000, 0x4141, 1, 1})},
        {"text of negative length", 0x0521, words({-4, 1, 1})},
        {"extended text longer than the record", 0x0A32, words({1, 1, 9000, 0, 0x41})},
        {"region of 30000 scans", 0x06FF, words({0, 6, 0, 0, 0, 30000, 2, 0, 0, 0, 0, 2, 0, 5})},
        {"stretched bitmap of 10^10 pixels", 0x0F43,
         [&] {
             Bytes p = words({0x20, 0xCC, 0, 2, 2, 0, 0, 100, 100, 0, 0});
             p.insert(p.end(), hugeDib.begin(), hugeDib.end());
             return p;
         }()},
        {"bitmap with rows missing", 0x0B41,
         [&] {
             Bytes p = words({0x20, 0xCC, 8, 8, 0, 0, 100, 100, 0, 0});
             p.insert(p.end(), shortDib.begin(), shortDib.end());
             return p;
         }()},
        {"pattern brush of a broken bitmap", 0x0142, words({6, 0, 40, 0})},
        {"select of an object never made", 0x012D, words({3000})},
        {"save-state index far away", 0x0127, words({-32768})},
    };
    for (const WmfCase& c : wmfCases) {
        SCOPED_TRACE(c.name);
        WmfBuilder b = Wmf100();
        b.CreateBrush(0, kGreen).SelectObject(1).Raw(c.function, c.params);
        b.Rectangle(0, 0, 100, 100);
        bool played = false;
        EXPECT_EQ(Play(b.Finish(), {100, 100}, &played).pixel(50, 50), kGreenPixel);
        EXPECT_TRUE(played);
    }

    struct EmfCase {
        const char* name;
        uint32_t type;
        Bytes params;
    };
    const EmfCase emfCases[] = {
        {"polygon of four billion points", 3, ints({0, 0, 0, 0, 0xFFFFFFFF, 1, 1})},
        {"polypolygon of four billion figures", 8, ints({0, 0, 0, 0, 0xFFFFFFFF, 3, 1, 1})},
        {"polypolygon counts beyond its total", 8,
         ints({0, 0, 0, 0, 2, 3, 2, 0xFFFFFFFE, 1, 1, 2, 2, 3, 3})},
        {"polydraw without its types", 56, ints({0, 0, 0, 0, 2, 1, 1, 2, 2})},
        {"wide text string beyond the record", 84,
         ints({0, 0, 0, 0, 1, 0, 0, 5, 5, 100, 0xFFFFFFF0, 0, 0, 0, 0, 0, 0})},
        {"wide text advances beyond the record (drawn without)", 84,
         ints({0, 0, 0, 0, 1, 0, 0, 5, 5, 1, 76, 0, 0, 0, 0, 0, 0x7FFFFFFF, 0x41})},
        {"device-independent bits beyond the record", 81,
         ints({0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 40, 0xFFFFFF00, 200, 0, 0xCC0020, 10, 10})},
        {"bitmap header beyond the record", 76,
         ints({0, 0, 0,          0, 0, 0, 10, 10,         0xCC0020, 0,   0, 0x3F800000,
               0, 0, 0x3F800000, 0, 0, 0, 0,  0xFFFFFFFF, 40,       100, 10})},
        {"region data counting four billion rectangles", 75,
         ints({32, 1, 32, 1, 0xFFFFFFFF, 0, 0, 0, 0, 0})},
        {"fill of a region with a brush never made", 71,
         ints({0, 0, 0, 0, 48, 77, 32, 1, 1, 16, 0, 0, 0, 0, 0, 0, 10, 10})},
        {"gradient of vertices beyond the record", 118, ints({0, 0, 0, 0, 0xFFFFFFFF, 1, 0})},
        {"gradient mesh naming missing vertices", 118,
         ints({0, 0, 0, 0, 1, 1, 2, 0, 0, 0, 0, 50, 60, 70})},
        {"extended pen with four billion dashes", 95,
         ints({2, 0, 0, 0, 0, 0x10007, 4, 0, 0, 0, 0xFFFFFFFF, 5})},
        {"font record cut short", 82, ints({2, 10})},
        {"world transform of infinities", 35, ints({0x7F800000, 0, 0, 0x7F800000, 0, 0})},
        {"world transform of not-a-number", 36, ints({0x7FC00000, 0, 0, 1, 0, 0, 4})},
        {"pattern brush with its bitmap outside", 94, ints({2, 0, 0xFFFFFFF0, 40, 0, 0})},
    };
    for (const EmfCase& c : emfCases) {
        SCOPED_TRACE(c.name);
        EmfBuilder b = Emf100();
        b.CreateBrush(1, 0, kGreen).SelectObject(1).Raw(c.type, c.params);
        b.Rectangle(0, 0, 100, 100);
        bool played = false;
        EXPECT_EQ(Play(b.Finish(), {100, 100}, &played).pixel(50, 50), kGreenPixel);
        EXPECT_TRUE(played);
    }
}

TEST(MetafilePlay, ClipRegionsAreSelectedCombinedAndDropped)
{
    // Enhanced: a region selected by copy, cut by difference, then dropped by a copy of no
    // region at all.
    EmfBuilder e = Emf100();
    e.CreateBrush(1, 0, kRed).SelectObject(1);
    e.ExtSelectClipRgn(5, {QRect(0, 0, 50, 100)}).ExtSelectClipRgn(4, {QRect(0, 0, 50, 50)});
    e.Rectangle(0, 0, 100, 100);
    e.ExtSelectClipRgn(5, {}, true).CreateBrush(2, 0, kBlue).SelectObject(2);
    e.Rectangle(60, 0, 100, 20);
    QImage image = Play(e.Finish());
    EXPECT_EQ(image.pixel(25, 75), kRedPixel);
    EXPECT_EQ(image.pixel(25, 25), kWhitePixel);
    EXPECT_EQ(image.pixel(75, 75), kWhitePixel);
    EXPECT_EQ(image.pixel(80, 10), kBluePixel);

    // Placeable: a region object as the clip, then a handle that is no region ends it.
    WmfBuilder w = Wmf100();
    w.CreateRegion({QRect(0, 0, 50, 50)}).SelectClipRegion(1);
    w.CreateBrush(0, kRed).SelectObject(2).Rectangle(0, 0, 100, 100);
    w.SelectClipRegion(0).CreateBrush(0, kBlue).SelectObject(3).Rectangle(60, 60, 100, 100);
    image = Play(w.Finish());
    EXPECT_EQ(image.pixel(25, 25), kRedPixel);
    EXPECT_EQ(image.pixel(75, 25), kWhitePixel);
    EXPECT_EQ(image.pixel(80, 80), kBluePixel);

    // An empty region clips everything away.
    EmfBuilder empty = Emf100();
    empty.CreateBrush(1, 0, kRed).SelectObject(1).ExtSelectClipRgn(5, {});
    empty.Rectangle(0, 0, 100, 100);
    EXPECT_EQ(Play(empty.Finish()).pixel(50, 50), kWhitePixel);
}

TEST(MetafilePlay, ManyClipChangesAndLargeRegionsKeepTheRightClip)
{
    // Thousands of clip changes under as many saves still leave the right clip.
    EmfBuilder b = Emf100();
    b.CreateBrush(1, 0, kRed).SelectObject(1);
    for (int i = 0; i < 2000; ++i) {
        b.SaveDc().ExcludeClipRect(i % 100, 0, i % 100 + 1, 1);
    }
    for (int i = 0; i < 2000; ++i) {
        b.RestoreDc(-1);
    }
    b.IntersectClipRect(0, 0, 50, 50).Rectangle(0, 0, 100, 100);
    QImage image = Play(b.Finish());
    EXPECT_EQ(image.pixel(25, 25), kRedPixel);
    EXPECT_EQ(image.pixel(75, 75), kWhitePixel);

    // A region of 16000 rows in order is taken whole: every other row.
    std::vector<QRect> rows;
    for (int i = 0; i < 16000; ++i) {
        rows.emplace_back(0, 2 * i, 100, 1);
    }
    WmfBuilder w = Wmf100();
    w.CreateRegion(rows).SelectClipRegion(1).CreateBrush(0, kRed).SelectObject(2);
    w.Rectangle(0, 0, 100, 100);
    image = Play(w.Finish());
    EXPECT_EQ(image.pixel(50, 10), kRedPixel);
    EXPECT_EQ(image.pixel(50, 11), kWhitePixel);
    EXPECT_EQ(image.pixel(50, 98), kRedPixel);
    EXPECT_EQ(image.pixel(50, 99), kWhitePixel);

    // Unsorted rectangles are united one by one only up to a limit; beyond it the region
    // is refused and the clip stays as it was.
    std::vector<QRect> unsorted;
    for (int i = 5000; i > 0; --i) {
        unsorted.emplace_back(i % 50, i % 7, 1, 1);
    }
    EmfBuilder e = Emf100();
    e.CreateBrush(1, 0, kRed).SelectObject(1).ExtSelectClipRgn(5, unsorted);
    e.Rectangle(0, 0, 100, 100);
    EXPECT_EQ(Play(e.Finish()).pixel(75, 75), kRedPixel);
}

TEST(MetafilePlay, PensWiderThanThePictureCoverIt)
{
    // A million units wide is more than a pen can be; it is held at the widest one, which
    // still covers the whole picture from a line through its middle.
    EmfBuilder b = Emf100();
    b.ExtCreatePen(1, 0x10000 | 0x200, 1000000, kBlue).SelectObject(1);
    b.MoveTo(40, 50).LineTo(60, 50);
    const QImage image = Play(b.Finish());
    EXPECT_EQ(image.pixel(50, 1), kBluePixel);
    EXPECT_EQ(image.pixel(50, 98), kBluePixel);
}

TEST(MetafilePlay, MonochromeBrushesPaintInTheTextAndBackgroundColoursOfTheFill)
{
    // Each row of the 8 x 8 brush: four 0 bits, then four 1 bits. The 0 bits take the text
    // colour and the 1 bits the background colour current when the shape is filled, not
    // those at the brush's creation, and the background mode leaves them be.
    EmfBuilder b = Emf100();
    b.SetTextColor(kGreen).SetBkColor(kGreen);
    b.CreateMonoBrush(1, 8, std::vector<uint32_t>(8, 0x0F)).SelectObject(1);
    b.SetBkMode(1).SetTextColor(kRed).SetBkColor(kBlue);
    b.Rectangle(0, 0, 100, 100);
    const QImage image = Play(b.Finish());
    for (const int x : {1, 41, 81}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(image.pixel(x, 50), kRedPixel);
        EXPECT_EQ(image.pixel(x + 5, 50), kBluePixel);
    }
}

TEST(MetafilePlay, WorldTransformModesAreReadWhateverTheMatrixHolds)
{
    // A matrix that is no numbers is refused, and the mode after it is still read where it
    // lies: resetting to the identity needs no matrix, the other modes leave the transform.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* name;
        int mode;
        bool reset;
    } cases[] = {
        {"reset to the identity", 1, true},
        {"left multiply", 2, false},
        {"right multiply", 3, false},
        {"set", 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EmfBuilder b = Emf100();
        b.CreateBrush(1, 0, kBlue).SelectObject(1);
        b.Transform(0, 2, 0, 0, 2, 0, 0); // everything twice as large
        b.Transform(c.mode, nan, 0, 0, nan, 0, 0);
        b.Rectangle(10, 10, 30, 30);
        const QImage image = Play(b.Finish());
        // At its own size the square ends at 30; twice as large it reaches 60.
        EXPECT_EQ(image.pixel(20, 20), kBluePixel);
        EXPECT_EQ(image.pixel(45, 45) == kBluePixel, !c.reset);
    }
}

TEST(MetafilePlay, MirroredAndSqueezedBitmapsLandTurnedRound)
{
    // Red, green, blue and yellow quarters over the whole picture, played into targets
    // given right to left and bottom to top: the yellow bottom-right quarter comes out at
    // the top left. The squeezed target once made the rasteriser read outside the image.
    const QRgb yellow = qRgb(255, 200, 0);
    const Bytes bytes =
        WmfBuilder(0, 0, 100, 100, 96)
            .StretchDib(QRect(0, 0, 100, 100), QRect(0, 0, 16, 12), PackedDib(Quarters(16, 12), 24))
            .Finish();
    struct Case {
        const char* name;
        QRectF target;
        QPoint at;
        QRgb expected;
    };
    const Case cases[] = {
        {"as given", QRectF(0, 0, 100, 100), {30, 10}, kRedPixel},
        {"mirrored both ways", QRectF(100, 100, -100, -100), {30, 10}, yellow},
        {"mirrored and squeezed", QRectF(100, 60, -100, -6), {30, 55}, yellow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ASSERT_TRUE(PlayMetafile(bytes, painter, c.target));
        painter.end();
        EXPECT_EQ(image.pixel(c.at), c.expected);
    }
}

TEST(MetafilePlay, PathsBracketDrawingUntilTheyAreUsed)
{
    // Inside the bracket nothing is drawn; a fill then paints the path, which is used up.
    EmfBuilder b = Emf100();
    b.CreateBrush(1, 0, kRed).SelectObject(1);
    b.BeginPath().Rectangle(0, 0, 50, 50).Ellipse(50, 50, 100, 100).EndPath();
    b.FillPath().FillPath();
    b.BeginPath().Rectangle(0, 50, 50, 100); // never closed: nothing drawn
    QImage image = Play(b.Finish());
    EXPECT_EQ(image.pixel(25, 25), kRedPixel);
    EXPECT_EQ(image.pixel(75, 75), kRedPixel);
    EXPECT_EQ(image.pixel(25, 75), kWhitePixel);
    EXPECT_EQ(image.pixel(95, 55), kWhitePixel);
}

} // namespace
} // namespace figures
