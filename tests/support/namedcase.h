#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>
#include <string_view>

namespace testsupport {

// The row of a parameterised test, named after the case it guards. Deriving a row from
// NamedCase gives it a name that gtest prints for it (instead of its raw bytes, which
// hold pointers and change from build to build) and that CaseName turns into the test's
// name, so that test names stay the same across builds and `ctest --rerun-failed` finds
// them again.
struct NamedCase {
    const char* name = "";
};

template <typename Case>
    requires std::derived_from<Case, NamedCase>
void PrintTo(const Case& row, std::ostream* os)
{
    *os << row.name;
}

// A row's name as a test name: letters and digits kept, every other character starting a
// new capitalised word ("wmf-clip-mapping" names the test WmfClipMapping).
std::string TestNameOf(std::string_view name);

// The name generator for INSTANTIATE_TEST_SUITE_P over rows derived from NamedCase.
struct CaseName {
    template <typename Case>
        requires std::derived_from<Case, NamedCase>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return TestNameOf(info.param.name);
    }
};

} // namespace testsupport
