#pragma once

#include "app/logo/logo_index.h"
#include "app/records/random_source.h"
#include "app/records/record_choice.h"

#include <string>

// The record choice of the program: the texts on the logos, the default texts they started
// from, and the random source that draws the records.
class TRecordChooser {
public:
    // The text drawn on a logo: the question on the first, the answer on the last.
    const std::string& Text(TLogo Logo) const;
    const TRecordTexts& Texts() const { return FTexts; }
    // A logo's default text as the last choice took it.
    const std::string& DefaultText(TLogo Logo) const { return FDefaults[Logo]; }
    // Whether a logo shows its default text.
    bool ShowsDefault(TLogo Logo) const { return Text(Logo) == DefaultText(Logo); }
    // Whether a choice has given texts from a record file.
    bool TextsFromFile() const { return FTextsFromFile; }

    // Takes Defaults and, when FileName names an existing file, chooses one of its records
    // (ChooseRecord). Returns whether the texts come from the file.
    bool Choose(const std::string& FileName, const TPerLogo<std::string>& Defaults);
    // Takes Defaults as the texts, without reading a record file.
    void TakeDefaults(const TPerLogo<std::string>& Defaults);

private:
    TPerLogo<std::string> FDefaults;
    TRecordTexts FTexts;
    TRandomSource FRandom;
    bool FTextsFromFile = false;
};
