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

QImage PaintedByOnePainter(const View& view, QSize size, const BandedPaint& mapping)
{
    QImage image(size, QImage::Format_RGB32);
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
    PaintView(view, dc, options);
    return image;
}

// The rasteriser's coverage of an antialiased edge that runs along a band's first or last
// row can differ by a few levels from the coverage the same row gets inside one tall clip;
// everything else is identical.
constexpr int kChannelTolerance = 8;

struct Difference {
    int pixels = 0;  // pixels that differ at all
    int largest = 0; // largest difference of one channel
};

Difference Compare(const QImage& a, const QImage& b)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (p != q) {
                ++d.pixels;
                d.largest = std::max({d.largest, std::abs(qRed(p) - qRed(q)),
                                      std::abs(qGreen(p) - qGreen(q)),
                                      std::abs(qBlue(p) - qBlue(q))});
            }
        }
    }
    return d;
}

TEST(BandedPainting, BandsGiveThePixelsOfOnePainter)
{
    const View view = MixedView();
    const QSize size(640, 480);
    const struct {
        const char* name;
        int32_t zoom;
        QPoint offset;
        int bands;
    } kCases[] = {
        {"two bands at 100 %", 1000, {0, 0}, 2},
        {"three uneven bands, scrolled", 1000, {37, 91}, 3},
        {"seven bands at 250 %", 2500, {120, 333}, 7},
        {"as many bands as the pool likes at 33 %", 333, {0, 5}, 0},
        {"more bands than rows allow", 1500, {11, 13}, 1000},
    };
    for (const auto& c : kCases) {
        BandedPaint mapping;
        mapping.zoomX = mapping.zoomY = c.zoom;
        mapping.imageOffset = c.offset;
        mapping.bands = c.bands;
        QImage banded(size, QImage::Format_RGB32);
        banded.fill(Qt::black);
        PaintOptions options;
        options.deviceClip = {c.offset.x(), c.offset.y(), c.offset.x() + size.width(),
                              c.offset.y() + size.height()};
        PaintViewInBands(view, banded, mapping, options);
        const Difference d = Compare(banded, PaintedByOnePainter(view, size, mapping));
        EXPECT_LE(d.largest, kChannelTolerance) << c.name;
        EXPECT_LE(d.pixels, size.width()) << c.name;
    }
}

TEST(BandedPainting, PaintsOnlyTheClipInsideTheImage)
{
    const View view = MixedView();
    const QSize size(300, 200);
    BandedPaint mapping;
    mapping.imageOffset = {50, 60};
    mapping.bands = 4;
    QImage banded(size, QImage::Format_RGB32);
    banded.fill(Qt::black);
    PaintOptions options;
    // Reaches beyond the image on the left and bottom.
    options.deviceClip = {0, 100, 150, 900};
    PaintViewInBands(view, banded, mapping, options);
    QImage expected = PaintedByOnePainter(view, size, mapping);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (x >= 100 || y < 40) {
                expected.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
    }
    const Difference d = Compare(banded, expected);
    EXPECT_LE(d.largest, kChannelTolerance);
    EXPECT_LE(d.pixels, size.width());
}

} // namespace
} // namespace figures
