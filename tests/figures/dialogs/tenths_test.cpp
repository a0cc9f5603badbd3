#include "figures/dialogs/tenths.h"

#include <gtest/gtest.h>

namespace figures {
namespace {

TEST(Tenths, FormatShowsOneDecimalOnlyWhenItIsNotZero)
{
    const struct {
        int32_t value;
        const char* suffix;
        const char* text;
    } rows[] = {
        {125, " 毫米", "12.5 毫米"}, {120, " 毫米", "12 毫米"},
        {900, "°", "90°"},           {5, "磅", "0.5磅"},
        {0, " 毫米", "0 毫米"},      {-5, " 毫米", "-0.5 毫米"},
        {-35, "", "-3.5"},           {-2147483647 - 1, "", "-214748364.8"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatTenths(row.value, QString::fromUtf8(row.suffix)),
                  QString::fromUtf8(row.text))
            << row.value;
    }
}

TEST(Tenths, ParseReadsTheLeadingNumberAndOneDecimal)
{
    const struct {
        const char* text;
        int32_t value;
    } rows[] = {
        {"12", 120},
        {"12 毫米", 120},
        {"12.56", 125},
        {"-3.5", -35},
        {"", 0},
        {"毫米", 0},
        {"-", 0},
        {"12.", 120},
        {"12.x", 120},
        {".5", 5},
        {"１２．５", 125},
        {"－7", -70},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"0.5磅", 5},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseTenths(QString::fromUtf8(row.text)), row.value) << row.text;
    }
}

TEST(Tenths, FormattedValuesReadBackUnchanged)
{
    for (int32_t v : {0, 1, 9, 10, 11, 125, 19999, 20000, -1, -35, 3599}) {
        EXPECT_EQ(ParseTenths(FormatTenths(v, QStringLiteral(" 毫米"))), v);
    }
}

} // namespace
} // namespace figures
