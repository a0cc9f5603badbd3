#pragma once

#include <QStringView>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vkdtool {

// Writes JSON as it goes, in exactly the indented layout of QJsonDocument::toJson
// (four spaces per level, "key": value, a closing bracket on its own line, an empty
// container as an opening bracket, a line break and the closing bracket), so that a
// document of any size is written with a buffer of constant size instead of a tree.
// Keys are written in the order given: callers that must match QJsonObject give them
// sorted. Text goes to a file when one is given, flushed every 64 KiB, else it stays in
// Text().
class JsonStream {
public:
    explicit JsonStream(std::FILE* out = nullptr);
    ~JsonStream() { Flush(); }
    JsonStream(const JsonStream&) = delete;
    JsonStream& operator=(const JsonStream&) = delete;

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next member of the open object; key is plain ASCII.
    void Key(std::string_view key);

    void Null();
    void Bool(bool value);
    void Int(int64_t value);
    // A string given as UTF-16 text, escaped as Qt escapes it.
    void String(QStringView text);
    // A string of printable ASCII that needs no escaping (class names, hex digits).
    void Ascii(std::string_view text);
    // The bytes as a string of lowercase hex digit pairs.
    void Hex(std::span<const uint8_t> bytes);

    // Writes out what is buffered; true when every write to the file succeeded.
    bool Flush();
    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void Indent(size_t levels);
    void Close(char bracket);

    std::FILE* out_;
    bool failed_ = false;
    std::string text_;
    // Members or elements written so far in each open container.
    std::vector<int64_t> counts_;
    bool afterKey_ = false;
};

} // namespace vkdtool
