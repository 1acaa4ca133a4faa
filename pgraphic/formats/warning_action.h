#pragma once

#include "pgraphic/image/pg_types.h"

#include <string>

// Asks the user about a reader's or writer's warning as Action says: pgwaIgnore goes on
// silently, pgwaOKBox shows the text with OK and goes on, pgwaOKCancelBox goes on only when
// the answer is OK, pgwaRaise never goes on. True means go on; the caller raises otherwise.
bool ConfirmWarning(TPGWarningAction Action, const std::string& Caption, const std::string& Text);
