#pragma once

#include <QColor>
#include <QTransform>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace figures {

// The fill patterns of one SVG output. The SVG generator writes no texture brushes, so a
// pattern fill painted into it would come out unfilled. Instead, while painting into
// SVG, each pattern fill is painted with a stand-in solid colour that names an entry of
// this table (Marker); the filter in front of the file then turns that colour into a
// reference to an SVG <pattern> element (Reference) and writes every entry's element
// once, before the document's end (Definitions).
//
// An entry is one pattern, colour pair and brush transform; the transform puts the 8 × 8
// tile on device pixels from the device origin, as the raster output does. Stand-ins are
// opaque-looking nowhere: their alpha is 1 of 255, which no drawing colour has (documents
// store colours without alpha), and their red, green and blue hold the entry number.
class SvgPatternFills {
public:
    // What the generator writes for a stand-in's opacity.
    static constexpr std::string_view kMarkerOpacity = "0.00392157";

    // The stand-in colour for a pattern fill; the same arguments give the same colour.
    QColor Marker(int32_t pattern, uint32_t foreground, uint32_t background,
                  const QTransform& brushTransform);
    // The entry a "#rrggbb" colour text names, or -1 when it names none.
    int Find(std::string_view colourName) const;
    // The element id of entry i, as written in url(#...).
    static std::string Id(int i);
    // The <defs> element holding a <pattern> per entry; empty when there are none.
    std::string Definitions() const;
    int Count() const { return int(entries_.size()); }

private:
    struct Entry {
        int32_t pattern = 0;
        uint32_t foreground = 0;
        uint32_t background = 0;
        QTransform transform;
    };
    std::string Definition(int i) const;

    std::vector<Entry> entries_;
    std::map<std::tuple<int32_t, uint32_t, uint32_t>, std::vector<int>> byFill_;
};

} // namespace figures
