#include "platform/disk_image/file_holders.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using TFileId = std::pair<dev_t, ino_t>;

struct TCloseDir {
    void operator()(DIR* Dir) const { ::closedir(Dir); }
};
using TDirHandle = std::unique_ptr<DIR, TCloseDir>;

// The process ids of /proc, in order.
std::vector<pid_t> ProcessIds() {
    std::vector<pid_t> Pids;
    const TDirHandle Proc(::opendir("/proc"));
    if (!Proc) {
        return Pids;
    }
    while (const dirent* Entry = ::readdir(Proc.get())) {
        const std::string_view Name = Entry->d_name;
        pid_t Pid = 0;
        const auto [End, Error] = std::from_chars(Name.data(), Name.data() + Name.size(), Pid);
        if (Error == std::errc() && End == Name.data() + Name.size()) {
            Pids.push_back(Pid);
        }
    }
    std::sort(Pids.begin(), Pids.end());
    return Pids;
}

// Whether the process Pid has one of Files open; false when its open files cannot be read.
bool HoldsAny(pid_t Pid, const std::set<TFileId>& Files) {
    const std::string Folder = "/proc/" + std::to_string(Pid) + "/fd";
    const TDirHandle Fds(::opendir(Folder.c_str()));
    if (!Fds) {
        return false;
    }
    while (const dirent* Entry = ::readdir(Fds.get())) {
        if (Entry->d_name[0] == '.') {
            continue;
        }
        struct stat Info {};
        // stat follows the link to the open file itself, whatever its name is now.
        if (::stat((Folder + "/" + Entry->d_name).c_str(), &Info) == 0 &&
            Files.count({Info.st_dev, Info.st_ino}) != 0) {
            return true;
        }
    }
    return false;
}

std::string ProgramName(pid_t Pid) {
    const std::string Base = "/proc/" + std::to_string(Pid);
    char Target[4096];
    const ssize_t Length = ::readlink((Base + "/exe").c_str(), Target, sizeof Target - 1);
    if (Length > 0) {
        std::string Path(Target, static_cast<std::size_t>(Length));
        constexpr std::string_view kDeleted = " (deleted)";
        if (Path.size() > kDeleted.size() && Path.ends_with(kDeleted)) {
            Path.resize(Path.size() - kDeleted.size());
        }
        return Path.substr(Path.rfind('/') + 1);
    }
    std::string Name;
    std::getline(std::ifstream(Base + "/comm"), Name);
    return Name.empty() ? "a program" : Name;
}

} // namespace

std::vector<TFileHolder> FindFileHolders(const std::vector<std::string>& Files,
                                         const std::vector<pid_t>& Ignored) {
    std::set<TFileId> Ids;
    for (const std::string& File : Files) {
        struct stat Info {};
        if (::stat(File.c_str(), &Info) == 0) {
            Ids.insert({Info.st_dev, Info.st_ino});
        }
    }
    std::vector<TFileHolder> Holders;
    if (Ids.empty()) {
        return Holders;
    }
    const pid_t Self = ::getpid();
    for (const pid_t Pid : ProcessIds()) {
        if (Pid == Self || std::find(Ignored.begin(), Ignored.end(), Pid) != Ignored.end()) {
            continue;
        }
        if (HoldsAny(Pid, Ids)) {
            Holders.push_back({Pid, ProgramName(Pid)});
        }
    }
    return Holders;
}

std::string DescribeFileHolders(const std::vector<TFileHolder>& Holders) {
    std::string Text;
    for (const TFileHolder& Holder : Holders) {
        if (!Text.empty()) {
            Text += " and ";
        }
        Text += Holder.Program + " (process " + std::to_string(Holder.Pid) + ")";
    }
    return Text;
}
