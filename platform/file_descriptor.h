#pragma once

#include <utility>

// An open file descriptor of the system, closed when it goes (-1: none).
class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int Handle) : FHandle(Handle) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    TFileDescriptor(TFileDescriptor&& Other) noexcept : FHandle(std::exchange(Other.FHandle, -1)) {}
    TFileDescriptor& operator=(TFileDescriptor&& Other) noexcept {
        std::swap(FHandle, Other.FHandle);
        return *this;
    }
    ~TFileDescriptor() { Close(); }

    int Get() const { return FHandle; }
    bool IsOpen() const { return FHandle >= 0; }
    // Closes the descriptor; the system's answer is not looked at.
    void Close();
    // Gives the descriptor up to the caller, who closes it.
    int Release() { return std::exchange(FHandle, -1); }

private:
    int FHandle = -1;
};
