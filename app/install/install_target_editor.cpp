#include "app/install/install_target_editor.h"

#include "app/install/install_places_summary.h"
#include "core/set_if_changed.h"

#include <algorithm>

namespace {

std::string JoinedNames(const std::vector<std::string>& Names) {
    std::string Text;
    for (std::size_t I = 0; I < Names.size(); ++I) {
        if (I > 0) {
            Text += I + 1 == Names.size() ? " and " : ", ";
        }
        Text += Names[I];
    }
    return Text;
}

} // namespace

TTargetTestResult DescribeTargetCheck(const TTargetCheck& Check) {
    TTargetTestResult Result;
    Result.Ok = Check.Ok();
    if (Result.Ok) {
        Result.Text = "OK: the logos can be written to " + Check.Place + ".";
    } else {
        Result.Text = "The logos cannot be written here. " + Check.Problem;
    }
    if (Check.Reachable) {
        Result.Text += Check.LogosFound.empty()
                           ? " It holds no logo files yet."
                           : " It holds " + JoinedNames(Check.LogosFound) + " now.";
    }
    return Result;
}

TInstallTargetEditor::TInstallTargetEditor(const TProgramPlaces& Places,
                                           const TInstallTargetList& Saved)
    : FPlaces(Places) {
    FTargets.SetTargets(Saved.Targets());
}

std::vector<std::string> TInstallTargetEditor::Rows() const {
    std::vector<std::string> Rows;
    for (const std::string& Text : Targets()) {
        Rows.push_back(DescribeInstallTarget(Text));
    }
    return Rows;
}

void TInstallTargetEditor::SetSelected(int Row) {
    if (Row < -1 || Row >= static_cast<int>(Targets().size())) {
        Row = -1;
    }
    if (SetIfChanged(FSelected, Row)) {
        FTestResult.reset();
        Changed();
    }
}

bool TInstallTargetEditor::AddFolder(const std::string& Folder) {
    return Add({TTargetKind::tkFolder, Folder});
}

bool TInstallTargetEditor::Add(const TTargetSpec& Spec) {
    const bool Added = FTargets.Add(Spec);
    const auto Found = std::find(Targets().begin(), Targets().end(), FormatTargetSpec(Spec));
    const int Row = Found == Targets().end() ? -1 : static_cast<int>(Found - Targets().begin());
    if (Added) {
        FSelected = Row;
        FTestResult.reset();
        Changed();
    } else {
        SetSelected(Row);
    }
    return Added;
}

bool TInstallTargetEditor::RemoveSelected() {
    if (FSelected < 0 || !FTargets.Remove(static_cast<std::size_t>(FSelected))) {
        return false;
    }
    FSelected = std::min(FSelected, static_cast<int>(Targets().size()) - 1);
    FTestResult.reset();
    Changed();
    return true;
}

void TInstallTargetEditor::TestSelected() {
    if (FSelected < 0) {
        return;
    }
    FTestResult =
        DescribeTargetCheck(CheckInstallTarget(Targets()[static_cast<std::size_t>(FSelected)]));
    Changed();
}

std::string TInstallTargetEditor::Note() const {
    if (!Targets().empty()) {
        return Targets().size() == 1 ? "The logos go to the target below."
                                     : "The logos go to every target below, in order.";
    }
    std::string Text = "No targets: the logos go to the Windows folder found on this machine";
    if (!FPlaces.WindowsDir.empty()) {
        Text += ", " + AutomaticFolderText(FPlaces.WindowsDir);
    }
    return Text + ".";
}

std::string TInstallTargetEditor::OverrideNote() const {
    if (FPlaces.ForcedTarget.empty()) {
        return {};
    }
    return "VESPERA_WINDIR is set to \"" + FPlaces.ForcedTarget +
           "\": while it is set, the logos go there and nowhere else. It cannot be changed "
           "here; the targets below are used when Vespera starts without it.";
}

void TInstallTargetEditor::Apply(TInstallTargetList& Saved) const {
    Saved.SetTargets(Targets());
}

void TInstallTargetEditor::Changed() {
    OnChange(this);
}
