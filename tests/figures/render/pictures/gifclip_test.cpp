#include "figures/render/drawcontext.h"
#include "figures/render/pictures/gifclip.h"
#include "figures/render/pictures/picture.h"
#include "tests/figures/render/pictures/picturefiles.h"
#include "tests/support/hostilepictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

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
         Narrowed(ShortGif(64, 4096, 20), 40), false, 0},
        {"an image lower on its screen", Lowered(ShortGif(64, 4096, 20), 1), false, 0},
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
