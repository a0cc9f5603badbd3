#include "figures/render/drawcontext.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace figures {
namespace {

// Each loan starts as a fresh path whatever the loan before left in it: elements, a lone
// move away from the origin (which a fresh path's first line would not start from), or
// the other fill rule; loans nested inside one another get paths of their own.
TEST(DrawContext, ScratchPathsStartFreshOnEveryLoan)
{
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    const DrawContext dc(painter, 96, 96);
    const auto expectFresh = [](const QPainterPath& path, const char* after) {
        EXPECT_TRUE(path.isEmpty()) << after;
        EXPECT_EQ(path.fillRule(), Qt::OddEvenFill) << after;
        QPainterPath drawn = path;
        drawn.lineTo(10, 10);
        ASSERT_EQ(drawn.elementCount(), 2) << after;
        EXPECT_EQ(QPointF(drawn.elementAt(0)), QPointF(0, 0)) << after;
    };
    {
        const DrawContext::ScratchPath first(dc);
        expectFresh(*first, "nothing");
        first->addRect(1, 2, 3, 4);
        first->setFillRule(Qt::WindingFill);
        const DrawContext::ScratchPath nested(dc);
        EXPECT_NE(&*nested, &*first);
        expectFresh(*nested, "a loan still out");
        nested->moveTo(5, 5);
    }
    {
        const DrawContext::ScratchPath again(dc);
        expectFresh(*again, "a rectangle and the winding rule");
        const DrawContext::ScratchPath nested(dc);
        expectFresh(*nested, "a lone move");
    }
}

// Neighbouring objects alternate styles, drawings may hold hundreds of them, and the
// context keeps what it made: every fill and outline must still get its own colour, also
// after more styles than the context keeps and when an earlier one comes back.
TEST(DrawContext, EveryFillAndOutlineKeepsItsOwnColourAcrossManyStyles)
{
    constexpr int kStyles = 600;
    QImage image(kStyles, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const DrawContext dc(painter, 254, 254); // one document unit per pixel
    const auto colourOf = [](int i) { return uint32_t(0x010203 * (i + 1)) & 0xFFFFFF; };
    const auto rowAt = [](int x, int y) {
        QPainterPath path;
        path.addRect(x, y, 1, 1);
        return path;
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kStyles; ++i) {
            // Second pass backwards, so that styles dropped from the store come back.
            const int x = pass == 0 ? i : kStyles - 1 - i;
            dc.FillPath(rowAt(x, 0), colourOf(x));
            dc.FillPattern(rowAt(x, 1), 0, colourOf(x), colourOf(x));
        }
    }
    painter.end();
    for (int x = 0; x < kStyles; ++x) {
        const uint32_t c = colourOf(x);
        const QRgb want = qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
        ASSERT_EQ(image.pixel(x, 0), want) << "solid " << x;
        ASSERT_EQ(image.pixel(x, 1), want) << "pattern " << x;
    }
}

} // namespace
} // namespace figures
