#include "pgraphic/formats/warning_action.h"

#include "platform/message_box.h"

namespace {

// Whether the warning box with Buttons was answered with OK.
bool AnsweredOK(const std::string& Caption, const std::string& Text, TMsgDlgButtons Buttons) {
    TMessageBoxRequest Request;
    Request.Caption = Caption;
    Request.Text = Text;
    Request.Type = TMsgDlgType::mtWarning;
    Request.Buttons = Buttons;
    return ShowMessageBox(Request) == TModalResult::mrOK;
}

} // namespace

bool ConfirmWarning(TPGWarningAction Action, const std::string& Caption, const std::string& Text) {
    switch (Action) {
    case pgwaIgnore:
        return true;
    case pgwaOKBox:
        AnsweredOK(Caption, Text, TMsgDlgButtons::mbOK);
        return true;
    case pgwaOKCancelBox:
        return AnsweredOK(Caption, Text, TMsgDlgButtons::mbOKCancel);
    case pgwaRaise:
        return false;
    }
    return false;
}
