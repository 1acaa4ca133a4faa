#pragma once

#include <exception>

// The program's default error handler: shows the failure's message in an error message box
// (the platform's message-box hook) captioned with the program's title, after which the program
// goes on.
void ShowException(const std::exception& E);

// The program's title, the caption of its messages.
inline constexpr const char* kProgramTitle = "Vespera";
