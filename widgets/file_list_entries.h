#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a file list box reads from its folder.

// Kinds of entries a file list lists, a set of bits.
enum TFileAttr : std::uint8_t {
    ftReadOnly = 0x01,
    ftHidden = 0x02,
    ftSystem = 0x04,
    ftVolumeID = 0x08,
    ftDirectory = 0x10,
    ftArchive = 0x20,
    ftNormal = 0x80
};
using TFileType = std::uint8_t;

struct TFileEntry {
    std::string Name; // as the file system holds it
    bool IsFolder = false;
    bool operator==(const TFileEntry&) const = default;
};

// The patterns of a mask such as "*.txt;*.ini", split at ";", blanks around them dropped, empty
// ones skipped.
std::vector<std::string> SplitMask(std::string_view Mask);

// Whether a name matches a pattern of "*" (any run) and "?" (any one character), ignoring the
// case of ASCII letters. "*.*" matches every name.
bool MatchesPattern(std::string_view Name, std::string_view Pattern);

// The attributes an entry of this platform has: folders are directories, names beginning with
// "." hidden, files without write permission for their owner read-only, plain files archive.
TFileType EntryAttributes(bool IsFolder, bool IsRegularFile, bool OwnerWritable,
                          std::string_view Name);

// Whether the listing takes an entry: it is found unless it has a hidden, system, volume or
// directory attribute that FileType does not ask for; it is taken when FileType holds ftNormal
// or shares an attribute with it.
bool TakesEntry(TFileType FileType, TFileType Attributes);

// The entries of Directory matching any pattern of Mask that FileType takes, each once, sorted
// by their shown text ignoring case. "." and ".." are never listed. A folder that cannot be read
// lists nothing.
std::vector<TFileEntry> ReadFileEntries(const std::string& Directory, std::string_view Mask,
                                        TFileType FileType);

// The text an entry is shown as: a folder "[name]", a file its name.
std::string EntryText(const TFileEntry& Entry);
