#include "app/designer/programbuilder.h"

#include "app/designer/expressionevaluator.h"

#include <string_view>

namespace designer {

namespace {

// "{宽}" and "{高}" in GBK, the code page the step texts are kept in.
constexpr std::string_view kWidthMark = "{\xBF\xED}";
constexpr std::string_view kHeightMark = "{\xB8\xDF}";
constexpr std::string_view kGridExtent = "8191";

void ReplaceAll(std::string& text, std::string_view mark, std::string_view by)
{
    for (size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + by.size())) {
        text.replace(at, mark.size(), by);
    }
}

void PutWord(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

} // namespace

std::string SubstituteExtent(std::string text)
{
    ReplaceAll(text, kWidthMark, kGridExtent);
    ReplaceAll(text, kHeightMark, kGridExtent);
    return text;
}

std::vector<uint8_t> BuildProgram(std::span<const StepRecord> steps,
                                  ExpressionEvaluator& evaluator)
{
    std::vector<uint8_t> program;
    for (const StepRecord& step : steps) {
        PutWord(program, uint32_t(step.code));
        const DrawingAction* action = FindAction(step.code);
        const int count = action != nullptr ? action->parameterCount : 0;
        for (int i = 0; i < count; ++i) {
            const std::string expression = SubstituteExtent(step.parameters[size_t(i)]);
            PutWord(program, uint32_t(evaluator.Evaluate(expression)));
        }
    }
    if (steps.empty() || steps.back().code != 0) {
        PutWord(program, 0);
    }
    return program;
}

std::string ByteText(std::span<const uint8_t> program)
{
    if (program.empty()) {
        return "{ }";
    }
    std::string text = "{ ";
    for (size_t i = 0; i < program.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += std::to_string(program[i]);
    }
    text += " }";
    return text;
}

} // namespace designer
