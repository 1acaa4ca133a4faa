#pragma once

#include "platform/disk_image/image_place.h"
#include "platform/install_target/install_target.h"

#include <memory>
#include <optional>

// Logos in a folder of a FAT volume inside a disk image file (raw or fixed VHD), written through
// mtools without mounting anything.
//
// The image is opened as a raw disk (image_access.h: directly, or through QEMU for its own
// formats), QEMU-compatible locks are taken on it (refusing an image that a running virtual
// machine uses, and keeping one from starting meanwhile), an image that another program holds
// open is refused for writing, and the place is found; under a hold (Hold) once for all operations,
// else for each operation. Before every write the image is checked again for programs holding it
// (unless it was checked less than a second before). A logo is replaced by writing it whole
// under a temporary 8.3 name in the same folder ("LOGOW.~SY" for "LOGOW.SYS"), flushing it to
// the disk and renaming it over the old entry; a temporary file left by a killed run is removed
// first. Before anything is written, the cluster chains of the folder, of the old logo and of
// that temporary file (which a run cut off between its directory entry and its FAT leaves
// damaged) are checked with our own reading of the FAT, and the free space is counted, so that a
// damaged or full volume is refused with the image unchanged. Logo names are written as
// upper-case 8.3 names, the form the system's own files have; a logo that replaces another keeps
// its attributes, and its long name when mtools can write it (one in mixed case, such as
// "Logow.Sys").
class TDiskImageTarget final : public TInstallTarget {
public:
    explicit TDiskImageTarget(TTargetSpec Spec);
    ~TDiskImageTarget() override;

    std::string Description() const override;
    std::string LogoPlace(const std::string& Name) const override;
    TTargetSpec PlaceFound() override;
    bool LogoExists(const std::string& Name) override;
    std::string ReadLogo(const std::string& Name) override;
    void ReplaceLogo(const std::string& Name, std::string_view Data) override;
    void CopyLogo(const std::string& Name, const std::string& FileName) override;
    void Hold() override;
    void Release() override;

private:
    class TOpenImage;

    // Runs Work with the image open for Use: the held one, else one opened for Work.
    template <typename TWork>
    auto WithImage(bool Writing, TWork&& Work);

    TTargetSpec FSpec;
    std::optional<TImagePlace> FPlace; // where the logos were found last
    std::unique_ptr<TOpenImage> FHeld;
};

// Name as the upper-case 8.3 name it gets in a FAT folder; raises EDiskImage when it has none.
std::string ShortLogoName(const std::string& Name);

// The name under which a new logo of the 8.3 name ShortName is written before it replaces the
// old one.
std::string TemporaryLogoName(const std::string& ShortName);
