// The warning record's log line, and the installation offer left unanswered. A
// file name longer than its column is startup_shutdown.simcad's; the offer's
// texts, its consent and its refusal are dispatch.simcad's.
#include "HostTest.h"

#include "DebugWarning.h"
#include "InstallationOffer.h"

namespace {

class Diagnostics : public HostTest {};

TEST_F(Diagnostics, WarningLineIsPaddedAlignedAndTakesStreamedValues)
{
    struct Case {
        const char* file;
        const char* function;
        int line;
        const char* expected;
    } cases[] = {
        {"short", "f", 7, "short       (   7) f: tarnvel: CreateProcess function failed 42 1.5"},
        {"exactly12chr", "g", 12345, "exactly12chr(12345) g: tarnvel: CreateProcess function failed 42 1.5"},
    };
    for (const Case& c : cases) {
        sim::ClearReport();
        {
            Debug::Warning warning(c.file, c.function, c.line);
            warning << "tarnvel: CreateProcess function failed " << 42 << ' ' << 1.5;
        }
        EXPECT_EQ(Reported("errorLog[0]").text(), c.expected);
    }
}

TEST_F(Diagnostics, AnOfferLeftUnansweredRunsNothing)
{
    OfferInstallation();  // not shown: no answer queued
    EXPECT_EQ(Reported("messages[0].shown").flag(), false);
    EXPECT_EQ(Reported("system").size(), 0u);
}

}  // namespace
