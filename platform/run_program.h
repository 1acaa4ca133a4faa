#pragma once

#include <string>
#include <vector>

// Runs another program from an argument vector (never through a shell) and collects what it
// prints.

struct TProgramCall {
    std::vector<std::string> Argv; // Argv[0] is searched in PATH unless it holds a "/"
    // The child's whole environment as "NAME=value" entries.
    std::vector<std::string> Environment;
    // Descriptors of this process handed to the child: (ours, the child's number). The child's
    // numbers must be 3 or more; standard input is always empty (/dev/null).
    std::vector<std::pair<int, int>> Descriptors;
    // The child runs in a process group of its own, so that a terminal's interrupt or a signal to
    // this program's group does not cut its work short.
    bool OwnProcessGroup = false;
    // Seconds after which a child that has not ended is killed (0: no limit).
    int TimeLimit = 0;
};

struct TProgramRun {
    bool Started = false;  // false: the program could not be started (StartError tells why)
    int StartError = 0;    // errno of a failed start
    int ExitStatus = -1;   // the exit status; -1 when it ended by a signal or was killed
    bool TimedOut = false; // killed after TimeLimit seconds
    std::string Out;
    std::string Err;
};

TProgramRun RunProgram(const TProgramCall& Call);

// The environment of this process, as RunProgram takes it, without the variables that Remove
// names and without those whose name starts with one of RemovePrefixes.
std::vector<std::string> EnvironmentWithout(const std::vector<std::string>& Remove,
                                            const std::vector<std::string>& RemovePrefixes);
