// How processes talk to the viewer window: its class name (the only way to find it;
// the title can vary) and the WM_COPYDATA kinds (COPYDATASTRUCT::dwData).
//   HandOverCommand    script host -> viewer: a new command (see HandOver.h)
//   AutomationRequest  client -> viewer: a text command; wParam = the client's reply HWND
//   AutomationReply    viewer -> client's reply window: "ok ..." or "error ..."
// All texts are UTF-8 without a terminating NUL.
#pragma once

#include <windows.h>

#include <string>

namespace catalog {

constexpr char kViewerWindowClass[] = "TarnvelCatalogViewerWindow";

constexpr ULONG_PTR kHandOverCommand = 0x54434801;
constexpr ULONG_PTR kAutomationRequest = 0x54434802;
constexpr ULONG_PTR kAutomationReply = 0x54434803;

// Sends text as WM_COPYDATA and waits at most timeoutMs for the receiver to handle it.
// Returns true when the receiver took it (returned TRUE); false when it refused it or
// is gone, hung or too slow.
bool sendCopyData(HWND target, HWND sender, ULONG_PTR kind, const std::string& text,
                  UINT timeoutMs);

// The text carried by a received WM_COPYDATA.
std::string copyDataText(const COPYDATASTRUCT& data);

}  // namespace catalog
