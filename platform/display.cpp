#include "platform/display.h"

#include "platform/environment_number.h"

#include <atomic>
#include <iostream>
#include <mutex>
#include <utility>

namespace {

std::atomic<int> GDepth{0};
std::atomic<int> GPixelsPerInch{0};

std::mutex GBeepLock;
TBeepHook GBeepHook;

bool IsDisplayDepth(long long Depth) {
    switch (Depth) {
    case 1:
    case 4:
    case 8:
    case 15:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

} // namespace

int ScreenColorDepth() {
    if (const int Depth = GDepth.load(); Depth != 0) {
        return Depth;
    }
    const std::optional<long long> FromEnvironment = EnvironmentNumber("VESPERA_DISPLAY_DEPTH");
    return FromEnvironment && IsDisplayDepth(*FromEnvironment) ? static_cast<int>(*FromEnvironment)
                                                               : 24;
}

void SetScreenColorDepth(int Depth) {
    GDepth.store(Depth);
}

int ScreenPixelsPerInch() {
    if (const int Value = GPixelsPerInch.load(); Value != 0) {
        return Value;
    }
    const std::optional<long long> FromEnvironment = EnvironmentNumber("VESPERA_PIXELS_PER_INCH");
    return FromEnvironment && *FromEnvironment >= 24 && *FromEnvironment <= 960
               ? static_cast<int>(*FromEnvironment)
               : 96;
}

void SetScreenPixelsPerInch(int PixelsPerInch) {
    GPixelsPerInch.store(PixelsPerInch);
}

void Beep() {
    TBeepHook Hook;
    {
        std::lock_guard Lock(GBeepLock);
        Hook = GBeepHook;
    }
    if (Hook) {
        Hook();
    } else {
        std::cerr << '\a' << std::flush;
    }
}

TBeepHook SetBeepHook(TBeepHook Hook) {
    std::lock_guard Lock(GBeepLock);
    std::swap(GBeepHook, Hook);
    return Hook;
}
