#include "platform/disk_image/image_access.h"

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/file_holders.h"
#include "platform/disk_image/image_container.h"
#include "platform/disk_image/qemu_view.h"

TImageAccess::TImageAccess(const std::string& FileName, TImageFile::TAccess Access) {
    {
        const TImageFile Probe(FileName, TImageFile::TAccess::aRead);
        FFormat = StructuredImageFormat(Probe);
    }
    const std::string Driver = QemuDriverOfFormat(FFormat);
    if (!FFormat.empty() && Driver.empty()) {
        throw EDiskImage("The disk image \"" + FileName + "\" is in " + FFormat +
                         " format, which Vespera cannot write. " + ConversionAdvice(FileName));
    }
    if (Driver.empty()) {
        FFiles = {FileName};
        FFile = std::make_unique<TImageFile>(FileName, Access);
        return;
    }
    if (const std::string Missing = MissingForQemuView(); !Missing.empty()) {
        throw EDiskImage("The disk image \"" + FileName + "\" is in " + FFormat +
                         " format, which Vespera writes through QEMU's storage daemon and FUSE; "
                         "missing here: " +
                         Missing + ". " + ConversionAdvice(FileName));
    }
    FView =
        std::make_unique<TQemuView>(FileName, Driver, Access == TImageFile::TAccess::aReadWrite);
    FFiles = FView->ImageFiles();
    FFile = std::make_unique<TImageFile>(FView->Path(), Access, FileName);
}

TImageAccess::~TImageAccess() {
    FFile.reset(); // closed before the daemon stops
    FView.reset();
}

void TImageAccess::CheckNotInUse() const {
    // A raw image that nothing else has open needs no search (QEMU's daemon holds the others).
    if (!FView && OpenOnlyHere(FFile->Handle())) {
        return;
    }
    std::vector<pid_t> Helpers;
    if (FView) {
        Helpers.push_back(FView->DaemonPid());
    }
    const std::vector<TFileHolder> Holders = FindFileHolders(FFiles, Helpers);
    if (!Holders.empty()) {
        throw EDiskImage("The disk image \"" + FFiles.front() + "\" is open in " +
                         DescribeFileHolders(Holders) + "; shut the machine down first.");
    }
}
