#include "platform/display.h"

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <utility>

namespace {

std::atomic<int> GDepth{0};
std::atomic<int> GPixelsPerInch{0};

std::mutex GBeepLock;
TBeepHook GBeepHook;

// The environment variable Name as a whole decimal number, or 0 when unset or not a number.
int EnvironmentNumber(const char* Name) {
    const char* Text = std::getenv(Name);
    if (Text == nullptr) {
        return 0;
    }
    int Value = 0;
    const char* End = Text + std::strlen(Text);
    const auto [Stop, Error] = std::from_chars(Text, End, Value);
    return Error == std::errc() && Stop == End ? Value : 0;
}

bool IsDisplayDepth(int Depth) {
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
    const int FromEnvironment = EnvironmentNumber("VESPERA_DISPLAY_DEPTH");
    return IsDisplayDepth(FromEnvironment) ? FromEnvironment : 24;
}

void SetScreenColorDepth(int Depth) {
    GDepth.store(Depth);
}

int ScreenPixelsPerInch() {
    if (const int Value = GPixelsPerInch.load(); Value != 0) {
        return Value;
    }
    const int FromEnvironment = EnvironmentNumber("VESPERA_PIXELS_PER_INCH");
    return FromEnvironment >= 24 && FromEnvironment <= 960 ? FromEnvironment : 96;
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
