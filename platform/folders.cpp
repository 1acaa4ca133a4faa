#include "platform/folders.h"

#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Environment(const char* Name) {
    const char* Value = std::getenv(Name);
    return Value != nullptr ? std::string(Value) : std::string();
}

bool IsDirectory(const std::string& Path) {
    struct stat Info {};
    return ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

// Creates Path and its missing parents; failures show later, when files are written there.
void CreateFolders(const std::string& Path) {
    for (std::size_t Slash = Path.find('/', 1);; Slash = Path.find('/', Slash + 1)) {
        const std::string Part = Path.substr(0, Slash);
        if (::mkdir(Part.c_str(), 0777) != 0 && errno != EEXIST) {
            return;
        }
        if (Slash == std::string::npos) {
            return;
        }
    }
}

// $Variable when it is an absolute path (a relative one is invalid), else the home folder
// followed by Fallback; without a trailing "/".
std::string BaseFolder(const char* Variable, const char* Fallback) {
    const std::string Value = Environment(Variable);
    if (!Value.empty() && Value.front() == '/') {
        return ExcludeTrailingPathDelimiter(Value);
    }
    return HomeDirectory() + Fallback;
}

// Programs installed by the system live under /usr; the user keeps nothing of his there.
bool IsSystemFolder(const std::string& Folder) {
    return Folder == "/usr/" || Folder.starts_with("/usr/");
}

} // namespace

std::string HomeDirectory() {
    std::string Home = Environment("HOME");
    if (Home.empty()) {
        std::vector<char> Buffer(16 * 1024);
        passwd Entry{};
        passwd* Found = nullptr;
        if (::getpwuid_r(::getuid(), &Entry, Buffer.data(), Buffer.size(), &Found) == 0 &&
            Found != nullptr && Found->pw_dir != nullptr) {
            Home = Found->pw_dir;
        }
    }
    return Home;
}

std::string GetWindowsDirectory() {
    std::vector<std::string> Prefixes;
    if (std::string Prefix = Environment("WINEPREFIX"); !Prefix.empty()) {
        Prefixes.push_back(Prefix);
    }
    if (const std::string Home = HomeDirectory(); !Home.empty()) {
        Prefixes.push_back(Home + "/.wine");
    }
    for (const std::string& Prefix : Prefixes) {
        const std::string Windows = ExcludeTrailingPathDelimiter(Prefix) + "/drive_c/windows";
        if (IsDirectory(Windows)) {
            return Windows;
        }
    }
    const std::string Windows = BaseFolder("XDG_DATA_HOME", "/.local/share") + "/vespera/windows";
    CreateFolders(Windows);
    return Windows;
}

std::string InstallTargetOverride() {
    return Environment("VESPERA_WINDIR");
}

std::string WindowsDirectory() {
    return IncludeTrailingPathDelimiter(GetWindowsDirectory());
}

std::string ProgramFileName() {
    std::vector<char> Buffer(4096);
    for (;;) {
        const ssize_t Count = ::readlink("/proc/self/exe", Buffer.data(), Buffer.size());
        if (Count < 0) {
            return {};
        }
        if (static_cast<std::size_t>(Count) < Buffer.size()) {
            return std::string(Buffer.data(), static_cast<std::size_t>(Count));
        }
        Buffer.resize(Buffer.size() * 2);
    }
}

std::string ProgramDirectoryOf(const std::string& ProgramFile) {
    const std::string Folder = ExtractFilePath(ProgramFile);
    if (Folder.empty()) {
        return "./";
    }
    if (!IsSystemFolder(Folder) && ::access(Folder.c_str(), W_OK) == 0) {
        return Folder;
    }
    const std::string Config = ConfigHome() + "/vespera";
    CreateFolders(Config);
    return Config + "/";
}

std::string ConfigHome() {
    return BaseFolder("XDG_CONFIG_HOME", "/.config");
}

std::string GetStartupFolder() {
    if (!Environment("XDG_CONFIG_HOME").starts_with('/') && HomeDirectory().empty()) {
        return {}; // no folder of the user's: never the root of the file system
    }
    const std::string Folder = ConfigHome() + "/autostart";
    CreateFolders(Folder);
    return Folder;
}
