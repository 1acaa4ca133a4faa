#include "app/report/failure_report.h"

#include <utility>

namespace {

TMessageBoxRequest ProgramMessage(const std::string& Text, TMsgDlgType Type) {
    TMessageBoxRequest Request;
    Request.Caption = kProgramTitle;
    Request.Text = Text;
    Request.Type = Type;
    return Request;
}

} // namespace

EFailureIn::EFailureIn(std::string Subject, const std::string& Message)
    : Exception(Message), FSubject(std::move(Subject)) {}

TModalResult ShowProgramMessage(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                TModalResult Default) {
    TMessageBoxRequest Request = ProgramMessage(Text, Type);
    Request.Buttons = Buttons;
    Request.Default = Default;
    return ShowMessageBox(Request);
}

void ShowException(const std::exception& E) {
    TMessageBoxRequest Request = ProgramMessage(E.what(), TMsgDlgType::mtError);
    if (const auto* In = dynamic_cast<const EFailureIn*>(&E)) {
        Request.Subject = In->Subject();
    }
    ShowMessageBox(Request);
}

void THeldFailures::Hold(std::exception_ptr Failure) {
    if (FLast) {
        try {
            std::rethrow_exception(FLast);
        } catch (const std::exception& E) {
            ShowException(E);
        }
    }
    FLast = std::move(Failure);
}

void THeldFailures::RaiseLast() {
    if (FLast) {
        std::rethrow_exception(std::exchange(FLast, nullptr));
    }
}
