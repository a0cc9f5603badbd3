#include "figures/model/objects/crichgraph.h"
#include "figures/model/objects/crichline.h"
#include "figures/model/objects/shapetextstore.h"
#include "figures/model/view.h"
#include "figures/model/viewpainter.h"
#include "figures/render/drawcontext.h"
#include "figures/render/lineends/lineendgeometry.h"
#include "figures/render/shapes/catalogue.h"
#include "figures/render/styles/linestyle.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace figures {
namespace {

constexpr int32_t kZoom = 2500;
constexpr int kImageMargin = 40; // device pixels around the bounds that must stay blank
constexpr QRgb kCanvas = 0xFFFFFFFF;

// The farthest a painted pixel of the view's one object lies outside its mapped Bounds(0),
// in device pixels (0 when everything painted lies inside).
int Overreach(const View& view)
{
    const Rect bounds = view.objects.front()->Bounds(0);
    const DeviceMapping map(96, 96, kZoom, kZoom);
    const Rect device = map.ToDevice(bounds);
    const QSize size(device.Width() + 2 * kImageMargin, device.Height() + 2 * kImageMargin);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setWindow(QRect(device.left - kImageMargin, device.top - kImageMargin, size.width(),
                            size.height()));
    painter.setViewport(QRect(QPoint(0, 0), size));
    const DrawContext dc(painter, 96, 96, kZoom, kZoom);
    PaintOptions options;
    options.deviceClip = {device.left - kImageMargin, device.top - kImageMargin,
                          device.right + kImageMargin, device.bottom + kImageMargin};
    PaintView(view, dc, options);
    painter.end();
    int worst = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (image.pixel(x, y) == kCanvas) {
                continue;
            }
            // Device pixel (px, py) covers [px, px + 1); the bounds' right and bottom
            // edges are exclusive.
            const int px = x + device.left - kImageMargin;
            const int py = y + device.top - kImageMargin;
            const int dx = std::max({0, device.left - px, px + 1 - device.right});
            const int dy = std::max({0, device.top - py, py + 1 - device.bottom});
            worst = std::max({worst, dx, dy});
        }
    }
    return worst;
}

struct ShapeCase {
    int32_t angle;
    int32_t lineWidth; // tenths of a point
    int32_t lineStyle;
    int32_t shadow;
};

TEST(PaintedBounds, EveryCatalogueShapePaintsInsideItsBounds)
{
    const ShapeCase kCases[] = {
        {0, 5, kLineRoundSolid, 0},
        {0, 80, kLineRoundSolid, 0},
        {300, 80, kLineRoundSolid, 0},
        {1350, 30, kLineSquareSolid, 0},
        {0, 40, kLineRoundSolid, 6},
        {2200, 0, kLineDash, 3},
    };
    std::ostringstream failures;
    for (int32_t entry = 0; entry < CatalogueCount(); ++entry) {
        for (const ShapeCase& c : kCases) {
            View view;
            view.Append(std::make_unique<CRichGraph>(entry));
            auto& shape = static_cast<CRichGraph&>(*view.objects.front());
            shape.frame = {1000, 1000, 1300, 1220};
            shape.fillKind = FillKind::Colour;
            shape.fillColour = 0x806040;
            shape.lineWidth = c.lineWidth;
            shape.lineStyle = c.lineStyle;
            shape.angle = c.angle;
            shape.shadowDirection = c.shadow;
            if (shape.HasFlag(OF_TEXT)) {
                SetBoxText(shape, 1, "Ab");
            }
            if (const int over = Overreach(view); over > 1) {
                failures << "entry " << entry << " angle " << c.angle << " width "
                         << c.lineWidth << " shadow " << c.shadow << ": " << over << " px\n";
            }
        }
    }
    EXPECT_EQ(failures.str(), "");
}

TEST(PaintedBounds, LinesWithEveryEndPaintInsideTheirBounds)
{
    std::ostringstream failures;
    for (uint8_t type = kEndNone; type <= kEndHollowEllipse; ++type) {
        for (uint8_t size = 1; size <= 3; ++size) {
            for (const int32_t width : {0, 20, 90}) {
                for (const Point end : {Point{1400, 1000}, Point{1030, 1400}, Point{1300, 1250}}) {
                    View view;
                    view.Append(std::make_unique<CRichLine>());
                    auto& line = static_cast<CRichLine&>(*view.objects.front());
                    line.SetEndPoints({1000, 1000}, end);
                    line.lineWidth = width;
                    line.SetLineEnd(1, {type, size, size});
                    line.SetLineEnd(2, {type, size, uint8_t(4 - size)});
                    line.shadowDirection = width == 90 ? 7 : 0;
                    if (const int over = Overreach(view); over > 1) {
                        failures << "end " << int(type) << " size " << int(size) << " width "
                                 << width << " to (" << end.x << ", " << end.y << "): " << over
                                 << " px\n";
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures.str(), "");
}

} // namespace
} // namespace figures
