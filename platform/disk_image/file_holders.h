#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The processes that hold a file open, as far as this user can see them: an emulator or a
// virtual machine that keeps its disk image open without locking it.

struct TFileHolder {
    pid_t Pid = 0;
    std::string Program; // the name of its executable
};

// The processes among those of /proc whose open files can be read (the user's own) that hold any
// of Files open, each once, in the order of their process ids; this process and those of Ignored
// (its own helpers) are left out. Files that do not exist hold nothing.
std::vector<TFileHolder> FindFileHolders(const std::vector<std::string>& Files,
                                         const std::vector<pid_t>& Ignored = {});

// Whether the regular file open as Handle is open nowhere else, in this process or
// any other, whoever it belongs to: the system lets a write lease be taken only then. False
// also when it cannot tell (leases off, a file system without them, a file of another user);
// FindFileHolders then says more. Asks the system once, instead of reading every process.
bool OpenOnlyHere(int Handle);

// The contents of the file Name in the folder of the process Pid in /proc ("stat", "cmdline");
// empty when the process has ended or the file cannot be read. Unlike a stream, it raises
// nothing when the process ends while the file is read.
std::string ReadProcessFile(pid_t Pid, const std::string& Name);

// The processes of this user that run Program (the name of its executable) with an argument that
// contains Text, in the order of their process ids.
std::vector<pid_t> FindProgramRuns(const std::string& Program, const std::string& Text);

// "86Box (process 4242)", or several joined by " and ".
std::string DescribeFileHolders(const std::vector<TFileHolder>& Holders);
