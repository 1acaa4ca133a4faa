#include "app/settings/settings_model.h"

#include <algorithm>
#include <stdexcept>

namespace {

const TGeneralSettingRow& GeneralRow(const TSettingKey& Key) {
    const TGeneralSettingRow* Row = GeneralSettingRow(Key.Setting);
    if (Row == nullptr || Key.Logo) {
        throw std::invalid_argument("not a general setting");
    }
    return *Row;
}

const TLogoSettingRow* LogoRow(const TSettingKey& Key) {
    const TLogoSettingRow* Row = LogoSettingRow(Key.Setting);
    if ((Row != nullptr) != Key.Logo.has_value()) {
        throw std::invalid_argument(Key.Logo ? "not a logo setting"
                                             : "a logo setting without its logo");
    }
    return Row;
}

} // namespace

bool TSettingsModel::SingleLogo() const {
    return std::any_of(kLogos.begin(), kLogos.end(), [this](TLogo L) { return FLogos[L].Only; });
}

TSettingValue TSettingsModel::Value(const TSettingKey& Key) const {
    if (const TLogoSettingRow* Row = LogoRow(Key)) {
        return ValueOf(FLogos[*Key.Logo], *Row);
    }
    return ValueOf(FGeneral, GeneralRow(Key));
}

bool TSettingsModel::Set(const TSettingKey& Key, const TSettingValue& Value) {
    const TLogoSettingRow* Row = LogoRow(Key);
    const bool Changed = Row != nullptr ? StoreValue(FLogos[*Key.Logo], *Row, Value)
                                        : StoreValue(FGeneral, GeneralRow(Key), Value);
    if (Changed) {
        OnChange(this, Key);
    }
    return Changed;
}
