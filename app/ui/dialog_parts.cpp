#include "app/ui/dialog_parts.h"

#include "app/ui/control_placing.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

void UseOwnersFont(QDialog& Dialog, const QWidget* Owner) {
    if (Owner != nullptr) {
        Dialog.setFont(Owner->font());
    }
}

TOkCancel MakeOkCancel(QDialog& Dialog) {
    auto* Box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &Dialog);
    QPushButton* OK = Box->button(QDialogButtonBox::Ok);
    OK->setObjectName(QStringLiteral("btOK"));
    OK->setDefault(true);
    QPushButton* Cancel = Box->button(QDialogButtonBox::Cancel);
    Cancel->setObjectName(QStringLiteral("btCancel"));
    return {Box, OK, Cancel};
}

QLabel* WrappedLabel(QWidget* Owner, const char* Name) {
    auto* Label = new QLabel(Owner);
    Label->setObjectName(QString::fromLatin1(Name));
    Label->setWordWrap(true);
    Label->setTextFormat(Qt::PlainText);
    return Label;
}

QLabel* WarningLabel(QWidget* Owner, const char* Name, const QString& Text) {
    QLabel* Label = WrappedLabel(Owner, Name);
    Label->setText(Text);
    Label->setVisible(!Text.isEmpty());
    SetTextColor(Label, kWarningColor);
    return Label;
}
