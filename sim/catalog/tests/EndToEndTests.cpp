// End-to-end tests: the real catalog programs started the way the plug-in starts
// them and driven through the automation client, for what the road scripts never meet.
#include "automation/CatalogAutomation.h"
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"
#include "common/PartCatalog.h"
#include "scripthost/ProcessStart.h"
#include "tests/CatalogProcesses.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace catalog::testing {
namespace {

constexpr DWORD kViewerDeadlineMs = 15000;

const char kBoltMident[] = "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}";

std::string replyOf(const std::string& command) {
    const AutomationReply reply = sendCatalogCommand(command, 10000);
    return reply.replied() ? reply.reply : "(no reply: " + reply.error + ")";
}

// Milliseconds since midnight of the first log line containing `marker`, or -1.
long logTimeOf(const std::string& logText, const std::string& marker) {
    const size_t found = logText.find(marker);
    const size_t lineStart = found == std::string::npos ? 0 : logText.rfind('\n', found) + 1;
    unsigned hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
    if (found == std::string::npos ||
        std::sscanf(logText.c_str() + lineStart + 11, "%u:%u:%u.%u", &hours, &minutes, &seconds, &milliseconds) != 4) {
        return -1;
    }
    return ((static_cast<long>(hours) * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
}

class CatalogEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(endCatalogProcesses()) << "a catalog program from elsewhere was still running";
        SetEnvironmentVariableA("MERIDAX_LANGUAGE", "english");
        SetEnvironmentVariableA("PVESTRA_LOG", logPath.c_str());
    }
    void TearDown() override { endCatalogProcesses(); }

    StartedProcess startScriptHost(const std::string& commandLine) {
        StartedProcess started = startProcess(commandLine, "");
        EXPECT_TRUE(started.ok()) << started.error;
        return started;
    }
    // Starts the script host, expects it to succeed, and returns the viewer window.
    HWND startViewer(const std::string& path) {
        const auto host = startScriptHost(pluginCommandLine(path, "SAT"));
        if (waitForExitCode(host.process.get(), 15000) != std::optional<DWORD>(0)) return nullptr;
        return waitForViewerWindow(5000);
    }
    std::string log() const { return readWholeFile(logPath).value_or(""); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }

    TempDirectory directory;
    const std::string logPath = directory.file("catalog.log");
};

// The script host's loading time (the plug-in's "start in progress" lasts that long),
// the plug-in's line carried whole to the viewer with the language the script host
// takes from the environment, and a second start's hand-over.
TEST_F(CatalogEndToEnd, StartsAfterItsLoadingTimeInTheLanguageOfTheEnvironment) {
    SetEnvironmentVariableA("MERIDAX_LANGUAGE", "german");
    const auto host = startScriptHost(pluginCommandLine(directory.file("first.sat"), "SAT", std::string(kBoltMident)));
    const std::string hostTag = "cscripthost[" + std::to_string(host.processId) + "]";

    ASSERT_TRUE(waitUntil([&] { return logged(hostTag + " options:"); }, 10000));
    EXPECT_EQ(WaitForSingleObject(host.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(countViewers(), 0u);
    EXPECT_TRUE(logged("MERIDAX_LANGUAGE=german"));

    ASSERT_NE(waitForViewerWindow(kViewerDeadlineMs), nullptr);
    EXPECT_EQ(waitForExitCode(host.process.get(), 10000), std::optional<DWORD>(0));
    EXPECT_EQ(replyOf("command"), "ok cadname=BRENVIKCAD path=" + directory.file("first.sat") +
                                      " format=SAT mident=" + kBoltMident + " language=german");
    const long optionsRead = logTimeOf(log(), hostTag + " options:");
    const long viewerStarted = logTimeOf(log(), hostTag + " started viewer");
    ASSERT_GE(optionsRead, 0);
    ASSERT_GE(viewerStarted, 0);
    EXPECT_GE(viewerStarted - optionsRead, 250);

    // A second start hands its mident over; the status line shows the part in German.
    const auto second = startScriptHost(pluginCommandLine(directory.file("second.stp"), "STEP",
                                                          std::string("{$iso4032/iso4032.prj},ISO4032  {D=10}")));
    EXPECT_EQ(waitForExitCode(second.process.get(), 10000), std::optional<DWORD>(0));
    EXPECT_EQ(replyOf("shown"), "ok ISO4032 D=10\nGeöffnet: ISO 4032 - M10 - 8");
}

TEST_F(CatalogEndToEnd, TwoScriptHostsStartedTogetherShareOneViewer) {
    const auto first = startScriptHost(pluginCommandLine(directory.file("one.sat"), "SAT"));
    const auto second = startScriptHost(pluginCommandLine(directory.file("two.sat"), "SAT", std::string(kBoltMident)));
    EXPECT_EQ(waitForExitCode(first.process.get(), 20000), std::optional<DWORD>(0));
    EXPECT_EQ(waitForExitCode(second.process.get(), 20000), std::optional<DWORD>(0));
    ASSERT_NE(waitForViewerWindow(kViewerDeadlineMs), nullptr);
    EXPECT_EQ(countViewers(), 1u);
    EXPECT_TRUE(logged("handed the command over"));
}

TEST_F(CatalogEndToEnd, AutomationReportsAMissingViewerAndUnknownParts) {
    EXPECT_EQ(sendCatalogCommand("shown", 2000).status, AutomationStatus::NoViewer);
    ASSERT_NE(startViewer(directory.file("a.sat")), nullptr);
    EXPECT_EQ(replyOf("shown"), "ok none\nReady");
    EXPECT_EQ(replyOf("take"), "error no part shown");
    EXPECT_EQ(replyOf("take ISO9999 D=8").rfind("error unknown part ISO9999", 0), 0u);
    EXPECT_FALSE(readWholeFile(directory.file("a.sat")).has_value());
}

TEST_F(CatalogEndToEnd, HeldGeometryIsHalfWrittenAndLockedUntilRelease) {
    const std::string path = directory.file("held.sat");
    const PartCatalog catalog;
    const Part& bolt = *catalog.findPart("ISO4017", {{"D", "8"}, {"L", "40"}}).part;
    const std::string geometry = geometryText(bolt, "SAT");
    ASSERT_NE(startViewer(path), nullptr);

    ASSERT_EQ(replyOf("fault hold-geometry"), "ok next take holds its geometry file half written and open");
    ASSERT_EQ(replyOf("take ISO4017 D=8 L=40"), "ok held " + path);
    ASSERT_TRUE(logged("holding geometry file open, half written " + path + " ("));
    ASSERT_EQ(readWholeFile(path), geometry.substr(0, geometry.size() / 2));
    EXPECT_EQ(errorOfOpenForWriting(path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(readWholeFile(path + ".txt").has_value());
    EXPECT_EQ(replyOf("shown"), "ok ISO4017 D=8 L=40\nGeometry held open: " + path);

    EXPECT_EQ(replyOf("release"), "ok released " + path);
    EXPECT_EQ(readWholeFile(path), geometry);
    EXPECT_EQ(errorOfOpenForWriting(path), 0u);
    const std::string record = readWholeFile(path + ".txt").value_or("");
    EXPECT_EQ(record, exportRecordText(bolt));
    EXPECT_NE(record.find("\nMASS=0.0219\nMASS_UNIT=kg\n"), std::string::npos) << record;
    EXPECT_EQ(replyOf("release"), "error nothing held back");
}

TEST_F(CatalogEndToEnd, ScriptHostRefusesABadLineOrAMissingStartScriptWithoutStartingTheViewer) {
    const struct {
        std::string line;
        const char* logged;
    } cases[] = {
        {pluginCommandLine(directory.file("x.sat"), "DXF"), "bad command line: unknown format 'DXF'"},
        {pluginCommandLine(directory.file("x.sat"), "SAT", std::nullopt, directory.file("none.vbb")),
         "cannot read start script"},
    };
    for (const auto& example : cases) {
        const auto host = startScriptHost(example.line);
        const auto exitCode = waitForExitCode(host.process.get(), 10000);
        ASSERT_TRUE(exitCode.has_value()) << example.logged;
        EXPECT_NE(*exitCode, 0u) << example.logged;
        EXPECT_TRUE(logged(example.logged)) << example.logged;
        EXPECT_FALSE(isCatalogViewerRunning()) << example.logged;
        EXPECT_EQ(countViewers(), 0u) << example.logged;
    }
}

}  // namespace
}  // namespace catalog::testing
