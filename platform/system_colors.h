#pragma once

#include "core/color.h"

#include <functional>

// The values of the system colours (negative TColor values, the index in the low byte) for what
// the program draws itself, such as the logos. Without a window framework they are the colours
// of the classic Windows scheme, the same everywhere; a program with one installs the values its
// controls show (SetSysColorSource), so that a logo and the colour button that chose its colour
// agree.

// The colour system colour Index shows now; black for an index the system does not know.
TColor GetSysColor(int Index);

// Where GetSysColor takes its values; none brings back the classic scheme. Returns the source it
// replaces.
using TSysColorSource = std::function<TColor(int Index)>;
TSysColorSource SetSysColorSource(TSysColorSource Source);

// Color with a system colour resolved through GetSysColor; other values as they are.
TColor ResolveSysColor(TColor Color);
