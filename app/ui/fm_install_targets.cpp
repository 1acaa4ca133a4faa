#include "app/ui/fm_install_targets.h"

#include "app/install/image_target_choice.h"
#include "app/install/install_target_editor.h"
#include "app/ui/control_binding.h"
#include "app/ui/control_placing.h"
#include "app/ui/dialog_parts.h"
#include "app/ui/fm_image_target.h"
#include "platform/qt/qt_string.h"
#include "platform/qt/wait_cursor.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kListWidth = 460;
constexpr int kListRows = 6;

const QColor kGoodColor(0x00, 0x70, 0x00);

QPushButton* Button(QWidget* Owner, const QString& Caption, const char* Name) {
    auto* Pushed = new QPushButton(Caption, Owner);
    Pushed->setObjectName(QString::fromLatin1(Name));
    Pushed->setAutoDefault(false);
    return Pushed;
}

} // namespace

TfmInstallTargets::TfmInstallTargets(TInstallTargetEditor& Editor, QWidget* Owner)
    : QDialog(Owner), FEditor(Editor) {
    UseOwnersFont(*this, Owner);
    setObjectName(QStringLiteral("fmInstallTargets"));
    setWindowTitle(QStringLiteral("Where the Logos Go"));

    lbOverride = WarningLabel(this, "lbOverride", ToQString(Editor.OverrideNote()));
    lbNote = WrappedLabel(this, "lbNote");
    lbTargetList = new QListWidget(this);
    lbTargetList->setObjectName(QStringLiteral("lbTargetList"));
    lbTargetList->setMinimumSize(kListWidth, lbTargetList->fontMetrics().height() * kListRows);
    // A long path loses its middle, so that the partition and folder at its end stay in view;
    // the tool tip shows it whole.
    lbTargetList->setTextElideMode(Qt::ElideMiddle);
    lbTargetList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    btAddFolder = Button(this, QStringLiteral("Add &Folder…"), "btAddFolder");
    btAddFolder->setToolTip(QStringLiteral("A Windows folder: of Wine, or of a disk you mounted"));
    btAddImage = Button(this, QStringLiteral("Add &Disk Image…"), "btAddImage");
    btAddImage->setToolTip(QStringLiteral("The disk image file of a virtual machine or emulator"));
    btRemove = Button(this, QStringLiteral("&Remove"), "btRemove");
    btTest = Button(this, QStringLiteral("&Test"), "btTest");
    btTest->setToolTip(QStringLiteral(
        "Whether the logos can be written to the selected target, changing nothing"));
    lbResult = WrappedLabel(this, "lbResult");

    const TOkCancel Buttons = MakeOkCancel(*this);
    btOK = Buttons.OK;
    btCancel = Buttons.Cancel;

    auto* Layout = new QGridLayout(this);
    Layout->addWidget(lbOverride, 0, 0, 1, 2);
    Layout->addWidget(lbNote, 1, 0, 1, 2);
    Layout->addWidget(lbTargetList, 2, 0, 5, 1);
    Layout->addWidget(btAddFolder, 2, 1);
    Layout->addWidget(btAddImage, 3, 1);
    Layout->addWidget(btRemove, 4, 1);
    Layout->addWidget(btTest, 5, 1);
    Layout->setRowStretch(6, 1);
    Layout->addWidget(lbResult, 7, 0, 1, 2);
    Layout->addWidget(Buttons.Box, 8, 0, 1, 2);

    Bind(*lbTargetList, [this] { FEditor.SetSelected(ValueOf(*lbTargetList)); });
    Bind(*btAddFolder, [this] { btAddFolderClick(); });
    Bind(*btAddImage, [this] { btAddImageClick(); });
    Bind(*btRemove, [this] { FEditor.RemoveSelected(); });
    Bind(*btTest, [this] {
        const TWaitCursor Busy(true);
        FEditor.TestSelected();
    });
    Bind(*btOK, [this] { accept(); });
    Bind(*btCancel, [this] { reject(); });
    FEditorConnection = FEditor.OnChange.Connect([this](TObject*) { ShowEditor(); });
    ShowEditor();
}

void TfmInstallTargets::ShowEditor() {
    const std::vector<std::string> Rows = FEditor.Rows();
    QStringList Shown;
    for (const std::string& Row : Rows) {
        Shown.append(ToQString(Row));
    }
    QStringList Listed;
    for (int Row = 0; Row < lbTargetList->count(); ++Row) {
        Listed.append(lbTargetList->item(Row)->text());
    }
    if (Listed != Shown) {
        // Filling the list is no choice of the user's.
        const QSignalBlocker Quiet(lbTargetList->selectionModel());
        lbTargetList->clear();
        for (std::size_t Row = 0; Row < Rows.size(); ++Row) {
            auto* Item = new QListWidgetItem(Shown[static_cast<int>(Row)], lbTargetList);
            const QString Written = ToQString(FEditor.Targets()[Row]);
            Item->setToolTip(
                Written == Item->text() ? Written : Item->text() + QStringLiteral("\n") + Written);
        }
    }
    {
        const QSignalBlocker Quiet(lbTargetList->selectionModel());
        Show(*lbTargetList, FEditor.Selected());
    }
    lbNote->setText(ToQString(FEditor.Note()));
    const bool Selected = FEditor.Selected() >= 0;
    btRemove->setEnabled(Selected);
    btTest->setEnabled(Selected);
    const auto& Result = FEditor.TestResult();
    lbResult->setText(Result ? ToQString(Result->Text) : QString());
    SetTextColor(lbResult, Result && Result->Ok ? kGoodColor : kWarningColor);
}

QString TfmInstallTargets::ChooseFile(const QString& Title, int Mode, const QString& Filter) {
    QFileDialog Dialog(this, Title, QDir::homePath(), Filter);
    Dialog.setObjectName(QStringLiteral("dgChooseTarget"));
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    Dialog.setFileMode(static_cast<QFileDialog::FileMode>(Mode));
    if (Mode == QFileDialog::Directory) {
        Dialog.setOption(QFileDialog::ShowDirsOnly);
    }
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return Dialog.selectedFiles().front();
}

void TfmInstallTargets::btAddFolderClick() {
    const QString Folder =
        ChooseFile(QStringLiteral("Choose a Windows Folder"), QFileDialog::Directory, QString());
    if (!Folder.isEmpty()) {
        FEditor.AddFolder(ToStdString(Folder));
    }
}

void TfmInstallTargets::btAddImageClick() {
    const QString Image = ChooseFile(
        QStringLiteral("Choose a Disk Image"), QFileDialog::ExistingFile,
        QStringLiteral(
            "Disk images (*.img *.ima *.raw *.hdd *.dsk *.vhd *.vhdx *.vdi *.vmdk *.qcow2 "
            "*.qcow);;All files (*)"));
    if (Image.isEmpty()) {
        return;
    }
    TImageTargetChoice Choice = [&Image] {
        const TWaitCursor Busy(true);
        return TImageTargetChoice(ToStdString(Image));
    }();
    TfmImageTarget Dialog(Choice, this);
    if (Dialog.exec() == QDialog::Accepted && Dialog.Chosen()) {
        FEditor.Add(*Dialog.Chosen());
    }
}
