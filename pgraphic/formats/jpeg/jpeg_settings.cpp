#include "pgraphic/formats/jpeg/jpeg_settings.h"

#include "pgraphic/formats/settings_store.h"

#include <algorithm>

namespace {

TPGSettingsStore<TJPEGSettings>& Store() {
    static TPGSettingsStore<TJPEGSettings> Settings;
    return Settings;
}

} // namespace

TJPEGSettings JPEGSettings() {
    return Store().Snapshot();
}
void SetJPEGSettings(const TJPEGSettings& Value) {
    TJPEGSettings Clamped = Value;
    Clamped.Quality = std::clamp(Value.Quality, 0, 100);
    Store().Set(Clamped);
}
void SetJPEGReadDCTMethod(TJPEGDCTMethod Value) {
    Store().SetField(&TJPEGSettings::ReadDCTMethod, Value);
}
void SetJPEGWriteDCTMethod(TJPEGDCTMethod Value) {
    Store().SetField(&TJPEGSettings::WriteDCTMethod, Value);
}
void SetJPEGQuality(int Value) {
    Store().SetField(&TJPEGSettings::Quality, std::clamp(Value, 0, 100));
}
void SetJPEGProgressive(bool Value) {
    Store().SetField(&TJPEGSettings::Progressive, Value);
}
void SetJPEGMaxMemory(std::size_t Value) {
    Store().SetField(&TJPEGSettings::MaxMemory, Value);
}
