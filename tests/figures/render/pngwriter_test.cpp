#include "figures/render/pngwriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>

namespace figures {
namespace {

// Runs of flat colour, as drawings have, broken by pseudo-random pixels, so that every
// byte of every channel matters.
QImage Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245U + 12345U;
            const bool flat = (x / 7 + y / 3) % 2 == 0;
            image.setPixel(x, y, flat ? qRgb(x * 3 % 256, 200, y % 256) : (seed >> 8) | 0xFF000000U);
        }
    }
    return image;
}

// A device that takes `room` bytes and then fails.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    qint64 taken = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (taken + length > room_) {
            setErrorString(QStringLiteral("disk full"));
            return -1;
        }
        taken += length;
        return length;
    }

private:
    qint64 room_;
};

TEST(PngWriter, WritesEveryPixelAsRgbWithTheResolution)
{
    for (const QSize size : {QSize(1, 1), QSize(37, 23), QSize(640, 3)}) {
        QImage image = Picture(size.width(), size.height());
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(5906);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        ASSERT_TRUE(WriteOpaquePng(image, buffer, error)) << error.toStdString();
        const QByteArray bytes = buffer.data();
        // The header: 8-bit samples, colour type 2 (RGB, no alpha).
        ASSERT_GT(bytes.size(), 26);
        EXPECT_EQ(bytes.mid(12, 4), QByteArray("IHDR"));
        EXPECT_EQ(int(uint8_t(bytes[24])), 8);
        EXPECT_EQ(int(uint8_t(bytes[25])), 2);
        const QImage back = QImage::fromData(bytes, "PNG");
        ASSERT_FALSE(back.isNull());
        EXPECT_FALSE(back.hasAlphaChannel());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << size.width();
        EXPECT_EQ(back.dotsPerMeterX(), 3780);
        EXPECT_EQ(back.dotsPerMeterY(), 5906);
    }
}

TEST(PngWriter, RefusesWhatIsNotAnOpaquePictureAndReportsAFailingDevice)
{
    QString error;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(WriteOpaquePng(QImage(), buffer, error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(WriteOpaquePng(QImage(8, 8, QImage::Format_ARGB32), buffer, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(buffer.data().isEmpty());

    // Full after the signature, in the header, and near the end of the pixels.
    const QImage image = Picture(300, 200);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteOpaquePng(image, whole, error));
    for (const qint64 room : {qint64(8), qint64(20), whole.data().size() - 20}) {
        FullDevice full(room);
        error.clear();
        EXPECT_FALSE(WriteOpaquePng(image, full, error)) << room;
        EXPECT_EQ(error, QStringLiteral("disk full")) << room;
        EXPECT_LE(full.taken, room);
    }
}

} // namespace
} // namespace figures
