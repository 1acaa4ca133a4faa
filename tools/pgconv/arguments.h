#pragma once

#include "core/color.h"
#include "pgraphic/image/pg_types.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The command line of pgconv, parsed and checked before anything is read or written.

enum class TPGConvCommand { Help, Info, Convert, Logo, Formats };

struct TPGConvSize {
    int Width = 0;
    int Height = 0;
};

struct TPGConvOptions {
    TPGConvCommand Command = TPGConvCommand::Help;
    std::vector<std::string> Files; // the command's file arguments, in order
    std::optional<TPGConvSize> Size;
    std::optional<TStretchMode> Stretch;
    std::optional<int> Colors;
    bool SystemColors = false;
    bool NoDither = false;
    // logo: the start-up logo and its band
    bool Startup = false;
    bool NoBand = false;
    std::optional<int> BandHeight;
    bool BandTop = false;
    std::optional<std::pair<TColor, TColor>> BandColors;
    bool Rainbow = false;
    std::optional<int> FirstAnimated;
};

// A command line pgconv cannot run; the message says why.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name; raises EUsageError.
TPGConvOptions ParseArguments(const std::vector<std::string>& Args);
