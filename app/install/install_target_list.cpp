#include "app/install/install_target_list.h"

#include "app/install/logo_file_install.h"
#include "platform/ascii_text.h"

#include <algorithm>

bool TInstallTargetList::SetTargets(const std::vector<std::string>& Targets) {
    std::vector<std::string> Kept;
    for (const std::string& Target : Targets) {
        if (std::string Text(TrimBlanks(Target)); !Text.empty()) {
            Kept.push_back(std::move(Text));
        }
    }
    if (Kept == FTargets) {
        return false;
    }
    FTargets = std::move(Kept);
    OnChange(this);
    return true;
}

bool TInstallTargetList::Add(const TTargetSpec& Spec) {
    const std::string Text = FormatTargetSpec(Spec);
    if (std::find(FTargets.begin(), FTargets.end(), Text) != FTargets.end()) {
        return false;
    }
    std::vector<std::string> Targets = FTargets;
    Targets.push_back(Text);
    return SetTargets(Targets);
}

bool TInstallTargetList::Remove(std::size_t Index) {
    if (Index >= FTargets.size()) {
        return false;
    }
    std::vector<std::string> Targets = FTargets;
    Targets.erase(Targets.begin() + static_cast<std::ptrdiff_t>(Index));
    return SetTargets(Targets);
}

std::string DescribeInstallTarget(const std::string& Text) {
    std::string Error;
    const auto Spec = ParseTargetSpec(Text, Error);
    return Spec ? DescribeTargetSpec(*Spec) : Error;
}

TTargetCheck CheckInstallTarget(const std::string& Text) {
    std::string Error;
    const auto Spec = ParseTargetSpec(Text, Error);
    if (!Spec) {
        TTargetCheck Check;
        Check.Place = Text;
        Check.Problem = Error;
        return Check;
    }
    return CheckTarget(*Spec, {kFirstLogoFile, kLastLogoFile});
}
