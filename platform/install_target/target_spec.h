#pragma once

#include <optional>
#include <string>

// Where the logos go, written as one line of text, in the settings file and in $VESPERA_WINDIR:
//
//   PATH                a folder; or, when PATH names a file, a disk image as with "PATH::"
//   IMAGE::             the disk image file IMAGE: the first FAT volume with a folder WINDOWS
//   IMAGE::N            partition N of IMAGE (1 to 4 primary, 5 and on logical), folder WINDOWS
//   IMAGE::/DIR/SUB     the folder DIR/SUB on the first FAT volume that has it; "::/" the root
//   IMAGE::N/DIR        folder DIR on partition N
//   folder:PATH         the folder PATH taken as it stands (for a path holding "::")
//
// The text after the last "::" is the place inside the image: names in a FAT volume cannot
// hold ":", so an image path may hold "::" itself ("a::b.img::" is the image "a::b.img").
// Folder names inside an image are matched without regard to case; "/" and "\" both separate
// them. A "~" alone or before the first "/" is the home folder (not after "folder:").

enum class TTargetKind { tkFolder, tkDiskImage };

struct TTargetSpec {
    TTargetKind Kind = TTargetKind::tkFolder;
    std::string Path;               // the folder, or the disk image file
    int Partition = 0;              // disk image: 0 chooses the first FAT volume holding Folder
    std::string Folder = "WINDOWS"; // disk image: "/"-separated from the root; "" is the root

    bool operator==(const TTargetSpec&) const = default;
};

// The target that Text describes. None, with Error saying why, when Text is empty or its place
// inside an image is malformed.
std::optional<TTargetSpec> ParseTargetSpec(const std::string& Text, std::string& Error);

// Spec written so that ParseTargetSpec gives it back.
std::string FormatTargetSpec(const TTargetSpec& Spec);

// Spec for messages: the folder, or the image with its partition and folder.
std::string DescribeTargetSpec(const TTargetSpec& Spec);
