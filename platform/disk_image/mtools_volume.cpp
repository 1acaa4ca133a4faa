#include "platform/disk_image/mtools_volume.h"

#include "core/stream.h"
#include "platform/ascii_text.h"
#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/fat_chains.h"
#include "platform/disk_image/image_file.h"
#include "platform/fd_io.h"
#include "platform/run_program.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/mman.h>

namespace {

// The numbers under which a program of mtools finds the image, its configuration and the data
// of a file to write.
constexpr int kImageDescriptor = 3;
constexpr int kConfigurationDescriptor = 4;
constexpr int kDataDescriptor = 5;

// A file in memory holding Text. When the system refuses it, the failure says that Image has the
// Problem ("cannot be written") for the system's reason.
TFileDescriptor MemoryFile(const char* Name, std::string_view Text, const TImageFile& Image,
                           const char* Problem) {
    TFileDescriptor Handle(::memfd_create(Name, MFD_CLOEXEC));
    if (!Handle.IsOpen()) {
        throw ImageSystemFailure(Image.FileName(), Problem, errno);
    }
    try {
        WriteAll(Handle.Get(), Text, Name);
    } catch (const EFileError& Failure) {
        throw ImageSystemFailure(Image.FileName(), Problem, Failure.ErrorCode());
    }
    return Handle;
}

std::string Configuration(std::uint64_t Offset) {
    return "mtools_skip_check=1\n"
           "mtools_fat_compatibility=1\n"
           "mtools_lower_case=0\n"
           "mtools_no_vfat=1\n"
           "drive v: file=\"/dev/fd/" +
           std::to_string(kImageDescriptor) + "\" offset=" + std::to_string(Offset) + "\n";
}

std::vector<std::string> Environment(bool LongNames) {
    std::vector<std::string> Result = EnvironmentWithout(
        {"MTOOLSRC", "HOME", "LC_ALL", "LC_CTYPE", "LANG", "LANGUAGE"}, {"MTOOLS_", "mtools_"});
    Result.push_back("MTOOLSRC=/dev/fd/" + std::to_string(kConfigurationDescriptor));
    if (LongNames) {
        // The environment overrides the configuration's mtools_no_vfat.
        Result.push_back("MTOOLS_NO_VFAT=0");
    }
    // No home folder, so that no ~/.mtoolsrc applies.
    Result.push_back("HOME=/dev/null");
    Result.push_back("LC_ALL=C");
    return Result;
}

// mtools' complaint without its trailing line breaks, for a message.
std::string Complaint(const TProgramRun& Run) {
    std::string Text = Run.Err;
    while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r' || Text.back() == ' ')) {
        Text.pop_back();
    }
    return Text.empty() ? "exit status " + std::to_string(Run.ExitStatus) : Text;
}

// An entry of a listing of "mdir -b", with the path of its folder ("V:/WINDOWS", "V:" for the
// root).
struct TListed {
    std::string Parent;
    TMtoolsVolume::TEntry Entry;
};

// The entries of Listing: "-b" prints one path a line, a folder's with a "/" at its end.
std::vector<TListed> ParseListing(const std::string& Listing) {
    std::vector<TListed> Entries;
    std::size_t Start = 0;
    while (Start < Listing.size()) {
        std::size_t End = Listing.find('\n', Start);
        if (End == std::string::npos) {
            End = Listing.size();
        }
        std::string Line = Listing.substr(Start, End - Start);
        Start = End + 1;
        TListed Listed;
        Listed.Entry.Folder = !Line.empty() && Line.back() == '/';
        if (Listed.Entry.Folder) {
            Line.pop_back();
        }
        const std::size_t Slash = Line.rfind('/');
        Listed.Entry.Name = Slash == std::string::npos ? Line : Line.substr(Slash + 1);
        Listed.Parent = Slash == std::string::npos ? "" : Line.substr(0, Slash);
        if (!Listed.Entry.Name.empty()) {
            Entries.push_back(std::move(Listed));
        }
    }
    return Entries;
}

} // namespace

bool ContainsFile(const std::vector<TMtoolsVolume::TEntry>& Entries, const std::string& Name) {
    for (const TMtoolsVolume::TEntry& Entry : Entries) {
        if (!Entry.Folder && SameText(Entry.Name, Name)) {
            return true;
        }
    }
    return false;
}

TMtoolsVolume::TMtoolsVolume(const TImageFile& Image, std::uint64_t Offset, int TimeLimit)
    : FImage(Image), FTimeLimit(TimeLimit),
      FConfiguration(
          MemoryFile("vespera-mtoolsrc", Configuration(Offset), Image, "cannot be reached")) {}

std::string TMtoolsVolume::DrivePath(const std::string& Path) const {
    return "v:/" + Path;
}

std::string TMtoolsVolume::Run(TStep Step, const std::string& Program,
                               std::vector<std::string> Arguments, int DataHandle,
                               bool LongNames) const {
    TProgramCall Call;
    Call.Argv = {Program};
    Call.Argv.insert(Call.Argv.end(), Arguments.begin(), Arguments.end());
    Call.Environment = Environment(LongNames);
    Call.Descriptors = {{FImage.Handle(), kImageDescriptor},
                        {FConfiguration.Get(), kConfigurationDescriptor}};
    if (DataHandle >= 0) {
        Call.Descriptors.emplace_back(DataHandle, kDataDescriptor);
    }
    Call.OwnProcessGroup = true;
    Call.TimeLimit = FTimeLimit;
    const TProgramRun Result = RunProgram(Call);
    if (!Result.Started) {
        if (Result.StartError == ENOENT) {
            throw EDiskImage("Vespera needs mtools to reach the disk image \"" + FImage.FileName() +
                             "\"; install the package mtools.");
        }
        throw EDiskImage("mtools cannot be started for the disk image \"" + FImage.FileName() +
                         "\": " + std::strerror(Result.StartError) + ".");
    }
    // Stopped after the time limit or killed: a step that wrote may have left the volume half
    // changed.
    if (Result.TimedOut || Result.ExitStatus < 0) {
        std::string Stopped = "mtools (" + Program + ") ";
        Stopped += Result.TimedOut ? "did not finish in " + std::to_string(FTimeLimit) +
                                         " seconds and was stopped"
                                   : "was stopped by a signal";
        Stopped += (Step == TStep::sWrite ? " while it wrote to" : " while it read") +
                   std::string(" the disk image \"") + FImage.FileName() + "\"";
        if (Step == TStep::sWrite) {
            throw EVolumeWriteStopped(Stopped +
                                      ": the FAT volume may be damaged. Check it before the "
                                      "machine uses it again: with ScanDisk in the machine, or "
                                      "with fsck.fat.");
        }
        throw EDiskImage(Stopped + ".");
    }
    if (Result.ExitStatus != 0) {
        throw EDiskImage("mtools (" + Program + ") failed on the disk image \"" +
                         FImage.FileName() + "\": " + Complaint(Result));
    }
    return Result.Out;
}

std::vector<TMtoolsVolume::TEntry> TMtoolsVolume::List(const std::string& Folder) const {
    std::vector<TEntry> Entries;
    for (TListed& Listed :
         ParseListing(Run(TStep::sRead, "mdir", {"-a", "-b", DrivePath(Folder)}))) {
        Entries.push_back(std::move(Listed.Entry));
    }
    return Entries;
}

std::optional<std::vector<std::vector<TMtoolsVolume::TEntry>>>
TMtoolsVolume::ListEach(const std::vector<std::string>& Folders) const {
    std::vector<std::string> Arguments{"-a", "-b"};
    for (const std::string& Folder : Folders) {
        Arguments.push_back(DrivePath(Folder));
    }
    std::string Listing;
    try {
        Listing = Run(TStep::sRead, "mdir", Arguments);
    } catch (const EDiskImage&) {
        return std::nullopt;
    }
    // mdir prints each entry's path as the folder was given, after the drive ("V:/WINDOWS/X").
    std::vector<std::vector<TEntry>> Lists(Folders.size());
    for (TListed& Listed : ParseListing(Listing)) {
        const std::string Parent =
            Listed.Parent.substr(std::min<std::size_t>(2, Listed.Parent.size()));
        for (std::size_t I = 0; I < Folders.size(); ++I) {
            if (Parent == (Folders[I].empty() ? "" : "/" + Folders[I])) {
                Lists[I].push_back(std::move(Listed.Entry));
                break;
            }
        }
    }
    return Lists;
}

std::string TMtoolsVolume::Read(const std::string& Path) const {
    return Run(TStep::sRead, "mcopy", {"-n", DrivePath(Path), "-"});
}

void TMtoolsVolume::Write(const std::string& Path, std::string_view Data) const {
    const TFileDescriptor Handle = MemoryFile("vespera-data", Data, FImage, "cannot be written");
    Run(TStep::sWrite, "mcopy",
        {"-D", "o", "/dev/fd/" + std::to_string(kDataDescriptor), DrivePath(Path)}, Handle.Get());
}

void TMtoolsVolume::Replace(const std::string& Path, const std::string& NewName,
                            bool LongName) const {
    Run(TStep::sWrite, "mren", {"-D", "o", DrivePath(Path), NewName}, -1, LongName);
}

void TMtoolsVolume::SetAttributes(const std::string& Path, std::uint8_t Attributes) const {
    std::vector<std::string> Arguments;
    for (const auto& [Bit, Letter] : {std::pair{faReadOnly, 'r'}, std::pair{faHidden, 'h'},
                                      std::pair{faSystem, 's'}, std::pair{faArchive, 'a'}}) {
        Arguments.push_back(std::string((Attributes & Bit) != 0 ? "+" : "-") + Letter);
    }
    Arguments.push_back(DrivePath(Path));
    Run(TStep::sWrite, "mattrib", std::move(Arguments));
}

void TMtoolsVolume::Delete(const std::string& Path) const {
    Run(TStep::sWrite, "mdel", {DrivePath(Path)});
}
