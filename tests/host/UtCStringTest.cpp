// The host stand-in's string: formatting, paths and conversions. Its list
// formatting and its comparisons are proven by the start-up tests that use them
// (the suite folder, the host's language), its cut at a buffer's limit by the
// import's tagging of long values.
#include "UtCString.h"

#include <gtest/gtest.h>

namespace {

// Padding and widths show in the warning line's test (Diagnostics).
TEST(UtCString, FormatReplacesAndAppendFormatAddsWhateverTheLength)
{
    std::string longText(5000, 'x');
    UtCString text("old");
    text.Format("%s!", longText.c_str()).AppendFormat("%03d", 5);
    EXPECT_EQ(text.string(), longText + "!005");
}

TEST(UtCString, StandardizePathUsesSingleBackslashesWithoutTrailingOne)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:/Program Files//Suite/", "C:\\Program Files\\Suite"},
        {"C:\\", "C:\\"},
        {"\\\\server\\share\\\\dir\\", "\\\\server\\share\\dir"},
        {"relative/dir", "relative\\dir"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UtCString::StandardizePath(c.in).string(), c.out) << c.in;
}

TEST(UtCString, SubstrAndContainsToleratePositionsOutside)
{
    UtCString version("1810");
    EXPECT_EQ(version.substr(0, 2).string(), "18");
    EXPECT_EQ(UtCString("7").substr(0, 2).string(), "7");
    EXPECT_EQ(UtCString("").substr(3).string(), "");
    EXPECT_TRUE(UtCString("x_tarnvel_output_1.sat.txt").Contains("tarnvel_output_1.sat"));
    EXPECT_FALSE(UtCString("tarnvel_output_1.sa").Contains("tarnvel_output_1.sat"));
}

TEST(UtCString, ConvertsToAndFromSixteenBitText)
{
    std::wstring wide = L"Gr\u00f6\u00dfe \u00e4";
    UtCString text(wide);
    EXPECT_EQ(text.ustring(), wide);
    EXPECT_EQ(UtCString(L"abc\0def", 7).length(), 7u);
}

}  // namespace
