#include "app/windowcapture.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

using app::WindowCapture;

quint32 U32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 U16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// A widget that paints four coloured quarters, so that any cut of it shows where it came
// from.
class Quarters : public QWidget {
public:
    Quarters() { setFixedSize(40, 30); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, 20, 15, QColor(255, 0, 0));
        painter.fillRect(20, 0, 20, 15, QColor(0, 255, 0));
        painter.fillRect(0, 15, 20, 15, QColor(0, 0, 255));
        painter.fillRect(20, 15, 20, 15, QColor(255, 255, 0));
    }
};

// Equal within what five bits per channel keep.
bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
           std::abs(qBlue(a) - qBlue(b)) < 8;
}

QRgb PixelOfBmp(const QByteArray& bmp, int x, int y)
{
    const int width = int(U32(bmp, 18));
    const int height = int(U32(bmp, 22));
    const int stride = (width * 3 + 3) / 4 * 4;
    const char* p = bmp.constData() + 58 + (height - 1 - y) * stride + 3 * x;
    return qRgb(uchar(p[2]), uchar(p[1]), uchar(p[0]));
}

TEST(WindowCapture, WritesAThreeByTwoCaptureAsAnEightyTwoByteBmp)
{
    QImage bitmap(3, 2, QImage::Format_BGR888);
    bitmap.setPixel(0, 0, qRgb(0x10, 0x20, 0x30));
    bitmap.setPixel(1, 0, qRgb(0x40, 0x50, 0x60));
    bitmap.setPixel(2, 0, qRgb(0x70, 0x80, 0x90));
    bitmap.setPixel(0, 1, qRgb(0xA0, 0xB0, 0xC0));
    bitmap.setPixel(1, 1, qRgb(0xD0, 0xE0, 0xF0));
    bitmap.setPixel(2, 1, qRgb(0x01, 0x02, 0x03));
    const std::array<uint8_t, 82> expected = {
        'B', 'M', 82, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,   // file header
        44, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, // size 44, 3 x 2, 1 plane, 24 bits
        0, 0, 0, 0, 24, 0, 0, 0,                          // no compression, 24 pixel bytes
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   // resolution, colours used
        0, 0, 0, 0,                                       // the one colour entry
        // The bottom row first, blue-green-red, each row padded from 9 to 12 bytes.
        0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0, //
        0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0, 0, 0};
    const QByteArray bytes = WindowCapture::ToBmpBytes(bitmap);
    ASSERT_EQ(bytes.size(), 82);
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()), 82));
    EXPECT_TRUE(WindowCapture::ToBmpBytes(QImage()).isEmpty());

    // Damaged bytes give no picture rather than a wrong one.
    EXPECT_EQ(app::LoadBmpPicture(bytes).pixel(2, 1), qRgb(0x01, 0x02, 0x03));
    EXPECT_TRUE(app::LoadBmpPicture(bytes.left(60)).isNull());
    EXPECT_TRUE(app::LoadBmpPicture(bytes.left(20)).isNull());
    EXPECT_TRUE(app::LoadBmpPicture(QByteArray()).isNull());
}

TEST(WindowCapture, KeepsTheBitCountAndPadsEveryRowToFourBytes)
{
    struct Row {
        QImage::Format format;
        int width;
        int bits;
        int stride;
        quint32 firstPixel; // the top-left pixel (255, 128, 1) as stored in the file
    };
    const Row rows[] = {
        {QImage::Format_RGB555, 3, 16, 8, 0x7E00},
        {QImage::Format_BGR888, 5, 24, 16, 0xFF8001},
        {QImage::Format_RGB32, 3, 32, 12, 0x00FF8001},
        {QImage::Format_ARGB32, 1, 32, 4, 0x00FF8001},
        {QImage::Format_RGB888, 2, 24, 8, 0xFF8001},
        {QImage::Format_Grayscale8, 1, 24, 4, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bits);
        QImage bitmap(row.width, 3, row.format);
        bitmap.fill(Qt::white);
        if (row.format != QImage::Format_Grayscale8) {
            bitmap.setPixel(0, 0, qRgb(255, 128, 1));
        }
        const QByteArray bytes = WindowCapture::ToBmpBytes(bitmap);
        ASSERT_EQ(bytes.size(), 58 + 3 * row.stride);
        EXPECT_EQ(U32(bytes, 2), quint32(bytes.size()));
        EXPECT_EQ(U16(bytes, 28), row.bits);
        EXPECT_EQ(U32(bytes, 34), quint32(3 * row.stride));
        // The top row is the last one in the file.
        const char* top = bytes.constData() + 58 + 2 * row.stride;
        const quint32 stored = row.bits == 16   ? qFromLittleEndian<quint16>(top)
                               : row.bits == 24 ? (qFromLittleEndian<quint32>(top) & 0xFFFFFF)
                                                : qFromLittleEndian<quint32>(top);
        if (row.format != QImage::Format_Grayscale8) {
            EXPECT_EQ(stored, row.firstPixel);
        }
        // The bytes read back as the picture they were made from.
        const QImage read = app::LoadBmpPicture(bytes);
        ASSERT_EQ(read.size(), bitmap.size());
        EXPECT_TRUE(Near(read.pixel(row.width - 1, 2), qRgb(255, 255, 255)));
        EXPECT_TRUE(Near(read.pixel(0, 0), bitmap.pixel(0, 0)));
    }
}

TEST(WindowCapture, CopiesARegionUpToTheEdgeWhenTheSizeIsBelowOne)
{
    QImage source(10, 8, QImage::Format_BGR888);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            source.setPixel(x, y, qRgb(x * 20, y * 20, 7));
        }
    }
    struct Row {
        const char* name;
        int x, y, w, h, dx, dy;
        QSize made;
        QPoint probe; // in the copy
        QPoint from;  // where the probe's pixel lies in the source
    };
    const Row rows[] = {
        {"exact", 2, 3, 4, 2, 0, 0, {4, 2}, {3, 1}, {5, 4}},
        {"to the right edge", 6, 0, 0, 3, 0, 0, {4, 3}, {3, 2}, {9, 2}},
        {"to both edges", 7, 5, -1, -1, 0, 0, {3, 3}, {2, 2}, {9, 7}},
        {"shifted in the copy", 0, 0, 5, 5, 1, 2, {5, 5}, {4, 4}, {3, 2}},
        {"past the source", 8, 6, 4, 4, 0, 0, {4, 4}, {1, 1}, {9, 7}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QImage copy;
        ASSERT_TRUE(
            WindowCapture::CopyRegion(source, copy, row.x, row.y, row.w, row.h, row.dx, row.dy));
        EXPECT_EQ(copy.size(), row.made);
        EXPECT_EQ(copy.format(), source.format());
        EXPECT_EQ(copy.pixel(row.probe), source.pixel(row.from));
    }
    // What lies outside the source stays black; a copy into an existing bitmap keeps the
    // rest of it.
    QImage copy;
    WindowCapture::CopyRegion(source, copy, 8, 6, 4, 4, 0, 0);
    EXPECT_EQ(copy.pixel(3, 3), qRgb(0, 0, 0));
    QImage existing(4, 4, QImage::Format_RGB32);
    existing.fill(Qt::white);
    ASSERT_TRUE(WindowCapture::CopyRegion(source, existing, 0, 0, 2, 2, 1, 1));
    EXPECT_EQ(existing.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(existing.pixel(2, 2), source.pixel(1, 1));
    EXPECT_EQ(existing.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_FALSE(WindowCapture::CopyRegion(QImage(), copy, 0, 0, 1, 1, 0, 0));
}

TEST(WindowCapture, CapturesTheClientAreaOfAShownWindowOnly)
{
    Quarters window;
    EXPECT_TRUE(WindowCapture::Capture(&window, 24).isNull()); // not shown yet
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const qreal ratio = window.devicePixelRatioF();
    const QImage image = WindowCapture::Capture(&window, 24);
    ASSERT_EQ(image.size(), QSize(40, 30) * ratio);
    EXPECT_EQ(image.format(), QImage::Format_BGR888);
    EXPECT_EQ(image.pixel(QPoint(5, 5) * ratio), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(QPoint(35, 25) * ratio), qRgb(255, 255, 0));
    EXPECT_EQ(WindowCapture::Capture(&window, 16).format(), QImage::Format_RGB555);
    EXPECT_EQ(WindowCapture::Capture(&window, 32).format(), QImage::Format_RGB32);
    EXPECT_TRUE(WindowCapture::Capture(&window, 8).isNull());
    EXPECT_FALSE(WindowCapture::Capture(&window).isNull()); // the display's own depth
    window.showMinimized();
    EXPECT_TRUE(WindowCapture::Capture(&window, 24).isNull());
}

TEST(WindowCapture, CutsTheAskedRectangleOfAWindowIntoBmpBytes)
{
    Quarters window;
    window.move(30, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    if (window.devicePixelRatioF() != 1.0) {
        GTEST_SKIP() << "the rectangles below are in pixels of an unscaled screen";
    }
    struct Row {
        const char* name;
        int left, top, right, bottom;
        bool windowPrint;
        QSize size;
        QRgb topLeft;
    };
    const Row rows[] = {
        {"whole client area", 0, 0, app::kToEdge, app::kToEdge, true, {40, 30}, qRgb(255, 0, 0)},
        {"lower right quarter",
         20,
         15,
         app::kToEdge,
         app::kToEdge,
         true,
         {20, 15},
         qRgb(255, 255, 0)},
        {"inclusive corners", 18, 0, 22, 1, true, {5, 2}, qRgb(255, 0, 0)},
        {"from the screen", 20, 0, 39, 14, false, {20, 15}, qRgb(0, 255, 0)},
        {"from the screen to the edges",
         0,
         15,
         app::kToEdge,
         app::kToEdge,
         false,
         {40, 15},
         qRgb(0, 0, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray bmp = app::CaptureWindowAsBmp(&window, row.left, row.top, row.right,
                                                       row.bottom, row.windowPrint);
        ASSERT_GE(bmp.size(), 58);
        EXPECT_EQ(U16(bmp, 28), 24);
        EXPECT_EQ(QSize(int(U32(bmp, 18)), int(U32(bmp, 22))), row.size);
        EXPECT_EQ(PixelOfBmp(bmp, 0, 0), row.topLeft);
    }
    window.showMinimized();
    EXPECT_TRUE(app::CaptureWindowAsBmp(&window, 0, 0, -1, -1, false).isEmpty());
    EXPECT_TRUE(app::CaptureWindowAsBmp(&window, 0, 0, -1, -1, true).isEmpty());
}

} // namespace
