#include "platform/disk_image/mtools_volume.h"

#include "core/stream.h"
#include "platform/ascii_text.h"
#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/fat_chains.h"
#include "platform/disk_image/image_file.h"
#include "platform/fd_io.h"
#include "platform/run_program.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>

namespace {

// The numbers under which a program of mtools finds the image, its configuration and the data
// of a file to write.
constexpr int kImageDescriptor = 3;
constexpr int kConfigurationDescriptor = 4;
constexpr int kDataDescriptor = 5;

// Seconds after which a program of mtools that has not ended is taken to hang.
constexpr int kTimeLimit = 120;

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
    if (Run.TimedOut) {
        return "it did not finish in time";
    }
    return Text.empty() ? "exit status " + std::to_string(Run.ExitStatus) : Text;
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

TMtoolsVolume::TMtoolsVolume(const TImageFile& Image, std::uint64_t Offset)
    : FImage(Image), FConfiguration(MemoryFile("vespera-mtoolsrc", Configuration(Offset), Image,
                                               "cannot be reached")) {}

std::string TMtoolsVolume::DrivePath(const std::string& Path) const {
    return "v:/" + Path;
}

std::string TMtoolsVolume::Run(const std::string& Program, std::vector<std::string> Arguments,
                               int DataHandle, bool LongNames) const {
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
    Call.TimeLimit = kTimeLimit;
    const TProgramRun Result = RunProgram(Call);
    if (!Result.Started) {
        if (Result.StartError == ENOENT) {
            throw EDiskImage("Vespera needs mtools to reach the disk image \"" + FImage.FileName() +
                             "\"; install the package mtools.");
        }
        throw EDiskImage("mtools cannot be started for the disk image \"" + FImage.FileName() +
                         "\": " + std::strerror(Result.StartError) + ".");
    }
    if (Result.ExitStatus != 0) {
        throw EDiskImage("mtools (" + Program + ") failed on the disk image \"" +
                         FImage.FileName() + "\": " + Complaint(Result));
    }
    return Result.Out;
}

std::vector<TMtoolsVolume::TEntry> TMtoolsVolume::List(const std::string& Folder) const {
    // "-b" prints one path a line, a folder's with a "/" at its end.
    const std::string Listing = Run("mdir", {"-a", "-b", DrivePath(Folder)});
    std::vector<TEntry> Entries;
    std::size_t Start = 0;
    while (Start < Listing.size()) {
        std::size_t End = Listing.find('\n', Start);
        if (End == std::string::npos) {
            End = Listing.size();
        }
        std::string Line = Listing.substr(Start, End - Start);
        Start = End + 1;
        TEntry Entry;
        Entry.Folder = !Line.empty() && Line.back() == '/';
        if (Entry.Folder) {
            Line.pop_back();
        }
        const std::size_t Slash = Line.rfind('/');
        Entry.Name = Slash == std::string::npos ? Line : Line.substr(Slash + 1);
        if (!Entry.Name.empty()) {
            Entries.push_back(std::move(Entry));
        }
    }
    return Entries;
}

std::string TMtoolsVolume::Read(const std::string& Path) const {
    return Run("mcopy", {"-n", DrivePath(Path), "-"});
}

void TMtoolsVolume::Write(const std::string& Path, std::string_view Data) const {
    const TFileDescriptor Handle = MemoryFile("vespera-data", Data, FImage, "cannot be written");
    Run("mcopy", {"-D", "o", "/dev/fd/" + std::to_string(kDataDescriptor), DrivePath(Path)},
        Handle.Get());
}

void TMtoolsVolume::Replace(const std::string& Path, const std::string& NewName,
                            bool LongName) const {
    Run("mren", {"-D", "o", DrivePath(Path), NewName}, -1, LongName);
}

void TMtoolsVolume::SetAttributes(const std::string& Path, std::uint8_t Attributes) const {
    std::vector<std::string> Arguments;
    for (const auto& [Bit, Letter] : {std::pair{faReadOnly, 'r'}, std::pair{faHidden, 'h'},
                                      std::pair{faSystem, 's'}, std::pair{faArchive, 'a'}}) {
        Arguments.push_back(std::string((Attributes & Bit) != 0 ? "+" : "-") + Letter);
    }
    Arguments.push_back(DrivePath(Path));
    Run("mattrib", std::move(Arguments));
}

void TMtoolsVolume::Delete(const std::string& Path) const {
    Run("mdel", {DrivePath(Path)});
}
