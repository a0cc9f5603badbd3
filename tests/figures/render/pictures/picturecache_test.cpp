#include "figures/model/document.h"
#include "figures/model/objects/cpicturebox.h"
#include "figures/model/storage/documentformat.h"
#include "figures/render/drawcontext.h"
#include "figures/render/pictures/picture.h"
#include "figures/render/pictures/picturecache.h"
#include "tests/figures/render/pictures/picturefiles.h"
#include "tests/support/hostilepictures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <malloc.h>

#include <chrono>
#include <thread>

namespace figures {
namespace {

// A decoder that counts its calls and makes an image of 10 x 10 pixels (400 bytes).
struct CountingDecoder {
    int calls = 0;
    QImage operator()()
    {
        ++calls;
        QImage image(10, 10, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return image;
    }
};

constexpr int64_t kImageBytes = 400;

TEST(PictureCache, EvictsTheLeastRecentlyDrawnFirstWithinItsBudget)
{
    PictureCache cache(3 * kImageBytes);
    CountingDecoder a, b, c, d;
    auto find = [&](uint64_t source, CountingDecoder& decoder) {
        return cache.Find({source, 1}, kImageBytes, [&] { return decoder(); });
    };
    EXPECT_FALSE(find(1, a).isNull());
    EXPECT_FALSE(find(2, b).isNull());
    EXPECT_FALSE(find(3, c).isNull());
    EXPECT_EQ(cache.Statistics().heldBytes, 3 * kImageBytes);
    // Drawing 1 again makes 2 the least recently drawn: 4 takes its room.
    EXPECT_FALSE(find(1, a).isNull());
    EXPECT_FALSE(find(4, d).isNull());
    EXPECT_EQ(cache.Statistics().evictions, 1);
    EXPECT_EQ(cache.Statistics().heldBytes, 3 * kImageBytes);
    find(1, a);
    find(3, c);
    find(4, d);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(c.calls, 1);
    EXPECT_EQ(d.calls, 1);
    find(2, b);
    EXPECT_EQ(b.calls, 2); // decoded again after its eviction
    // Now 1 was drawn least recently.
    find(1, a);
    EXPECT_EQ(a.calls, 2);

    const PictureCache::Counters counters = cache.Statistics();
    EXPECT_EQ(counters.decodes, 6);
    EXPECT_EQ(counters.hits, 4);
    EXPECT_EQ(counters.evictions, 3);
    EXPECT_LE(counters.peakBytes, 3 * kImageBytes);

    // A smaller budget evicts at once; the different shrinks of one source are separate
    // images, and forgetting the source drops them all.
    cache.SetBudget(kImageBytes);
    EXPECT_EQ(cache.Statistics().heldBytes, kImageBytes);
    CountingDecoder half;
    cache.Find({1, 2}, 0, [&] { return half(); });
    EXPECT_EQ(half.calls, 1);
    cache.Forget(1);
    EXPECT_EQ(cache.Statistics().heldBytes, 0);
}

TEST(PictureCache, RefusesWhatExceedsTheBudgetAndRemembersFailures)
{
    PictureCache cache(kImageBytes);
    CountingDecoder tooLarge;
    EXPECT_TRUE(cache.Find({1, 1}, kImageBytes + 1, [&] { return tooLarge(); }).isNull());
    EXPECT_EQ(tooLarge.calls, 0);
    EXPECT_EQ(cache.Statistics().refusals, 1);

    int failures = 0;
    auto failing = [&] {
        ++failures;
        return QImage();
    };
    EXPECT_TRUE(cache.Find({2, 1}, 10, failing).isNull());
    EXPECT_TRUE(cache.Find({2, 1}, 10, failing).isNull());
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(cache.Statistics().heldBytes, 0);
}

TEST(PictureCache, ThreadsDrawingOnePictureDecodeItOnce)
{
    PictureCache cache;
    std::atomic<int> calls{0};
    auto slow = [&] {
        ++calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        QImage image(10, 10, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        return image;
    };
    std::vector<std::thread> threads;
    std::atomic<int> nulls{0};
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            if (cache.Find({7, 1}, kImageBytes, slow).isNull()) {
                ++nulls;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(nulls.load(), 0);
}

size_t AllocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

QImage DrawInto(const Picture& picture, QSize size, int32_t placement = kPlacementStretch)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const DrawContext dc(painter, 96, 96);
    PictureDrawRequest request;
    request.dc = &dc;
    request.destination = dc.ToDocument(Rect{0, 0, size.width(), size.height()});
    request.placement = placement;
    picture.Draw(request);
    painter.end();
    return canvas;
}

TEST(PictureCache, DocumentsOpenWithoutDecodingTheirPictures)
{
    Document written;
    testsupport::BuildPictureDocument(written, testsupport::ClaimingGifs(4, 7000));
    const std::vector<uint8_t> bytes = WriteDocument(written);

    PictureCache& cache = PictureCache::Instance();
    const int64_t decodesBefore = cache.Statistics().decodes;
    const size_t allocatedBefore = AllocatedBytes();
    Document document;
    ASSERT_TRUE(ReadDocument(bytes, document).ok);
    // Four pictures that claim 196 MB each cost their bytes, not their pixels.
    EXPECT_LT(AllocatedBytes(), allocatedBefore + (size_t(4) << 20));
    EXPECT_EQ(cache.Statistics().decodes, decodesBefore);
    const auto& box = static_cast<const CPictureBox&>(*document.ViewAt(0)->objects[0]);
    EXPECT_EQ(box.picture.Decoded().PixelSize(), QSize(7000, 7000));
    EXPECT_EQ(box.picture.Width(), 185208); // 7000 px at 96 dpi

    // The first drawing decodes, the next finds the pixels in the cache.
    DrawInto(box.picture.Decoded(), QSize(40, 40));
    EXPECT_EQ(cache.Statistics().decodes, decodesBefore + 1);
    DrawInto(box.picture.Decoded(), QSize(40, 40));
    EXPECT_EQ(cache.Statistics().decodes, decodesBefore + 1);
}

TEST(PictureCache, PicturesTooLargeToDecodeDrawAVisiblePlaceholder)
{
    // 20000 x 20000 pixels are 1.5 GiB decoded, and the data describes them all.
    const Picture huge = Picture::Read(testsupport::SolidGif(20000, 20000));
    ASSERT_FALSE(huge.IsEmpty());
    EXPECT_TRUE(huge.TooLarge());
    const int64_t decodesBefore = PictureCache::Instance().Statistics().decodes;
    for (int32_t placement : {kPlacementStretch, kPlacementMiddleCentre, kPlacementTile}) {
        SCOPED_TRACE(placement);
        const QImage canvas = DrawInto(huge, QSize(160, 120), placement);
        int changed = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                changed += canvas.pixel(x, y) != qRgb(255, 255, 255);
            }
        }
        // The box is filled: most pixels differ from the white canvas.
        EXPECT_GT(changed, 160 * 120 / 2);
    }
    EXPECT_EQ(PictureCache::Instance().Statistics().decodes, decodesBefore);
}

TEST(PictureCache, JpegDecodesAtTheResolutionItIsShownAt)
{
    const Picture jpeg =
        Picture::Read(picturetest::Encode(picturetest::Quadrants(800, 800), "jpeg", 90));
    ASSERT_EQ(jpeg.PixelSize(), QSize(800, 800));
    PictureCache& cache = PictureCache::Instance();
    const struct {
        int shown;
        int64_t bytes; // what the decoded pixels hold
    } cases[] = {
        {90, 100 * 100 * 4},   // an eighth
        {180, 200 * 200 * 4},  // a quarter
        {500, 800 * 800 * 4},  // more than half: the full size
        {1600, 800 * 800 * 4}, // enlarged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        cache.Clear();
        const QImage canvas = DrawInto(jpeg, QSize(c.shown, c.shown));
        EXPECT_EQ(cache.Statistics().heldBytes, c.bytes);
        // Red top left, yellow bottom right at every resolution.
        EXPECT_GT(qRed(canvas.pixel(c.shown / 4, c.shown / 4)), 200);
        EXPECT_LT(qBlue(canvas.pixel(c.shown / 4, c.shown / 4)), 60);
        EXPECT_GT(qGreen(canvas.pixel(3 * c.shown / 4, 3 * c.shown / 4)), 200);
    }
}

} // namespace
} // namespace figures
