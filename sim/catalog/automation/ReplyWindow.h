// A message-only window that receives the viewer's automation reply (WM_COPYDATA)
// while the sending thread waits in SendMessageTimeout. Owned by the thread that
// created it; destroyed with the object.
#pragma once

#include <windows.h>

#include <string>

namespace catalog {

class ReplyWindow {
public:
    ReplyWindow();
    ~ReplyWindow();

    ReplyWindow(const ReplyWindow&) = delete;
    ReplyWindow& operator=(const ReplyWindow&) = delete;

    HWND handle() const { return window_; }
    bool hasReply() const { return hasReply_; }
    const std::string& reply() const { return reply_; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool hasReply_ = false;
    std::string reply_;
};

}  // namespace catalog
