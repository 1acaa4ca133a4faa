#pragma once

#include "core/events.h"
#include "core/object.h"
#include "pgraphic/view/open_dialog/open_options.h"

#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

class QEvent;
class QFileDialog;
class QWidget;

// The file open dialog: properties that describe the dialog, and Execute, which shows it
// modally and takes the user's choice. It is the toolkit's own file dialog, never the desktop's
// native one, so that a derived dialog can add its own controls beside the file list and behaves
// the same on every desktop.
//
// The dialog window exists only while Execute runs (DialogWindow). A derived dialog hooks into
// its life through InitDialog (made and set up, not shown yet), ShowDialog (about to be shown)
// and DestroyDialog (closed; the window may still exist).
class TOpenDialog : public QObject, public TObject {
    Q_OBJECT

public:
    // Owner: a widget (the dialog opens over its window) or any object that frees the dialog.
    explicit TOpenDialog(QObject* Owner = nullptr);
    ~TOpenDialog() override;

    // Shows the dialog over the owner's window (or the active window) until the user chooses
    // or cancels. On a choice FileName, Files, FilterIndex and ofExtensionDifferent are updated
    // and the result is true.
    virtual bool Execute();

    // The default extension, added to a typed name without one ("bmp", no dot).
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    // The chosen file; before Execute the file to start with (its folder and name).
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // Every chosen file (one unless ofAllowMultiSelect).
    const std::vector<std::string>& Files() const { return FFiles; }
    // Description and pattern pairs separated by '|' (open_filter.h).
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    // The filter entry shown, counted from 1.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // The folder to start in when FileName names none.
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    TOpenOptions Options() const { return FOptions; }
    virtual void SetOptions(TOpenOptions Value) { FOptions = Value; }
    // The caption; empty for "Open".
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // Kept for the help system and the form; they change nothing here.
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value) { FCtl3D = Value; }

    // The dialog window while Execute runs, else none.
    QFileDialog* DialogWindow() const;

    // Events, with the dialog as sender: shown, closed, the item the user is on changed, the
    // folder changed, another filter entry chosen.
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnTypeChange;

protected:
    virtual void InitDialog(QFileDialog& Dialog);
    virtual void ShowDialog(QFileDialog& Dialog);
    virtual void DestroyDialog();

    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QWidget* ParentWindow() const;
    void SetUp(QFileDialog& Dialog) const;
    void TakeChoice(QFileDialog& Dialog);

    std::string FDefaultExt;
    std::string FFileName;
    std::vector<std::string> FFiles;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FInitialDir;
    TOpenOptions FOptions{ofHideReadOnly};
    std::string FTitle;
    int FHelpContext = 0;
    bool FCtl3D = true;
    QPointer<QFileDialog> FDialog;
};
