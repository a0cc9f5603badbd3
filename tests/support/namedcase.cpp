#include "support/namedcase.h"

#include <cctype>

namespace testsupport {

std::string TestNameOf(std::string_view name)
{
    std::string out;
    bool wordStart = true;
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (!std::isalnum(u)) {
            wordStart = true;
            continue;
        }
        out += wordStart ? char(std::toupper(u)) : c;
        wordStart = false;
    }
    return out;
}

} // namespace testsupport
