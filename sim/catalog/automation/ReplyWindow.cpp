// Reply window; see ReplyWindow.h.
#include "automation/ReplyWindow.h"

#include "common/CatalogMessages.h"

namespace catalog {

namespace {

constexpr char kReplyWindowClass[] = "TarnvelCatalogAutomationReply";

void registerReplyClass(WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kReplyWindowClass;
    RegisterClassExA(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

ReplyWindow::ReplyWindow() {
    registerReplyClass(&ReplyWindow::windowProcedure);
    window_ = CreateWindowExA(0, kReplyWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_ != nullptr) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ReplyWindow::~ReplyWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK ReplyWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<ReplyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self != nullptr) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data.dwData != kAutomationReply) return FALSE;
        self->reply_ = copyDataText(data);
        self->hasReply_ = true;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace catalog
