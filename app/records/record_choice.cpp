#include "app/records/record_choice.h"

#include "app/records/record_file.h"
#include "platform/file_ops.h"

bool ChooseRecord(const std::string& TextFileName, const std::string& FirstDefault,
                  const std::string& LastDefault, TRecordTexts& Texts, TRandomSource& Random) {
    Random.Randomize();
    Texts.FirstText = FirstDefault;
    Texts.LastText = LastDefault;
    if (!FileExists(TextFileName)) {
        return false;
    }
    const TRecordHeader Header = ReadRecordHeader(TextFileName);
    Texts.FileDescription = Header.Description;
    TRecordLines Lines;
    ReadRecord(TextFileName, Header, Lines, true, Random);
    if (Lines.size() == 1) {
        if (!Texts.FileDescription.empty()) {
            Texts.FirstText = Texts.FileDescription;
        }
        Texts.LastText = std::move(Lines[0]);
    } else if (Lines.size() >= 2) {
        Texts.FirstText = std::move(Lines[0]);
        Texts.LastText = std::move(Lines[1]);
        for (std::size_t I = 2; I < Lines.size(); ++I) {
            Texts.LastText += "\r\n";
            Texts.LastText += Lines[I];
        }
    }
    return true;
}
