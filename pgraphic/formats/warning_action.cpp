#include "pgraphic/formats/warning_action.h"

#include "platform/message_box.h"

bool ConfirmWarning(TPGWarningAction Action, const std::string& Caption, const std::string& Text) {
    switch (Action) {
    case pgwaIgnore:
        return true;
    case pgwaOKBox:
        ShowMessageBox({Caption, Text, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK,
                        TModalResult::mrOK, std::nullopt});
        return true;
    case pgwaOKCancelBox:
        return ShowMessageBox({Caption, Text, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOKCancel,
                               TModalResult::mrOK, std::nullopt}) == TModalResult::mrOK;
    case pgwaRaise:
        return false;
    }
    return false;
}
