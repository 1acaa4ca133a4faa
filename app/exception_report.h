#pragma once

#include "platform/message_box.h"

#include <exception>
#include <string>

// The program's default error handler: shows the failure's message in an error message box
// (the platform's message-box hook) captioned with the program's title, after which the program
// goes on.
void ShowException(const std::exception& E);

// The failures of a sequence that goes on after a failure: when a further one is held the one
// before is shown, and the last is raised at the end, so that each is reported once, in order.
class THeldFailures {
public:
    void Hold(std::exception_ptr Failure);
    // Raises the failure held last, if any.
    void RaiseLast();

private:
    std::exception_ptr FLast;
};

// The program's title, the caption of its messages.
inline constexpr const char* kProgramTitle = "Vespera";

// A message of the program: Text in a message box of Type with Buttons, captioned with the
// program's title; returns the answer.
TModalResult ShowProgramMessage(const std::string& Text, TMsgDlgType Type,
                                TMsgDlgButtons Buttons = TMsgDlgButtons::mbOK,
                                TModalResult Default = TModalResult::mrOK);
