#include "pgraphic/formats/tiff/tiff_settings.h"

#include "pgraphic/formats/settings_store.h"

namespace {

TPGSettingsStore<TTIFFSettings>& Store() {
    static TPGSettingsStore<TTIFFSettings> Settings;
    return Settings;
}

} // namespace

TTIFFSettings TIFFSettings() {
    return Store().Snapshot();
}
void SetTIFFSettings(const TTIFFSettings& Value) {
    Store().Set(Value);
}
void SetTIFFMultiImage(bool Value) {
    Store().SetField(&TTIFFSettings::MultiImage, Value);
}
void SetTIFFMaxImages(int Value) {
    Store().SetField(&TTIFFSettings::MaxImages, Value);
}
void SetTIFFCompression(std::uint32_t Value) {
    Store().SetField(&TTIFFSettings::Compression, Value);
}
void SetTIFFWriteCMYK(bool Value) {
    Store().SetField(&TTIFFSettings::WriteCMYK, Value);
}
void SetTIFFWhiteIsZero(bool Value) {
    Store().SetField(&TTIFFSettings::WhiteIsZero, Value);
}
void SetTIFFBigEndian(bool Value) {
    Store().SetField(&TTIFFSettings::BigEndian, Value);
}
void SetTIFFResolutionUnit(TTIFFResolutionUnit Value) {
    Store().SetField(&TTIFFSettings::ResolutionUnit, Value);
}
void SetTIFFXResolution(TTIFFRational Value) {
    Store().SetField(&TTIFFSettings::XResolution, Value);
}
void SetTIFFYResolution(TTIFFRational Value) {
    Store().SetField(&TTIFFSettings::YResolution, Value);
}
