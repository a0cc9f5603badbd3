#include "app/designer/steplist.h"

#include "app/designer/ansicodepage.h"

#include <cstring>

namespace designer {

namespace {

constexpr int32_t kStepListVersion = 1;
// The least a stored step can take: its code and ten 0 bytes (an empty remark and nine
// empty parameters).
constexpr size_t kSmallestStep = 4 + 1 + kStepParameters;

void PutInt32(std::vector<uint8_t>& out, int32_t value)
{
    const auto bits = uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(uint8_t(bits >> shift));
    }
}

void PutText(std::vector<uint8_t>& out, const std::string& text)
{
    // A text cannot hold its own terminator: an embedded 0 would end it early on reading
    // and shift every field after it, so the text is cut there.
    const size_t length = std::min(text.size(), std::strlen(text.c_str()));
    out.insert(out.end(), text.begin(), text.begin() + std::ptrdiff_t(length));
    out.push_back(0);
}

// Reads fields front to back; after the first field that does not fit, it stays failed.
class BlobReader {
public:
    explicit BlobReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    int32_t Int32()
    {
        if (failed_ || bytes_.size() - offset_ < 4) {
            failed_ = true;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= uint32_t(bytes_[offset_ + size_t(i)]) << (8 * i);
        }
        offset_ += 4;
        return int32_t(value);
    }

    std::string Text()
    {
        if (failed_) {
            return {};
        }
        const auto rest = bytes_.subspan(offset_);
        const auto* end = static_cast<const uint8_t*>(std::memchr(rest.data(), 0, rest.size()));
        if (end == nullptr) {
            failed_ = true;
            return {};
        }
        const size_t length = size_t(end - rest.data());
        offset_ += length + 1;
        return std::string(reinterpret_cast<const char*>(rest.data()), length);
    }

    size_t Left() const { return bytes_.size() - offset_; }
    bool Failed() const { return failed_; }

private:
    std::span<const uint8_t> bytes_;
    size_t offset_ = 0;
    bool failed_ = false;
};

StepListReadResult Invalid(std::string error)
{
    return {false, std::move(error), {}};
}

} // namespace

std::vector<uint8_t> WriteStepList(std::span<const StepRecord> steps)
{
    std::vector<uint8_t> out;
    if (steps.empty()) {
        return out;
    }
    PutInt32(out, kStepListVersion);
    PutInt32(out, int32_t(steps.size()));
    for (const StepRecord& step : steps) {
        PutInt32(out, step.code);
        PutText(out, step.remark);
        for (const std::string& parameter : step.parameters) {
            PutText(out, parameter);
        }
    }
    return out;
}

StepListReadResult ReadStepList(std::span<const uint8_t> bytes)
{
    if (bytes.empty()) {
        return {true, {}, {}};
    }
    BlobReader reader(bytes);
    reader.Int32(); // the version: every version read so far has the same layout
    const int32_t count = reader.Int32();
    if (reader.Failed()) {
        return Invalid("the step list ends inside its header");
    }
    if (count < 0) {
        return Invalid("the step list claims a negative number of steps");
    }
    if (size_t(count) > reader.Left() / kSmallestStep) {
        return Invalid("the step list claims more steps than its bytes can hold");
    }
    StepList steps(static_cast<size_t>(count));
    for (StepRecord& step : steps) {
        step.code = reader.Int32();
        step.remark = reader.Text();
        for (std::string& parameter : step.parameters) {
            parameter = reader.Text();
        }
        if (reader.Failed()) {
            return Invalid("the step list ends inside a step");
        }
    }
    return {true, {}, std::move(steps)};
}

std::string StepText(const StepRecord& step)
{
    const DrawingAction* action = FindAction(step.code);
    std::string text = action != nullptr ? std::string(action->name) : std::to_string(step.code);
    text += "（";
    const int count = action != nullptr ? action->parameterCount : 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += "，";
        }
        text += Utf8FromAnsi(step.parameters[size_t(i)]);
    }
    text += "）";
    if (!step.remark.empty()) {
        text += "  ※备注：";
        text += Utf8FromAnsi(step.remark);
    }
    return text;
}

} // namespace designer
