#include "app/ui/fm_image_target.h"

#include "app/install/image_target_choice.h"
#include "app/report/failure_report.h"
#include "app/ui/control_binding.h"
#include "app/ui/controls/elided_label.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/dialog_parts.h"
#include "platform/qt/qt_string.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMinTableWidth = 460;

} // namespace

TfmImageTarget::TfmImageTarget(TImageTargetChoice& Choice, QWidget* Owner)
    : QDialog(Owner), FChoice(Choice) {
    UseOwnersFont(*this, Owner);
    setObjectName(QStringLiteral("fmImageTarget"));
    setWindowTitle(QStringLiteral("Add a Disk Image"));

    lbImage = new TElidedLabel(this);
    lbImage->setObjectName(QStringLiteral("lbImage"));
    lbImage->SetText(QStringLiteral("Disk image: ") + ToQString(Choice.FileName()));
    lbSummary = new QLabel(ToQString(Choice.Summary()), this);
    lbSummary->setObjectName(QStringLiteral("lbSummary"));
    lbWarning = WarningLabel(this, "lbWarning", ToQString(Choice.Warning()));
    auto* VolumesCaption = new QLabel(QStringLiteral("Write the logos to:"), this);

    tvVolumes = new QTreeWidget(this);
    tvVolumes->setObjectName(QStringLiteral("tvVolumes"));
    tvVolumes->setRootIsDecorated(false);
    tvVolumes->setUniformRowHeights(true);
    tvVolumes->setHeaderLabels({QStringLiteral("Partition"), QStringLiteral("Type"),
                                QStringLiteral("Size"), QStringLiteral("Label"),
                                QStringLiteral("WINDOWS folder")});
    ShowVolumes();

    auto* FolderCaption = new QLabel(QStringLiteral("&Folder:"), this);
    edFolder = new TEdit(this);
    edFolder->setObjectName(QStringLiteral("edFolder"));
    edFolder->setText(ToQString(Choice.Folder()));
    edFolder->setToolTip(QStringLiteral("The folder on the volume, from its root: WINDOWS, or "
                                        "WIN95, WINME/SYSTEM ...; empty for the root folder"));
    FolderCaption->setBuddy(edFolder);

    const TOkCancel Buttons = MakeOkCancel(*this);
    btOK = Buttons.OK;
    btCancel = Buttons.Cancel;

    auto* Folder = new QHBoxLayout;
    Folder->addWidget(FolderCaption);
    Folder->addWidget(edFolder, 1);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(lbImage);
    Layout->addWidget(lbSummary);
    Layout->addWidget(lbWarning);
    Layout->addSpacing(4);
    Layout->addWidget(VolumesCaption);
    Layout->addWidget(tvVolumes, 1);
    Layout->addLayout(Folder);
    Layout->addWidget(Buttons.Box);

    Bind(*tvVolumes, [this] { VolumesChange(); });
    Bind(*edFolder, [this] { FChoice.SetFolder(ValueOf(*edFolder)); });
    Bind(*btOK, [this] { btOKClick(); });
    Bind(*btCancel, [this] { reject(); });

    // As large as the volumes ask, every column in view.
    tvVolumes->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    tvVolumes->setMinimumWidth(
        std::max(tvVolumes->header()->length() + 2 * tvVolumes->frameWidth(), kMinTableWidth));
}

void TfmImageTarget::ShowVolumes() {
    for (const TImageVolumeRow& Row : FChoice.Rows()) {
        auto* Item = new QTreeWidgetItem(tvVolumes);
        Item->setText(0, ToQString(Row.Name));
        if (!Row.Automatic) {
            Item->setText(1, ToQString(Row.Kind));
            Item->setText(2, ToQString(Row.Size));
            Item->setText(3, ToQString(Row.Label));
            Item->setText(4, ToQString(Row.WindowsFolder));
        }
        if (!Row.Usable) {
            Item->setFlags(Qt::NoItemFlags);
        }
    }
    for (int Column = 0; Column < tvVolumes->columnCount(); ++Column) {
        tvVolumes->resizeColumnToContents(Column);
    }
    // The automatic choice spans the table, once the columns are as wide as the volumes ask.
    for (int Row = 0; Row < tvVolumes->topLevelItemCount(); ++Row) {
        const TImageVolumeRow& Shown = FChoice.Rows()[static_cast<std::size_t>(Row)];
        if (Shown.Automatic) {
            QTreeWidgetItem* Item = tvVolumes->topLevelItem(Row);
            Item->setFirstColumnSpanned(true);
            Item->setText(0, ToQString(Shown.Name + ": " + Shown.Kind));
        }
    }
    Show(*tvVolumes, FChoice.Selected());
}

void TfmImageTarget::VolumesChange() {
    if (!FChoice.SetSelected(ValueOf(*tvVolumes))) {
        Show(*tvVolumes, FChoice.Selected());
    }
}

void TfmImageTarget::btOKClick() {
    std::string Error;
    FChosen = FChoice.Spec(Error);
    if (!FChosen) {
        ShowProgramMessage(Error, TMsgDlgType::mtError);
        return;
    }
    accept();
}
