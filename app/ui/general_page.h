#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TIconFileListBox;

// The page "General Settings": the record files, the record chosen, saving the logos, the
// start-up link, help and the maker's web address, and "Save Changes and Exit". Only the
// controls and their places; the settings window binds them. Each control carries the window's
// name for it as its object name.
class TGeneralPage : public QWidget {
public:
    // HomePage is the maker's web address that btNavigate shows.
    TGeneralPage(const QString& HomePage, QWidget* Parent = nullptr);

    QLabel* Label2;
    TIconFileListBox* Files;
    QLabel* Label10;
    QLineEdit* Edit1;
    QLabel* Label11;
    QPlainTextEdit* Memo1;
    QPushButton* btRand;
    QPushButton* btUse;
    QPushButton* btSaveLogos;
    QPushButton* btNavigate;
    QPushButton* btHelp;
    QPushButton* btStart;
    QPushButton* btSaveExit;
};
