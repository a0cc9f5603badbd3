#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace figures {

static_assert(std::endian::native == std::endian::little,
              "shape programs are viewed in place as little-endian 16-bit words");

// A shape program is a run of little-endian 16-bit words: each step is an opcode word
// followed by a fixed number of parameter words, and the program ends at the first
// opcode 0. Programs are handled as byte spans because that is how objects, documents
// and the clipboard carry them; a span also bounds every walk, so a stored program
// without its terminating 0 word still ends at its last byte.

// Step opcodes. The interpreter, the catalogue and the step designer share them.
enum StepCode : uint16_t {
    kEnd = 0,
    kLine = 1,
    kArrowLine = 2,
    kMoveTo = 3,
    kLineTo = 4,
    kBezierTo = 5,
    kBezierAndMove = 6,
    kEllipse = 7,
    kRoundRect = 8,
    kRectangle = 9,
    kTextBox = 10,
    kOctagon = 11,
    kCross = 12,
    kLineToAndMove = 13,
    kMoveToRayPoint = 14,
    kLineToRayPoint = 15,
    kArcCounterclockwiseTo = 16,
    kArcClockwiseTo = 17,
    kArcLine = 18,
    kSector = 19,
    kChord = 20,
    kRememberPoint = 21,
    kRememberRayPoint = 22,
    kHorizontalTo = 23,
    kVerticalTo = 24,
    kText = 25,
    // In the x of a point reference: take memory point number y instead.
    kMemory = 0xFFFF,
};

// Largest program an object can store, in bytes.
constexpr size_t kMaxProgramBytes = 65532;

// Number of parameter words of a step, or -1 for a code outside the step table (0..25).
int StepWordCount(uint16_t code);

// Word `index` of the program; 0 (the end) past the span's last whole word.
uint16_t ProgramWord(std::span<const uint8_t> program, size_t index);

// The program from step n on (0-based), or an empty span when the program ends or
// holds an unknown opcode first.
std::span<const uint8_t> SkipSteps(std::span<const uint8_t> program, int n);

// Bytes up to, not including, the terminating 0 word; a program without one counts
// up to its last whole step. 0 for an empty program.
size_t ProgramByteLength(std::span<const uint8_t> program);

// Validation of a buffer handed in from outside: not null, length > 1 and even, every
// opcode in the step table, and the walk ends exactly at the buffer's end. An opcode 0
// counts as a step without parameters here, so a trailing 0 word is not required.
bool IsValidProgram(const uint8_t* bytes, size_t length);

} // namespace figures
