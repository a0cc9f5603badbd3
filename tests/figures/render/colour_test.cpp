#include "figures/render/colour.h"

#include <QColor>

#include <gtest/gtest.h>

namespace figures {
namespace {

TEST(Colour, LightenMixesEachChannelTowardWhite)
{
    struct Case {
        uint32_t colour;
        int32_t percent;
        uint32_t expected;
    } cases[] = {
        {0x00123456, 0, 0x00123456},
        {0x00000000, 0, 0x00000000},
        {0x00FFFFFF, 0, 0x00FFFFFF},
        {0x00123456, 100, 0x00FFFFFF},
        // n = 51: blue 200 -> 255 - floor(55 * 204 * 66049 / 2^24) = 255 - 44,
        // green 128 -> 255 - 101, red 0 -> 255 - 204.
        {0x00C88000, 20, 0x00D39A33},
        // n = MulDiv(50, 255, 100) rounds 127.5 up to 128, which gives 0x80, not 0x7F.
        {0x00000000, 50, 0x00808080},
        // n = 102: 255 - floor(255 * 153 * 66049 / 2^24) = 255 - 153.
        {0x00000000, 40, 0x00666666},
        // The marker byte does not survive.
        {kNoColour, 0, 0x00FFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LightenColour(c.colour, c.percent), c.expected)
            << std::hex << c.colour << " at " << std::dec << c.percent << "%";
    }
}

TEST(Colour, ScaleGivesBlackForZeroFactorsAndClampsChannels)
{
    struct Case {
        uint32_t colour;
        int32_t num, den;
        uint32_t expected;
    } cases[] = {
        {0x00FFFFFF, 0, 255, 0},
        {0x00FFFFFF, 205, 0, 0},
        // 255 * 205 / 255, 128 * 205 / 255 = 102.9, 64 * 205 / 255 = 51.45.
        {0x00FF8040, 205, 255, 0x00CD6733},
        // 255 * 155 / 255, 128 * 155 / 255 = 77.8, 64 * 155 / 255 = 38.9.
        {0x00FF8040, 155, 255, 0x009B4E27},
        {0x00808080, 3, 1, 0x00FFFFFF},
        {0x00102030, -1, 1, 0},
        {0x00102030, 1, 1, 0x00102030},
        {0xFF102030, 1, 1, 0x00102030},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleColour(c.colour, c.num, c.den), c.expected)
            << std::hex << c.colour << " * " << std::dec << c.num << " / " << c.den;
    }
}

TEST(Colour, QtColourTakesRedFromTheLowByteAndIsOpaque)
{
    EXPECT_EQ(ToQColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(ToQColor(0x00FF8040).alpha(), 255);
    EXPECT_EQ(ToQColor(kDefaultColour), QColor(0, 0, 0));
}

} // namespace
} // namespace figures
