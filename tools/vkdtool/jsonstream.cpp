#include "tools/vkdtool/jsonstream.h"

#include <charconv>

namespace vkdtool {

namespace {

constexpr size_t kFlushBytes = 64 * 1024;

char HexDigit(unsigned v)
{
    return char(v < 10 ? '0' + v : 'a' + v - 10);
}

void AppendUnicodeEscape(std::string& out, char16_t u)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += HexDigit((u >> shift) & 0xF);
    }
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
    }
    out += char(0x80 | (c & 0x3F));
}

// Control characters get their short escape or \u00XX; a lone surrogate, which has no
// UTF-8 form, is written as its \uXXXX escape.
void AppendEscaped(std::string& out, QStringView text)
{
    const char16_t* at = text.utf16();
    const char16_t* const end = at + text.size();
    while (at != end) {
        const char16_t u = *at++;
        if (u >= 0x80) {
            if (QChar::isHighSurrogate(u) && at != end && QChar::isLowSurrogate(*at)) {
                AppendUtf8(out, QChar::surrogateToUcs4(u, *at++));
            } else if (QChar::isSurrogate(u)) {
                AppendUnicodeEscape(out, u);
            } else {
                AppendUtf8(out, u);
            }
            continue;
        }
        switch (u) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += HexDigit(u >> 4);
                out += HexDigit(u & 0xF);
            } else {
                out += char(u);
            }
        }
    }
}

} // namespace

JsonStream::JsonStream(std::FILE* out) : out_(out) {}

void JsonStream::Indent(size_t levels)
{
    text_.append(4 * levels, ' ');
}

void JsonStream::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty()) {
        return;
    }
    if (counts_.back()++ > 0) {
        text_ += ",\n";
    }
    Indent(counts_.size());
}

void JsonStream::Key(std::string_view key)
{
    BeforeValue();
    text_ += '"';
    text_ += key;
    text_ += "\": ";
    afterKey_ = true;
}

void JsonStream::BeginObject()
{
    BeforeValue();
    text_ += "{\n";
    counts_.push_back(0);
}

void JsonStream::BeginArray()
{
    BeforeValue();
    text_ += "[\n";
    counts_.push_back(0);
}

void JsonStream::Close(char bracket)
{
    if (counts_.back() > 0) {
        text_ += '\n';
    }
    counts_.pop_back();
    Indent(counts_.size());
    text_ += bracket;
    if (counts_.empty()) {
        text_ += '\n';
    }
    if (text_.size() >= kFlushBytes) {
        Flush();
    }
}

void JsonStream::EndObject()
{
    Close('}');
}

void JsonStream::EndArray()
{
    Close(']');
}

void JsonStream::Null()
{
    BeforeValue();
    text_ += "null";
}

void JsonStream::Bool(bool value)
{
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonStream::Int(int64_t value)
{
    BeforeValue();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text_.append(digits, end);
}

void JsonStream::String(QStringView text)
{
    BeforeValue();
    text_ += '"';
    AppendEscaped(text_, text);
    text_ += '"';
}

void JsonStream::Ascii(std::string_view text)
{
    BeforeValue();
    text_ += '"';
    text_ += text;
    text_ += '"';
}

void JsonStream::Hex(std::span<const uint8_t> bytes)
{
    BeforeValue();
    text_ += '"';
    for (const uint8_t b : bytes) {
        text_ += HexDigit(b >> 4);
        text_ += HexDigit(b & 0xF);
    }
    text_ += '"';
}

bool JsonStream::Flush()
{
    if (out_ != nullptr && !text_.empty()) {
        failed_ = failed_ || std::fwrite(text_.data(), 1, text_.size(), out_) != text_.size();
        text_.clear();
    }
    return !failed_;
}

} // namespace vkdtool
