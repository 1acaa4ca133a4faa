#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

// What the window's own small dialogs share.

// Dialog shows its texts in Owner's font (a window takes none from its owner by itself).
void UseOwnersFont(QDialog& Dialog, const QWidget* Owner);

// OK and Cancel in the platform's order, named btOK and btCancel, OK the default button.
struct TOkCancel {
    QDialogButtonBox* Box;
    QPushButton* OK;
    QPushButton* Cancel;
};
TOkCancel MakeOkCancel(QDialog& Dialog);
