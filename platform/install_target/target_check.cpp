#include "platform/install_target/target_check.h"

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/image_lock.h"
#include "platform/disk_image/image_place.h"
#include "platform/disk_image/mtools_volume.h"
#include "platform/install_target/disk_image_target.h"
#include "platform/install_target/folder_target.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void CheckFolder(const TTargetSpec& Spec, const std::vector<std::string>& LogoNames,
                 TTargetCheck& Check) {
    Check.Place = Spec.Path;
    struct stat Info {};
    if (::stat(Spec.Path.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode)) {
        Check.Problem = "The folder \"" + Spec.Path + "\" does not exist.";
        return;
    }
    Check.Reachable = ::access(Spec.Path.c_str(), R_OK | X_OK) == 0;
    const int WriteError = ::access(Spec.Path.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
    Check.Writable = WriteError == 0;
    if (!Check.Writable) {
        Check.Problem = "The folder \"" + Spec.Path +
                        "\" cannot be written: " + std::strerror(WriteError) + ".";
    }
    TFolderTarget Target(Spec.Path);
    for (const std::string& Name : LogoNames) {
        if (Target.LogoExists(Name)) {
            Check.LogosFound.push_back(Name);
        }
    }
}

void CheckDiskImage(const TTargetSpec& Spec, const std::vector<std::string>& LogoNames,
                    TTargetCheck& Check) {
    Check.Place = DescribeTargetSpec(Spec);
    std::unique_ptr<TImageFile> Image;
    try {
        Image = std::make_unique<TImageFile>(Spec.Path, TImageFile::TAccess::aReadWrite);
        Check.Writable = true;
    } catch (const EDiskImage& Failure) {
        Check.Problem = Failure.Message();
        Image = std::make_unique<TImageFile>(Spec.Path, TImageFile::TAccess::aRead);
    }
    Check.InUse = ImageInUse(*Image, TImageLock::TUse::uWrite);
    if (Check.InUse && Check.Problem.empty()) {
        Check.Problem = ImageInUseMessage(*Image);
    }
    const TImagePlace Place =
        FindImagePlace(*Image, ReadDiskLayout(*Image), Spec.Partition, Spec.Folder);
    Check.Place = Spec.Path + " (" + Place.Description() + ")";
    const TMtoolsVolume Volume(*Image, Place.Volume.Offset);
    const auto Entries = Volume.List(Place.Folder);
    Check.Reachable = true;
    for (const std::string& Name : LogoNames) {
        if (ContainsFile(Entries, ShortLogoName(Name))) {
            Check.LogosFound.push_back(Name);
        }
    }
}

} // namespace

TTargetCheck CheckTarget(const TTargetSpec& Spec, const std::vector<std::string>& LogoNames) {
    TTargetCheck Check;
    try {
        if (Spec.Kind == TTargetKind::tkDiskImage) {
            CheckDiskImage(Spec, LogoNames, Check);
        } else {
            CheckFolder(Spec, LogoNames, Check);
        }
    } catch (const Exception& Failure) {
        Check.Reachable = false;
        Check.Problem = Failure.Message();
    }
    return Check;
}
