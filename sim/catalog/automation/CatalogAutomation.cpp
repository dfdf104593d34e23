// Automation client; see CatalogAutomation.h.
#include "automation/CatalogAutomation.h"

#include "automation/ReplyWindow.h"
#include "common/CatalogMessages.h"
#include "common/ViewerWindows.h"

namespace catalog {

AutomationReply sendCatalogCommand(const std::string& command, unsigned timeoutMs) {
    AutomationReply result;
    HWND viewer = findViewerWindow();
    if (viewer == nullptr) {
        result.status = AutomationStatus::NoViewer;
        result.error = "no catalog viewer is running";
        return result;
    }
    ReplyWindow replyWindow;
    if (replyWindow.handle() == nullptr) {
        result.status = AutomationStatus::ChannelFailed;
        result.error = "cannot create the reply window";
        return result;
    }
    // The viewer sends its reply to our window before it returns from this message.
    const bool delivered = sendCopyData(viewer, replyWindow.handle(), kAutomationRequest, command, timeoutMs);
    if (!delivered || !replyWindow.hasReply()) {
        result.status = AutomationStatus::TimedOut;
        result.error = "the catalog viewer did not answer '" + command + "'";
        return result;
    }
    result.status = AutomationStatus::Replied;
    result.reply = replyWindow.reply();
    return result;
}

bool isCatalogViewerRunning() { return findViewerWindow() != nullptr; }

int quitAllCatalogViewers() {
    int count = 0;
    for (HWND window : allViewerWindows()) {
        if (PostMessageA(window, WM_QUIT, 0, 0)) ++count;
    }
    return count;
}

}  // namespace catalog
