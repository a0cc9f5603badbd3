#include "app/designer/ansicodepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace designer {

namespace {

// Converts with iconv, putting replacement in place of every input byte that does not
// convert (an invalid or incomplete sequence), so that a damaged text still converts whole.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement)
{
    const bool fromUtf8 = std::string_view(from) == "UTF-8";
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string output;
    output.reserve(input.size() * 3 / 2 + 4);
    char buffer[256];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, size_t(out - buffer));
        if (result == size_t(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: skip the character that stopped the conversion; in UTF-8
            // input that is its lead byte and every continuation byte after it.
            output.append(replacement);
            do {
                ++in;
                --inLeft;
            } while (fromUtf8 && inLeft > 0 && (uint8_t(*in) & 0xC0) == 0x80);
        }
    }
    iconv_close(converter);
    return output;
}

} // namespace

std::string AnsiFromUtf8(std::string_view utf8)
{
    return Convert("GBK", "UTF-8", utf8, "?");
}

std::string Utf8FromAnsi(std::string_view ansi)
{
    return Convert("UTF-8", "GBK", ansi, "\xEF\xBF\xBD");
}

} // namespace designer
