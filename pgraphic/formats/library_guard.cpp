#include "pgraphic/formats/library_guard.h"

void TPGLibraryFailure::SetMessage(std::string_view Text) noexcept {
    if (FFailed) {
        return;
    }
    FFailed = true;
    try {
        FMessage.assign(Text);
    } catch (...) {
        FException = std::current_exception(); // out of memory: raise that instead
    }
}

void TPGLibraryFailure::SetException(std::exception_ptr Error) noexcept {
    if (FFailed) {
        return;
    }
    FFailed = true;
    FException = std::move(Error);
}
