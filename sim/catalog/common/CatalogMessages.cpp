// WM_COPYDATA helpers; see CatalogMessages.h.
#include "common/CatalogMessages.h"

namespace catalog {

bool sendCopyData(HWND target, HWND sender, ULONG_PTR kind, const std::string& text,
                  UINT timeoutMs) {
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.cbData = static_cast<DWORD>(text.size());
    data.lpData = const_cast<char*>(text.data());
    DWORD_PTR result = 0;
    // No SMTO_BLOCK: while we wait, our thread must still take messages sent to it,
    // because the viewer answers an automation request by sending to our reply window.
    // No SMTO_ABORTIFHUNG either: a host that has not looked at its message queue
    // for five seconds (it was waiting for a file or a thread) counts as hung, yet it
    // is waiting for this very reply and takes it; the time-out bounds a real hang.
    return SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                               reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, timeoutMs,
                               &result) != 0 &&
           result == TRUE;
}

std::string copyDataText(const COPYDATASTRUCT& data) {
    if (data.lpData == nullptr || data.cbData == 0) return {};
    std::string text(static_cast<const char*>(data.lpData), data.cbData);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace catalog
