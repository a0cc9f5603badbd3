#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

// A settings file in the INI form: "[section]" lines, "key=value" lines below them, ";"
// comments. The text is kept as the bytes it was written in (GBK), so section names, keys
// and values are GBK bytes too, and files written by earlier versions stay readable.
//
// Reading follows the profile rules users know: section and key names match without
// regard to ASCII case, blanks around names and values are ignored, and a value in one
// pair of double quotes loses them. A double-byte character is never split, so a GBK
// trail byte that looks like "]" does not end a section name.
class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string bytes);

    const std::string& Bytes() const { return bytes_; }

    // The value of key in section, or nothing when either is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Replaces the value of key in place, or adds the key at the end of its section, or
    // adds the section at the end of the file. Lines end in CR LF like the rest of a
    // file written on Windows.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        size_t begin;
        size_t end;  // before the line break
        size_t next; // after the line break
    };
    std::optional<Line> NextLine(size_t from) const;
    // The byte range of the section's body: from after its header line to the start of
    // the next header (or the end of the file); nothing when the section is missing.
    std::optional<std::pair<size_t, size_t>> SectionBody(std::string_view section) const;

    std::string bytes_;
};

} // namespace app
