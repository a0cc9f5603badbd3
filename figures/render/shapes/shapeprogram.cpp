#include "figures/render/shapes/shapeprogram.h"
#include "figures/render/littleendian.h"

#include <array>
#include <optional>

namespace figures {

namespace {

// Parameter words of each step, indexed by its code.
constexpr std::array<int8_t, 26> kStepWordCounts = {
    0, // 0 end of program
    4, // 1 line
    5, // 2 arrow line
    2, // 3 move to
    2, // 4 line to
    6, // 5 Bezier curve
    6, // 6 Bezier curve, then move
    5, // 7 ellipse
    5, // 8 rounded rectangle
    4, // 9 rectangle
    9, // 10 text box
    5, // 11 octagon
    5, // 12 cross
    2, // 13 line to, then move
    6, // 14 move to the line-arc intersection point
    6, // 15 line to the line-arc intersection point
    6, // 16 counterclockwise arc to
    6, // 17 clockwise arc to
    9, // 18 arc line
    9, // 19 sector
    9, // 20 chord
    1, // 21 remember the current point
    7, // 22 remember a line-arc intersection point
    2, // 23 horizontal line to
    2, // 24 vertical line to
    5, // 25 text output
};

size_t WholeWords(std::span<const uint8_t> program)
{
    return program.size() / 2;
}

// Word offset of the step that follows the one at `offset`, or nothing when that step's
// opcode is unknown or its parameters run past the span. Opcode 0 counts as a step
// without parameters; callers that treat it as the end check for it themselves.
std::optional<size_t> NextStep(std::span<const uint8_t> program, size_t offset)
{
    const int count = StepWordCount(ProgramWord(program, offset));
    if (count < 0) {
        return std::nullopt;
    }
    const size_t next = offset + 1 + size_t(count);
    if (next > WholeWords(program)) {
        return std::nullopt;
    }
    return next;
}

} // namespace

int StepWordCount(uint16_t code)
{
    return code < kStepWordCounts.size() ? kStepWordCounts[code] : -1;
}

uint16_t ProgramWord(std::span<const uint8_t> program, size_t index)
{
    if (index >= WholeWords(program)) {
        return 0;
    }
    // Composed byte by byte, so a buffer at any alignment reads the same.
    return LoadU16(&program[2 * index]);
}

std::span<const uint8_t> SkipSteps(std::span<const uint8_t> program, int n)
{
    size_t offset = 0;
    for (int i = 0; i < n; ++i) {
        if (offset >= WholeWords(program) || ProgramWord(program, offset) == 0) {
            return {};
        }
        const std::optional<size_t> next = NextStep(program, offset);
        if (!next) {
            return {};
        }
        offset = *next;
    }
    if (offset >= WholeWords(program)) {
        return {};
    }
    return program.subspan(2 * offset);
}

size_t ProgramByteLength(std::span<const uint8_t> program)
{
    size_t offset = 0;
    while (offset < WholeWords(program) && ProgramWord(program, offset) != 0) {
        // An unknown opcode or a step cut short by the span's end ends the program just
        // as a 0 word would: the interpreter never draws either.
        const std::optional<size_t> next = NextStep(program, offset);
        if (!next) {
            break;
        }
        offset = *next;
    }
    return 2 * offset;
}

bool IsValidProgram(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr || length < 2 || length % 2 != 0) {
        return false;
    }
    const std::span<const uint8_t> program(bytes, length);
    size_t offset = 0;
    while (offset < WholeWords(program)) {
        const std::optional<size_t> next = NextStep(program, offset);
        if (!next) {
            return false;
        }
        offset = *next;
    }
    // NextStep never passes the last word, so the walk has ended exactly at the end.
    return true;
}

} // namespace figures
