#pragma once

#include <optional>

// The environment variable Name as a whole decimal number: digits with an optional "-" before
// them and nothing else. None when it is unset, anything else or beyond the range of long long.
std::optional<long long> EnvironmentNumber(const char* Name);
