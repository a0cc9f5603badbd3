#pragma once

#include "app/designer/actiontable.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace designer {

// One step of a custom shape: a drawing action with its remark and parameter texts.
// Texts are GBK bytes, as the shape database stores them; parameters past the action's
// count are kept (and written) but never read.
struct StepRecord {
    int32_t code = 0;
    std::string remark;
    std::array<std::string, kStepParameters> parameters;

    bool operator==(const StepRecord&) const = default;
};

using StepList = std::vector<StepRecord>;

// The stored form of a step list, little-endian: i32 version (1), i32 step count, then per
// step an i32 action code, the remark and the nine parameter texts, each ended by a 0 byte.
// An empty list is stored as no bytes at all.
std::vector<uint8_t> WriteStepList(std::span<const StepRecord> steps);

struct StepListReadResult {
    bool ok = false;
    std::string error; // why the bytes are no step list; empty when ok
    StepList steps;    // every step of a valid list; empty otherwise
};

// Reads a stored step list. No bytes give an empty list. A negative count, a count larger
// than the bytes left could hold, or bytes that end inside a step make the whole blob
// invalid: a shape is never half loaded. Work and memory are bounded by the blob's size.
StepListReadResult ReadStepList(std::span<const uint8_t> bytes);

// The step as the step tree shows it (UTF-8): the action name, its parameters in
// full-width brackets separated by full-width commas, and the remark after "  ※备注："
// when there is one. A code outside the table shows as its number.
std::string StepText(const StepRecord& step);

} // namespace designer
