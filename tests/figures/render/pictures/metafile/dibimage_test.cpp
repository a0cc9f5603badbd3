// Device-independent bitmaps as metafile records carry them: every depth and row order,
// bit fields, palette indices and run lengths, and what is refused.
#include "figures/render/pictures/metafile/dibimage.h"

#include "tests/figures/render/pictures/metafile/wmfbuilder.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

const std::vector<QRgb> kPalette = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255),
                                    qRgb(255, 200, 0), qRgb(0, 0, 0)};

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
                return false;
            }
        }
    }
    return true;
}

TEST(MetafileDib, DecodesEveryDepthInBothRowOrders)
{
    const QImage picture = Quarters(13, 7); // odd sizes exercise the row padding
    struct Case {
        int bitCount;
        bool topDown;
    };
    for (const Case c : {Case{4, false}, Case{8, false}, Case{8, true}, Case{24, false},
                         Case{24, true}, Case{32, false}}) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, top down " << c.topDown);
        const Dib dib =
            DecodePackedDib(PackedDib(picture, c.bitCount, kPalette, c.topDown), kDibRgbColours);
        ASSERT_FALSE(dib.image.isNull());
        EXPECT_EQ(dib.bottomUp, !c.topDown);
        EXPECT_TRUE(SamePixels(dib.image, picture));
    }
    QImage checker(9, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 9; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    const Dib mono = DecodePackedDib(PackedDib(checker, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)}),
                                     kDibRgbColours);
    EXPECT_TRUE(SamePixels(mono.image, checker));
}

TEST(MetafileDib, DecodesBitFieldsPaletteIndicesAndRunLengths)
{
    // 16 bits in 5-6-5 fields: pure red, green and blue, and white.
    Bytes info;
    Put32(info, 40);
    Put32(info, 4);
    Put32(info, 1);
    Put16(info, 1);
    Put16(info, 16);
    Put32(info, 3); // bit fields
    for (int i = 0; i < 5; ++i) {
        Put32(info, 0);
    }
    Put32(info, 0xF800);
    Put32(info, 0x07E0);
    Put32(info, 0x001F);
    Bytes bits;
    for (uint32_t v : {0xF800u, 0x07E0u, 0x001Fu, 0xFFFFu}) {
        Put16(bits, v);
    }
    Dib dib = DecodeDib(info, bits, kDibRgbColours);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(dib.image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dib.image.pixel(3, 0), qRgb(255, 255, 255));

    // A colour table of palette indices looks the entries up in the standard colours.
    Bytes indexed;
    Put32(indexed, 40);
    Put32(indexed, 2);
    Put32(indexed, 1);
    Put16(indexed, 1);
    Put16(indexed, 8);
    for (int i = 0; i < 4; ++i) {
        Put32(indexed, 0);
    }
    Put32(indexed, 2); // two colours
    Put32(indexed, 0);
    Put16(indexed, 9);  // bright red
    Put16(indexed, 12); // bright blue
    dib = DecodeDib(indexed, Bytes{1, 0, 0, 0}, kDibPaletteColours);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(255, 0, 0));

    // Eight-bit runs, bottom row first: a run, an absolute stretch, a delta that skips
    // pixels (left transparent), then the end.
    Bytes rle;
    Put32(rle, 40);
    Put32(rle, 6);
    Put32(rle, 2);
    Put16(rle, 1);
    Put16(rle, 8);
    Put32(rle, 1); // 8-bit runs
    for (int i = 0; i < 3; ++i) {
        Put32(rle, 0);
    }
    Put32(rle, 3);
    Put32(rle, 0);
    for (QRgb c : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}) {
        Put32(rle, uint32_t(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16));
    }
    const Bytes runs = {3, 0,             // three of colour 0
                        0, 3, 1, 2, 1, 0, // absolute: 1, 2, 1, padded
                        0, 0,             // end of line
                        0, 2, 2, 0,       // delta: two to the right
                        2, 2,             // two of colour 2
                        0, 1};            // end of bitmap
    dib = DecodeDib(rle, runs, kDibRgbColours);
    ASSERT_FALSE(dib.image.isNull());
    const QImage& image = dib.image;
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0)); // bottom row
    EXPECT_EQ(image.pixel(3, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(5, 1), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0); // skipped by the delta
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(5, 0)), 0);

    // Four-bit runs alternate the two nibbles of their byte, counted from the run's start;
    // decoded at half size each pixel averages the two of its block.
    Bytes rle4 = rle;
    Set32(rle4, 4, 8);
    Set32(rle4, 8, 1);
    rle4[14] = 4;
    Set32(rle4, 16, 2);                       // 4-bit runs
    const Bytes runs4 = {1, 0x00,             // red
                         4, 0x12,             // green, blue, green, blue from column 1
                         0, 3,    0x20, 0x20, // absolute: blue, red, blue
                         0, 1};               // end of bitmap
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const struct {
        int32_t shrink;
        std::vector<QRgb> row;
    } halves[] = {
        {1, {red, green, blue, green, blue, blue, red, blue}},
        {2, {qRgb(128, 128, 0), qRgb(0, 128, 128), blue, qRgb(128, 0, 128)}},
    };
    for (const auto& c : halves) {
        SCOPED_TRACE(c.shrink);
        dib = DecodeDib(rle4, runs4, kDibRgbColours, false, kMaxDibPixels, c.shrink);
        ASSERT_EQ(dib.image.size(), QSize(int(c.row.size()), 1));
        for (size_t x = 0; x < c.row.size(); ++x) {
            EXPECT_EQ(dib.image.pixel(int(x), 0), c.row[x]) << x;
        }
    }
}

TEST(MetafileDib, RefusesBitmapsThatAreTooLargeShortOrMalformed)
{
    const Bytes good = PackedDib(Quarters(8, 8), 24);
    auto with32 = [&](size_t at, uint32_t v) {
        Bytes out = good;
        Set32(out, at, v);
        return out;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"header only half there", Bytes(good.begin(), good.begin() + 20)},
        {"rows missing", Bytes(good.begin(), good.end() - 1)},
        {"zero width", with32(4, 0)},
        {"negative width", with32(4, uint32_t(-8))},
        {"zero height", with32(8, 0)},
        {"the most negative height", with32(8, 0x80000000)},
        {"more than 64 megapixels",
         [&] {
             Bytes out = with32(4, 10000);
             Set32(out, 8, 10000);
             return out;
         }()},
        {"wide enough to overflow a row size", with32(4, 0x7FFFFFFF)},
        {"unknown bit count",
         [&] {
             Bytes out = good;
             out[14] = 7;
             return out;
         }()},
        {"unknown compression", with32(16, 99)},
        {"header size beyond the block", with32(0, 4000)},
        {"run-length bitmap stored top first",
         [&] {
             Bytes out = with32(16, 1);
             out[14] = 8;
             Set32(out, 8, uint32_t(-8));
             return out;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(DecodePackedDib(c.bytes, kDibRgbColours).image.isNull());
    }
    // A lower limit from the caller's budget refuses what the general limit allows.
    EXPECT_FALSE(DecodePackedDib(good, kDibRgbColours, 64).image.isNull());
    EXPECT_TRUE(DecodePackedDib(good, kDibRgbColours, 63).image.isNull());
}

} // namespace
} // namespace figures
