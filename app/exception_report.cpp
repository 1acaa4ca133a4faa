#include "app/exception_report.h"

#include <utility>

TModalResult ShowProgramMessage(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                TModalResult Default) {
    TMessageBoxRequest Request;
    Request.Caption = kProgramTitle;
    Request.Text = Text;
    Request.Type = Type;
    Request.Buttons = Buttons;
    Request.Default = Default;
    return ShowMessageBox(Request);
}

void ShowException(const std::exception& E) {
    ShowProgramMessage(E.what(), TMsgDlgType::mtError);
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
