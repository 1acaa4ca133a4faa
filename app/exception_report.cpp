#include "app/exception_report.h"

#include "platform/message_box.h"

void ShowException(const std::exception& E) {
    TMessageBoxRequest Request;
    Request.Caption = kProgramTitle;
    Request.Text = E.what();
    Request.Type = TMsgDlgType::mtError;
    ShowMessageBox(Request);
}
