// Starts the test stand-in process under a catalog executable name (for example
// pvestra.exe) and makes sure it is gone when the test ends, pass or fail.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

class FakeProcess {
public:
    // Copies the stand-in to `folder/exeName` and starts it for at most `seconds`;
    // with a title it shows a top-level window of that title, and the constructor
    // returns once the window exists.
    FakeProcess(const std::filesystem::path& folder, const std::string& exeName,
                const std::string& title = "", int seconds = 60);
    ~FakeProcess();
    FakeProcess(const FakeProcess&) = delete;
    FakeProcess& operator=(const FakeProcess&) = delete;

    // True when the process ended within the timeout.
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    void Terminate();

    // The stand-in's path, for copying it elsewhere.
    static std::filesystem::path Program();

private:
    HANDLE process_ = nullptr;
};

// Polls `condition` until it holds or the deadline passes; returns its last answer.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        Sleep(10);
    }
    return true;
}
