// End-to-end tests: the real cscripthost.exe and pvestra.exe from the catalog tree,
// started the way the plug-in starts them and driven through the automation client.
// Every wait has a deadline; the session ends all processes a test started and the
// temporary directory is removed, also when a test fails.
#include "automation/CatalogAutomation.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"
#include "common/PartCatalog.h"
#include "tests/CatalogProcesses.h"
#include "tests/FileProbes.h"
#include "tests/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace catalog::testing {
namespace {

constexpr DWORD kViewerDeadlineMs = 15000;

const char kBoltRecord[] =
    "[Attributes]\n"
    "NAME=Hexagon head screw\n"
    "DESIGNATION=ISO 4017 - M8 x 40 - 8.8\n"
    "STANDARD=ISO 4017\n"
    "SIZE=M8 x 40\n"
    "MATERIAL=Steel, property class 8.8\n"
    "MASS=0.0219\n"
    "MASS_UNIT=kg\n"
    "[MIDENT]\n"
    "MIDENT={$iso4017/iso4017.prj},ISO4017 {D=8},{L=40}\n";

const char kBoltMident[] = "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}";

std::string replyOf(const std::string& command) {
    const AutomationReply reply = sendCatalogCommand(command, 10000);
    return reply.replied() ? reply.reply : "(no reply: " + reply.error + ")";
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Milliseconds since midnight of the first log line containing `marker`, or -1.
long logTimeOf(const std::string& logText, const std::string& marker) {
    const size_t found = logText.find(marker);
    if (found == std::string::npos) return -1;
    size_t lineStart = logText.rfind('\n', found);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    unsigned hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
    if (std::sscanf(logText.c_str() + lineStart + 11, "%u:%u:%u.%u", &hours, &minutes, &seconds,
                    &milliseconds) != 4) {
        return -1;
    }
    return ((static_cast<long>(hours) * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
}

std::string boltGeometry() {
    const PartCatalog catalog;
    const PartLookup lookup = catalog.findPart("ISO4017", {{"D", "8"}, {"L", "40"}});
    return lookup.ok() ? geometryText(*lookup.part, "SAT") : std::string();
}

constexpr DWORD kSharingViolation = ERROR_SHARING_VIOLATION;

class CatalogEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        quitAllCatalogViewers();
        ASSERT_TRUE(waitUntil([] { return !isCatalogViewerRunning(); }, 10000))
            << "a catalog viewer from elsewhere is still running";
    }

    ScopedEnvironment language{"MERIDAX_LANGUAGE", "english"};
    TempDirectory directory;
    LogWatcher log;
    CatalogSession session;
};

// Only here: the script host's loading time (the plug-in's "start in progress"
// lasts that long) and the language the viewer takes from the environment.
TEST_F(CatalogEndToEnd, StartsAfterItsLoadingTimeInTheLanguageOfTheEnvironment) {
    ScopedEnvironment german("MERIDAX_LANGUAGE", "german");
    const auto host = session.startScriptHost(pluginCommandLine(directory.file("first.sat"), "SAT"));
    const std::string hostTag = "cscripthost[" + std::to_string(host.processId) + "]";

    ASSERT_TRUE(waitUntil([&] { return log.contains(hostTag + " options:"); }, 10000));
    EXPECT_TRUE(isRunning(host.process));
    EXPECT_TRUE(processIdsNamed("pvestra.exe").empty());
    EXPECT_TRUE(log.contains("MERIDAX_LANGUAGE=german"));

    HWND viewer = session.waitForViewerWindow(kViewerDeadlineMs);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(waitForExitCode(host.process, 10000), std::optional<DWORD>(0));
    const long optionsRead = logTimeOf(log.newText(), hostTag + " options:");
    const long viewerStarted = logTimeOf(log.newText(), hostTag + " started viewer");
    ASSERT_GE(optionsRead, 0);
    ASSERT_GE(viewerStarted, 0);
    EXPECT_GE(viewerStarted - optionsRead, 250);

    // A second start hands its mident over; the status line shows the part in German.
    const auto second = session.startScriptHost(
        pluginCommandLine(directory.file("second.stp"), "STEP", std::string("{$iso4032/iso4032.prj},ISO4032  {D=10}")));
    EXPECT_EQ(waitForExitCode(second.process, 10000), std::optional<DWORD>(0));
    EXPECT_EQ(replyOf("shown"), "ok ISO4032 D=10\nGeöffnet: ISO 4032 - M10 - 8");
}

TEST_F(CatalogEndToEnd, TwoScriptHostsStartedTogetherShareOneViewer) {
    const auto first = session.startScriptHost(pluginCommandLine(directory.file("one.sat"), "SAT"));
    const auto second = session.startScriptHost(
        pluginCommandLine(directory.file("two.sat"), "SAT", std::string(kBoltMident)));
    EXPECT_EQ(waitForExitCode(first.process, 20000), std::optional<DWORD>(0));
    EXPECT_EQ(waitForExitCode(second.process, 20000), std::optional<DWORD>(0));
    ASSERT_NE(session.waitForViewerWindow(kViewerDeadlineMs), nullptr);
    EXPECT_EQ(processIdsNamed("pvestra.exe").size(), 1u);
    EXPECT_TRUE(log.contains("handed the command over"));
}

TEST_F(CatalogEndToEnd, AutomationReportsUnknownPartsAndCommands) {
    ASSERT_NE(session.startViewer(directory.file("a.sat"), "SAT"), nullptr);
    EXPECT_EQ(replyOf("shown"), "ok none\nReady");
    EXPECT_EQ(replyOf("take"), "error no part shown");
    EXPECT_TRUE(startsWith(replyOf("take ISO9999 D=8"), "error unknown part ISO9999"));
    EXPECT_TRUE(startsWith(replyOf("take ISO4017 D=8 L=41"), "error unknown value"));
    EXPECT_TRUE(startsWith(replyOf("jump"), "error unknown command"));
    EXPECT_FALSE(readWholeFile(directory.file("a.sat")).has_value());
}

TEST_F(CatalogEndToEnd, HeldGeometryIsHalfWrittenAndLockedUntilRelease) {
    const std::string path = directory.file("held.sat");
    const std::string geometry = boltGeometry();
    ASSERT_FALSE(geometry.empty());
    ASSERT_NE(session.startViewer(path, "SAT"), nullptr);

    ASSERT_EQ(replyOf("fault hold-geometry"), "ok next take holds its geometry file half written and open");
    ASSERT_EQ(replyOf("take ISO4017 D=8 L=40"), "ok held " + path);
    ASSERT_TRUE(log.contains("holding geometry file open, half written " + path + " ("));
    ASSERT_EQ(readWholeFile(path), geometry.substr(0, geometry.size() / 2));
    EXPECT_EQ(errorOfOpenForWriting(path), kSharingViolation);
    EXPECT_FALSE(readWholeFile(path + ".txt").has_value());
    EXPECT_EQ(replyOf("shown"), "ok ISO4017 D=8 L=40\nGeometry held open: " + path);

    EXPECT_EQ(replyOf("release"), "ok released " + path);
    EXPECT_EQ(readWholeFile(path), geometry);
    EXPECT_EQ(errorOfOpenForWriting(path), 0u);
    EXPECT_EQ(readWholeFile(path + ".txt"), std::optional<std::string>(kBoltRecord));
    EXPECT_EQ(replyOf("release"), "error nothing held back");
}

TEST_F(CatalogEndToEnd, ScriptHostRefusesABadLineOrAMissingStartScriptWithoutStartingTheViewer) {
    const struct {
        std::string startScript;
        const char* format;
        const char* logged;
    } cases[] = {
        {startScriptPath(), "DXF", "bad command line: unknown format 'DXF'"},
        {directory.file("none.vbb"), "SAT", "cannot read start script"},
    };
    for (const auto& example : cases) {
        const auto host = session.startScriptHost("\"" + scriptHostPath() + "\" \"" + example.startScript +
                                                  "\" -cadname \"BRENVIKCAD\" -path \"" +
                                                  directory.file("x.sat") + "\" -format \"" + example.format + "\"");
        const auto exitCode = waitForExitCode(host.process, 10000);
        ASSERT_TRUE(exitCode.has_value()) << example.logged;
        EXPECT_NE(*exitCode, 0u) << example.logged;
        EXPECT_TRUE(log.contains(example.logged));
        EXPECT_FALSE(isCatalogViewerRunning()) << example.logged;
        EXPECT_TRUE(processIdsNamed("pvestra.exe").empty()) << example.logged;
    }
}

TEST_F(CatalogEndToEnd, AutomationWithoutViewerSaysSo) {
    const AutomationReply reply = sendCatalogCommand("shown", 2000);
    EXPECT_EQ(reply.status, AutomationStatus::NoViewer);
    EXPECT_FALSE(reply.ok());
}

}  // namespace
}  // namespace catalog::testing
