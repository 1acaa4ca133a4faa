#pragma once

#include "platform/install_target/target_spec.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;
class TEdit;
class TElidedLabel;
class TImageTargetChoice;

// The dialog that adds a disk image to the install targets: the image's volumes in a table
// (partition, type, size, label, whether a WINDOWS folder is there), the one to write to (or the
// automatic choice) and the folder on it. It binds to Choice, which does the work.
class TfmImageTarget : public QDialog {
public:
    TfmImageTarget(TImageTargetChoice& Choice, QWidget* Owner = nullptr);

    // The target chosen, once the dialog ended with OK.
    const std::optional<TTargetSpec>& Chosen() const { return FChosen; }

    TElidedLabel* lbImage;
    QLabel* lbSummary;
    QLabel* lbWarning;
    QTreeWidget* tvVolumes;
    TEdit* edFolder;
    QPushButton* btOK;
    QPushButton* btCancel;

private:
    void ShowVolumes();
    void VolumesChange();
    void btOKClick();

    TImageTargetChoice& FChoice;
    std::optional<TTargetSpec> FChosen;
};
