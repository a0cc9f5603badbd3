#include "figures/render/styles/svgpatternfills.h"

#include "figures/render/colour.h"
#include "figures/render/styles/fillstyle.h"

#include <cstdio>

namespace figures {

namespace {

constexpr int kMarkerAlpha = 1;
constexpr int kTile = 8;

std::string ColourText(uint32_t colour)
{
    return ToQColor(colour).name().toStdString();
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

// The marks of a pattern's tile as one path of unit squares, a run of marks in a row
// being one rectangle.
std::string MarkPath(int32_t pattern)
{
    const std::optional<QImage> tile = FillPatternImage(pattern, 0x000000, 0xFFFFFF);
    std::string d;
    if (!tile) {
        return d;
    }
    const QRgb mark = qRgb(0, 0, 0);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile;) {
            if (tile->pixel(x, y) != mark) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < kTile && tile->pixel(x, y) == mark) {
                ++x;
            }
            d += "M" + std::to_string(start) + " " + std::to_string(y) + "h" +
                 std::to_string(x - start) + "v1h-" + std::to_string(x - start) + "z";
        }
    }
    return d;
}

} // namespace

QColor SvgPatternFills::Marker(int32_t pattern, uint32_t foreground, uint32_t background,
                               const QTransform& brushTransform)
{
    // Entries of one pattern and colour pair; nearly always one, whatever the transform.
    std::vector<int>& sameFill = byFill_[{pattern, foreground, background}];
    int index = -1;
    for (int i : sameFill) {
        if (entries_[size_t(i)].transform == brushTransform) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        index = int(entries_.size());
        entries_.push_back({pattern, foreground, background, brushTransform});
        sameFill.push_back(index);
    }
    const int n = index + 1; // never black, so an empty table names nothing
    return QColor((n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF, kMarkerAlpha);
}

int SvgPatternFills::Find(std::string_view colourName) const
{
    if (colourName.size() != 7 || colourName[0] != '#') {
        return -1;
    }
    const QColor colour(QString::fromLatin1(colourName.data(), qsizetype(colourName.size())));
    if (!colour.isValid()) {
        return -1;
    }
    const int n = colour.red() << 16 | colour.green() << 8 | colour.blue();
    return n >= 1 && n <= int(entries_.size()) ? n - 1 : -1;
}

std::string SvgPatternFills::Id(int i)
{
    return "fillpattern" + std::to_string(i + 1);
}

std::string SvgPatternFills::Definition(int i) const
{
    const Entry& e = entries_[size_t(i)];
    const QTransform& t = e.transform;
    std::string text = "<pattern id=\"" + Id(i) +
                       "\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=\"8\" "
                       "height=\"8\" patternTransform=\"matrix(" +
                       Number(t.m11()) + " " + Number(t.m12()) + " " + Number(t.m21()) + " " +
                       Number(t.m22()) + " " + Number(t.dx()) + " " + Number(t.dy()) + ")\">";
    text += "<rect width=\"8\" height=\"8\" fill=\"" + ColourText(e.background) + "\"/>";
    const std::string marks = MarkPath(e.pattern);
    if (!marks.empty()) {
        text += "<path fill=\"" + ColourText(e.foreground) + "\" d=\"" + marks + "\"/>";
    }
    return text + "</pattern>\n";
}

std::string SvgPatternFills::Definitions() const
{
    if (entries_.empty()) {
        return {};
    }
    std::string text = "<defs>\n";
    for (int i = 0; i < Count(); ++i) {
        text += Definition(i);
    }
    return text + "</defs>\n";
}

} // namespace figures
