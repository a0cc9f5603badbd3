#include "figures/model/bandedpainter.h"

#include "figures/model/objects/cnptextbox.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/shapes/catalogue.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace figures {
namespace {

// Every catalogue entry in turn on a grid of overlapping cells, so that many objects
// straddle any band edge: turned and flipped ones, pattern and solid fills, thick and
// dashed outlines, shadows, lines with arrow heads and text boxes with text.
View MixedView()
{
    View view;
    int i = 0;
    for (int32_t y = -40; y < 1100; y += 53) {
        for (int32_t x = -40; x < 1500; x += 61, ++i) {
            const Rect frame{x, y, x + 70 + i % 40, y + 60 + i % 30};
            if (i % 9 == 4) {
                auto line = std::make_unique<CRichLine>();
                line->SetEndPoints({frame.left, frame.bottom}, {frame.right, frame.top});
                line->lineWidth = i % 4 * 10;
                line->SetLineEnd(2, {uint8_t(1 + i % 11), 2, 2});
                view.Append(std::move(line));
                continue;
            }
            if (i % 17 == 8) {
                auto text = std::make_unique<CNPTextBox>();
                text->frame = frame;
                text->lines = {"Ab", "\xce\xc4\xb5\xb5"};
                view.Append(std::move(text));
                continue;
            }
            view.AddNewShape(i % CatalogueCount(), &frame);
            auto& shape = static_cast<CRichGraph&>(*view.objects.back());
            shape.fillKind = i % 3 == 0 ? FillKind::Pattern : FillKind::Colour;
            shape.hatchStyle = i % 54;
            shape.fillColour = uint32_t(0x2040A0 + 0x101010 * (i % 9));
            shape.lineStyle = 1 + i % 4;
            shape.lineWidth = i % 5 * 8;
            shape.shadowDirection = i % 7 == 0 ? 1 + i % 8 : 0;
            shape.angle = i % 4 == 1 ? (i * 131) % 3600 : 0;
            if (i % 11 == 3) {
                shape.flags |= OF_FLIPPED_H;
            }
        }
    }
    return view;
}

// Without a clip, the whole image.
QImage PaintedByOnePainter(const View& view, QSize pixels, const BandedPaint& mapping,
                           qreal ratio = 1, const Rect* clip = nullptr)
{
    QImage image(pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    const QSize size = LogicalSize(image);
    QPainter painter(&image);
    painter.setWindow(QRect(mapping.imageOffset, size));
    painter.setViewport(QRect(QPoint(0, 0), size));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const DrawContext dc(painter, mapping.dpiX, mapping.dpiY, mapping.zoomX, mapping.zoomY,
                         mapping.origin);
    PaintOptions options;
    options.deviceClip = {mapping.imageOffset.x(), mapping.imageOffset.y(),
                          mapping.imageOffset.x() + size.width(),
                          mapping.imageOffset.y() + size.height()};
    if (clip != nullptr) {
        options.deviceClip = *clip;
    }
    PaintView(view, dc, options);
    return image;
}

struct Difference {
    int pixels = 0;  // pixels that differ at all
    int largest = 0; // largest difference of one channel
    QPoint first{-1, -1};
};

Difference Compare(const QImage& a, const QImage& b)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (p != q) {
                if (d.pixels++ == 0) {
                    d.first = {x, y};
                }
                d.largest =
                    std::max({d.largest, std::abs(qRed(p) - qRed(q)),
                              std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            }
        }
    }
    return d;
}

// Band edges may fall anywhere: on the rows where a dashed line, a thick round-capped
// arrow or an antialiased edge is cut, at every zoom and pixel ratio.
TEST(BandedPainting, BandsGiveExactlyThePixelsOfOnePainter)
{
    const View view = MixedView();
    const QSize pixels(640, 480);
    const struct {
        int32_t zoom;
        QPoint offset;
        qreal ratio;
    } kMappings[] = {
        {1000, {0, 0}, 1}, {1500, {0, 0}, 1},   {2500, {120, 333}, 1},
        {333, {0, 5}, 1},  {1000, {37, 91}, 2}, {1500, {11, 13}, 1.5},
    };
    for (const auto& m : kMappings) {
        BandedPaint mapping;
        mapping.zoomX = mapping.zoomY = m.zoom;
        mapping.imageOffset = m.offset;
        const QImage expected = PaintedByOnePainter(view, pixels, mapping, m.ratio);
        const QSize size = LogicalSize(expected);
        PaintOptions options;
        options.deviceClip = {m.offset.x(), m.offset.y(), m.offset.x() + size.width(),
                              m.offset.y() + size.height()};
        for (int bands : {0, 2, 3, 4, 5, 7, 9, 11, 13, 14, 15, 1000}) {
            mapping.bands = bands;
            QImage banded(pixels, QImage::Format_RGB32);
            banded.setDevicePixelRatio(m.ratio);
            banded.fill(Qt::black);
            PaintViewInBands(view, banded, mapping, options);
            const Difference d = Compare(banded, expected);
            EXPECT_EQ(d.pixels, 0) << "zoom " << m.zoom << " ratio " << m.ratio << ", " << bands
                                   << " bands: " << d.largest << " levels at (" << d.first.x()
                                   << ", " << d.first.y() << ")";
        }
    }
}

// Rows covered in order without gaps, none thinner than the least band.
void ExpectCovers(const std::vector<Band>& bands, const Rect& clip, const char* name)
{
    ASSERT_FALSE(bands.empty()) << name;
    EXPECT_EQ(bands.front().top, clip.top) << name;
    EXPECT_EQ(bands.back().bottom, clip.bottom) << name;
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_GE(bands[i].bottom - bands[i].top, 32) << name << " band " << i;
        if (i > 0) {
            EXPECT_EQ(bands[i].top, bands[i - 1].bottom) << name << " band " << i;
        }
    }
}

// Objects at 1/10 mm, 96 dpi, 100 %: a device row is 2.65 document units.
std::vector<PaintEntry> EntriesInRows(View& view, int firstRow, int lastRow, int count)
{
    const DeviceMapping map(96, 96);
    std::vector<PaintEntry> order;
    for (int i = 0; i < count; ++i) {
        const int row = firstRow + (lastRow - firstRow) * i / std::max(1, count - 1);
        const Point at = map.ToDocument(Point{10 + i % 500, row});
        auto line = std::make_unique<CRichLine>();
        line->SetEndPoints({at.x, at.y}, {at.x + 2, at.y});
        view.Append(std::move(line));
        order.push_back({view.objects.back().get(), view.objects.back()->Bounds(0)});
    }
    return order;
}

TEST(BandedPainting, BandsShareTheObjectsToDrawAndCoverTheClip)
{
    const DeviceMapping map(96, 96);
    const Rect clip{0, 100, 800, 1100};
    View crowdedTop;
    const std::vector<PaintEntry> top = EntriesInRows(crowdedTop, 100, 300, 2000);
    const std::vector<Band> two = SplitIntoBands(top, map, clip, 2);
    ExpectCovers(two, clip, "crowded top");
    ASSERT_EQ(two.size(), 2U);
    // Half the objects lie above row 200; the canvas below adds a little to the first.
    EXPECT_GE(two[0].bottom, 195);
    EXPECT_LE(two[0].bottom, 230);

    View even;
    const std::vector<PaintEntry> spread = EntriesInRows(even, 100, 1099, 3000);
    const std::vector<Band> four = SplitIntoBands(spread, map, clip, 4);
    ExpectCovers(four, clip, "spread");
    ASSERT_EQ(four.size(), 4U);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(four[size_t(i)].bottom, 100 + 250 * (i + 1), 3) << i;
    }

    // Objects reaching in from below count on the clip's last row; none at all splits the
    // rows evenly.
    View below;
    std::vector<PaintEntry> beyond;
    for (int i = 0; i < 100; ++i) {
        auto line = std::make_unique<CRichLine>();
        line->SetEndPoints(map.ToDocument(Point{i, 1090}), map.ToDocument(Point{i, 1900}));
        below.Append(std::move(line));
        beyond.push_back({below.objects.back().get(), below.objects.back()->Bounds(0)});
    }
    const std::vector<Band> none = SplitIntoBands({}, map, clip, 4);
    ExpectCovers(none, clip, "no objects");
    EXPECT_EQ(none[1].top, 350);
    const std::vector<Band> last = SplitIntoBands(beyond, map, clip, 2);
    ExpectCovers(last, clip, "all below");
    EXPECT_GE(last[0].bottom, 1100 - 32 - 1);

    // No band thinner than 32 rows, however many are wanted or however the work lies.
    ExpectCovers(SplitIntoBands(top, map, Rect{0, 0, 10, 100}, 1000), Rect{0, 0, 10, 100},
                 "short clip");
    EXPECT_EQ(SplitIntoBands(top, map, Rect{0, 0, 10, 100}, 1000).size(), 3U);
    EXPECT_EQ(SplitIntoBands(top, map, Rect{0, 0, 10, 20}, 8).size(), 1U);
    ExpectCovers(SplitIntoBands(top, map, clip, 31), clip, "crowded top, many bands");
}

// A band done before the first one hands over the rows below RowsReachedBy while the first
// still paints, so the first band's painter must never write there: objects crossing its
// lower edge are drawn whole, thick and turned ones, shadows and arrowheads among them.
TEST(BandedPainting, NoBandWritesBelowTheRowsItReaches)
{
    const View view = MixedView();
    const std::vector<PaintEntry> order = PaintingOrder(view);
    const QRgb untouched = qRgb(1, 254, 3);
    const struct {
        const char* name;
        int32_t zoom;
        Point origin;
        QPoint imageOffset;
        qreal ratio;
        Band band;
    } kCases[] = {
        {"100 %", 1000, {}, {}, 1, {0, 150}},
        {"250 %, scrolled", 2500, {130, 90}, {}, 1, {40, 120}},
        {"33 %, offset image", 330, {-200, 0}, {0, 60}, 1, {60, 140}},
        {"high density", 1000, {}, {}, 2, {20, 120}},
    };
    for (const auto& c : kCases) {
        BandedPaint mapping;
        mapping.zoomX = mapping.zoomY = c.zoom;
        mapping.origin = c.origin;
        mapping.imageOffset = c.imageOffset;
        QImage image(QSize(400, 300) * c.ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(c.ratio);
        image.fill(untouched);
        const Rect clip{c.imageOffset.x(), c.imageOffset.y(), c.imageOffset.x() + 400,
                        c.imageOffset.y() + 300};
        {
            // What the band's painter does: the whole clip, objects culled to its rows.
            QPainter painter(&image);
            painter.setWindow(QRect(c.imageOffset, QSize(400, 300)));
            painter.setViewport(QRect(QPoint(0, 0), QSize(400, 300)));
            painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
            painter.setRenderHint(QPainter::Antialiasing, true);
            const DrawContext dc(painter, 96, 96, c.zoom, c.zoom, c.origin);
            PaintOptions options;
            options.deviceClip = {clip.left, c.band.top - BandCullMargin(), clip.right,
                                  c.band.bottom + BandCullMargin()};
            PaintView(view, order, dc, options);
        }
        const int reach = RowsReachedBy(order, MappingOf(mapping), clip, c.band);
        int lowestWritten = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != untouched) {
                    lowestWritten = y;
                    break;
                }
            }
        }
        const int firstFree = int((reach - c.imageOffset.y()) * c.ratio);
        EXPECT_LT(lowestWritten, firstFree) << c.name;
        // Objects do cross the band's edge, and rows are left to hand over early.
        const int bandEnd = int((c.band.bottom + BandCullMargin() - c.imageOffset.y()) * c.ratio);
        EXPECT_GT(lowestWritten, bandEnd) << c.name;
        EXPECT_LT(reach, clip.bottom) << c.name;
    }
}

TEST(BandedPainting, PaintsOnlyTheClipInsideTheImage)
{
    const View view = MixedView();
    // Reaching beyond the image on the left and bottom; and a repaint of a few odd rows,
    // whose edges fall inside screen pixels at a fractional ratio.
    const Rect kClips[] = {
        {0, 100, 150, 900}, {3, 97, 149, 263}, {51, 75, 250, 110}, {5, 71, 203, 147}};
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        for (const Rect& clip : kClips) {
            const QSize pixels = QSize(300, 200) * ratio;
            BandedPaint mapping;
            mapping.imageOffset = {50, 60};
            mapping.bands = 4;
            QImage banded(pixels, QImage::Format_RGB32);
            banded.setDevicePixelRatio(ratio);
            banded.fill(Qt::black);
            PaintOptions options;
            options.deviceClip = clip;
            PaintViewInBands(view, banded, mapping, options);
            const QImage expected =
                PaintedByOnePainter(view, pixels, mapping, ratio, &options.deviceClip);
            const Difference d = Compare(banded, expected);
            EXPECT_EQ(d.pixels, 0)
                << "ratio " << ratio << ", clip from row " << clip.top << ": " << d.largest
                << " levels at (" << d.first.x() << ", " << d.first.y() << ")";
            // The pixels outside the clip are left as they were.
            EXPECT_EQ(banded.pixel(pixels.width() - 1, 0), qRgb(0, 0, 0));
        }
    }
}

// Out of memory for pictures of their own, bands paint in place one after another, each
// clipped to its rows: the picture is whole, and lines cut at a band's edge come out a few
// levels different (the price of going on rather than failing the paint).
TEST(BandedPainting, WithoutPicturesOfTheirOwnBandsStillPaintTheWholeClip)
{
    const View view = MixedView();
    const QRgb untouched = qRgb(1, 254, 3);
    for (const qreal ratio : {1.0, 2.0}) {
        const QSize pixels = QSize(400, 300) * ratio;
        BandedPaint mapping;
        mapping.bands = 4;
        QImage banded(pixels, QImage::Format_RGB32);
        banded.setDevicePixelRatio(ratio);
        banded.fill(untouched);
        PaintOptions options;
        options.deviceClip = {0, 0, 400, 300};
        WithholdBandPicturesForTesting(true);
        PaintViewInBands(view, banded, mapping, options);
        WithholdBandPicturesForTesting(false);
        const QImage expected = PaintedByOnePainter(view, pixels, mapping, ratio);
        int differing = 0;
        int largest = 0;
        for (int y = 0; y < banded.height(); ++y) {
            for (int x = 0; x < banded.width(); ++x) {
                const QRgb p = banded.pixel(x, y);
                ASSERT_NE(p, untouched) << "ratio " << ratio << " at " << x << ", " << y;
                const QRgb q = expected.pixel(x, y);
                if (p != q) {
                    ++differing;
                    largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                        std::abs(qGreen(p) - qGreen(q)),
                                        std::abs(qBlue(p) - qBlue(q))});
                }
            }
        }
        // 64 and 151 pixels by at most 4 levels when written; a dashed line cut at an edge
        // may be off by up to 30.
        EXPECT_LT(differing, banded.width() * banded.height() / 100) << "ratio " << ratio;
        EXPECT_LE(largest, 32) << "ratio " << ratio;
    }
}

} // namespace
} // namespace figures
