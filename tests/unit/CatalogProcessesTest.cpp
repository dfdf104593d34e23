// Finding, raising and closing the catalog's processes, and launching its script
// host. The catalog's programs are played by a stand-in process copied under their
// names, so these tests must not run beside others that start catalog processes.
#include "FakeProcess.h"
#include "HostTest.h"

#include "GlobalStrings.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

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

// Windows of this thread show what the callback did: a quit message in our queue.
bool QuitPostedFor(const char* title, int mode)
{
    HWND window = CreateWindowA("STATIC", title, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CatalogWindowProc(window, reinterpret_cast<LPARAM>(&mode));
    MSG message;
    bool posted = PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    DestroyWindow(window);
    return posted;
}

TEST_F(CatalogProcesses, WindowTitlesMatchIgnoringCaseOnly)
{
    EXPECT_TRUE(QuitPostedFor("BRENVIKCAD PARTS", Close));
    EXPECT_TRUE(QuitPostedFor("Brenvikcad Parts", Close));
    EXPECT_FALSE(QuitPostedFor("BRENVIKCAD PARTS ", Close));
    EXPECT_FALSE(QuitPostedFor("BRENVIKCAD", Close));
    EXPECT_FALSE(QuitPostedFor("BRENVIKCAD PARTS", Raise));
    EXPECT_FALSE(QuitPostedFor("BRENVIKCAD PARTS", Query));
    EXPECT_EQ(CatalogWindowProc(nullptr, 0), TRUE);

    UtCString saved = g_productName;
    g_productName = std::string(100, 'p').c_str();
    EXPECT_FALSE(QuitPostedFor(std::string(100, 'P').c_str(), Close)) << "titles are cut at 79";
    g_productName = std::string(79, 'p').c_str();
    EXPECT_TRUE(QuitPostedFor(std::string(100, 'P').c_str(), Close));
    g_productName = saved;
}

TEST_F(CatalogProcesses, FailedLaunchWarnsAndLeavesNoWatcher)
{
    std::filesystem::create_directories(Temp() / "bin" / "x86" / "64");
    std::filesystem::copy_file(FakeProcess::Program(), Temp() / "bin" / "x86" / "64" / "cscripthost.exe");
    UtCString ident;
    EXPECT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    EXPECT_TRUE(plugin->watcher);

    plugin->rootDir = Native(Temp() / "nothing") + "\\";
    EXPECT_FALSE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    EXPECT_FALSE(plugin->watcher);
    EXPECT_EQ(Reported("errorLog").size(), 1u);
    EXPECT_EQ(Reported("errorLog[0]").text(),
              "MERIDAX_plugin( 532) SendTVLCommand: tarnvel: CreateProcess function failed");
}

TEST_F(CatalogProcesses, EachLaunchReplacesTheWatcher)
{
    std::filesystem::create_directories(Temp() / "bin" / "x86" / "64");
    std::filesystem::copy_file(FakeProcess::Program(), Temp() / "bin" / "x86" / "64" / "cscripthost.exe");
    UtCString ident;
    ASSERT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    ASSERT_TRUE(plugin->SendTVLCommand(plugin->BuildCommandLine(ident)));
    EXPECT_TRUE(plugin->watcher);
    EXPECT_EQ(plugin->processInfo.hProcess, nullptr) << "launch handles are not kept";
    plugin->CloseCatalog();
    EXPECT_FALSE(plugin->watcher);
}

}  // namespace
