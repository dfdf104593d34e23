// The warning record's log line, and the installation offer left unanswered. The
// offer's texts, its consent and its refusal are installation_offer.simcad's.
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
        {"MERIDAX_plugin", "SendTVLCommand", 532,
         "MERIDAX_plugin( 532) SendTVLCommand: tarnvel: CreateProcess function failed 42 1.5"},
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

TEST_F(Diagnostics, RefusalOrNoAnswerRunsNothing)
{
    sim::QueueAnswer("2");
    OfferInstallation();
    OfferInstallation();  // not shown: no answer queued
    EXPECT_EQ(Reported("messages").size(), 2u);
    EXPECT_EQ(Reported("messages[1].shown").flag(), false);
    EXPECT_EQ(Reported("system").size(), 0u);
}

}  // namespace
