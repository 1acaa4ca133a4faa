#include "app/install/install_targets_section.h"

#include "app/install/install_target_list.h"
#include "platform/ascii_text.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kTargetKey = "Target";

// The number of a key "Target<N>", N from 1 and of at most 9 digits.
std::optional<int> TargetNumber(std::string_view Key) {
    if (Key.size() <= kTargetKey.size() || Key.size() > kTargetKey.size() + 9 ||
        !SameText(Key.substr(0, kTargetKey.size()), kTargetKey)) {
        return std::nullopt;
    }
    int Number = 0;
    for (const char C : Key.substr(kTargetKey.size())) {
        if (C < '0' || C > '9') {
            return std::nullopt;
        }
        Number = Number * 10 + (C - '0');
    }
    return Number > 0 ? std::optional<int>(Number) : std::nullopt;
}

} // namespace

void LoadInstallTargets(TInstallTargetList& Targets, const TIniFile& File) {
    std::vector<std::pair<int, std::string>> Numbered;
    for (const auto& [Key, Value] : File.ReadSection(kInstallTargetsSection)) {
        if (const auto Number = TargetNumber(Key)) {
            Numbered.emplace_back(*Number, Value);
        }
    }
    std::stable_sort(Numbered.begin(), Numbered.end(),
                     [](const auto& A, const auto& B) { return A.first < B.first; });
    std::vector<std::string> Texts;
    for (auto& Entry : Numbered) {
        Texts.push_back(std::move(Entry.second));
    }
    Targets.SetTargets(Texts);
}

void SaveInstallTargets(const TInstallTargetList& Targets, TIniFile& File) {
    std::vector<TProfileEntry> Entries;
    for (const std::string& Target : Targets.Targets()) {
        Entries.emplace_back(std::string(kTargetKey) + std::to_string(Entries.size() + 1), Target);
    }
    File.WriteSection(kInstallTargetsSection, Entries);
}
