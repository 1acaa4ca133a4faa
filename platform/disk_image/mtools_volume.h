#pragma once

#include "platform/disk_image/disk_image_error.h"
#include "platform/file_descriptor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TImageFile;

// A FAT volume inside a disk image file, reached through mtools (the Debian package mtools):
// each operation runs one of its programs from an argument vector, never through a shell.
//
// mtools sees only what this class gives it: the image as the open file handed to it (so that
// it works on the very file that is open and locked here, whatever its name), and a
// configuration of its own in memory that defines one drive at the volume's offset. The user's
// mtools settings and environment do not apply: names are shown as stored, no long names are
// made for the 8.3 names written here, and the geometry checks meant for floppy drives are off
// (the boot sector has been checked before).
//
// Each program runs in a process group of its own and keeps the image's open file, with its
// locks, until it ends: if this program is killed, the step under way still completes.
//
// Paths inside the volume are "/"-separated and relative to its root ("" is the root). Failures
// raise EDiskImage naming the image and quoting mtools.
//
// A program that has not ended after the time limit is taken to hang and stopped. One stopped
// while it wrote may have left the volume half-changed: that failure is an EVolumeWriteStopped,
// whose message says so and how to check the volume, and nothing more is written after it.
class TMtoolsVolume {
public:
    struct TEntry {
        std::string Name; // as the folder stores it (the long name when there is one)
        bool Folder = false;
    };

    // The volume at Offset of Image; TimeLimit is the time limit of each program in seconds.
    TMtoolsVolume(const TImageFile& Image, std::uint64_t Offset, int TimeLimit = 120);
    TMtoolsVolume(const TMtoolsVolume&) = delete;
    TMtoolsVolume& operator=(const TMtoolsVolume&) = delete;

    // The entries of Folder, hidden and system ones included.
    std::vector<TEntry> List(const std::string& Folder) const;
    // The entries of each of Folders (as List gives them), listed by one program; none when one
    // of them cannot be listed.
    std::optional<std::vector<std::vector<TEntry>>>
    ListEach(const std::vector<std::string>& Folders) const;
    // The contents of the file Path.
    std::string Read(const std::string& Path) const;
    // Writes Data as the file Path, replacing a file of that name.
    void Write(const std::string& Path, std::string_view Data) const;
    // Renames the file Path to NewName in its folder, replacing a file of that name: both
    // directory entries change in one step where they share a sector. The file keeps its
    // attributes. With LongName, NewName is kept as a long name when its case needs one (its 8.3
    // name is NewName in upper case when that is one).
    void Replace(const std::string& Path, const std::string& NewName, bool LongName = false) const;
    // Gives the file Path the read-only, hidden, system and archive attributes that Attributes
    // holds (TFatAttribute bits), and takes away the others of them.
    void SetAttributes(const std::string& Path, std::uint8_t Attributes) const;
    void Delete(const std::string& Path) const;

private:
    enum class TStep { sRead, sWrite };

    // LongNames: names in mixed case get long names (else only their 8.3 names in upper case).
    std::string Run(TStep Step, const std::string& Program, std::vector<std::string> Arguments,
                    int DataHandle = -1, bool LongNames = false) const;
    std::string DrivePath(const std::string& Path) const;

    const TImageFile& FImage;
    int FTimeLimit;
    TFileDescriptor FConfiguration;
};

// A program of mtools was stopped (after its time limit, or by a signal) in the middle of
// writing to a volume.
class EVolumeWriteStopped : public EDiskImage {
public:
    using EDiskImage::EDiskImage;
};

// Whether Entries hold a file (not a folder) named Name, compared without regard to case.
bool ContainsFile(const std::vector<TMtoolsVolume::TEntry>& Entries, const std::string& Name);
