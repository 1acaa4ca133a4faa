#pragma once

#include "tools/pgconv/arguments.h"

// The commands of pgconv. Each returns the exit status; library failures propagate as
// exceptions, which the caller reports.

int RunInfo(const TPGConvOptions& Options);
int RunConvert(const TPGConvOptions& Options);
int RunLogo(const TPGConvOptions& Options);
int RunFormats();
