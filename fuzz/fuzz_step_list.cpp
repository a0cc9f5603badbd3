// Feeds arbitrary bytes to the reader of stored step lists (the shape database's blobs).
// A list that reads must write back to bytes that read as the same list, and building its
// program must stay within the expression sandbox's limits.
#include "app/designer/expressionevaluator.h"
#include "app/designer/programbuilder.h"
#include "app/designer/steplist.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const designer::StepListReadResult read = designer::ReadStepList({data, size});
    if (!read.ok) {
        if (!read.steps.empty() || read.error.empty()) {
            std::abort(); // a refused blob gives no steps and says why
        }
        return 0;
    }
    const designer::StepListReadResult again =
        designer::ReadStepList(designer::WriteStepList(read.steps));
    if (!again.ok || again.steps != read.steps) {
        std::abort();
    }
    static designer::ExpressionEvaluator evaluator;
    const std::vector<uint8_t> program = designer::BuildProgram(read.steps, evaluator);
    if (program.size() < 2) {
        std::abort(); // at least the closing word
    }
    return 0;
}
