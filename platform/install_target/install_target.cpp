#include "platform/install_target/install_target.h"

#include "platform/install_target/disk_image_target.h"
#include "platform/install_target/folder_target.h"

std::unique_ptr<TInstallTarget> MakeInstallTarget(const TTargetSpec& Spec) {
    if (Spec.Kind == TTargetKind::tkDiskImage) {
        return std::make_unique<TDiskImageTarget>(Spec);
    }
    return std::make_unique<TFolderTarget>(Spec.Path);
}
