#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QString;
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

// A label named Name that wraps its plain text over as many lines as it needs.
QLabel* WrappedLabel(QWidget* Owner, const char* Name);

// A wrapped label showing Text in the warning colour, hidden while Text is empty.
QLabel* WarningLabel(QWidget* Owner, const char* Name, const QString& Text);
