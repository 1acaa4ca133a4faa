#include "app/program/program_services.h"

#include "app/program/desktop_services.h"
#include "platform/clock.h"
#include "platform/environment_number.h"
#include "platform/qt/qt_color.h"
#include "platform/shell_open.h"
#include "platform/system_colors.h"

#include <chrono>
#include <optional>
#include <utility>

namespace {

// $VESPERA_CLOCK, milliseconds since 1970 in universal time, fixes the clock that seeds the
// record choice, so that a run can be repeated exactly. Nothing else reads the clock.
void FixClockFromEnvironment() {
    const std::optional<long long> Milliseconds = EnvironmentNumber("VESPERA_CLOCK");
    if (!Milliseconds || *Milliseconds < 0) {
        return;
    }
    const TClockTime Fixed{std::chrono::milliseconds(*Milliseconds)};
    SetClockSource([Fixed] { return Fixed; });
}

} // namespace

TProgramServices::TProgramServices(TMessageBoxHook Messages)
    : FOpener(std::make_unique<TDesktopOpener>()) {
    FixClockFromEnvironment();
    SetMessageBoxHook(std::move(Messages));
    SetShellOpenHook(
        [Opener = FOpener.get()](const std::string& Target, const TShellOpenFailed& Failed) {
            return Opener->Open(Target, Failed);
        });
    SetSysColorSource(
        [](int Index) { return ColorToRGB(SystemColor(static_cast<TSystemColorIndex>(Index))); });
}

TProgramServices::~TProgramServices() {
    SetSysColorSource(nullptr);
    SetShellOpenHook(nullptr);
    SetMessageBoxHook(nullptr);
}
