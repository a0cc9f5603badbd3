#pragma once

#include <string>
#include <string_view>

namespace designer {

// The shape database, the step-list blob and the designer's expressions keep their texts
// in the system's ANSI code page (GBK), exactly as the files made by earlier versions of
// the designer hold them. These two functions are the crossing between those bytes and
// the UTF-8 the rest of a command-line program speaks. Bytes that do not convert are
// replaced (by "?" towards GBK, by U+FFFD towards UTF-8), so neither direction fails.
std::string AnsiFromUtf8(std::string_view utf8);
std::string Utf8FromAnsi(std::string_view ansi);

} // namespace designer
