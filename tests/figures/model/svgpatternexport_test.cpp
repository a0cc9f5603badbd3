#include "figures/model/document.h"
#include "figures/model/objects/crichgraph.h"
#include "figures/model/viewrender.h"
#include "figures/render/colour.h"
#include "figures/render/styles/fillstyle.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace figures {
namespace {

constexpr int32_t kRectangleEntry = 2;

struct PatternFill {
    int32_t pattern;
    uint32_t foreground; // 0x00BBGGRR
    uint32_t background;
};

// Side by side, 300 units (about 113 px at 96 dpi) apart, each filling a 200-unit square.
constexpr PatternFill kFills[] = {
    {0, 0x000000, 0xFFFFFF},  // right diagonal, black on white
    {0, 0x000000, 0xFFFFFF},  // the same again: shares the definition
    {4, 0x0000FF, 0x00FFFF},  // horizontal, red on yellow
    {20, 0xFF0000, 0xFFFFFF}, // a dotted bitmap pattern in blue
    {0, 0x008000, 0xFFFFFF},  // the first pattern in another colour: a definition of its own
};

void AddPatternShapes(View& view)
{
    for (size_t i = 0; i < std::size(kFills); ++i) {
        const int32_t x = int32_t(i) * 300;
        const Rect frame{x, 0, x + 200, 200};
        view.AddNewShape(kRectangleEntry, &frame);
        auto& shape = static_cast<CRichGraph&>(*view.objects.back());
        shape.fillKind = FillKind::Pattern;
        shape.hatchStyle = kFills[i].pattern;
        shape.fillColour = kFills[i].foreground;
        shape.fillBackColour = kFills[i].background;
    }
}

QString ColourName(uint32_t colour)
{
    return ToQColor(colour).name();
}

// The 8 × 8 marks a pattern definition's path draws: runs written as "Mx yhNv1h-Nz".
std::vector<bool> MarksOf(const QString& definition)
{
    std::vector<bool> marks(64, false);
    static const QRegularExpression run(QStringLiteral("M(\\d) (\\d)h(\\d)v1h-\\d+z"));
    for (const QRegularExpressionMatch& m : run.globalMatch(definition)) {
        const int x = m.captured(1).toInt();
        const int y = m.captured(2).toInt();
        for (int i = 0; i < m.captured(3).toInt(); ++i) {
            marks[size_t(y * 8 + x + i)] = true;
        }
    }
    return marks;
}

std::vector<bool> ExpectedMarks(int32_t pattern)
{
    const QImage tile = *FillPatternImage(pattern, 0x000000, 0xFFFFFF);
    std::vector<bool> marks(64, false);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            marks[size_t(y * 8 + x)] = tile.pixel(x, y) == qRgb(0, 0, 0);
        }
    }
    return marks;
}

QString Render(const View& view, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(RenderViewToFile(view, path, {}, error)) << error.toStdString();
    return path;
}

TEST(SvgPatternExport, EachPatternAndColourPairIsDefinedOnceWithItsBitsAndColours)
{
    Document document;
    AddPatternShapes(*document.ViewAt(0));
    QTemporaryDir dir;
    QFile file(Render(*document.ViewAt(0), dir, QStringLiteral("patterns.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());

    static const QRegularExpression definition(
        QStringLiteral("<pattern id=\"([^\"]+)\"[^>]*>(.*?)</pattern>"));
    std::map<QString, QString> definitions;
    for (const QRegularExpressionMatch& m : definition.globalMatch(svg)) {
        EXPECT_TRUE(definitions.emplace(m.captured(1), m.captured(2)).second)
            << "defined twice: " << m.captured(1).toStdString();
    }
    ASSERT_EQ(definitions.size(), 4u);

    // Every shape's fill refers to a definition, and no stand-in colour is left.
    static const QRegularExpression reference(QStringLiteral("fill=\"url\\(#([^)]+)\\)\""));
    int references = 0;
    for (const QRegularExpressionMatch& m : reference.globalMatch(svg)) {
        EXPECT_TRUE(definitions.count(m.captured(1))) << m.captured(1).toStdString();
        ++references;
    }
    EXPECT_GE(references, 4);
    EXPECT_FALSE(svg.contains(QStringLiteral("0.00392157")));

    // Each distinct fill has a definition in its colours whose marks are the pattern's.
    for (const PatternFill& fill : kFills) {
        bool found = false;
        for (const auto& [id, body] : definitions) {
            const QString back =
                QStringLiteral("<rect width=\"8\" height=\"8\" fill=\"%1\"/>").arg(
                    ColourName(fill.background));
            const QString fore = QStringLiteral("<path fill=\"%1\"").arg(ColourName(fill.foreground));
            if (body.startsWith(back) && body.contains(fore)) {
                found = true;
                EXPECT_EQ(MarksOf(body), ExpectedMarks(fill.pattern)) << fill.pattern;
            }
        }
        EXPECT_TRUE(found) << "pattern " << fill.pattern << " in " << fill.foreground;
    }
}

// An SVG renderer draws the patterns as the raster output does, pixel for pixel inside
// each shape (the outlines are antialiased by each renderer its own way).
TEST(SvgPatternExport, AnSvgRendererDrawsThePatternsAsThePngHasThem)
{
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (rsvg.isEmpty()) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    Document document;
    AddPatternShapes(*document.ViewAt(0));
    QTemporaryDir dir;
    const QImage ours(Render(*document.ViewAt(0), dir, QStringLiteral("patterns.png")));
    const QString svg = Render(*document.ViewAt(0), dir, QStringLiteral("patterns.svg"));
    const QString drawn = dir.filePath(QStringLiteral("rsvg.png"));
    ASSERT_EQ(QProcess::execute(rsvg, {QStringLiteral("-o"), drawn, svg}), 0);
    const QImage theirs(drawn);
    ASSERT_FALSE(ours.isNull());
    ASSERT_FALSE(theirs.isNull());

    // The output starts 50 units (about 19 px) before the first shape; each square is
    // about 76 px wide, the next starting about 113 px further.
    for (size_t i = 0; i < std::size(kFills); ++i) {
        const int left = 19 + int(i) * 113 + 10;
        const QRect crop(left, 30, 56, 56);
        const QImage a = ours.copy(crop).convertToFormat(QImage::Format_RGB32);
        const QImage b = theirs.copy(crop).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(a, b) << "shape " << i;
        // The crop shows the pattern in its two colours, not a plain fill.
        int fore = 0;
        int back = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                fore += a.pixel(x, y) == ToQColor(kFills[i].foreground).rgb() ? 1 : 0;
                back += a.pixel(x, y) == ToQColor(kFills[i].background).rgb() ? 1 : 0;
            }
        }
        EXPECT_GT(fore, 50) << "shape " << i;
        EXPECT_GT(back, 50) << "shape " << i;
    }
}

} // namespace
} // namespace figures
