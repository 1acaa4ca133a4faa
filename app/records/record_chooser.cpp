#include "app/records/record_chooser.h"

namespace {

// The record choice's text of each logo.
constexpr TPerLogo<std::string TRecordTexts::*> kRecordText{
    {&TRecordTexts::FirstText, &TRecordTexts::LastText}};

} // namespace

const std::string& TRecordChooser::Text(TLogo Logo) const {
    return FTexts.*kRecordText[Logo];
}

bool TRecordChooser::Choose(const std::string& FileName, const TPerLogo<std::string>& Defaults) {
    FDefaults = Defaults;
    if (!ChooseRecord(FileName, Defaults[TLogo::First], Defaults[TLogo::Last], FTexts, FRandom)) {
        return false;
    }
    FTextsFromFile = true;
    return true;
}

void TRecordChooser::TakeDefaults(const TPerLogo<std::string>& Defaults) {
    FDefaults = Defaults;
    for (const TLogo Logo : kLogos) {
        FTexts.*kRecordText[Logo] = Defaults[Logo];
    }
}
