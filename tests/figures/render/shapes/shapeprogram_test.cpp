#include "figures/render/shapes/shapeprogram.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace figures {
namespace {

// A program as the bytes an object stores: little-endian 16-bit words.
std::vector<uint8_t> Bytes(std::initializer_list<uint16_t> words)
{
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(uint8_t(w & 0xFF));
        bytes.push_back(uint8_t(w >> 8));
    }
    return bytes;
}

bool IsValid(const std::vector<uint8_t>& bytes)
{
    return IsValidProgram(bytes.data(), bytes.size());
}

TEST(ShapeProgram, StepWordCountFollowsTheStepTable)
{
    const int expected[26] = {0, 4, 5, 2, 2, 6, 6, 5, 5, 4, 9, 5, 5,
                              2, 6, 6, 6, 6, 9, 9, 9, 1, 7, 2, 2, 5};
    for (uint16_t code = 0; code < 26; ++code) {
        EXPECT_EQ(StepWordCount(code), expected[code]) << "code " << code;
    }
    for (uint16_t code : {26, 27, 100, 0x1FFF, 0x8000, 0xFFFF}) {
        EXPECT_EQ(StepWordCount(code), -1) << "code " << code;
    }
}

TEST(ShapeProgram, ProgramWordReadsLittleEndianWithinTheSpan)
{
    const std::vector<uint8_t> bytes = {0x34, 0x12, 0xFF, 0xFF, 0x07};
    EXPECT_EQ(ProgramWord(bytes, 0), 0x1234);
    EXPECT_EQ(ProgramWord(bytes, 1), 0xFFFF);
    // The odd last byte is not a whole word; past the span reads as the end.
    EXPECT_EQ(ProgramWord(bytes, 2), 0);
    EXPECT_EQ(ProgramWord(bytes, 3), 0);
    EXPECT_EQ(ProgramWord(bytes, SIZE_MAX), 0);
    EXPECT_EQ(ProgramWord({}, 0), 0);

    // A view that starts at an odd address reads the same words.
    const std::vector<uint8_t> shifted = {0xAA, 0x34, 0x12, 0xCD, 0xAB};
    EXPECT_EQ(ProgramWord(std::span(shifted).subspan(1), 1), 0xABCD);
}

TEST(ShapeProgram, IsValidProgramAcceptsOnlyWholeStepsOfKnownOpcodes)
{
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool valid;
    } cases[] = {
        {"empty program", Bytes({0}), true},
        {"diagonal with its end", Bytes({3, 0, 0, 4, 8191, 8191, 0}), true},
        {"no trailing 0 word", Bytes({3, 0, 0, 4, 8191, 8191}), true},
        {"0 words in the middle", Bytes({0, 9, 0, 0, 10, 10, 0, 0, 4, 5, 5}), true},
        {"every opcode once",
         Bytes({1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 3, 0, 0, 4, 0, 0, 5, 0, 0, 0, 0, 0, 0,
                6, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0,
                10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0,
                13, 0, 0, 14, 0, 0, 0, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0,
                17, 0, 0, 0, 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                19, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 21, 0,
                22, 0, 0, 0, 0, 0, 0, 0, 23, 0, 0, 24, 0, 0, 25, 0, 0, 0, 0, 0, 0}),
         true},
        {"memory point reference", Bytes({21, 3, 4, 0xFFFF, 3, 0}), true},
        // The last word is a parameter of the move here, and the walk still ends exactly.
        {"0 word taken as a parameter", Bytes({3, 1, 0}), true},
        {"coordinates beyond the grid", Bytes({3, 9000, 9000, 0}), true},
        {"unknown opcode", Bytes({3, 0, 0, 26, 0}), false},
        {"unknown opcode alone", Bytes({0xFFFF}), false},
        {"unknown opcode after the end", Bytes({0, 99}), false},
        {"parameters run past the end", Bytes({4, 100}), false},
        {"last of several steps cut short", Bytes({3, 0, 0, 10, 1, 2, 3, 4, 5, 6, 7, 8}), false},
        {"odd length", {0, 0, 0}, false},
        {"odd length after a whole program", {3, 0, 1, 0, 2, 0, 0}, false},
        {"single byte", {0}, false},
        {"no bytes", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValid(c.bytes), c.valid) << c.name;
    }
}

TEST(ShapeProgram, IsValidProgramRefusesANullBufferWhateverItsLength)
{
    EXPECT_FALSE(IsValidProgram(nullptr, 0));
    EXPECT_FALSE(IsValidProgram(nullptr, 2));
    EXPECT_FALSE(IsValidProgram(nullptr, 14));
}

TEST(ShapeProgram, IsValidProgramStopsAtTheGivenLength)
{
    // A valid move followed by bytes the caller did not hand over: the walk must judge
    // only the first six bytes.
    const std::vector<uint8_t> bytes = Bytes({3, 1, 2, 4, 5, 6, 0});
    EXPECT_TRUE(IsValidProgram(bytes.data(), 6));
    EXPECT_FALSE(IsValidProgram(bytes.data(), 4));
    EXPECT_FALSE(IsValidProgram(bytes.data(), 8));
}

TEST(ShapeProgram, ProgramByteLengthCountsUpToTheEndWord)
{
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t expected;
    } cases[] = {
        {"no bytes", {}, 0},
        {"empty program", Bytes({0}), 0},
        {"with its end", Bytes({3, 1, 2, 4, 5, 6, 0}), 12},
        {"without its end", Bytes({3, 1, 2, 4, 5, 6}), 12},
        {"stops at the first 0 word", Bytes({9, 0, 0, 1, 1, 0, 4, 1, 1, 0}), 10},
        {"parameters equal to 0 are not the end", Bytes({3, 0, 0, 0}), 6},
        {"last step cut short", Bytes({3, 1, 2, 4, 5}), 6},
        {"unknown opcode ends it", Bytes({3, 1, 2, 99, 0}), 6},
        {"odd trailing byte", {3, 0, 1, 0, 2, 0, 4}, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramByteLength(c.bytes), c.expected) << c.name;
    }
}

TEST(ShapeProgram, SkipStepsFindsStepsByTheirParameterCounts)
{
    // Move, line, rectangle, end: steps start at words 0, 3, 6 and 11.
    const std::vector<uint8_t> bytes = Bytes({3, 1, 2, 4, 5, 6, 9, 0, 0, 8, 8, 0});
    const std::span<const uint8_t> program(bytes);
    const struct {
        int n;
        size_t word; // where step n starts, or SIZE_MAX for none
    } cases[] = {{0, 0}, {1, 3}, {2, 6}, {3, 11}, {4, SIZE_MAX}, {100, SIZE_MAX}, {-1, 0}};
    for (const auto& c : cases) {
        const std::span<const uint8_t> rest = SkipSteps(program, c.n);
        if (c.word == SIZE_MAX) {
            EXPECT_TRUE(rest.empty()) << "step " << c.n;
            continue;
        }
        ASSERT_FALSE(rest.empty()) << "step " << c.n;
        EXPECT_EQ(rest.data(), program.data() + 2 * c.word) << "step " << c.n;
        EXPECT_EQ(rest.size(), program.size() - 2 * c.word) << "step " << c.n;
    }
}

TEST(ShapeProgram, SkipStepsEndsAtBrokenOrMissingSteps)
{
    const std::vector<uint8_t> unknown = Bytes({3, 1, 2, 77, 0});
    EXPECT_EQ(ProgramWord(SkipSteps(unknown, 1), 0), 77) << "an unknown step can be reached";
    EXPECT_TRUE(SkipSteps(unknown, 2).empty()) << "but not skipped";

    const std::vector<uint8_t> cut = Bytes({3, 1});
    EXPECT_EQ(SkipSteps(cut, 0).size(), 4u);
    EXPECT_TRUE(SkipSteps(cut, 1).empty());

    const std::vector<uint8_t> unterminated = Bytes({3, 1, 2});
    EXPECT_TRUE(SkipSteps(unterminated, 1).empty()) << "the span ends after step 0";

    const std::vector<uint8_t> endFirst = Bytes({0, 3, 1, 2});
    EXPECT_TRUE(SkipSteps(endFirst, 1).empty()) << "nothing follows the end";

    EXPECT_TRUE(SkipSteps({}, 0).empty());
    EXPECT_TRUE(SkipSteps({}, 3).empty());
}

} // namespace
} // namespace figures
