#pragma once

#include "app/install/install_target_list.h"
#include "app/install/program_places.h"
#include "core/multicast_event.h"
#include "core/object.h"

#include <optional>
#include <string>
#include <vector>

// What trying a target out found, for the user: whether the logos can be written there, and a
// sentence or two saying where, what is there and what stands in the way.
struct TTargetTestResult {
    bool Ok = false;
    std::string Text;
};

TTargetTestResult DescribeTargetCheck(const TTargetCheck& Check);

// The install targets while the user changes them: a copy of the list of the settings, the one
// selected in it, adding, removing and trying targets out. The settings change only by Apply;
// dropping the editor drops the changes.
class TInstallTargetEditor : public TObject {
public:
    TInstallTargetEditor(const TProgramPlaces& Places, const TInstallTargetList& Saved);

    const std::vector<std::string>& Targets() const { return FTargets.Targets(); }
    // What the list shows of each target: its description, or why it is not a valid one.
    std::vector<std::string> Rows() const;

    // The selected target's index, -1 for none.
    int Selected() const { return FSelected; }
    // Selects Row (-1 or one beyond the list: none).
    void SetSelected(int Row);

    // Adds the folder, or the target Spec, at the end of the list unless the list holds it, and
    // selects it. Returns whether the list changed.
    bool AddFolder(const std::string& Folder);
    bool Add(const TTargetSpec& Spec);
    // Removes the selected target and selects the one that took its place.
    bool RemoveSelected();

    // Tries the selected target out (CheckInstallTarget); its result is kept until the list or
    // the selection changes.
    void TestSelected();
    const std::optional<TTargetTestResult>& TestResult() const { return FTestResult; }

    // Where the logos go with the list as it stands.
    std::string Note() const;
    // When $VESPERA_WINDIR is set: that it names the target of every run while it is, and that
    // it cannot be changed here. Empty otherwise.
    std::string OverrideNote() const;

    // The list into the settings.
    void Apply(TInstallTargetList& Saved) const;

    // The list, the selection or the test result changed.
    TMulticastEvent<TObject*> OnChange;

private:
    void Changed();

    TProgramPlaces FPlaces;
    TInstallTargetList FTargets;
    int FSelected = -1;
    std::optional<TTargetTestResult> FTestResult;
};
