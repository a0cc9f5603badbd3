#include "app/designer/ansicodepage.h"
#include "app/designer/steplist.h"

#include <gtest/gtest.h>

#include <cstring>

namespace designer {
namespace {

StepRecord Step(int32_t code, std::initializer_list<const char*> utf8Parameters,
                const char* remark = "")
{
    StepRecord step;
    step.code = code;
    step.remark = AnsiFromUtf8(remark);
    size_t i = 0;
    for (const char* parameter : utf8Parameters) {
        step.parameters[i++] = AnsiFromUtf8(parameter);
    }
    return step;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int value : values) {
        bytes.push_back(uint8_t(value));
    }
    return bytes;
}

TEST(StepList, AnEmptyListIsStoredAsNoBytes)
{
    EXPECT_TRUE(WriteStepList({}).empty());
    const StepListReadResult read = ReadStepList({});
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.steps.empty());
}

TEST(StepList, OneLineStepTakesThirtyTwoBytesInTheAnsiCodePage)
{
    const StepRecord line = Step(1, {"0", "0", "{宽}", "{高}"});
    const std::vector<uint8_t> bytes = WriteStepList(std::vector{line});
    // version, count, code, empty remark, "0", "0", "{宽}", "{高}", five empty texts
    const std::vector<uint8_t> expected = Bytes({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0,
                                                 '0', 0, '0', 0, '{', 0xBF, 0xED, '}', 0,
                                                 '{', 0xB8, 0xDF, '}', 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(bytes, expected);
    ASSERT_EQ(bytes.size(), 32u);
}

TEST(StepList, ReadsBackEveryFieldOfEveryStep)
{
    const std::vector<StepRecord> steps = {
        Step(1, {"0", "0", "{宽}", "{高}"}, "对角线"),
        Step(0, {}),
        Step(18, {"0", "0", "{宽}", "{高}", "1", "2", "3", "4", "900"}),
        Step(25, {"x", "y", "2", "2", "7"}, "remark with ; and ' and \""),
    };
    const StepListReadResult read = ReadStepList(WriteStepList(steps));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.steps, steps);
}

TEST(StepList, TextsWithAnEmbeddedZeroAreCutThereInsteadOfShiftingTheFieldsAfter)
{
    StepRecord step = Step(1, {"1", "2", "3", "4"});
    step.parameters[1] = std::string("2\0junk", 6);
    const StepListReadResult read = ReadStepList(WriteStepList(std::vector{step}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.steps[0].parameters[1], "2");
    EXPECT_EQ(read.steps[0].parameters[2], "3");
}

TEST(StepList, DamagedBlobsAreRefusedWhole)
{
    const std::vector<uint8_t> good =
        WriteStepList(std::vector{Step(1, {"0", "0", "1", "1"}), Step(9, {"1", "1", "2", "2"})});
    // Every cut of a valid blob (but the empty one, which is the empty list) is refused.
    for (size_t length = 1; length < good.size(); ++length) {
        const StepListReadResult read =
            ReadStepList(std::span<const uint8_t>(good.data(), length));
        EXPECT_FALSE(read.ok) << "cut at " << length;
        EXPECT_TRUE(read.steps.empty()) << "cut at " << length;
        EXPECT_FALSE(read.error.empty());
    }
    const StepListReadResult negative = ReadStepList(Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(negative.ok);
    EXPECT_NE(negative.error.find("negative"), std::string::npos);
}

TEST(StepList, AHugeCountIsRefusedBeforeAnythingIsAllocatedForIt)
{
    // 0x7FFFFFFF steps of at least fourteen bytes each cannot fit in a few bytes; the
    // reader must say so instead of making room for two billion steps.
    std::vector<uint8_t> blob = Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
    blob.resize(blob.size() + 13 * 100, 0); // room for less than a hundred steps
    const StepListReadResult read = ReadStepList(blob);
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.error.find("more steps"), std::string::npos);
    // Exactly as many bytes as the count needs (14 per empty step) is accepted.
    std::vector<uint8_t> exact = Bytes({1, 0, 0, 0, 3, 0, 0, 0});
    exact.resize(exact.size() + 14 * 3, 0);
    const StepListReadResult fits = ReadStepList(exact);
    ASSERT_TRUE(fits.ok) << fits.error;
    EXPECT_EQ(fits.steps.size(), 3u);
}

TEST(StepList, StepTextShowsNameParametersAndRemark)
{
    struct Case {
        StepRecord step;
        std::string text;
    };
    const Case cases[] = {
        {Step(1, {"0", "0", "{宽}", "{高}"}), "画直线（0，0，{宽}，{高}）"},
        {Step(0, {}), "无动作（）"},
        {Step(21, {"3", "ignored"}), "记忆当前点（3）"},
        {Step(9, {"0", "0", "{宽}/2", "{高}"}, "左半"), "画矩形（0，0，{宽}/2，{高}）  ※备注：左半"},
        {Step(99, {"1"}), "99（）"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepText(c.step), c.text);
    }
}

TEST(ActionTableTexts, CountsNamesAndRemarksOfEveryAction)
{
    const auto& table = ActionTable();
    const int counts[kActionCount] = {0, 4, 5, 2, 2, 6, 6, 5, 5, 4, 9, 5, 5,
                                      2, 6, 6, 6, 6, 9, 9, 9, 1, 7, 2, 2, 5};
    for (int code = 0; code < kActionCount; ++code) {
        const DrawingAction& action = table[size_t(code)];
        EXPECT_EQ(action.parameterCount, counts[code]) << action.name;
        for (int i = 0; i < kStepParameters; ++i) {
            EXPECT_EQ(action.parameterNames[size_t(i)].empty(), i >= action.parameterCount)
                << action.name << " parameter " << i + 1;
        }
    }
    EXPECT_EQ(table[10].name, "画文本框");
    EXPECT_EQ(table[10].parameterNames[8], "文本框编号（≥0且≤255）");
    EXPECT_EQ(table[24].name, "到垂直线到");
    EXPECT_EQ(table[6].defaultRemark, "三个点决定赛尔曲线，绘图完成到将当前点移至(x3,y3)");
    EXPECT_EQ(table[20].defaultRemark, "弦：弧两端点之间的连接线");
    EXPECT_EQ(table[22].defaultRemark, table[14].defaultRemark);
    EXPECT_EQ(table[19].defaultRemark, table[16].defaultRemark);
    EXPECT_TRUE(table[21].defaultRemark.empty());
    EXPECT_EQ(FindAction(26), nullptr);
    EXPECT_EQ(FindAction(-1), nullptr);
}

TEST(AnsiCodePage, ConvertsBothWaysAndReplacesWhatDoesNotConvert)
{
    EXPECT_EQ(AnsiFromUtf8("宽"), "\xBF\xED");
    EXPECT_EQ(Utf8FromAnsi("\xB8\xDF"), "高");
    EXPECT_EQ(AnsiFromUtf8("a😀b"), "a?b");           // no emoji in GBK: one mark for it
    EXPECT_EQ(Utf8FromAnsi("a\xFF"), "a\xEF\xBF\xBD"); // a lone lead byte
    const std::string longText(10000, 'x');
    EXPECT_EQ(Utf8FromAnsi(AnsiFromUtf8(longText)), longText);
}

} // namespace
} // namespace designer
