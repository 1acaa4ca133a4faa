#include "platform/install_target/target_spec.h"

#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/paths.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view kImageSeparator = "::";
constexpr std::string_view kFolderPrefix = "folder:";
constexpr std::string_view kDefaultFolder = "WINDOWS";
constexpr int kMaxPartition = 999;

// Characters a folder name in the image may not hold: those FAT forbids, and the brackets that
// mtools would take for a pattern.
bool ForbiddenInFolderName(char C) {
    return static_cast<unsigned char>(C) < 0x20 ||
           std::string_view("\"*:<>?|[]").find(C) != std::string_view::npos;
}

// Folder with "\" taken for "/", empty parts left out; none when a part is "." or ".." or
// holds a forbidden character.
std::optional<std::string> NormalFolder(std::string_view Folder) {
    std::string Result;
    std::string Part;
    const auto Flush = [&]() {
        if (Part == "." || Part == "..") {
            return false;
        }
        if (!Part.empty()) {
            Result += (Result.empty() ? "" : "/") + Part;
        }
        Part.clear();
        return true;
    };
    for (const char C : Folder) {
        if (C == '/' || C == '\\') {
            if (!Flush()) {
                return std::nullopt;
            }
        } else if (ForbiddenInFolderName(C)) {
            return std::nullopt;
        } else {
            Part += C;
        }
    }
    if (!Flush()) {
        return std::nullopt;
    }
    return Result;
}

std::optional<TTargetSpec> ParseImageSpec(const std::string& Text, std::size_t Separator,
                                          std::string& Error) {
    TTargetSpec Spec;
    Spec.Kind = TTargetKind::tkDiskImage;
    Spec.Path = Text.substr(0, Separator);
    const std::string_view Place = std::string_view(Text).substr(Separator + 2);
    const std::size_t Digits = Place.find_first_not_of("0123456789");
    const std::string_view Number = Place.substr(0, Digits);
    const std::string_view Rest = Digits == std::string_view::npos ? "" : Place.substr(Digits);
    if (Spec.Path.empty()) {
        Error = "\"" + Text + "\" names no disk image before \"::\".";
        return std::nullopt;
    }
    if (!Number.empty()) {
        // Leading zeros left out, so that no number of digits overflows.
        const std::size_t First = std::min(Number.find_first_not_of('0'), Number.size());
        const std::string_view Significant = Number.substr(First);
        Spec.Partition = kMaxPartition + 1;
        if (Significant.size() <= 3) {
            Spec.Partition = 0;
            for (const char Digit : Significant) {
                Spec.Partition = Spec.Partition * 10 + (Digit - '0');
            }
        }
        if (Spec.Partition < 1 || Spec.Partition > kMaxPartition) {
            Error = "\"" + Text + "\" names no valid partition: partitions are numbered from 1" +
                    (Spec.Partition < 1 ? "." : " to " + std::to_string(kMaxPartition) + ".");
            return std::nullopt;
        }
    }
    if (!Rest.empty()) {
        auto Folder =
            Rest.front() == '/' || Rest.front() == '\\' ? NormalFolder(Rest) : std::nullopt;
        if (!Folder) {
            Error = "\"" + Text +
                    "\" is not a valid target: after \"::\" may come a partition number and a "
                    "folder starting with \"/\", whose names hold none of \\\"*:<>?|[] and are "
                    "not \".\" or \"..\".";
            return std::nullopt;
        }
        Spec.Folder = *Folder;
    }
    return Spec;
}

// Text with a "~" that stands alone or before the first "/" made the home folder, as a shell
// would.
std::string WithHomeFolder(const std::string& Text) {
    if (Text == "~" || Text.starts_with("~/")) {
        if (const std::string Home = HomeDirectory(); !Home.empty()) {
            return ExcludeTrailingPathDelimiter(Home) + Text.substr(1);
        }
    }
    return Text;
}

} // namespace

std::optional<TTargetSpec> ParseTargetSpec(const std::string& Written, std::string& Error) {
    if (Written.empty()) {
        Error = "No folder or disk image is given.";
        return std::nullopt;
    }
    const std::string Text = WithHomeFolder(Written);
    TTargetSpec Spec;
    if (StartsWith(Text, kFolderPrefix)) {
        Spec.Path = Text.substr(kFolderPrefix.size());
        if (Spec.Path.empty()) {
            Error = "\"" + Text + "\" names no folder.";
            return std::nullopt;
        }
        return Spec;
    }
    const std::size_t Separator = Text.rfind(kImageSeparator);
    if (Separator != std::string::npos) {
        return ParseImageSpec(Text, Separator, Error);
    }
    Spec.Path = Text;
    if (FileExists(Text)) {
        Spec.Kind = TTargetKind::tkDiskImage;
    }
    return Spec;
}

std::string FormatTargetSpec(const TTargetSpec& Spec) {
    if (Spec.Kind == TTargetKind::tkFolder) {
        const bool Plain = Spec.Path.find(kImageSeparator) == std::string::npos &&
                           !StartsWith(Spec.Path, kFolderPrefix);
        return Plain ? Spec.Path : std::string(kFolderPrefix) + Spec.Path;
    }
    std::string Text = Spec.Path + std::string(kImageSeparator);
    if (Spec.Partition != 0) {
        Text += std::to_string(Spec.Partition);
    }
    if (Spec.Folder != kDefaultFolder) {
        Text += "/" + Spec.Folder;
    }
    return Text;
}

std::string DescribeTargetSpec(const TTargetSpec& Spec) {
    if (Spec.Kind == TTargetKind::tkFolder) {
        return Spec.Path;
    }
    const std::string Partition =
        Spec.Partition != 0 ? "partition " + std::to_string(Spec.Partition) : "first FAT volume";
    const std::string Folder = Spec.Folder.empty() ? "root folder" : "folder " + Spec.Folder;
    return Spec.Path + " (" + Partition + ", " + Folder + ")";
}
