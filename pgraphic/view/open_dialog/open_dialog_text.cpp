#include "pgraphic/view/open_dialog/open_dialog_text.h"

#include "pgraphic/image/lang_strings.h"

namespace {

constexpr std::string_view kNameSeparator = "\" \"";

} // namespace

std::string PGFirstSelectedFile(std::string Text) {
    const auto Cut = Text.find(kNameSeparator);
    if (Cut == std::string::npos) {
        return Text;
    }
    Text.erase(Cut);
    if (const auto Quote = Text.find('"'); Quote != std::string::npos) {
        Text.erase(Quote, 1);
    }
    return Text;
}

std::string PGSelectedFilePath(const std::string& CurrentPath, const std::string& Folder,
                               const std::string& NameText) {
    const bool SeveralNames =
        NameText.starts_with('"') && NameText.find(kNameSeparator) != std::string::npos;
    if (!SeveralNames) {
        return CurrentPath;
    }
    std::string Text = Folder;
    if (!Text.empty() && !Text.ends_with('/')) {
        Text += '/';
    }
    return PGFirstSelectedFile(Text + NameText);
}

std::string PGDescriptionSizeLine(const TPGImageFileInfo& Info) {
    std::string Line = std::to_string(Info.Width) + "x" + std::to_string(Info.Height) + "x" +
                       Info.ColorsText + " " + std::to_string(Info.BitsPerPixel) + " " +
                       PGLangStr(TPGLangStrId::BitWord);
    if (Info.ImageCount > 1) {
        Line += ", " + std::to_string(Info.ImageCount);
    }
    return Line;
}

std::vector<std::string> PGDescriptionLines(const TPGImageFileInfo& Info) {
    std::vector<std::string> Lines;
    for (const std::string* Text : {&Info.Description, &Info.SubFormatText, &Info.DetailsText}) {
        if (!Text->empty()) {
            Lines.push_back(*Text);
        }
    }
    Lines.push_back(PGDescriptionSizeLine(Info));
    return Lines;
}

int PGDescriptionLineTop(int Index, int Count, int Height) {
    return Count > 0 ? Index * Height / Count : 0;
}
