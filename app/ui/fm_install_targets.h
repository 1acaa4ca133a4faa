#pragma once

#include "core/multicast_event.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class TInstallTargetEditor;

// The dialog that changes where the logos go: the list of install targets, adding a folder or a
// disk image, removing one, trying one out; OK keeps the changes, Cancel drops them. It binds to
// Editor, which does the work; the caller applies Editor's list after OK.
class TfmInstallTargets : public QDialog {
public:
    TfmInstallTargets(TInstallTargetEditor& Editor, QWidget* Owner = nullptr);

    QLabel* lbOverride;
    QLabel* lbNote;
    QListWidget* lbTargetList;
    QPushButton* btAddFolder;
    QPushButton* btAddImage;
    QPushButton* btRemove;
    QPushButton* btTest;
    QLabel* lbResult;
    QPushButton* btOK;
    QPushButton* btCancel;

private:
    void ShowEditor();
    void btAddFolderClick();
    void btAddImageClick();
    // A file or folder chosen in a dialog of Mode titled Title; empty when it was cancelled.
    QString ChooseFile(const QString& Title, int Mode, const QString& Filter);

    TInstallTargetEditor& FEditor;
    TEventConnection FEditorConnection;
};
