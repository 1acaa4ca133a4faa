#pragma once

#include "core/exception.h"
#include "platform/message_box.h"

#include <exception>
#include <string>

// A failure raised again with what it concerns and where ("First Logo background /x.png"). Its
// message stays the original one, which message boxes show; a report on standard error names
// the subject too. The original failure is nested in it.
class EFailureIn : public Exception {
public:
    EFailureIn(std::string Subject, const std::string& Message);
    const std::string& Subject() const { return FSubject; }

private:
    std::string FSubject;
};

// Runs Action; a failure of the program's own (Exception) that escapes it is raised again as
// EFailureIn with Subject. Other failures, such as running out of memory, pass unchanged.
template <typename TAction>
void RunForSubject(const std::string& Subject, TAction&& Action) {
    try {
        Action();
    } catch (const EFailureIn&) {
        throw;
    } catch (const Exception& E) {
        std::throw_with_nested(EFailureIn(Subject, E.what()));
    }
}

// The program's default error handler: shows the failure's message in an error message box
// (the platform's message-box hook) captioned with the program's title, after which the program
// goes on. The subject of an EFailureIn goes with the message.
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
