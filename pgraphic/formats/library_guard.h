#pragma once

#include "pgraphic/formats/format_failure.h"

#include <csetjmp>
#include <exception>
#include <string>
#include <string_view>

// The C codec libraries (libjpeg, libpng) report errors through a callback that must not return.
// Ours longjmp back to a guard around the library call, so no C++ exception ever unwinds through a
// library frame: the adapter sees the guard fail, cleans up and raises.

// Runs Call, a call into a library whose error callback longjmps to Jump; false when it did. Call
// must create no objects with destructors: a longjmp skips them.
template <typename F>
[[gnu::noinline]] bool CallGuarded(std::jmp_buf& Jump, F&& Call) {
    if (setjmp(Jump) != 0) {
        return false;
    }
    Call();
    return true;
}

// Why a guarded call failed: the text of the library's error (or of a warning that stopped the
// operation), or an exception of our own code caught inside a callback, such as a stream error,
// which is raised again once the library has let go. The first failure is kept.
class TPGLibraryFailure {
public:
    void SetMessage(std::string_view Text) noexcept;
    void SetException(std::exception_ptr Error) noexcept;

    // Raises the kept exception, else the format's Failure with the text.
    [[noreturn]] void Raise(const TPGFormatFailure& Failure) const {
        if (FException) {
            std::rethrow_exception(FException);
        }
        Failure(FMessage);
    }

private:
    bool FFailed = false;
    std::string FMessage;
    std::exception_ptr FException;
};
