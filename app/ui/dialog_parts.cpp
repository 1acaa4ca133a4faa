#include "app/ui/dialog_parts.h"

#include <QDialog>
#include <QDialogButtonBox>
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
