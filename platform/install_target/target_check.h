#pragma once

#include "platform/install_target/target_spec.h"

#include <string>
#include <vector>

// A target tried out without changing anything, for a user who sets one up.
struct TTargetCheck {
    bool Reachable = false; // the place exists and can be read
    bool Writable = false;  // the logos can be written there (a disk image: opened for writing)
    bool InUse = false;     // a disk image that a running virtual machine uses
    std::string Place;      // where the logos go: the folder, or the image's volume and folder
    std::vector<std::string> LogosFound; // those of the names asked about that are there
    std::string Problem; // what stands in the way; empty when the logos can be installed

    bool Ok() const { return Reachable && Writable && !InUse && Problem.empty(); }
};

// Tries Spec: whether its place can be reached and written, and which of LogoNames are there.
TTargetCheck CheckTarget(const TTargetSpec& Spec, const std::vector<std::string>& LogoNames);
