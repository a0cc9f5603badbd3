#include "figures/model/svggroupfilter.h"

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

SvgGroupFilter::SvgGroupFilter(QIODevice& target) : target_(target)
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
    for (const std::string& tag : pending_) {
        Emit(tag);
    }
    pending_.clear();
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
