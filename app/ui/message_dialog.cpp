#include "app/ui/message_dialog.h"

#include <QMessageBox>
#include <QString>

namespace {

QMessageBox::Icon IconOf(TMsgDlgType Type) {
    switch (Type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtInformation:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ButtonsOf(TMsgDlgButtons Buttons) {
    switch (Buttons) {
    case TMsgDlgButtons::mbOKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case TMsgDlgButtons::mbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMsgDlgButtons::mbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMsgDlgButtons::mbOK:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ButtonOf(TModalResult Result) {
    switch (Result) {
    case TModalResult::mrOK:
        return QMessageBox::Ok;
    case TModalResult::mrCancel:
        return QMessageBox::Cancel;
    case TModalResult::mrYes:
        return QMessageBox::Yes;
    case TModalResult::mrNo:
        return QMessageBox::No;
    case TModalResult::mrNone:
        break;
    }
    return QMessageBox::NoButton;
}

TModalResult ResultOf(int Button) {
    switch (Button) {
    case QMessageBox::Ok:
        return TModalResult::mrOK;
    case QMessageBox::Cancel:
        return TModalResult::mrCancel;
    case QMessageBox::Yes:
        return TModalResult::mrYes;
    case QMessageBox::No:
        return TModalResult::mrNo;
    default:
        return TModalResult::mrNone;
    }
}

} // namespace

TModalResult DialogMessageBox(const TMessageBoxRequest& Request) {
    QMessageBox Box(
        IconOf(Request.Type), QString::fromStdString(Request.Caption),
        QString::fromStdString(Request.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        ButtonsOf(Request.Buttons));
    Box.setTextFormat(Qt::PlainText);
    Box.setDefaultButton(ButtonOf(Request.Default));
    if (Request.Position) {
        // A box moved before it is shown keeps its place instead of being centred.
        Box.move(Request.Position->X, Request.Position->Y);
    }
    const int Pressed = Box.exec();
    // Closing the box without a button (Escape, the window's close box) takes the default.
    const TModalResult Result = ResultOf(Pressed);
    return Result == TModalResult::mrNone ? Request.Default : Result;
}
