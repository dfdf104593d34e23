// Whether the library is being unloaded at this moment, and how. The plug-in
// object is then torn down by the loader's notification, under the loader lock,
// and the watcher must not wait for its thread the usual way. Set by the
// loader's notification, read on the main thread during that teardown.
#pragma once

namespace tarnvel {

enum class UnloadKind {
    None,           // no unload in progress
    LibraryUnload,  // the host frees the library while the process goes on
    ProcessExit,    // the process ends; its other threads are already gone
};

// Marks an unload of that kind for as long as the object lives.
class UnloadInProgress {
public:
    explicit UnloadInProgress(UnloadKind kind) noexcept;
    ~UnloadInProgress();
    UnloadInProgress(const UnloadInProgress&) = delete;
    UnloadInProgress& operator=(const UnloadInProgress&) = delete;
};

UnloadKind CurrentUnload() noexcept;

}  // namespace tarnvel
