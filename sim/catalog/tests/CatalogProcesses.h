// Helpers for end-to-end tests that run the real catalog programs: where the catalog
// tree is, starting the script host as the plug-in does, waiting with deadlines, and
// a session object that ends every process a test started, even when it fails.
#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace catalog::testing {

// The catalog tree the build filled, as a Windows path.
std::string catalogRoot();
std::string scriptHostPath();
std::string startScriptPath();

// The script host's command line exactly as the plug-in builds it.
std::string pluginCommandLine(const std::string& path, const std::string& format,
                              const std::optional<std::string>& mident = std::nullopt);

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Exit code once the process has ended within the deadline, otherwise nothing.
std::optional<DWORD> waitForExitCode(HANDLE process, DWORD timeoutMs);

bool isRunning(HANDLE process);

// Ids of running processes with that executable name (e.g. "pvestra.exe").
std::vector<DWORD> processIdsNamed(const std::string& exeName);

// Reads what was appended to catalog.log since the watcher was made.
class LogWatcher {
public:
    LogWatcher();
    std::string newText() const;
    bool contains(const std::string& text) const { return newText().find(text) != std::string::npos; }

private:
    size_t startOffset_ = 0;
};

// Owns everything one test starts. Destruction quits the viewers it saw, waits for
// them and the script hosts to end, and terminates whatever is left.
class CatalogSession {
public:
    CatalogSession() = default;
    ~CatalogSession();

    CatalogSession(const CatalogSession&) = delete;
    CatalogSession& operator=(const CatalogSession&) = delete;

    struct Started {
        HANDLE process;  // owned by the session
        DWORD processId;
    };

    // Starts cscripthost.exe with CREATE_NO_WINDOW, as the plug-in does.
    Started startScriptHost(const std::string& commandLine);

    // Waits for a viewer window and remembers its process for clean-up.
    HWND waitForViewerWindow(DWORD timeoutMs);

    // Starts the script host, expects it to succeed, and returns the viewer window.
    HWND startViewer(const std::string& path, const std::string& format,
                     const std::optional<std::string>& mident = std::nullopt);

    // Ends the viewers it has seen at once, as a crash would, and waits until they
    // are gone. Returns how many it ended.
    int terminateViewers();

    void cleanUp();

private:
    std::vector<UniqueHandle> hosts_;
    std::vector<UniqueHandle> viewers_;
    std::vector<DWORD> viewerIds_;
};

// Sets an environment variable for this process (and so for children it starts) and
// restores the old value when it goes out of scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& name, const std::string& value);
    ~ScopedEnvironment();

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace catalog::testing
