#include "app/designer/ansicodepage.h"
#include "app/designer/expressionevaluator.h"
#include "app/designer/programbuilder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace designer {
namespace {

StepRecord Step(int32_t code, std::initializer_list<const char*> utf8Parameters)
{
    StepRecord step;
    step.code = code;
    size_t i = 0;
    for (const char* parameter : utf8Parameters) {
        step.parameters[i++] = AnsiFromUtf8(parameter);
    }
    return step;
}

int32_t Evaluate(ExpressionEvaluator& evaluator, const char* utf8)
{
    return evaluator.Evaluate(SubstituteExtent(AnsiFromUtf8(utf8)));
}

TEST(Expressions, FollowTheEnginesArithmeticAndIntegerConversion)
{
    ExpressionEvaluator evaluator;
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"{宽}/2", 4095},     {"8191*0.5", 4095},  {"{宽}-{高}/2", 4096}, {"-1", -1},
        {"abc", 0},           {"", 0},             {"{宽}", 8191},        {"2.9", 2},
        {"-2.9", -2},         {"'12abc'", 12},     {"null", 0},           {"4294967297", 1},
        {"max(3, {高}/4)", 2047}, {"abs(-7)", 7}, {"round(2.5)", 3},     {"1 +", 0},
        {"(1+2)*3", 9},       {"{宽} % 1000", 191}, {"1e3", 1000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Evaluate(evaluator, c.text), c.value) << c.text;
    }
}

TEST(Expressions, HostileTextsGiveZeroQuicklyAndTouchNothing)
{
    ExpressionEvaluator evaluator;
    const std::string huge(1 << 20, '1');
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    const char* texts[] = {
        "1; DROP TABLE 图形",
        "(select count(*) from 图形)",
        "(select count(*) from sqlite_master)",
        "load_extension('x')",
        "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT max(x) FROM c)",
        "length(zeroblob(2000000000))",
        "length(randomblob(2000000000))",
        "(select 1) ; ATTACH 'x.db' AS y",
        "sqlite_version()",
        "changes()",
        "1; select 2",
    };
    const auto start = std::chrono::steady_clock::now();
    for (const char* text : texts) {
        EXPECT_EQ(Evaluate(evaluator, text), 0) << text;
    }
    EXPECT_EQ(evaluator.Evaluate(huge), 0);
    EXPECT_EQ(evaluator.Evaluate(deep), 0);
    // A budget, not a timing test: a recursive query left to run would take forever.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    // The evaluator still works after all of that.
    EXPECT_EQ(Evaluate(evaluator, "{宽}/2"), 4095);
}

TEST(Programs, EmptyListIsTheClosingWordAlone)
{
    ExpressionEvaluator evaluator;
    const std::vector<uint8_t> program = BuildProgram({}, evaluator);
    EXPECT_EQ(program, (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(ByteText(program), "{ 0, 0 }");
    EXPECT_EQ(ByteText({}), "{ }");
}

TEST(Programs, StepsBecomeWordsWithTheGridExtentPutIn)
{
    ExpressionEvaluator evaluator;
    const std::vector<StepRecord> line = {Step(1, {"0", "0", "{宽}", "{高}", "ignored"})};
    const std::vector<uint8_t> program = BuildProgram(line, evaluator);
    EXPECT_EQ(program, (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 255, 31, 255, 31, 0, 0}));
    EXPECT_EQ(ByteText(program), "{ 1, 0, 0, 0, 0, 0, 255, 31, 255, 31, 0, 0 }");

    // Values keep their low sixteen bits; -1 is 0xFFFF (a memory-point move).
    const std::vector<StepRecord> move = {Step(3, {"-1", "70000"})};
    EXPECT_EQ(BuildProgram(move, evaluator),
              (std::vector<uint8_t>{3, 0, 0xFF, 0xFF, 0x70, 0x11, 0, 0}));
}

TEST(Programs, ALastNoActionStepIsTheEndAndAMiddleOneStays)
{
    ExpressionEvaluator evaluator;
    const std::vector<StepRecord> endsInNoAction = {Step(21, {"2"}), Step(0, {})};
    EXPECT_EQ(BuildProgram(endsInNoAction, evaluator), (std::vector<uint8_t>{21, 0, 2, 0, 0, 0}));
    const std::vector<StepRecord> middle = {Step(0, {}), Step(21, {"5"})};
    EXPECT_EQ(BuildProgram(middle, evaluator), (std::vector<uint8_t>{0, 0, 21, 0, 5, 0, 0, 0}));
}

} // namespace
} // namespace designer
