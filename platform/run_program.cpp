#include "platform/run_program.h"

#include "platform/file_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// What one run may print in all; a child that prints more is stopped, so that no program can
// exhaust the memory of this one.
constexpr std::size_t kMaxOutput = 64U * 1024U * 1024U;

// Descriptors at or above this number are free for the copies made before a start.
constexpr int kFirstSpareDescriptor = 64;

struct TPipe {
    TFileDescriptor Read;
    TFileDescriptor Write;
    // 0, or the system's error number when no pipe can be made.
    int Open() {
        int Ends[2];
        if (::pipe2(Ends, O_CLOEXEC) != 0) {
            return errno;
        }
        Read = TFileDescriptor(Ends[0]);
        Write = TFileDescriptor(Ends[1]);
        return 0;
    }
};

std::vector<char*> PointersTo(const std::vector<std::string>& Texts) {
    std::vector<char*> Result;
    Result.reserve(Texts.size() + 1);
    for (const std::string& Text : Texts) {
        Result.push_back(const_cast<char*>(Text.c_str()));
    }
    Result.push_back(nullptr);
    return Result;
}

// Reads both output pipes until the child closes them, the time limit passes or the output grows
// too long. False when the child has to be stopped.
bool CollectOutput(TPipe& Out, TPipe& Err, TProgramRun& Run, int TimeLimit) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(TimeLimit);
    pollfd Watched[2] = {{Out.Read.Get(), POLLIN, 0}, {Err.Read.Get(), POLLIN, 0}};
    std::string* Targets[2] = {&Run.Out, &Run.Err};
    int Open = 2;
    while (Open > 0) {
        int Wait = -1;
        if (TimeLimit > 0) {
            const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                Deadline - std::chrono::steady_clock::now());
            if (Left.count() <= 0) {
                Run.TimedOut = true;
                return false;
            }
            Wait = static_cast<int>(Left.count());
        }
        const int Ready = ::poll(Watched, 2, Wait);
        if (Ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        for (int I = 0; I < 2; ++I) {
            if (Watched[I].fd < 0 || Watched[I].revents == 0) {
                continue;
            }
            char Buffer[16384];
            const ssize_t Count = ::read(Watched[I].fd, Buffer, sizeof Buffer);
            if (Count > 0) {
                Targets[I]->append(Buffer, static_cast<std::size_t>(Count));
                if (Run.Out.size() + Run.Err.size() > kMaxOutput) {
                    return false;
                }
            } else if (Count == 0 || errno != EINTR) {
                Watched[I].fd = -1;
                --Open;
            }
        }
    }
    return true;
}

} // namespace

TProgramRun RunProgram(const TProgramCall& Call) {
    TProgramRun Run;
    if (Call.Argv.empty()) {
        Run.StartError = EINVAL;
        return Run;
    }
    TPipe Out, Err;
    Run.StartError = Out.Open();
    if (Run.StartError == 0) {
        Run.StartError = Err.Open();
    }
    if (Run.StartError != 0) {
        return Run;
    }
    // The handed descriptors are first copied out of the way, so that placing one cannot
    // overwrite another that is still to be placed.
    std::vector<TFileDescriptor> Copies;
    for (const auto& [Ours, Theirs] : Call.Descriptors) {
        const int Copy = ::fcntl(Ours, F_DUPFD_CLOEXEC, kFirstSpareDescriptor);
        if (Copy < 0 || Theirs < 3 || Theirs >= kFirstSpareDescriptor) {
            Run.StartError = Copy < 0 ? errno : EINVAL;
            if (Copy >= 0) {
                ::close(Copy);
            }
            return Run;
        }
        Copies.emplace_back(Copy);
    }

    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, Out.Write.Get(), 1);
    posix_spawn_file_actions_adddup2(&Actions, Err.Write.Get(), 2);
    int FirstUnused = 3;
    for (std::size_t I = 0; I < Copies.size(); ++I) {
        posix_spawn_file_actions_adddup2(&Actions, Copies[I].Get(), Call.Descriptors[I].second);
        FirstUnused = std::max(FirstUnused, Call.Descriptors[I].second + 1);
    }
    // Nothing else of this process reaches the child, such as another file's locks.
    posix_spawn_file_actions_addclosefrom_np(&Actions, FirstUnused);
    posix_spawnattr_t Attributes;
    posix_spawnattr_init(&Attributes);
    short Flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (Call.OwnProcessGroup) {
        Flags = static_cast<short>(Flags | POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&Attributes, 0);
    }
    posix_spawnattr_setflags(&Attributes, Flags);
    sigset_t NoSignals, Defaults;
    sigemptyset(&NoSignals);
    posix_spawnattr_setsigmask(&Attributes, &NoSignals);
    sigemptyset(&Defaults);
    sigaddset(&Defaults, SIGPIPE);
    sigaddset(&Defaults, SIGINT);
    sigaddset(&Defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&Attributes, &Defaults);

    const std::vector<char*> Args = PointersTo(Call.Argv);
    const std::vector<char*> Environment = PointersTo(Call.Environment);
    pid_t Child = 0;
    const int Spawned =
        ::posix_spawnp(&Child, Args[0], &Actions, &Attributes, Args.data(), Environment.data());
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
    Copies.clear();
    Out.Write.Close();
    Err.Write.Close();
    if (Spawned != 0) {
        Run.StartError = Spawned;
        return Run;
    }
    Run.Started = true;

    if (!CollectOutput(Out, Err, Run, Call.TimeLimit)) {
        ::kill(Call.OwnProcessGroup ? -Child : Child, SIGKILL);
    }
    int Status = 0;
    while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    Run.ExitStatus = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    return Run;
}

std::vector<std::string> EnvironmentWithout(const std::vector<std::string>& Remove,
                                            const std::vector<std::string>& RemovePrefixes) {
    std::vector<std::string> Result;
    for (char** Entry = environ; Entry != nullptr && *Entry != nullptr; ++Entry) {
        const std::string Text = *Entry;
        const std::string Name = Text.substr(0, Text.find('='));
        bool Keep = true;
        for (const std::string& Unwanted : Remove) {
            Keep = Keep && Name != Unwanted;
        }
        for (const std::string& Prefix : RemovePrefixes) {
            Keep = Keep && Name.compare(0, Prefix.size(), Prefix) != 0;
        }
        if (Keep) {
            Result.push_back(Text);
        }
    }
    return Result;
}
