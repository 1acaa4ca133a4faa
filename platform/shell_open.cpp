#include "platform/shell_open.h"

#include <mutex>
#include <utility>

namespace {

std::mutex GHookLock;
TShellOpenHook GHook;

} // namespace

bool ShellOpen(const std::string& Target) {
    TShellOpenHook Hook;
    {
        std::lock_guard Lock(GHookLock);
        Hook = GHook;
    }
    return Hook && Hook(Target);
}

TShellOpenHook SetShellOpenHook(TShellOpenHook Hook) {
    std::lock_guard Lock(GHookLock);
    std::swap(GHook, Hook);
    return Hook;
}
