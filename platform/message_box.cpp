#include "platform/message_box.h"

#include <iostream>
#include <mutex>

namespace {

std::mutex GHookLock;
TMessageBoxHook GHook;

} // namespace

TModalResult ConsoleMessageBox(const TMessageBoxRequest& Request) {
    std::string Text = Request.Text;
    for (char& C : Text) {
        if (C == '\r') {
            C = '\n';
        }
    }
    std::cerr << Request.Caption << ": ";
    if (!Request.Subject.empty()) {
        std::cerr << Request.Subject << ": ";
    }
    std::cerr << Text << '\n';
    return Request.Default;
}

TModalResult ShowMessageBox(const TMessageBoxRequest& Request) {
    TMessageBoxHook Hook;
    {
        std::lock_guard Lock(GHookLock);
        Hook = GHook;
    }
    return Hook ? Hook(Request) : ConsoleMessageBox(Request);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook) {
    std::lock_guard Lock(GHookLock);
    std::swap(GHook, Hook);
    return Hook;
}
