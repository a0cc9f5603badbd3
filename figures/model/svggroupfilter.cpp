#include "figures/model/svggroupfilter.h"

#include "figures/render/styles/svgpatternfills.h"

#include <string_view>

namespace figures {

namespace {

constexpr size_t kWriteBytes = 64 * 1024;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// The end of the tag that starts at from (one past its '>'), or npos when the text ends
// first. Attribute values are quoted and may hold '>'.
size_t TagEnd(std::string_view text, size_t from)
{
    char quote = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

} // namespace

SvgGroupFilter::SvgGroupFilter(QIODevice& target, const SvgPatternFills* patterns)
    : target_(target), patterns_(patterns)
{
    open(QIODevice::WriteOnly);
}

SvgGroupFilter::~SvgGroupFilter()
{
    close();
}

void SvgGroupFilter::close()
{
    if (!isOpen()) {
        return;
    }
    // A document that ends inside a group: what is held is passed on as it came.
    EmitPending();
    Emit(held_);
    held_.clear();
    if (!out_.empty()) {
        failed_ = failed_ || target_.write(out_.data(), qint64(out_.size())) != qint64(out_.size());
        out_.clear();
    }
    QIODevice::close();
}

qint64 SvgGroupFilter::writeData(const char* data, qint64 length)
{
    held_.append(data, size_t(length));
    Process();
    return failed_ ? -1 : length;
}

void SvgGroupFilter::Emit(std::string_view text)
{
    out_.append(text);
    if (out_.size() >= kWriteBytes) {
        failed_ = failed_ || target_.write(out_.data(), qint64(out_.size())) != qint64(out_.size());
        out_.clear();
    }
}

void SvgGroupFilter::EmitPending()
{
    for (std::string& tag : pending_) {
        Emit(patterns_ ? WithPatternFill(std::move(tag)) : tag);
    }
    pending_.clear();
}

// The generator writes a brush as fill="#rrggbb" fill-opacity="..." on the group.
std::string SvgGroupFilter::WithPatternFill(std::string tag) const
{
    static constexpr std::string_view kFill = "fill=\"#";
    const std::string opacity = "\" fill-opacity=\"" + std::string(SvgPatternFills::kMarkerOpacity) + "\"";
    const size_t fill = tag.find(kFill);
    if (fill == std::string::npos) {
        return tag;
    }
    const size_t colour = fill + kFill.size() - 1;
    const size_t colourEnd = colour + 7;
    if (tag.compare(colourEnd, opacity.size(), opacity) != 0) {
        return tag;
    }
    const int entry = patterns_->Find(std::string_view(tag).substr(colour, 7));
    if (entry < 0) {
        return tag;
    }
    const std::string reference =
        "fill=\"url(#" + SvgPatternFills::Id(entry) + ")\" fill-opacity=\"1\"";
    tag.replace(fill, colourEnd + opacity.size() - fill, reference);
    return tag;
}

void SvgGroupFilter::Process()
{
    const std::string_view text = held_;
    size_t at = 0;
    while (at < text.size()) {
        size_t next = at;
        while (next < text.size() && IsSpace(text[next])) {
            ++next;
        }
        // Not enough text to tell what comes next: wait for more.
        if (text.size() - next < 4) {
            break;
        }
        const std::string_view rest = text.substr(next);
        if (rest.starts_with("<g") && (IsSpace(rest[2]) || rest[2] == '>')) {
            const size_t end = TagEnd(text, next);
            if (end == std::string_view::npos) {
                break;
            }
            pending_.emplace_back(text.substr(at, end - at));
            at = end;
        } else if (rest.starts_with("</g>") && !pending_.empty()) {
            pending_.pop_back();
            at = next + 4;
        } else {
            // Content: every group held back holds something after all.
            EmitPending();
            if (patterns_ && !definitionsWritten_ && rest.starts_with("</svg>")) {
                Emit(patterns_->Definitions());
                definitionsWritten_ = true;
            }
            const size_t tag = text.find('<', next + 1);
            const size_t stop = tag == std::string_view::npos ? text.size() : tag;
            // Stop before the white space that leads up to the next tag, so that it
            // goes with that tag.
            size_t keep = stop;
            while (keep > next && IsSpace(text[keep - 1])) {
                --keep;
            }
            Emit(text.substr(at, keep - at));
            at = keep;
            if (tag == std::string_view::npos) {
                break;
            }
        }
    }
    held_.erase(0, at);
}

} // namespace figures
