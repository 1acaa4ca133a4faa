#pragma once

#include "core/multicast_event.h"
#include "core/object.h"
#include "platform/install_target/target_check.h"
#include "platform/install_target/target_spec.h"

#include <cstddef>
#include <string>
#include <vector>

// Where the logos go, as the settings name it: install targets, each written as
// platform/install_target/target_spec.h describes (a folder, or a disk image with an optional
// partition and folder), in the order they are installed to. An empty list means automatic: the
// Windows folder found on this machine. $VESPERA_WINDIR overrides the list (install_places.h).
class TInstallTargetList : public TObject {
public:
    const std::vector<std::string>& Targets() const { return FTargets; }
    bool Automatic() const { return FTargets.empty(); }

    // Each returns whether the list changed, and then calls OnChange. Texts are kept as given,
    // without the blanks around them; empty ones are left out.
    bool SetTargets(const std::vector<std::string>& Targets);
    // Appends Spec as FormatTargetSpec writes it, unless the list holds that text already.
    bool Add(const TTargetSpec& Spec);
    // Removes the target at Index; false when there is none.
    bool Remove(std::size_t Index);

    TMulticastEvent<TObject*> OnChange;

private:
    std::vector<std::string> FTargets;
};

// A target of the list for a user: what it means ("/vm/w98.img (partition 1, folder WINDOWS)"),
// or why it is not a valid target.
std::string DescribeInstallTarget(const std::string& Text);

// A target of the list tried out without changing anything: whether the logos can be installed
// there, and which of them are there now. A text that is not a valid target is a Problem.
TTargetCheck CheckInstallTarget(const std::string& Text);
