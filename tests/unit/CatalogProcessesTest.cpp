// Finding, raising and closing the catalog's processes, and launching its script
// host. The catalog's programs are played by a stand-in process copied under their
// names, so these tests must not run beside others that start catalog processes.
#include "FakeProcess.h"
#include "HostTest.h"

#include "GlobalStrings.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using namespace std::chrono_literals;

class CatalogProcesses : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        SetEnv("KVT_TARNVEL_EXPORT_DIR", Native(Temp()));
        plugin = std::make_unique<MERIDAX_plugin>(Native(Temp()), 1, 0);
    }
    void TearDown() override
    {
        plugin.reset();
        HostTest::TearDown();
    }
    std::unique_ptr<MERIDAX_plugin> plugin;
};

TEST_F(CatalogProcesses, StateFollowsWhichProgramsRun)
{
    EXPECT_EQ(plugin->FindCatalogProcesses(Query), NotRunning);
    {
        FakeProcess scriptHost(Temp() / "a", "cscripthost.exe");
        for (int mode : {int(Query), int(Close), int(Raise), 7})
            EXPECT_EQ(plugin->FindCatalogProcesses(mode), ScriptHostOnly) << mode;
        EXPECT_FALSE(scriptHost.WaitForExit(0ms));
        FakeProcess viewer(Temp() / "b", "PVESTRA.EXE");
        EXPECT_EQ(plugin->FindCatalogProcesses(Raise), Both);
    }
    FakeProcess viewer(Temp() / "c", "pvestra.exe");
    EXPECT_EQ(plugin->FindCatalogProcesses(Raise), ViewerOnly);
    EXPECT_FALSE(viewer.WaitForExit(0ms));
    FakeProcess laterScriptHost(Temp() / "d", "cscripthost.exe");
    FakeProcess secondScriptHost(Temp() / "e", "cscripthost.exe");
    EXPECT_EQ(plugin->FindCatalogProcesses(Query), Both) << "whichever of the three is found first";
}

TEST_F(CatalogProcesses, CloseEndsEveryViewerWhateverItsWindow)
{
    FakeProcess titled(Temp() / "a", "pvestra.exe", "brenvikcad PARTS");
    FakeProcess untitled(Temp() / "b", "pvestra.exe");
    FakeProcess scriptHost(Temp() / "c", "cscripthost.exe");
    EXPECT_EQ(plugin->FindCatalogProcesses(Close), NotRunning);
    EXPECT_TRUE(titled.WaitForExit(5s));
    EXPECT_TRUE(untitled.WaitForExit(5s));
    EXPECT_FALSE(scriptHost.WaitForExit(0ms)) << "the script host is never ended";
}

TEST_F(CatalogProcesses, CloseCatalogAsksTheWindowToQuitEvenWithoutViewer)
{
    FakeProcess other(Temp() / "a", "other.exe", "BRENVIKCAD PARTS");
    plugin->CloseCatalog();
    EXPECT_TRUE(other.WaitForExit(5s)) << "the quit message reached the window";
}

TEST_F(CatalogProcesses, WindowTitlesMatchIgnoringCaseOnly)
{
    EXPECT_TRUE(IsCatalogWindowTitle("BRENVIKCAD PARTS"));
    EXPECT_TRUE(IsCatalogWindowTitle("Brenvikcad Parts"));
    EXPECT_FALSE(IsCatalogWindowTitle("BRENVIKCAD PARTS "));
    EXPECT_FALSE(IsCatalogWindowTitle("BRENVIKCAD"));
    EXPECT_FALSE(IsCatalogWindowTitle(""));
}

// Only the first 79 characters of a title are read, so a product name of exactly
// 79 matches any title that begins with it.
TEST_F(CatalogProcesses, TitlesAreReadUpTo79Characters)
{
    UtCString saved = g_productName;
    g_productName = std::string(79, 'p').c_str();
    FakeProcess longTitle(Temp() / "a", "other.exe", std::string(100, 'P'));
    plugin->CloseCatalog();
    g_productName = saved;
    EXPECT_TRUE(longTitle.WaitForExit(5s)) << "the quit message reached the window";
}

// A window of the host's own process is never the catalog's: the callback does
// not even ask for its title. Posting is immediate, so an empty queue right after
// the call shows that nothing was posted.
TEST_F(CatalogProcesses, WindowsOfTheHostProcessArePassedBy)
{
    HWND window = CreateWindowA("STATIC", "BRENVIKCAD PARTS", 0, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    int mode = Close;
    EXPECT_EQ(CatalogWindowProc(window, reinterpret_cast<LPARAM>(&mode)), TRUE);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DestroyWindow(window);
}

// The script host is the stand-in, which notes how many threads the host has when
// it starts: at the second launch, as at the first, only the host's own, so the
// first watcher's thread had ended before the launch (and the new watcher is made
// after it). A failed launch leaves none.
TEST_F(CatalogProcesses, EachLaunchReplacesTheWatcherAndAFailedOneLeavesNone)
{
    std::filesystem::create_directories(Temp() / "bin" / "x86" / "64");
    std::filesystem::copy_file(FakeProcess::Program(), Temp() / "bin" / "x86" / "64" / "cscripthost.exe");
    std::filesystem::path report = Temp() / "parent-threads.txt";
    SetEnv("FAKE_PARENT_THREADS", Native(report));
    SetEnv("FAKE_PARENT_ID", std::to_string(GetCurrentProcessId()));
    auto reportedCounts = [&] {
        std::ifstream file(report);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    auto launchesReported = [&] {
        std::string counts = reportedCounts();
        return std::count(counts.begin(), counts.end(), '\n');
    };
    UtCString ident;
    ASSERT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    ASSERT_TRUE(WaitUntil([&] { return launchesReported() == 1; }, 5s));
    ASSERT_FALSE(plugin->watcher->HasEnded()) << "the first watcher watches";

    ASSERT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    ASSERT_TRUE(WaitUntil([&] { return launchesReported() == 2; }, 5s));
    std::string counts = reportedCounts();
    std::string first = counts.substr(0, counts.find('\n'));
    std::string second = counts.substr(counts.find('\n') + 1);
    EXPECT_EQ(second, first + "\n") << "threads of the host at the first and the second launch";
    EXPECT_TRUE(plugin->watcher);
    EXPECT_EQ(plugin->processInfo.hProcess, nullptr) << "launch handles are not kept";

    // A launch that fails warns (the warning's text is the scripts') and leaves
    // no watcher.
    UtCString root = plugin->rootDir;
    plugin->rootDir = Native(Temp() / "nothing") + "\\";
    EXPECT_FALSE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    EXPECT_FALSE(plugin->watcher);
    EXPECT_EQ(Reported("errorLog").size(), 1u);

    plugin->rootDir = root;
    ASSERT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    ASSERT_TRUE(WaitUntil([&] { return launchesReported() == 3; }, 5s));
    plugin->CloseCatalog();
    EXPECT_FALSE(plugin->watcher);
}

}  // namespace
