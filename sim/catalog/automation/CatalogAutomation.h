// Client side of the catalog viewer's automation channel, for the CAD stand-in and
// tests. Call from a thread that may create windows; each call is synchronous:
// it sends the command to the viewer window (found by class name) and returns the
// viewer's reply. See README.md for the commands.
#pragma once

#include <string>

namespace catalog {

enum class AutomationStatus {
    Replied,         // reply holds the viewer's answer ("ok ..." or "error ...")
    NoViewer,        // no viewer window exists
    TimedOut,        // the viewer did not answer in time (hung, busy or gone)
    ChannelFailed,   // our reply window could not be created
};

struct AutomationReply {
    AutomationStatus status = AutomationStatus::ChannelFailed;
    std::string reply;  // when Replied
    std::string error;  // otherwise, a readable reason

    bool replied() const { return status == AutomationStatus::Replied; }
    // Replied and the reply starts with "ok".
    bool ok() const { return replied() && reply.rfind("ok", 0) == 0; }
};

// Sends one command, e.g. "take ISO4017 D=8 L=40", and waits at most timeoutMs.
AutomationReply sendCatalogCommand(const std::string& command, unsigned timeoutMs = 10000);

// True when a viewer window exists.
bool isCatalogViewerRunning();

// Posts WM_QUIT to every viewer window (for test clean-up). Returns how many.
int quitAllCatalogViewers();

}  // namespace catalog
