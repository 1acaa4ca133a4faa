#pragma once

#include "platform/install_target/target_spec.h"

#include <memory>
#include <string>
#include <string_view>

// A place where the logos are installed: a folder, or a folder on a FAT volume inside a disk
// image file. Installation and backups speak only to this interface; every kind keeps the same
// promises:
//
// - ReplaceLogo puts the new file in place whole: until it is complete the old one stays as it
//   was, and at no moment is there a part of either under the logo's name.
// - A run killed half-way leaves at most its own temporary files, which the next ReplaceLogo of
//   the same name removes.
// - A failure raises an Exception that says why, and leaves the logo as it was. A file that fails
//   raises its EFileError (core/stream.h), which names it (a logo in a folder: its LogoPlace);
//   a disk image raises a failure that names the image.
//
// Names are plain file names such as "logow.sys", compared as the place compares them.
class TInstallTarget {
public:
    virtual ~TInstallTarget() = default;

    // The place, for messages.
    virtual std::string Description() const = 0;
    // Where the logo Name is, for messages: the file's path in a folder; in a disk image, the
    // image with the partition and folder in the form of a target, then the logo's name as the
    // volume holds it ("/vm/w98.img::1/WINDOWS/LOGOW.SYS").
    virtual std::string LogoPlace(const std::string& Name) const = 0;

    // The place as found, whichever way it was written: for a disk image the partition and the
    // folder actually used, the folder named as the volume stores it (found now when it was
    // not yet); a folder as it is.
    virtual TTargetSpec PlaceFound() = 0;

    // Whether the logo Name is there.
    virtual bool LogoExists(const std::string& Name) = 0;
    // The contents of the logo Name.
    virtual std::string ReadLogo(const std::string& Name) = 0;
    // Makes Data the contents of the logo Name.
    virtual void ReplaceLogo(const std::string& Name, std::string_view Data) = 0;
    // Copies the logo Name to the file FileName outside the place, which must not exist yet; the
    // copy is written to a temporary file and renamed, so it is never seen half-written.
    virtual void CopyLogo(const std::string& Name, const std::string& FileName) = 0;
    // Holds the place for writing from now until Release: it is opened, checked and located
    // once, and every operation in between works under that one hold, so that nothing else can
    // start using it between two logos. Without a hold each operation holds the place for
    // itself. A place that cannot be held for writing is not held: its operations then say why
    // they cannot be done. A folder needs no hold.
    virtual void Hold() {}
    // Ends the hold, with everything written on the disk.
    virtual void Release() {}
};

// A hold on a target for as long as it lives (TInstallTarget::Hold).
class TTargetHold {
public:
    explicit TTargetHold(TInstallTarget& Target) : FTarget(Target) { Target.Hold(); }
    TTargetHold(const TTargetHold&) = delete;
    TTargetHold& operator=(const TTargetHold&) = delete;
    ~TTargetHold() { FTarget.Release(); }

private:
    TInstallTarget& FTarget;
};

// The target that Spec describes.
std::unique_ptr<TInstallTarget> MakeInstallTarget(const TTargetSpec& Spec);
