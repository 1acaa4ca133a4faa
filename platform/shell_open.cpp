#include "platform/shell_open.h"

#include <mutex>
#include <utility>

namespace {

std::mutex GHookLock;
TShellOpenHook GHook;

} // namespace

bool ShellOpen(const std::string& Target, const TShellOpenFailed& Failed) {
    TShellOpenHook Hook;
    {
        std::lock_guard Lock(GHookLock);
        Hook = GHook;
    }
    return Hook && Hook(Target, Failed);
}

TShellOpenHook SetShellOpenHook(TShellOpenHook Hook) {
    std::lock_guard Lock(GHookLock);
    std::swap(GHook, Hook);
    return Hook;
}
