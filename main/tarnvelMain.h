// The library's entry points as the host calls them, and the one plug-in object
// that exists between a successful start-up and shutdown or unloading.
#pragma once

#include "LibraryUnload.h"
#include "UtCString.h"

#include <memory>

class MERIDAX_plugin;

// Owns the plug-in object while the integration is started; empty otherwise.
// Read and written on the host's main thread only.
extern std::unique_ptr<MERIDAX_plugin> g_plugin;

extern "C" {
// Start-up: 0 when the plug-in object exists (made now or before), 4711 when the
// catalog installation was not found.
int Main();
int TarnvelMain();
// Shutdown: destroys the plug-in object, if any. Always 0.
int End();
int TarnvelEnd();
// The macro function entry; always 0.
int TarnvelSelect(int unused, int functionNumber, const UtCString& text);
}

namespace tarnvel {

int Select(int unused, int functionNumber, const UtCString& text);

// Destroys the plug-in object while the library is being unloaded. Runs under the
// loader lock, so nothing on this path may wait for a thread's exit; the unload's
// kind is known to the teardown for as long as it runs.
void DestroyPluginAtUnload(UnloadKind kind);

}  // namespace tarnvel
