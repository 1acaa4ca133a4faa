#pragma once

#include <string>
#include <vector>

// Runs programs for tests that check a command line or a peer tool: the exit status and what the
// program wrote to standard output and standard error.

struct TProcessResult {
    int ExitCode = -1; // -1: the program could not be started or did not exit normally
    std::string Out;
    std::string Err;
};

// Runs Argv[0] (searched in PATH unless it contains a slash) with the arguments after it,
// standard input empty.
TProcessResult RunProcess(const std::vector<std::string>& Argv);

// The full path of a program found in PATH, or "" when there is none.
std::string FindProgram(const std::string& Name);

// A Python interpreter with PIL (python3-pil): Debian's first, then whatever PATH offers; "" when
// there is none.
std::string PythonWithPil();
