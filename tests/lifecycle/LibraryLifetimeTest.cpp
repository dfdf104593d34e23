// The real plug-in DLL loaded and unloaded in this process, in every way a host
// may end it: unloading must return whatever the watcher thread is doing (just
// created, waiting, or ended), destroy the plug-in object, and leave no thread,
// handle or TLS index behind. A hang ends the process with a message rather than
// waiting for the test's time limit.
#include "LibraryCycles.h"
#include "PluginLibrary.h"

#include "ProcessProbe.h"
#include "SimControl.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace std::chrono_literals;
using lifecycle::CycleEnd;

class LibraryLifetime : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp = std::filesystem::temp_directory_path() /
               ("tarnvel-lifetime-" + std::to_string(GetCurrentProcessId()));
        cycles = std::make_unique<lifecycle::LibraryCycles>(temp / "exports");
    }
    void TearDown() override
    {
        cycles.reset();
        std::error_code ignored;
        std::filesystem::remove_all(temp, ignored);
    }
    // Runs the cycles; each must load, and its unload must destroy the plug-in
    // object (the host then counts no event source).
    void Run(CycleEnd end, int count)
    {
        for (int cycle = 0; cycle < count; ++cycle) {
            lifecycle::CycleResult result = cycles->Cycle(end);
            ASSERT_TRUE(result.loaded) << PluginPath();
            EXPECT_EQ(sim::Report().at("eventSources").number(), 0)
                << lifecycle::NameOf(end) << ", cycle " << cycle;
        }
    }
    static bool ThreadsBackTo(long idle)
    {
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (probe::ThreadCount() != idle) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Sleep(10);
        }
        return true;
    }

    std::filesystem::path temp;
    std::unique_ptr<lifecycle::LibraryCycles> cycles;
};

// The new watcher thread may not yet have passed its start-up in the loader when
// the unload begins, which needs the loader lock that the unload holds.
TEST_F(LibraryLifetime, UnloadRightAfterTheCommandReturns) { Run(CycleEnd::UnloadAtOnce, 12); }

TEST_F(LibraryLifetime, UnloadAtAnyMomentAfterTheCommandReturns)
{
    Run(CycleEnd::UnloadAfterAMoment, 6);
}

TEST_F(LibraryLifetime, EndThenUnloadReturns) { Run(CycleEnd::EndThenUnload, 4); }

TEST_F(LibraryLifetime, CyclesLeaveNoThreadHandleOrTlsIndexBehind)
{
    long idleThreads = probe::ThreadCount();
    for (CycleEnd end : {CycleEnd::UnloadAtOnce, CycleEnd::EndThenUnload, CycleEnd::UnloadAfterAMoment})
        Run(end, 2);
    ASSERT_TRUE(ThreadsBackTo(idleThreads));
    long handles = probe::HandleCount();
    long tlsIndexes = probe::TlsIndexesInUse();

    for (CycleEnd end : {CycleEnd::UnloadAtOnce, CycleEnd::EndThenUnload, CycleEnd::UnloadAfterAMoment})
        Run(end, 3);
    EXPECT_TRUE(ThreadsBackTo(idleThreads));
    EXPECT_EQ(probe::HandleCount(), handles);
    EXPECT_EQ(probe::TlsIndexesInUse(), tlsIndexes);
}

}  // namespace
