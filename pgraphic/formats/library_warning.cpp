#include "pgraphic/formats/library_warning.h"

#include "pgraphic/formats/warning_action.h"
#include "pgraphic/image/lang_strings.h"

bool LibraryWarningStops(TPGWarningAction Action, std::string_view Format, const char* Text,
                         TPGLibraryFailure& Failure) noexcept {
    try {
        const std::string Message = Text != nullptr ? Text : "";
        const std::string Caption = std::string(Format) + " " + PGLangStr(TPGLangStrId::Warning);
        if (ConfirmWarning(Action, Caption, Message)) {
            return false;
        }
        Failure.SetMessage(Action == pgwaRaise ? Message
                                               : PGLangStr(TPGLangStrId::OperationAborted));
    } catch (...) {
        Failure.SetException(std::current_exception());
    }
    return true;
}
