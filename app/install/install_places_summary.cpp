#include "app/install/install_places_summary.h"

#include "platform/paths.h"

namespace {

constexpr const char* kOverrideName = "VESPERA_WINDIR";

std::string PlaceText(const TInstallPlace& Place) {
    if (!Place.Spec) {
        return Place.Text + " (not valid)";
    }
    if (Place.Source == TPlaceSource::psAutomatic) {
        return AutomaticFolderText(Place.Spec->Path);
    }
    return Place.Description();
}

} // namespace

std::string AutomaticFolderText(const std::string& WindowsDir) {
    return WindowsDir.size() > 1 ? ExcludeTrailingPathDelimiter(WindowsDir) : WindowsDir;
}

std::string InstallPlacesSummary(const std::vector<TInstallPlace>& Places) {
    std::string Line;
    for (const TInstallPlace& Place : Places) {
        if (!Line.empty()) {
            Line += "; ";
        }
        if (Place.Source == TPlaceSource::psAutomatic) {
            Line += "automatic: ";
        } else if (Place.Source == TPlaceSource::psOverride) {
            Line += std::string(kOverrideName) + " (cannot be changed here): ";
        }
        Line += PlaceText(Place);
    }
    return Line;
}

std::string InstallPlacesDetails(const std::vector<TInstallPlace>& Places) {
    if (Places.empty()) {
        return {};
    }
    std::string Text;
    switch (Places.front().Source) {
    case TPlaceSource::psAutomatic:
        Text = "No targets are set: the logos go to the Windows folder found on this machine.";
        break;
    case TPlaceSource::psOverride:
        Text = "The environment variable " + std::string(kOverrideName) +
               " names where the logos go. It was set before Vespera started and cannot be "
               "changed here; the targets set with Change… are used when Vespera starts "
               "without it.";
        break;
    case TPlaceSource::psSettings:
        Text = Places.size() == 1 ? "The logos go to this target:"
                                  : "The logos go to each of these targets, in order:";
        break;
    }
    for (const TInstallPlace& Place : Places) {
        Text.append("\n").append(PlaceText(Place));
        if (!Place.Spec) {
            Text.append(": ").append(Place.Error);
        }
    }
    return Text;
}
