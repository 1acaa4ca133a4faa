#include "pgraphic/view/open_dialog/open_dialog.h"

#include "pgraphic/view/open_dialog/open_filter.h"
#include "platform/ascii_text.h"
#include "platform/qt/qt_string.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QStringList>
#include <QTreeView>
#include <QWidget>

namespace {

QStringList QtNameFilters(const std::string& Filter) {
    QStringList Filters;
    for (const std::string& Entry : PGNameFilters(Filter)) {
        Filters << ToQString(Entry);
    }
    return Filters;
}

// The detail list shows sizes, types and dates whole, as wide as their entries; the names take
// the room that is left. Left to itself the list cut them to "318...KiB" in a dialog of its
// usual width.
void FitDetailColumns(QFileDialog& Dialog) {
    auto* Details = Dialog.findChild<QTreeView*>();
    if (Details == nullptr) {
        return;
    }
    QHeaderView* Header = Details->header();
    Header->setStretchLastSection(false);
    Header->setSectionResizeMode(QHeaderView::ResizeToContents);
    Header->setSectionResizeMode(0, QHeaderView::Stretch);
}

// Frees the dialog window when Execute leaves, also by an exception.
struct TDialogDeleter {
    QPointer<QFileDialog>& Dialog;
    ~TDialogDeleter() { delete Dialog; }
};

} // namespace

TOpenDialog::TOpenDialog(QObject* Owner) : QObject(Owner) {}

TOpenDialog::~TOpenDialog() = default;

QFileDialog* TOpenDialog::DialogWindow() const {
    return FDialog;
}

QWidget* TOpenDialog::ParentWindow() const {
    if (auto* Widget = qobject_cast<QWidget*>(parent())) {
        return Widget->window();
    }
    return QApplication::activeWindow();
}

void TOpenDialog::SetUp(QFileDialog& Dialog) const {
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The filter entries show their descriptions alone; the patterns are the dialog's business.
    Dialog.setOption(QFileDialog::HideNameFilterDetails);
    Dialog.setOption(QFileDialog::DontResolveSymlinks, FOptions.Contains(ofNoDereferenceLinks));
    Dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (FOptions.Contains(ofAllowMultiSelect)) {
        Dialog.setFileMode(QFileDialog::ExistingFiles);
    } else if (FOptions.Contains(ofFileMustExist)) {
        Dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        Dialog.setFileMode(QFileDialog::AnyFile);
    }
    Dialog.setWindowTitle(FTitle.empty() ? QStringLiteral("Open") : ToQString(FTitle));
    Dialog.setDefaultSuffix(ToQString(FDefaultExt));
    const QStringList Filters = QtNameFilters(FFilter);
    Dialog.setNameFilters(Filters);
    if (FFilterIndex >= 1 && FFilterIndex <= Filters.size()) {
        Dialog.selectNameFilter(Filters[FFilterIndex - 1]);
    }
    if (!FInitialDir.empty()) {
        Dialog.setDirectory(ToQString(FInitialDir));
    }
    if (!FFileName.empty()) {
        Dialog.selectFile(ToQString(FFileName));
    }
    FitDetailColumns(Dialog);
}

bool TOpenDialog::Execute() {
    QPointer<QFileDialog> Dialog = new QFileDialog(ParentWindow());
    const TDialogDeleter Deleter{Dialog};
    SetUp(*Dialog);
    connect(Dialog, &QFileDialog::currentChanged, this, [this] {
        if (OnSelectionChange) {
            OnSelectionChange(this);
        }
    });
    connect(Dialog, &QFileDialog::directoryEntered, this, [this] {
        if (OnFolderChange) {
            OnFolderChange(this);
        }
    });
    connect(Dialog, &QFileDialog::filterSelected, this, [this] {
        if (OnTypeChange) {
            OnTypeChange(this);
        }
    });
    Dialog->installEventFilter(this);
    FDialog = Dialog;
    bool Accepted = false;
    try {
        InitDialog(*Dialog);
        Accepted = Dialog->exec() == QDialog::Accepted;
    } catch (...) {
        DestroyDialog();
        FDialog = nullptr;
        throw;
    }
    DestroyDialog();
    FDialog = nullptr;
    // The window is gone when its parent went away while it ran: nothing was chosen then.
    Accepted = Accepted && Dialog != nullptr;
    if (Accepted) {
        TakeChoice(*Dialog);
    }
    if (OnClose) {
        OnClose(this);
    }
    return Accepted;
}

void TOpenDialog::TakeChoice(QFileDialog& Dialog) {
    FFiles.clear();
    for (const QString& File : Dialog.selectedFiles()) {
        FFiles.push_back(File.toStdString());
    }
    FFileName = FFiles.empty() ? std::string() : FFiles.front();
    // The filter entry by its place: with the patterns hidden the dialog names the selected
    // entry by its description alone.
    if (const auto* Types = Dialog.findChild<QComboBox*>("fileTypeCombo")) {
        if (Types->currentIndex() >= 0) {
            FFilterIndex = Types->currentIndex() + 1;
        }
    }
    const std::string Extension = QFileInfo(ToQString(FFileName)).suffix().toStdString();
    if (!FDefaultExt.empty() && !SameText(Extension, FDefaultExt)) {
        FOptions.Include(ofExtensionDifferent);
    } else {
        FOptions.Exclude(ofExtensionDifferent);
    }
}

bool TOpenDialog::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == FDialog && Event->type() == QEvent::Show && !Event->spontaneous()) {
        ShowDialog(*FDialog);
        if (OnShow) {
            OnShow(this);
        }
    }
    return QObject::eventFilter(Watched, Event);
}

void TOpenDialog::InitDialog(QFileDialog&) {}

void TOpenDialog::ShowDialog(QFileDialog&) {}

void TOpenDialog::DestroyDialog() {}
