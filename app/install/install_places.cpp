#include "app/install/install_places.h"

#include "app/install/install_target_list.h"
#include "app/install/logo_file_install.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace {

constexpr const char* kBackupsFolder = "backups/";
constexpr std::size_t kReadablePartMax = 40;

// Path absolute, with "." and ".." gone and the links of its existing part resolved.
std::string CanonicalPath(const std::string& Path) {
    std::error_code Error;
    const std::filesystem::path Canonical =
        std::filesystem::weakly_canonical(ExpandFileName(Path), Error);
    return ExcludeTrailingPathDelimiter(Error ? ExpandFileName(Path) : Canonical.string());
}

// 64-bit FNV-1a: fixed, so that a backup folder keeps its name from one version to the next.
std::uint64_t FixedHash(std::string_view Text) {
    std::uint64_t Hash = 0xcbf29ce484222325ULL;
    for (const char C : Text) {
        Hash ^= static_cast<unsigned char>(C);
        Hash *= 0x100000001b3ULL;
    }
    return Hash;
}

std::string Hex(std::uint64_t Value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string Text(16, '0');
    for (std::size_t I = Text.size(); I-- > 0; Value >>= 4) {
        Text[I] = kDigits[Value & 0xF];
    }
    return Text;
}

// Text with every character but letters, digits, ".", "_" and "-" made "_", not starting with
// "." and at most kReadablePartMax long.
std::string Readable(std::string_view Text) {
    std::string Result;
    for (const char C : Text.substr(0, kReadablePartMax)) {
        const bool Kept = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') ||
                          (C >= '0' && C <= '9') || C == '.' || C == '_' || C == '-';
        Result += Kept ? C : '_';
    }
    if (!Result.empty() && Result.front() == '.') {
        Result.front() = '_';
    }
    return Result.empty() ? std::string("root") : Result;
}

bool SameFolder(const std::string& A, const std::string& B) {
    std::error_code Error;
    return std::filesystem::equivalent(A, B, Error) || CanonicalPath(A) == CanonicalPath(B);
}

// When the first backup of a system logo in Folder was made; none when it holds none.
std::optional<std::filesystem::file_time_type> FirstBackupMade(const std::string& Folder) {
    std::optional<std::filesystem::file_time_type> First;
    for (const char* Name : {kFirstLogoFile, kLastLogoFile}) {
        std::error_code Error;
        const auto Made = std::filesystem::last_write_time(Folder + Name, Error);
        if (!Error && (!First || Made < *First)) {
            First = Made;
        }
    }
    return First;
}

TInstallPlace PlaceOf(TPlaceSource Source, const std::string& Text) {
    TInstallPlace Place;
    Place.Source = Source;
    Place.Text = Text;
    Place.Spec = ParseTargetSpec(Text, Place.Error);
    return Place;
}

} // namespace

std::string TInstallPlace::Description() const {
    return Spec ? DescribeTargetSpec(*Spec) : Text;
}

std::string BackupFolderName(const TTargetSpec& Spec) {
    const std::string Path = CanonicalPath(Spec.Path);
    // Built by appending: GCC 12 at -O3 warns falsely of a literal added to a temporary.
    const std::string Partition = std::to_string(Spec.Partition);
    std::string Identity;
    std::string Name = ExtractFileName(Path);
    if (Spec.Kind == TTargetKind::tkFolder) {
        Identity.append("folder\n").append(Path);
    } else {
        Identity.append("image\n").append(Path).append("\n").append(Partition).append("\n");
        Identity.append(UpperCase(Spec.Folder));
        if (Spec.Partition != 0) {
            Name.append("-").append(Partition);
        }
        if (!SameText(Spec.Folder, "WINDOWS")) {
            Name.append("-").append(Spec.Folder);
        }
    }
    std::string Folder(kBackupsFolder);
    Folder.append(Readable(Name)).append("-").append(Hex(FixedHash(Identity))).append("/");
    return Folder;
}

std::string PlaceBackupDir(const TInstallPlace& Place, const TTargetSpec& Found) {
    if (Found.Kind == TTargetKind::tkFolder) {
        return Place.BackupDir;
    }
    TTargetSpec ChosenAutomatically = Found;
    ChosenAutomatically.Partition = 0;
    const std::string Own = Place.ProgramDir + BackupFolderName(Found);
    const std::string Older = Place.ProgramDir + BackupFolderName(ChosenAutomatically);
    const auto OwnMade = FirstBackupMade(Own);
    const auto OlderMade = FirstBackupMade(Older);
    return OlderMade && (!OwnMade || *OlderMade < *OwnMade) ? Older : Own;
}

std::vector<TInstallPlace> ResolveInstallPlaces(const TProgramPlaces& Places,
                                                const TInstallTargetList& Targets) {
    std::vector<TInstallPlace> Result;
    if (!Places.ForcedTarget.empty()) {
        Result.push_back(PlaceOf(TPlaceSource::psOverride, Places.ForcedTarget));
    } else if (!Targets.Automatic()) {
        for (const std::string& Text : Targets.Targets()) {
            Result.push_back(PlaceOf(TPlaceSource::psSettings, Text));
        }
    } else {
        Result.push_back(PlaceOf(TPlaceSource::psAutomatic, "folder:" + Places.WindowsDir));
    }
    for (TInstallPlace& Place : Result) {
        if (!Place.Spec) {
            continue;
        }
        const bool WindowsFolder =
            Place.Spec->Kind == TTargetKind::tkFolder &&
            (Place.Source != TPlaceSource::psSettings ||
             (!Places.WindowsDir.empty() && SameFolder(Place.Spec->Path, Places.WindowsDir)));
        Place.BackupsInProgramFolder = WindowsFolder;
        Place.ProgramDir = Places.ProgramDir;
        Place.BackupDir =
            Places.ProgramDir + (WindowsFolder ? std::string() : BackupFolderName(*Place.Spec));
    }
    return Result;
}
