#include "figures/render/styles/linestyle.h"

#include "figures/render/colour.h"

#include <QList>

#include <array>

namespace figures {

namespace {

constexpr std::array<const char*, 7> kLineTypeNames = {
    "空线", "圆头实线", "方头实线", "虚线", "点线", "点划线", "双点划线",
};

constexpr int32_t kLastLineType = static_cast<int32_t>(kLineTypeNames.size()) - 1;

// Dash patterns of the one-pixel types 3..6, on and off lengths in pixels, as the
// classic device patterns look on screen.
QList<qreal> DashPattern(int32_t type)
{
    switch (type) {
    case kLineDash: return {18, 6};
    case kLineDot: return {3, 3};
    case kLineDashDot: return {9, 6, 3, 6};
    default: return {9, 3, 3, 3, 3, 3};
    }
}

} // namespace

int32_t LineTypeCount()
{
    return static_cast<int32_t>(kLineTypeNames.size());
}

const char* LineTypeName(int32_t i)
{
    if (i < 0 || i > kLastLineType) {
        return nullptr;
    }
    return kLineTypeNames[static_cast<size_t>(i)];
}

QPen LinePen(int32_t lineType, int32_t widthUnits, uint32_t colour)
{
    if (lineType == kLineNone) {
        return QPen(Qt::NoPen);
    }
    const QColor qcolour = ToQColor(colour);
    if (LineTypeUsesWidth(lineType)) {
        const Qt::PenCapStyle cap = lineType == kLineRoundSolid ? Qt::RoundCap : Qt::FlatCap;
        return QPen(QBrush(qcolour), widthUnits, Qt::SolidLine, cap, Qt::RoundJoin);
    }
    // Cosmetic, so one device pixel wide under any world transform; dash lengths count
    // in pen widths, which for a zero-width pen is one device pixel.
    QPen pen(QBrush(qcolour), 0, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    pen.setDashPattern(DashPattern(lineType));
    return pen;
}

} // namespace figures
