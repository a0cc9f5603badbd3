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

} // namespace
} // namespace figures
