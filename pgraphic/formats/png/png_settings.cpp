#include "pgraphic/formats/png/png_settings.h"

#include "pgraphic/formats/settings_store.h"

namespace {

TPGSettingsStore<TPNGSettings>& Store() {
    static TPGSettingsStore<TPNGSettings> Settings;
    return Settings;
}

} // namespace

TPNGSettings PNGSettings() {
    return Store().Snapshot();
}
void SetPNGUseFileBackground(bool Value) {
    Store().SetField(&TPNGSettings::UseFileBackground, Value);
}
void SetPNGWriteGamma(bool Value) {
    Store().SetField(&TPNGSettings::WriteGamma, Value);
}
void SetPNGMaxReadingBytes(std::size_t Value) {
    Store().SetField(&TPNGSettings::MaxReadingBytes, Value);
}
