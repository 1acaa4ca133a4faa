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

// "86Box (process 4242)", or several joined by " and ".
std::string DescribeFileHolders(const std::vector<TFileHolder>& Holders);
