#include "app/profilefile.h"

#include <algorithm>

namespace app {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// GBK bytes compare as bytes, ASCII letters without regard to case. A trail byte can be an
// ASCII letter, but both sides are walked in step, so a letter compared case-blind is
// either a letter on both sides or a trail byte at the same place on both sides.
bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IsLeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

// The name inside "[name]" on a header line, or nothing for any other line. The closing
// bracket is looked for character by character, never inside a double-byte character.
std::optional<std::string_view> HeaderName(std::string_view line)
{
    line = Trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ']') {
            return Trimmed(line.substr(1, i - 1));
        }
        if (IsLeadByte(line[i])) {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace

ProfileFile::ProfileFile(std::string bytes) : bytes_(std::move(bytes)) {}

std::optional<ProfileFile::Line> ProfileFile::NextLine(size_t from) const
{
    if (from >= bytes_.size()) {
        return std::nullopt;
    }
    const size_t lf = bytes_.find('\n', from);
    Line line{from, lf == std::string::npos ? bytes_.size() : lf,
              lf == std::string::npos ? bytes_.size() : lf + 1};
    if (line.end > line.begin && bytes_[line.end - 1] == '\r') {
        --line.end;
    }
    return line;
}

std::optional<std::pair<size_t, size_t>> ProfileFile::SectionBody(std::string_view section) const
{
    std::optional<size_t> bodyStart;
    for (auto line = NextLine(0); line; line = NextLine(line->next)) {
        const auto name =
            HeaderName(std::string_view(bytes_).substr(line->begin, line->end - line->begin));
        if (!name) {
            continue;
        }
        if (bodyStart) {
            return std::pair{*bodyStart, line->begin};
        }
        if (SameName(*name, Trimmed(section))) {
            bodyStart = line->next;
        }
    }
    if (bodyStart) {
        return std::pair{*bodyStart, bytes_.size()};
    }
    return std::nullopt;
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const
{
    const auto body = SectionBody(section);
    if (!body) {
        return std::nullopt;
    }
    for (auto line = NextLine(body->first); line && line->begin < body->second;
         line = NextLine(line->next)) {
        const std::string_view text =
            std::string_view(bytes_).substr(line->begin, line->end - line->begin);
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos || Trimmed(text).starts_with(';')) {
            continue;
        }
        if (!SameName(Trimmed(text.substr(0, equals)), Trimmed(key))) {
            continue;
        }
        std::string_view value = Trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

void ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string entry = std::string(key) + "=" + std::string(value);
    const auto body = SectionBody(section);
    if (!body) {
        if (!bytes_.empty() && bytes_.back() != '\n') {
            bytes_ += "\r\n";
        }
        bytes_ += "[" + std::string(section) + "]\r\n" + entry + "\r\n";
        return;
    }
    size_t insertAt = body->first;
    for (auto line = NextLine(body->first); line && line->begin < body->second;
         line = NextLine(line->next)) {
        const std::string_view text =
            std::string_view(bytes_).substr(line->begin, line->end - line->begin);
        const size_t equals = text.find('=');
        if (equals != std::string_view::npos && !Trimmed(text).starts_with(';') &&
            SameName(Trimmed(text.substr(0, equals)), Trimmed(key))) {
            bytes_.replace(line->begin, line->end - line->begin, entry);
            return;
        }
        // New keys go after the section's last non-blank line, not after blank lines that
        // separate it from the next section.
        if (!Trimmed(text).empty()) {
            insertAt = line->next;
        }
    }
    std::string inserted = entry + "\r\n";
    if (insertAt > 0 && bytes_[insertAt - 1] != '\n') {
        inserted = "\r\n" + inserted;
    }
    bytes_.insert(insertAt, inserted);
}

} // namespace app
