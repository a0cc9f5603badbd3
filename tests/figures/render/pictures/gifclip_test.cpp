#include "figures/render/drawcontext.h"
#include "figures/render/pictures/gifclip.h"
#include "figures/render/pictures/picture.h"
#include "tests/figures/render/pictures/picturefiles.h"
#include "tests/support/hostilepictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>

namespace figures {
namespace {

using picturetest::Bytes;

// The flags byte of the first image of picturetest::Gif (two-colour global table).
constexpr size_t kImageFlagsAt = 13 + 6 + 9;

// A w x h GIF whose data describes only its first `described` pixels.
Bytes ShortGif(int w, int h, int described, bool interlaced = false)
{
    std::vector<uint8_t> indices(static_cast<size_t>(described));
    for (int i = 0; i < described; ++i) {
        indices[size_t(i)] = uint8_t((i / 3) % 2);
    }
    Bytes gif = picturetest::Gif(w, h, indices);
    if (interlaced) {
        gif[kImageFlagsAt] |= 0x40;
    }
    return gif;
}

// The image descriptor's left, top and width of picturetest::Gif (two-colour global table).
constexpr size_t kImageTopAt = 13 + 6 + 3;
constexpr size_t kImageWidthAt = 13 + 6 + 5;

// The file with its first image `width` pixels wide on the same screen.
Bytes Narrowed(Bytes gif, uint8_t width)
{
    gif[kImageWidthAt] = width;
    gif[kImageWidthAt + 1] = 0;
    return gif;
}

// The file with its first image placed `top` rows down the same screen.
Bytes Lowered(Bytes gif, uint8_t top)
{
    gif[kImageTopAt] = top;
    return gif;
}

// The file without its last n bytes.
Bytes Chopped(const Bytes& bytes, size_t n)
{
    return Bytes(bytes.begin(), bytes.end() - std::ptrdiff_t(n));
}

QImage DecodeWhole(const Bytes& bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read();
}

// How the first image of a crafted GIF lies on its screen and which colours it has.
struct GifLayout {
    const char* name;
    int screenWidth = 64;
    int screenHeight = 4096;
    int background = 2;      // the screen's background colour index
    int globalTableBits = 1; // a table of 2 << bits colours, none when negative
    int left = 0;
    int top = 0;
    int width = 64;
    int height = 4096;
    int localTableBits = -1; // as globalTableBits
    int transparent = -1;    // the transparent index of a graphic control block, or none
    bool interlaced = false;
    int described = 20; // the pixels the data gives
};

void PutTable(Bytes& out, int bits, int seed)
{
    for (int i = 0; i < 2 << bits; ++i) {
        out.insert(out.end(),
                   {uint8_t(seed + i * 40), uint8_t(255 - i * 40), uint8_t(seed * 3 + i)});
    }
}

Bytes CraftedGif(const GifLayout& g)
{
    using metafiletest::Put16;
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, uint32_t(g.screenWidth));
    Put16(out, uint32_t(g.screenHeight));
    out.push_back(g.globalTableBits >= 0 ? uint8_t(0x80 | g.globalTableBits) : 0);
    out.insert(out.end(), {uint8_t(g.background), 0});
    if (g.globalTableBits >= 0) {
        PutTable(out, g.globalTableBits, 10);
    }
    if (g.transparent >= 0) {
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(g.transparent), 0});
    }
    out.push_back(0x2C);
    Put16(out, uint32_t(g.left));
    Put16(out, uint32_t(g.top));
    Put16(out, uint32_t(g.width));
    Put16(out, uint32_t(g.height));
    out.push_back(
        uint8_t((g.localTableBits >= 0 ? 0x80 | g.localTableBits : 0) | (g.interlaced ? 0x40 : 0)));
    if (g.localTableBits >= 0) {
        PutTable(out, g.localTableBits, 90);
    }
    // Minimum code size 2 with a clear code before every pair of pixels: every code 3 bits.
    out.push_back(2);
    Bytes codes;
    uint32_t acc = 0;
    int bits = 0;
    auto putCode = [&](uint32_t code) {
        acc |= code << bits;
        for (bits += 3; bits >= 8; bits -= 8) {
            codes.push_back(uint8_t(acc));
            acc >>= 8;
        }
    };
    for (int i = 0; i < g.described; ++i) {
        if (i % 2 == 0) {
            putCode(4);
        }
        putCode(uint32_t(i / 3 % 4));
    }
    putCode(5);
    codes.push_back(uint8_t(acc));
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), codes.begin() + long(at), codes.begin() + long(at + n));
    }
    out.insert(out.end(), {0, 0x3B});
    return out;
}

TEST(GifClip, CutsOnlyFilesWhoseDataCannotReachTheirRows)
{
    const struct {
        const char* name;
        Bytes bytes;
        bool cut;
        int maxRows; // at most this many rows left when cut
    } cases[] = {
        {"thirty bytes claiming 7000 x 7000", testsupport::ClaimingGif(7000, 7000), true, 2},
        {"a whole small picture", picturetest::Gif(10, 8), false, 0},
        {"a whole picture of 20000 x 20000 pixels", testsupport::SolidGif(20000, 20000), false, 0},
        {"forty kilobytes of codes that give no pixel",
         testsupport::ClaimingGif(7000, 7000, 0, 40000), true, 2},
        {"twenty pixels of a 64 x 4096 screen", ShortGif(64, 4096, 20), true, 2},
        {"the same interlaced reaches every eighth row", ShortGif(64, 4096, 20, true), true, 24},
        {"interlaced on a taller screen", ShortGif(64, 65000, 20, true), true, 24},
        {"codes widening to twelve bits, cut short", testsupport::SolidGif(64, 40000, 500000), true,
         7815},
        {"the same whole", testsupport::SolidGif(64, 40000), false, 0},
        {"codes cleared back to three bits, cut short",
         testsupport::SolidGif(64, 40000, 500000, 600), true, 7815},
        {"cut inside the data", Chopped(testsupport::ClaimingGif(7000, 7000), 4), false, 0},
        {"an image narrower than its screen, which decoders fill first",
         Narrowed(ShortGif(64, 4096, 20), 40), true, 3},
        {"an image lower on its screen", Lowered(ShortGif(64, 4096, 20), 1), true, 3},
        {"one pixel on a screen of 7000 x 7000", testsupport::SmallImageGif(7000, 7000, 0, 0), true,
         2},
        {"one pixel at the foot of that screen", testsupport::SmallImageGif(7000, 7000, 6999, 6999),
         true, 2},
        {"one pixel on a screen of two rows", testsupport::SmallImageGif(7000, 2, 5, 0), false, 0},
        {"an image without rows, whose pixels decoders place anyway",
         CraftedGif({.name = "", .height = 0, .described = 500}), false, 0},
        {"more data than an inner image holds, which decoders write on below it",
         CraftedGif({.name = "", .left = 5, .top = 5, .width = 10, .height = 10, .described = 300}),
         false, 0},
        {"an image without columns", CraftedGif({.name = "", .width = 0, .described = 500}), false,
         0},
        {"nothing but the header", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, false,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ClippedGif> cut = ClipGifToItsData(c.bytes);
        ASSERT_EQ(cut.has_value(), c.cut);
        if (cut) {
            EXPECT_GT(cut->rows, 0);
            EXPECT_LE(cut->rows, c.maxRows);
            EXPECT_EQ(cut->bytes.size(), c.bytes.size());
            EXPECT_EQ(DecodeWhole(cut->bytes).height(), cut->rows);
        }
    }
}

// The whole screen as the picture shows a cut file: its decoded rows from cut.firstRow, and
// every other row in the colour of its last decoded row.
QImage Assembled(const ClippedGif& cut, QSize screen)
{
    const QImage rows = DecodeWhole(cut.bytes);
    if (rows.isNull() || rows.height() != cut.rows) {
        return {};
    }
    QImage whole(screen, rows.format());
    whole.fill(rows.pixel(0, rows.height() - 1));
    for (int y = 0; y < rows.height(); ++y) {
        const int to = cut.firstRow + y;
        if (to >= 0 && to < screen.height()) {
            std::memcpy(whole.scanLine(to), rows.constScanLine(y), size_t(rows.bytesPerLine()));
        }
    }
    return whole;
}

TEST(GifClip, ACutFileAndItsFillMakeWhatTheWholeFileDecodesTo)
{
    const GifLayout layouts[] = {
        {.name = "one pixel at the top left", .width = 1, .height = 1, .described = 1},
        {.name = "one pixel low on the screen",
         .left = 20,
         .top = 3000,
         .width = 1,
         .height = 1,
         .described = 1},
        {.name = "a small image placed inside",
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .described = 30},
        {.name = "a narrower image short of data", .width = 40, .described = 20},
        {.name = "a lowered image short of data", .top = 1, .height = 4095},
        {.name = "the background transparent",
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .transparent = 2,
         .described = 30},
        {.name = "another colour transparent",
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .transparent = 1,
         .described = 30},
        {.name = "the background past the table",
         .background = 7,
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .described = 30},
        {.name = "only a local table",
         .globalTableBits = -1,
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .localTableBits = 1,
         .described = 30},
        {.name = "a global and a local table",
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .localTableBits = 1,
         .described = 30},
        {.name = "no table at all",
         .globalTableBits = -1,
         .left = 5,
         .top = 5,
         .width = 10,
         .height = 10,
         .described = 30},
        {.name = "interlaced and lowered", .top = 100, .height = 2000, .interlaced = true},
        {.name = "interlaced, lowered and transparent",
         .top = 100,
         .height = 2000,
         .transparent = 3,
         .interlaced = true},
        {.name = "past the right edge", .left = 60, .width = 20, .height = 50, .described = 30},
        {.name = "below the screen", .top = 5000, .height = 10},
        {.name = "wider than the screen", .width = 100, .described = 30},
        {.name = "taller than the screen", .height = 5000, .described = 30},
    };
    for (const GifLayout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const Bytes gif = CraftedGif(layout);
        const std::optional<ClippedGif> cut = ClipGifToItsData(gif);
        ASSERT_TRUE(cut.has_value());
        EXPECT_LE(cut->rows, 30);
        const QImage whole = DecodeWhole(gif);
        ASSERT_EQ(whole.size(), QSize(layout.screenWidth, layout.screenHeight));
        // Compared as premultiplied colours: the decoder leaves any colour in a transparent
        // background, and transparent is transparent whatever its colour.
        const QImage assembled = Assembled(*cut, whole.size());
        ASSERT_FALSE(assembled.isNull());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                differing += qPremultiply(whole.pixel(x, y)) != qPremultiply(assembled.pixel(x, y));
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST(GifClip, APictureOnABareScreenDrawsAsTheWholeDecodedFile)
{
    const GifLayout layouts[] = {
        {.name = "one pixel low on the screen",
         .left = 20,
         .top = 3000,
         .width = 1,
         .height = 1,
         .described = 1},
        {.name = "a small image, its background transparent",
         .left = 5,
         .top = 2000,
         .width = 10,
         .height = 10,
         .transparent = 2,
         .described = 30},
        {.name = "an interlaced band",
         .top = 1000,
         .height = 2000,
         .interlaced = true,
         .described = 600},
    };
    const QSize size(64, 256);
    for (const GifLayout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const Bytes gif = CraftedGif(layout);
        ASSERT_TRUE(ClipGifToItsData(gif).has_value());
        const Picture picture = Picture::Read(gif);
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::white);
        {
            QPainter painter(&drawn);
            const DrawContext dc(painter, 96, 96);
            PictureDrawRequest request;
            request.dc = &dc;
            request.destination = dc.ToDocument(Rect{0, 0, size.width(), size.height()});
            ASSERT_TRUE(picture.Draw(request));
        }
        QImage expected(size, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        {
            QPainter painter(&expected);
            painter.drawImage(QRectF(0, 0, size.width(), size.height()), DecodeWhole(gif));
        }
        int differing = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                differing += drawn.pixel(x, y) != expected.pixel(x, y);
            }
        }
        // At most the rows where the decoded band meets the fill above and below may round
        // otherwise.
        EXPECT_LE(differing, 2 * size.width());
        EXPECT_EQ(drawn.pixel(10, 10), expected.pixel(10, 10));
        EXPECT_EQ(drawn.pixel(60, 250), expected.pixel(60, 250));
    }
}

TEST(GifClip, ACutPictureDrawsAsTheWholeDecodedFile)
{
    const struct {
        const char* name;
        Bytes gif;
        QRgb topRight; // beyond twenty pixels black, within the white rows white
    } cases[] = {
        {"twenty pixels", ShortGif(64, 40000, 20), qRgb(0, 0, 0)},
        {"a hundred thousand white pixels in widening codes",
         testsupport::SolidGif(64, 40000, 100000), qRgb(255, 255, 255)},
        {"the same in codes cleared every 300", testsupport::SolidGif(64, 40000, 100000, 300),
         qRgb(255, 255, 255)},
    };
    for (const auto& c : cases) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (interlaced ? ", interlaced" : ""));
            Bytes gif = c.gif;
            if (interlaced) {
                gif[kImageFlagsAt] |= 0x40;
            }
            const Picture picture = Picture::Read(gif);
            ASSERT_TRUE(ClipGifToItsData(gif).has_value());
            // Qt's reader leaves the pixels no data reaches as zero words in an image that
            // claims to be opaque, which a painter copies as transparent; the picture draws
            // them as the opaque black they claim to be, so compare with that.
            const QImage whole = DecodeWhole(gif).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(whole.isNull());
            // Stretched over 64 x 256 pixels the described rows and the black below show.
            const QSize size(64, 256);
            QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::white);
            {
                QPainter painter(&drawn);
                const DrawContext dc(painter, 96, 96);
                PictureDrawRequest request;
                request.dc = &dc;
                request.destination = dc.ToDocument(Rect{0, 0, size.width(), size.height()});
                ASSERT_TRUE(picture.Draw(request));
            }
            QImage expected(size, QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::white);
            {
                QPainter painter(&expected);
                painter.drawImage(QRectF(0, 0, size.width(), size.height()), whole);
            }
            int differing = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    differing += drawn.pixel(x, y) != expected.pixel(x, y);
                }
            }
            // At most the row where the described part meets the black may round otherwise.
            EXPECT_LE(differing, size.width());
            EXPECT_EQ(drawn.pixel(10, 200), qRgb(0, 0, 0));
            EXPECT_EQ(drawn.pixel(60, 0), c.topRight);
        }
    }
}

} // namespace
} // namespace figures
