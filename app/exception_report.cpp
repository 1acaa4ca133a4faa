#include "app/exception_report.h"

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
