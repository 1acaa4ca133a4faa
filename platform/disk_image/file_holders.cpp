#include "platform/disk_image/file_holders.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
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
        // stat follows the link to the open file itself, whatever its name is now; relative to
        // the open folder, so that its path is not looked up again for every descriptor.
        if (::fstatat(::dirfd(Fds.get()), Entry->d_name, &Info, 0) == 0 &&
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
    std::string Name = ReadProcessFile(Pid, "comm");
    Name = Name.substr(0, Name.find('\n'));
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

bool OpenOnlyHere(int Handle) {
    // Should another process open the file while the lease is held, the system tells by a
    // signal: SIGURG, which is ignored, instead of SIGIO, which would end this process.
    if (::fcntl(Handle, F_SETSIG, SIGURG) != 0) {
        return false;
    }
    const bool Leased = ::fcntl(Handle, F_SETLEASE, F_WRLCK) == 0;
    if (Leased) {
        ::fcntl(Handle, F_SETLEASE, F_UNLCK);
    }
    ::fcntl(Handle, F_SETSIG, 0);
    return Leased;
}

std::string ReadProcessFile(pid_t Pid, const std::string& Name) {
    std::string Content;
    const int Handle =
        ::open(("/proc/" + std::to_string(Pid) + "/" + Name).c_str(), O_RDONLY | O_CLOEXEC);
    if (Handle < 0) {
        return Content;
    }
    char Buffer[4096];
    for (;;) {
        const ssize_t Count = ::read(Handle, Buffer, sizeof Buffer);
        if (Count > 0) {
            Content.append(Buffer, static_cast<std::size_t>(Count));
        } else if (Count == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(Handle);
    return Content;
}

std::vector<pid_t> FindProgramRuns(const std::string& Program, const std::string& Text) {
    std::vector<pid_t> Runs;
    for (const pid_t Pid : ProcessIds()) {
        const std::string Base = "/proc/" + std::to_string(Pid);
        struct stat Info {};
        if (::stat(Base.c_str(), &Info) != 0 || Info.st_uid != ::getuid() ||
            ProgramName(Pid) != Program) {
            continue;
        }
        // The arguments, each ended by a zero byte.
        const std::string Arguments = ReadProcessFile(Pid, "cmdline");
        bool Named = false;
        for (std::size_t Start = 0; !Named && Start < Arguments.size();) {
            const std::size_t End = std::min(Arguments.find('\0', Start), Arguments.size());
            Named = std::string_view(Arguments).substr(Start, End - Start).find(Text) !=
                    std::string_view::npos;
            Start = End + 1;
        }
        if (Named) {
            Runs.push_back(Pid);
        }
    }
    return Runs;
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
