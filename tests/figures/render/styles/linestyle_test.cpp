#include "figures/render/styles/linestyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace figures {
namespace {

TEST(LineStyle, SolidTypesScaleWithTheDocument)
{
    EXPECT_EQ(LinePen(0, 40, 0x0000FF).style(), Qt::NoPen);

    const QPen round = LinePen(1, 40, 0x0000FF);
    EXPECT_EQ(round.style(), Qt::SolidLine);
    EXPECT_FALSE(round.isCosmetic());
    EXPECT_EQ(round.widthF(), 40.0);
    EXPECT_EQ(round.capStyle(), Qt::RoundCap);
    EXPECT_EQ(round.joinStyle(), Qt::RoundJoin);
    EXPECT_EQ(round.color(), QColor(255, 0, 0));

    const QPen square = LinePen(2, 17, 0x00FF00);
    EXPECT_EQ(square.style(), Qt::SolidLine);
    EXPECT_FALSE(square.isCosmetic());
    EXPECT_EQ(square.widthF(), 17.0);
    EXPECT_EQ(square.capStyle(), Qt::FlatCap);
    EXPECT_EQ(square.joinStyle(), Qt::RoundJoin);
    EXPECT_EQ(square.color(), QColor(0, 255, 0));
}

TEST(LineStyle, DashedTypesAreOnePixelWhateverTheWidth)
{
    struct Case {
        int32_t type;
        QList<qreal> dashes;
    } cases[] = {
        {3, {18, 6}},
        {4, {3, 3}},
        {5, {9, 6, 3, 6}},
        {6, {9, 3, 3, 3, 3, 3}},
        {7, {9, 3, 3, 3, 3, 3}},
        {1000, {9, 3, 3, 3, 3, 3}},
        {-1, {9, 3, 3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        for (int32_t width : {0, 5, 500}) {
            const QPen pen = LinePen(c.type, width, 0xFF0000);
            EXPECT_TRUE(pen.isCosmetic()) << c.type << " width " << width;
            EXPECT_EQ(pen.widthF(), 0.0) << c.type << " width " << width;
            EXPECT_EQ(pen.style(), Qt::CustomDashLine) << c.type;
            EXPECT_EQ(pen.dashPattern(), c.dashes) << c.type;
            EXPECT_EQ(pen.color(), QColor(0, 0, 255)) << c.type;
        }
    }
}

// Lengths of the alternating runs of non-white pixels and white pixels along row y,
// starting with a run of ink at x = 0.
std::vector<int> RunLengths(const QImage& image, int y)
{
    std::vector<int> runs;
    bool ink = true;
    int length = 0;
    for (int x = 0; x < image.width(); ++x) {
        const bool pixelInk = image.pixel(x, y) != qRgb(255, 255, 255);
        if (pixelInk != ink) {
            runs.push_back(length);
            ink = pixelInk;
            length = 0;
        }
        ++length;
    }
    runs.push_back(length);
    return runs;
}

TEST(LineStyle, DashesStayInDevicePixelsWhenZoomed)
{
    QImage image(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(4, 4);
        painter.setPen(LinePen(3, 50, 0x000000));
        painter.drawLine(QPointF(0, 2.5), QPointF(15, 2.5));
    }
    // A row without ink is one empty ink run followed by one white run.
    int inkRows = 0;
    for (int y = 0; y < image.height(); ++y) {
        inkRows += RunLengths(image, y).size() > 2 ? 1 : 0;
    }
    EXPECT_EQ(inkRows, 1);
    const std::vector<int> runs = RunLengths(image, 10);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0], 18);
    EXPECT_EQ(runs[1], 6);
    EXPECT_EQ(runs[2], 18);
    EXPECT_EQ(runs[3], 6);
}

TEST(LineStyle, TableNamesEachTypeAndWhichUseTheWidth)
{
    EXPECT_EQ(LineTypeCount(), 7);
    EXPECT_STREQ(LineTypeName(0), "空线");
    EXPECT_STREQ(LineTypeName(1), "圆头实线");
    EXPECT_STREQ(LineTypeName(6), "双点划线");
    EXPECT_EQ(LineTypeName(-1), nullptr);
    EXPECT_EQ(LineTypeName(7), nullptr);

    for (int32_t type = -2; type <= 8; ++type) {
        EXPECT_EQ(LineTypeUsesWidth(type), type == 1 || type == 2) << type;
    }
}

} // namespace
} // namespace figures
