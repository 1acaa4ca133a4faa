#include "platform/disk_image/image_report.h"

#include "core/exception.h"
#include "platform/disk_image/image_access.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/image_lock.h"
#include "platform/disk_image/image_place.h"
#include "platform/disk_image/mtools_volume.h"

TImageReport ReportDiskImage(const std::string& FileName) {
    const TImageAccess Access(FileName, TImageFile::TAccess::aRead);
    const TImageFile& Image = Access.File();
    const TDiskLayout Layout = ReadDiskLayout(Image);
    TImageReport Report;
    Report.Format = Access.Format().empty() ? Layout.Container.Format : Access.Format();
    Report.DiskSize = Layout.Container.DataSize;
    Report.Partitioned = Layout.Partitioned;
    Report.InUse = ImageInUse(Image, TImageLock::TUse::uRead);
    try {
        Access.CheckNotInUse();
    } catch (const Exception&) {
        Report.InUse = true;
    }
    for (const TDiskVolume& Volume : Layout.Volumes) {
        TVolumeReport Entry;
        Entry.Volume = Volume;
        if (Volume.Fat) {
            try {
                Entry.FreeBytes = CountFreeClusters(Image, Volume.Offset, *Volume.Fat) *
                                  Volume.Fat->ClusterBytes();
                const TMtoolsVolume Mtools(Image, Volume.Offset);
                Entry.WindowsFolder = FindFolder(Mtools, "WINDOWS").value_or("");
            } catch (const Exception& Failure) {
                Entry.Problem = Failure.Message();
            }
        }
        Report.Volumes.push_back(std::move(Entry));
    }
    return Report;
}
