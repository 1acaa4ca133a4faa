#include "platform/disk_image/qemu_view.h"

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/file_holders.h"
#include "platform/paths.h"
#include "platform/run_program.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr const char* kDaemon = "qemu-storage-daemon";
constexpr const char* kViewName = "disk.raw";
constexpr const char* kErrorName = "daemon.err";

// How long the daemon may take to show the view, to end, and how long a step of mtools that a
// killed run left may still write through its view.
constexpr auto kStartLimit = 20s;
constexpr auto kStopLimit = 20s;
constexpr auto kLeftStepLimit = 60s;

std::string JsonString(const std::string& Text) {
    std::string Result = "\"";
    for (const char C : Text) {
        if (C == '"' || C == '\\') {
            Result += '\\';
            Result += C;
        } else if (static_cast<unsigned char>(C) < 0x20) {
            char Escape[8];
            std::snprintf(Escape, sizeof Escape, "\\u%04x", C);
            Result += Escape;
        } else {
            Result += C;
        }
    }
    return Result + "\"";
}

// The failure to create Path, with the error number of the call that failed.
EDiskImage CreateFailure(const std::string& Path, int Error) {
    return EDiskImage("Cannot create \"" + Path + "\": " + std::strerror(Error) + ".");
}

// The folder that holds the views of this user, made private when missing.
std::string ViewsFolder() {
    const char* Runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string Folder = Runtime != nullptr && *Runtime == '/'
                             ? IncludeTrailingPathDelimiter(Runtime) + "vespera-views"
                             : "/tmp/vespera-views-" + std::to_string(::getuid());
    if (::mkdir(Folder.c_str(), 0700) != 0) {
        if (const int Error = errno; Error != EEXIST) {
            throw CreateFailure(Folder, Error);
        }
    }
    struct stat Info {};
    if (::lstat(Folder.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode) ||
        Info.st_uid != ::getuid()) {
        throw EDiskImage("The folder \"" + Folder + "\" is not this user's own.");
    }
    return Folder + "/";
}

// The fields of /proc/PID/stat from the third (the state) on; none when there is no such process.
std::vector<std::string> StatFields(pid_t Pid) {
    const std::string Line = ReadProcessFile(Pid, "stat");
    std::vector<std::string> Fields;
    const std::size_t Close = Line.rfind(')');
    if (Close == std::string::npos || Close + 2 > Line.size()) {
        return Fields;
    }
    std::istringstream Rest(Line.substr(Close + 2));
    std::string Field;
    while (Rest >> Field) {
        Fields.push_back(Field);
    }
    return Fields;
}

// When the process Pid started, in clock ticks after boot; 0 when there is no such process.
unsigned long long StartTime(pid_t Pid) {
    const std::vector<std::string> Fields = StatFields(Pid);
    return Fields.size() > 19 ? std::strtoull(Fields[19].c_str(), nullptr, 10) : 0;
}

// Whether the process Pid still runs: one that has ended does not, even before its parent has
// waited for it.
bool Runs(pid_t Pid) {
    const std::vector<std::string> Fields = StatFields(Pid);
    return !Fields.empty() && Fields[0] != "Z" && Fields[0] != "X";
}

bool IsMounted(const std::string& Path) {
    std::ifstream Mounts("/proc/self/mountinfo");
    std::string Line;
    while (std::getline(Mounts, Line)) {
        std::istringstream Fields(Line);
        std::string Id, Parent, Device, Root, Point;
        Fields >> Id >> Parent >> Device >> Root >> Point;
        if (Point == Path) {
            return true;
        }
    }
    return false;
}

void Unmount(const std::string& Path) {
    if (!IsMounted(Path)) {
        return;
    }
    if (::umount2(Path.c_str(), MNT_DETACH) != 0) {
        RunProgram({{"fusermount3", "-u", "-z", Path}, {}, {}, false, 10});
    }
}

// Waits up to Limit for the child Pid to end; whether it did.
bool WaitForChild(pid_t Pid, std::chrono::milliseconds Limit) {
    const auto End = std::chrono::steady_clock::now() + Limit;
    for (;;) {
        const pid_t Done = ::waitpid(Pid, nullptr, WNOHANG);
        if (Done == Pid || (Done < 0 && errno == ECHILD)) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= End) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
}

// Waits up to Limit for Pid, not a child of ours, to end.
bool WaitForProcess(pid_t Pid, std::chrono::milliseconds Limit) {
    const auto End = std::chrono::steady_clock::now() + Limit;
    while (Runs(Pid)) {
        if (std::chrono::steady_clock::now() >= End) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Whether Program is an executable file in a folder of $PATH.
bool InPath(const std::string& Program) {
    const char* Path = std::getenv("PATH");
    std::string_view Folders = Path != nullptr ? Path : "/usr/bin:/bin";
    while (!Folders.empty()) {
        const std::size_t Colon = Folders.find(':');
        const std::string Folder(Folders.substr(0, Colon));
        if (!Folder.empty() && ::access((Folder + "/" + Program).c_str(), X_OK) == 0) {
            return true;
        }
        Folders = Colon == std::string_view::npos ? std::string_view() : Folders.substr(Colon + 1);
    }
    return false;
}

std::string ReadSmallFile(const std::string& FileName) {
    std::ifstream In(FileName);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

void RemoveViewFolder(const std::string& Folder) {
    for (const char* Name : {kViewName, kErrorName}) {
        ::unlink((Folder + Name).c_str());
    }
    ::rmdir(Folder.c_str());
}

// A view whose owner is gone: its daemon is stopped once no step of mtools writes through it
// any more, its mount removed. The daemon is found by the view its command line names, which
// it has from its start on, however early its owner was killed.
void RemoveStaleView(const std::string& Folder) {
    const std::string View = Folder + kViewName;
    const std::vector<pid_t> Daemons = FindProgramRuns(kDaemon, JsonString(View));
    if (!Daemons.empty()) {
        const auto End = std::chrono::steady_clock::now() + kLeftStepLimit;
        while (!FindFileHolders({View}, Daemons).empty() &&
               std::chrono::steady_clock::now() < End) {
            std::this_thread::sleep_for(50ms);
        }
    }
    for (const pid_t Daemon : Daemons) {
        ::kill(Daemon, SIGTERM);
        if (!WaitForProcess(Daemon, kStopLimit)) {
            ::kill(Daemon, SIGKILL);
            WaitForProcess(Daemon, kStopLimit);
        }
    }
    Unmount(View);
    RemoveViewFolder(Folder);
}

// Image, then the other regular files that the process Daemon holds open outside Folder (its
// own): the files QEMU opened for the image.
std::vector<std::string> FilesHeldBy(pid_t Daemon, const std::string& Image,
                                     const std::string& Folder) {
    std::vector<std::string> Files{Image};
    struct stat ImageInfo {};
    ::stat(Image.c_str(), &ImageInfo);
    const std::string Descriptors = "/proc/" + std::to_string(Daemon) + "/fd";
    DIR* Dir = ::opendir(Descriptors.c_str());
    while (const dirent* Entry = Dir != nullptr ? ::readdir(Dir) : nullptr) {
        const std::string Link = Descriptors + "/" + Entry->d_name;
        struct stat Info {};
        char Target[4096];
        const ssize_t Length = ::readlink(Link.c_str(), Target, sizeof Target - 1);
        if (Entry->d_name[0] == '.' || Length <= 0 || Target[0] != '/' ||
            ::stat(Link.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode) ||
            (Info.st_dev == ImageInfo.st_dev && Info.st_ino == ImageInfo.st_ino)) {
            continue;
        }
        const std::string File(Target, static_cast<std::size_t>(Length));
        if (File.rfind(Folder, 0) != 0 &&
            std::find(Files.begin(), Files.end(), File) == Files.end()) {
            Files.push_back(File);
        }
    }
    if (Dir != nullptr) {
        ::closedir(Dir);
    }
    return Files;
}

// Why QEMU could not open the image, from what the daemon wrote.
[[noreturn]] void RefuseView(const std::string& Image, const std::string& Errors) {
    if (Errors.find("Failed to get") != std::string::npos &&
        Errors.find("lock") != std::string::npos) {
        throw EDiskImage("The disk image \"" + Image +
                         "\" is in use by a running virtual machine (QEMU holds its lock); shut "
                         "the machine down first.");
    }
    std::string First = Errors.substr(0, Errors.find('\n'));
    if (First.rfind(std::string(kDaemon) + ": ", 0) == 0) {
        First.erase(0, std::strlen(kDaemon) + 2);
    }
    throw EDiskImage("QEMU cannot open the disk image \"" + Image +
                     "\": " + (First.empty() ? std::string("its storage daemon ended") : First));
}

} // namespace

std::string QemuDriverOfFormat(const std::string& Format) {
    static const std::pair<const char*, const char*> kDrivers[] = {
        {"QCOW2", "qcow2"},
        {"QCOW", "qcow"},
        {"QED", "qed"},
        {"VDI", "vdi"},
        {"VMDK", "vmdk"},
        {"VHDX", "vhdx"},
        {"dynamic VHD", "vpc"},
        {"differencing VHD", "vpc"},
        {"Parallels", "parallels"},
    };
    for (const auto& [Name, Driver] : kDrivers) {
        if (Format == Name) {
            return Driver;
        }
    }
    return {};
}

std::string MissingForQemuView() {
    std::string Missing;
    const auto Add = [&Missing](const std::string& What) {
        Missing += (Missing.empty() ? "" : ", ") + What;
    };
    if (!InPath(kDaemon)) {
        Add("qemu-storage-daemon (package qemu-system-common)");
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        const bool Absent = errno == ENOENT;
        Add(std::string("/dev/fuse (") +
            (Absent ? "missing: load the fuse module" : "not usable by this user") + ")");
    }
    if (::geteuid() != 0 && !InPath("fusermount3")) {
        Add("fusermount3 (package fuse3)");
    }
    return Missing;
}

void RemoveStaleQemuViews() {
    std::string Base;
    try {
        Base = ViewsFolder();
    } catch (const EDiskImage&) {
        return;
    }
    DIR* Dir = ::opendir(Base.c_str());
    if (Dir == nullptr) {
        return;
    }
    std::vector<std::string> Stale;
    while (const dirent* Entry = ::readdir(Dir)) {
        unsigned long Pid = 0;
        unsigned long long Start = 0;
        unsigned Number = 0;
        if (std::sscanf(Entry->d_name, "%lu-%llu-%u", &Pid, &Start, &Number) == 3 &&
            StartTime(static_cast<pid_t>(Pid)) != Start) {
            Stale.push_back(Base + Entry->d_name + "/");
        }
    }
    ::closedir(Dir);
    for (const std::string& Folder : Stale) {
        RemoveStaleView(Folder);
    }
}

TQemuView::TQemuView(const std::string& Image, const std::string& Driver, bool Writable) {
    RemoveStaleQemuViews();
    static unsigned Count = 0;
    const pid_t Self = ::getpid();
    FFolder = ViewsFolder() + std::to_string(Self) + "-" + std::to_string(StartTime(Self)) + "-" +
              std::to_string(++Count) + "/";
    if (::mkdir(FFolder.c_str(), 0700) != 0) {
        throw CreateFailure(FFolder, errno);
    }
    FPath = FFolder + kViewName;
    try {
        const int Mountpoint = ::open(FPath.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (Mountpoint < 0) {
            throw CreateFailure(FPath, errno);
        }
        ::close(Mountpoint);
        const std::string BlockDev = R"({"driver":)" + JsonString(Driver) +
                                     R"(,"node-name":"disk","file":{"driver":"file","filename":)" +
                                     JsonString(ExpandFileName(Image)) + "}}";
        const std::string Export =
            R"({"type":"fuse","id":"view","node-name":"disk","mountpoint":)" + JsonString(FPath) +
            R"(,"writable":)" + (Writable ? "true" : "false") + "}";
        std::vector<std::string> Argv{kDaemon, "--blockdev", BlockDev, "--export", Export};
        std::vector<char*> Args;
        for (std::string& Arg : Argv) {
            Args.push_back(Arg.data());
        }
        Args.push_back(nullptr);

        // A session of its own: the daemon outlives a killed run (see above) and no signal to
        // this program's group reaches it.
        posix_spawn_file_actions_t Files;
        posix_spawnattr_t Attributes;
        posix_spawn_file_actions_init(&Files);
        posix_spawn_file_actions_addopen(&Files, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&Files, 1, "/dev/null", O_WRONLY, 0);
        const std::string ErrorFile = FFolder + kErrorName;
        posix_spawn_file_actions_addopen(&Files, 2, ErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        // Nothing else of this process: the daemon may outlive it, and must not keep its files
        // or pipes open; what it holds is the image's files (FilesHeldBy).
        posix_spawn_file_actions_addclosefrom_np(&Files, 3);
        posix_spawnattr_init(&Attributes);
        posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSID);
        const int Error =
            ::posix_spawnp(&FDaemon, kDaemon, &Files, &Attributes, Args.data(), environ);
        posix_spawn_file_actions_destroy(&Files);
        posix_spawnattr_destroy(&Attributes);
        if (Error != 0) {
            FDaemon = -1;
            throw EDiskImage("Cannot start " + std::string(kDaemon) + " for the disk image \"" +
                             Image + "\": " + std::strerror(Error));
        }

        // The view is there once the file lies on the daemon's file system.
        struct stat FolderInfo {};
        ::stat(FFolder.c_str(), &FolderInfo);
        const auto End = std::chrono::steady_clock::now() + kStartLimit;
        for (;;) {
            struct stat ViewInfo {};
            if (::stat(FPath.c_str(), &ViewInfo) == 0 && ViewInfo.st_dev != FolderInfo.st_dev) {
                break;
            }
            if (WaitForChild(FDaemon, 0ms)) {
                FDaemon = -1;
                RefuseView(Image, ReadSmallFile(ErrorFile));
            }
            if (std::chrono::steady_clock::now() >= End) {
                throw EDiskImage("QEMU's storage daemon did not show the disk image \"" + Image +
                                 "\" in time.");
            }
            std::this_thread::sleep_for(1ms);
        }
        FImageFiles = FilesHeldBy(FDaemon, Image, FFolder);
    } catch (...) {
        Stop();
        throw;
    }
}

TQemuView::~TQemuView() {
    Stop();
}

void TQemuView::Stop() {
    if (FDaemon > 0) {
        ::kill(FDaemon, SIGTERM);
        if (!WaitForChild(FDaemon, kStopLimit)) {
            ::kill(FDaemon, SIGKILL);
            WaitForChild(FDaemon, kStopLimit);
        }
        FDaemon = -1;
    }
    if (!FPath.empty()) {
        Unmount(FPath);
    }
    if (!FFolder.empty()) {
        RemoveViewFolder(FFolder);
    }
}
