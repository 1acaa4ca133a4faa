#pragma once

#include "tests/support/random_bytes.h"

#include <string>
#include <vector>

// What install_driver writes for a seed: both logos, of sizes that differ from seed to seed so
// that their cluster chains do too.
struct DriverLogo {
    std::string Name;
    std::string Data;
};

inline std::vector<DriverLogo> DriverLogos(unsigned Seed) {
    constexpr std::size_t kLogoSize = 14 + 40 + 1024 + 320 * 400;
    return {{"logow.sys", RandomBytes(kLogoSize - (Seed % 5) * 3000, 2 * Seed)},
            {"logos.sys", RandomBytes(kLogoSize - (Seed % 3) * 5000, 2 * Seed + 1)}};
}
