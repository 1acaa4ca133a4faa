#pragma once

#include "pgraphic/formats/library_guard.h"
#include "pgraphic/image/pg_types.h"

#include <string_view>

// A codec library's warning, handled as Action says; the message box has the caption Format
// followed by " Warning" ("JPG Warning"). True when the operation stops, with the reason recorded
// in Failure: the warning itself (pgwaRaise), "Operation aborted on user request" (the user
// cancelled), or whatever the message box raised. Never raises: libraries call it back.
bool LibraryWarningStops(TPGWarningAction Action, std::string_view Format, const char* Text,
                         TPGLibraryFailure& Failure) noexcept;
