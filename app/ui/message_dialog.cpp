#include "app/ui/message_dialog.h"

#include "platform/qt/qt_string.h"

#include <QMessageBox>
#include <QString>
#include <utility>

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

// The answers and the buttons that give them.
constexpr std::pair<TModalResult, QMessageBox::StandardButton> kAnswerButtons[] = {
    {TModalResult::mrOK, QMessageBox::Ok},
    {TModalResult::mrCancel, QMessageBox::Cancel},
    {TModalResult::mrYes, QMessageBox::Yes},
    {TModalResult::mrNo, QMessageBox::No},
};

QMessageBox::StandardButton ButtonOf(TModalResult Result) {
    for (const auto& [Answer, Button] : kAnswerButtons) {
        if (Answer == Result) {
            return Button;
        }
    }
    return QMessageBox::NoButton;
}

TModalResult ResultOf(int Pressed) {
    for (const auto& [Answer, Button] : kAnswerButtons) {
        if (Button == Pressed) {
            return Answer;
        }
    }
    return TModalResult::mrNone;
}

} // namespace

TModalResult DialogMessageBox(const TMessageBoxRequest& Request) {
    QMessageBox Box(IconOf(Request.Type), ToQString(Request.Caption),
                    ToQString(Request.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
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
