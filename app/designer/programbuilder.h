#pragma once

#include "app/designer/steplist.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace designer {

class ExpressionEvaluator;

// The shape program of a step list: per step its action code as a 16-bit little-endian
// word, then one word per parameter of the action, each the parameter's expression with
// "{宽}" and "{高}" standing for 8191 (the full extent of the shape grid), evaluated and
// cut to its low 16 bits (-1 becomes 0xFFFF). A closing 0 word follows unless the last
// step already is "无动作" (code 0); an empty list gives the single 0 word. The program is
// not checked here: a shape checks it when it takes it.
std::vector<uint8_t> BuildProgram(std::span<const StepRecord> steps,
                                  ExpressionEvaluator& evaluator);

// A parameter text with the grid extent put in for "{宽}" and "{高}" (GBK bytes in and out).
std::string SubstituteExtent(std::string text);

// The program as a byte text to paste into source code: "{ 1, 0, 255 }", "{ }" when empty.
std::string ByteText(std::span<const uint8_t> program);

} // namespace designer
