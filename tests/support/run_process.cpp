#include "run_process.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// An unnamed temporary file that collects one output stream of the child.
class TCapture {
public:
    TCapture() : FFile(std::tmpfile()) {}
    TCapture(const TCapture&) = delete;
    TCapture& operator=(const TCapture&) = delete;
    ~TCapture() {
        if (FFile != nullptr) {
            std::fclose(FFile);
        }
    }
    int Descriptor() const { return FFile != nullptr ? ::fileno(FFile) : -1; }
    std::string Text() const {
        std::string Result;
        if (FFile == nullptr) {
            return Result;
        }
        std::rewind(FFile);
        char Buffer[4096];
        std::size_t N = 0;
        while ((N = std::fread(Buffer, 1, sizeof Buffer, FFile)) > 0) {
            Result.append(Buffer, N);
        }
        return Result;
    }

private:
    std::FILE* FFile;
};

} // namespace

TProcessResult RunProcess(const std::vector<std::string>& Argv) {
    TProcessResult Result;
    if (Argv.empty()) {
        return Result;
    }
    TCapture Out, Err;
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&Actions, Out.Descriptor(), 1);
    posix_spawn_file_actions_adddup2(&Actions, Err.Descriptor(), 2);

    std::vector<char*> Args;
    for (const std::string& Arg : Argv) {
        Args.push_back(const_cast<char*>(Arg.c_str()));
    }
    Args.push_back(nullptr);
    pid_t Child = 0;
    const int Spawned = posix_spawnp(&Child, Args[0], &Actions, nullptr, Args.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    if (Spawned != 0) {
        return Result;
    }
    int Status = 0;
    while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
    }
    Result.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    Result.Out = Out.Text();
    Result.Err = Err.Text();
    return Result;
}

std::string FindProgram(const std::string& Name) {
    const char* Path = std::getenv("PATH");
    std::istringstream Folders(Path != nullptr ? Path : "/usr/bin:/bin");
    std::string Folder;
    while (std::getline(Folders, Folder, ':')) {
        const std::string Candidate = (Folder.empty() ? "." : Folder) + "/" + Name;
        struct stat Info {};
        if (::stat(Candidate.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
            ::access(Candidate.c_str(), X_OK) == 0) {
            return Candidate;
        }
    }
    return {};
}

std::string PythonWithPil() {
    for (const char* Candidate : {"/usr/bin/python3", "python3"}) {
        if (RunProcess({Candidate, "-c", "import PIL.Image"}).ExitCode == 0) {
            return Candidate;
        }
    }
    return {};
}
