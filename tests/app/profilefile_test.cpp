#include "app/profilefile.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileFile, FindsSectionsWhoseNamesHoldATrailByteLikeABracket)
{
    // "\x81]" is one double-byte character whose second byte is "]".
    const app::ProfileFile file("[\x81]x]\r\nkey=inner\r\n[\x81]\r\nkey=outer\r\n");
    EXPECT_EQ(file.Value("\x81]x", "KEY"), "inner");
    EXPECT_EQ(file.Value("\x81]", "key"), std::nullopt); // "[\x81]" is cut short, no section
    EXPECT_EQ(file.Value("missing", "key"), std::nullopt);
}

TEST(ProfileFile, AddsKeysAtTheEndOfTheirSectionAndSectionsAtTheEndOfTheFile)
{
    app::ProfileFile file("[a]\r\nx=1\r\n\r\n[b]\r\ny=2");
    file.SetValue("a", "z", "3");
    file.SetValue("b", "y", "4");
    file.SetValue("c", "w", "5");
    EXPECT_EQ(file.Bytes(), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=4\r\n[c]\r\nw=5\r\n");
}

} // namespace
