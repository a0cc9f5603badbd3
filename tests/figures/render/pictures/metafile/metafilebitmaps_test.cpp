// The bitmaps one playing of a metafile decodes: within a budget of pixels for the whole
// playing, each distinct bitmap once however often the records carry it.
#include "figures/render/pictures/metafile/metafileplayer.h"
#include "tests/figures/render/pictures/metafile/metafilebuilder.h"

#include <QImage>
#include <QPainter>

#include <map>

#include <gtest/gtest.h>

namespace figures {
namespace {

using namespace metafiletest;

constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kRedPixel = 0xFFFF0000;
constexpr QRgb kBluePixel = 0xFF0000FF;

// 16 x 16 pixels of one colour: 256 pixels decoded.
Bytes SolidDib(QRgb colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    return PackedDib(image, 24);
}

TEST(MetafileBitmaps, RepeatedBitmapsAreDecodedOnceWithinThePlayingsBudget)
{
    const Bytes red = SolidDib(kRedPixel);
    const Bytes blue = SolidDib(kBluePixel);
    struct Case {
        const char* name;
        std::vector<const Bytes*> strips; // one transfer per strip of 20 rows, top down
        uint64_t budget;
        std::vector<QRgb> expected; // the colour of each strip
    };
    const Case cases[] = {
        {"one bitmap four times charges it once",
         {&red, &red, &red, &red},
         300,
         {kRedPixel, kRedPixel, kRedPixel, kRedPixel}},
        {"a second bitmap overruns the budget",
         {&red, &red, &blue, &red},
         300,
         {kRedPixel, kRedPixel, kWhitePixel, kRedPixel}},
        {"the first decoded is kept, the one refused stays out",
         {&blue, &red, &red, &blue},
         300,
         {kBluePixel, kWhitePixel, kWhitePixel, kBluePixel}},
        {"a budget for both",
         {&red, &blue, &red, &blue},
         512,
         {kRedPixel, kBluePixel, kRedPixel, kBluePixel}},
        {"no budget, no bitmaps", {&red, &blue}, 0, {kWhitePixel, kWhitePixel}},
        {"the default budget",
         {&red, &blue, &red},
         kMetafilePixelBudget,
         {kRedPixel, kBluePixel, kRedPixel}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WmfBuilder wmf(0, 0, 100, 100, 96);
        for (size_t i = 0; i < c.strips.size(); ++i) {
            wmf.StretchDib(QRect(0, int(i) * 20, 100, 20), QRect(0, 0, 16, 16), *c.strips[i]);
        }
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(PlayMetafile(wmf.Finish(), painter, QRectF(0, 0, 100, 100), c.budget));
        painter.end();
        for (size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(image.pixel(50, int(i) * 20 + 10), c.expected[i]) << "strip " << i;
        }
    }
}

// An 8-bit run-length bitmap of side x side pixels, red on the left half and blue on the
// right of every row.
Bytes HalvesRunLengthDib(int side)
{
    Bytes out;
    for (uint32_t v : {40u, uint32_t(side), uint32_t(side)}) {
        Put32(out, v);
    }
    Put16(out, 1);
    Put16(out, 8);
    for (uint32_t v : {1u, 0u, 3780u, 3780u, 2u, 0u, 0x00FF0000u, 0x000000FFu}) {
        Put32(out, v); // 8-bit runs, ..., two colours: red and blue as B, G, R, 0
    }
    for (int row = 0; row < side; ++row) {
        for (int half = 0; half < 2; ++half) {
            for (int left = side / 2; left > 0; left -= 255) {
                out.push_back(uint8_t(std::min(left, 255)));
                out.push_back(uint8_t(half));
            }
        }
        out.insert(out.end(), {0, 0}); // end of line
    }
    out.insert(out.end(), {0, 1});
    return out;
}

TEST(MetafileBitmaps, RunLengthBitmapsShownSmallAreDecodedSmall)
{
    // 4096 x 4096 pixels decoded whole would overrun a budget of 100 000; shown at 64 x 64
    // every 64th pixel is enough.
    const Bytes dib = HalvesRunLengthDib(4096);
    for (bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced);
        Bytes bytes;
        if (enhanced) {
            EmfBuilder emf(QRect(0, 0, 64, 64), QRect(0, 0, 1693, 1693));
            bytes =
                emf.StretchDiBits(QRect(0, 0, 64, 64), QRect(0, 0, 4096, 4096), dib, 48).Finish();
        } else {
            bytes = WmfBuilder(0, 0, 64, 64, 96)
                        .StretchDib(QRect(0, 0, 64, 64), QRect(0, 0, 4096, 4096), dib)
                        .Finish();
        }
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(PlayMetafile(bytes, painter, QRectF(0, 0, 64, 64), 100000));
        painter.end();
        for (int y : {2, 32, 61}) {
            EXPECT_EQ(image.pixel(10, y), kRedPixel) << y;
            EXPECT_EQ(image.pixel(54, y), kBluePixel) << y;
        }
    }
}

// An 8-bit run-length bitmap of side x side pixels with three colours (0 red, 1 green,
// 2 blue) whose runs paint only the rows given, keyed by their row counted from the top:
// each the codes of one row, without its end of line.
Bytes RowsRunLengthDib(int side, const std::map<int, Bytes>& rows)
{
    Bytes out;
    for (uint32_t v : {40u, uint32_t(side), uint32_t(side)}) {
        Put32(out, v);
    }
    Put16(out, 1);
    Put16(out, 8);
    for (uint32_t v : {1u, 0u, 3780u, 3780u, 3u, 0u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu}) {
        Put32(out, v); // 8-bit runs, ..., three colours as B, G, R, 0
    }
    for (int fromBottom = 0; fromBottom < side; ++fromBottom) {
        const auto row = rows.find(side - 1 - fromBottom);
        if (row != rows.end()) {
            out.insert(out.end(), row->second.begin(), row->second.end());
        }
        out.insert(out.end(), {0, 0}); // end of line
    }
    out.insert(out.end(), {0, 1});
    return out;
}

TEST(MetafileBitmaps, RunLengthBitmapsShownSmallShowEveryRowTheyPaint)
{
    // 256 x 256 pixels shown at 16 x 16 decode in blocks of 16 x 16. Each band of 16 rows
    // paints a single row at another place in its band, so every row of a block has to
    // count for the band to show.
    constexpr int kSide = 256;
    constexpr int kBlock = 16;
    auto whole = [](uint8_t index) { return Bytes{255, index, 1, index}; };
    // One pixel of every block, at the block's tenth column: deltas between them.
    const Bytes sparse = [] {
        Bytes codes;
        for (int block = 0; block < kSide / kBlock; ++block) {
            codes.insert(codes.end(), {0, 2, uint8_t(block == 0 ? 9 : 15), 0, 1, 2});
        }
        return codes;
    }();
    const QRgb kColours[] = {kRedPixel, 0xFF00FF00, kBluePixel};
    std::map<int, Bytes> rows;
    std::vector<QRgb> expected;
    for (int band = 0; band < 13; ++band) {
        const uint8_t index = uint8_t(band % 3);
        rows[band * kBlock + band * 5 % kBlock] = whole(index);
        expected.push_back(kColours[index]);
    }
    rows[13 * kBlock + 7] = sparse; // blue at one column of each block
    expected.push_back(kBluePixel);
    expected.push_back(kWhitePixel);  // nothing painted: transparent
    rows[15 * kBlock + 2] = whole(0); // red and blue rows average to purple
    rows[15 * kBlock + 11] = whole(2);
    expected.push_back(qRgb(128, 0, 128));
    const Bytes bytes = WmfBuilder(0, 0, kBlock, kBlock, 96)
                            .StretchDib(QRect(0, 0, kBlock, kBlock), QRect(0, 0, kSide, kSide),
                                        RowsRunLengthDib(kSide, rows))
                            .Finish();
    QImage image(kBlock, kBlock, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // A budget of 300 pixels admits the bitmap only decoded in blocks.
    EXPECT_TRUE(PlayMetafile(bytes, painter, QRectF(0, 0, kBlock, kBlock), 300));
    painter.end();
    for (int y = 0; y < kBlock; ++y) {
        for (int x : {0, 7, 15}) {
            EXPECT_EQ(image.pixel(x, y), expected[size_t(y)]) << "band " << y << " column " << x;
        }
    }
}

} // namespace
} // namespace figures
