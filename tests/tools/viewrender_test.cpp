#include "tools/makesample/sampledocument.h"

#include "figures/model/document.h"
#include "figures/model/viewpainter.h"
#include "figures/model/viewrender.h"
#include "figures/render/drawcontext.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using figures::Document;

// The sample's first view at 100 % and 96 dpi, painted as the tool paints it.
QImage DirectPaint(const figures::View& view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const figures::Rect area = figures::PaintedArea(view).Inflated(50);
    const figures::DrawContext dc(painter, 96, 96, view.zoomX, view.zoomX,
                                  {area.left, area.top});
    figures::PaintOptions options;
    options.deviceClip = {0, 0, size.width(), size.height()};
    figures::PaintView(view, dc, options);
    return image;
}

QImage Rasterise(const QByteArray& svg, QSize size)
{
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

TEST(ViewRender, PngIsOpaqueRgbWithThePaintedPixels)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    QTemporaryDir dir;
    const QString path = dir.filePath("sample.png");
    QString error;
    ASSERT_TRUE(figures::RenderViewToFile(*sample.ViewAt(0), path, {}, error))
        << error.toStdString();
    const QImage written(path);
    ASSERT_FALSE(written.isNull());
    EXPECT_FALSE(written.hasAlphaChannel());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
              DirectPaint(*sample.ViewAt(0), written.size()));
}

TEST(ViewRender, SvgHasNoEmptyGroupsAndDrawsWhatTheGeneratorDrew)
{
    Document sample;
    makesample::BuildSampleDocument(sample);
    QTemporaryDir dir;
    const QString path = dir.filePath("sample.svg");
    QString error;
    ASSERT_TRUE(figures::RenderViewToFile(*sample.ViewAt(0), path, {}, error))
        << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray filtered = file.readAll();
    const QRegularExpression emptyGroup(QStringLiteral("<g[\\s>][^>]*>\\s*</g>"));
    EXPECT_FALSE(QString::fromUtf8(filtered).contains(emptyGroup));
    EXPECT_TRUE(filtered.contains("<path"));

    // The same view through the generator alone.
    const QSize size = QSvgRenderer(filtered).viewBox().size();
    QBuffer plain;
    plain.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&plain);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("view"));
        QPainter painter(&svg);
        painter.setRenderHint(QPainter::Antialiasing);
        const figures::View& view = *sample.ViewAt(0);
        const figures::Rect area = figures::PaintedArea(view).Inflated(50);
        const figures::DrawContext dc(painter, 96, 96, view.zoomX, view.zoomX,
                                      {area.left, area.top});
        figures::PaintOptions options;
        options.deviceClip = {0, 0, size.width(), size.height()};
        figures::PaintView(view, dc, options);
    }
    EXPECT_TRUE(QString::fromUtf8(plain.data()).contains(emptyGroup));
    EXPECT_LT(filtered.size(), plain.data().size());
    EXPECT_EQ(Rasterise(filtered, size), Rasterise(plain.data(), size));
}

} // namespace
