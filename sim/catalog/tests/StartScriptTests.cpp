// Start script tests: the script host finds the viewer line and nothing else.
#include "common/StartScript.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(StartScript, FindsTheViewerLineBetweenComments) {
    const auto script = parseStartScript(
        "' comment viewer=wrong.exe\r\n# another\r\n\r\n  viewer= bin\\x86\\64\\pvestra.exe \r\n");
    ASSERT_TRUE(script.ok()) << script.error;
    EXPECT_EQ(script.viewerPath, "bin\\x86\\64\\pvestra.exe");
}

TEST(StartScript, FailsWithoutAViewerLine) {
    EXPECT_FALSE(parseStartScript("' nothing here\n").ok());
    EXPECT_FALSE(parseStartScript("viewer=\n").ok());
}

TEST(StartScript, FailsForAMissingFile) {
    EXPECT_FALSE(readStartScript("C:\\does\\not\\exist\\start.vbb").ok());
}

}  // namespace
}  // namespace catalog
