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

bool IsDirectory(const std::string& Path) {
    struct stat Info {};
    return ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

std::string WithoutTrailingSlashes(std::string Path) {
    while (Path.size() > 1 && Path.back() == '/') {
        Path.pop_back();
    }
    return Path;
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

} // namespace

std::string GetWindowsDirectory() {
    if (std::string Forced = Environment("VESPERA_WINDIR"); !Forced.empty()) {
        return WithoutTrailingSlashes(Forced);
    }
    const std::string Home = HomeDirectory();
    std::vector<std::string> Prefixes;
    if (std::string Prefix = Environment("WINEPREFIX"); !Prefix.empty()) {
        Prefixes.push_back(Prefix);
    }
    if (!Home.empty()) {
        Prefixes.push_back(Home + "/.wine");
    }
    for (const std::string& Prefix : Prefixes) {
        const std::string Windows = WithoutTrailingSlashes(Prefix) + "/drive_c/windows";
        if (IsDirectory(Windows)) {
            return Windows;
        }
    }
    std::string DataHome = Environment("XDG_DATA_HOME");
    if (DataHome.empty() || DataHome.front() != '/') {
        DataHome = Home + "/.local/share"; // a relative XDG_DATA_HOME is invalid
    }
    const std::string Windows = WithoutTrailingSlashes(DataHome) + "/vespera/windows";
    CreateFolders(Windows);
    return Windows;
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

std::string ProgramDirectory() {
    const std::string Folder = ExtractFilePath(ProgramFileName());
    return Folder.empty() ? std::string("./") : Folder;
}
