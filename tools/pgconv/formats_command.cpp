#include "pgraphic/formats/color_resolution.h"
#include "pgraphic/formats/registry.h"
#include "tools/pgconv/commands.h"

#include <iomanip>
#include <iostream>

namespace {

// The colour resolutions of a writer, by their texts.
std::string ResolutionsText(TColorResolutions Set) {
    std::string Text;
    for (int Code = crBlackWhite; Code <= crTrueColor; ++Code) {
        if (Contains(Set, static_cast<TColorResolution>(Code))) {
            Text += (Text.empty() ? "" : ", ") +
                    ColorResolutionText(static_cast<TColorResolution>(Code));
        }
    }
    return Text.empty() ? "none" : Text;
}

void PrintName(const TFileFormatReaderWriter& Format) {
    std::cout << "  " << std::left << std::setw(6) << Format.Extension() << std::setw(30)
              << Format.Description();
}

} // namespace

int RunFormats() {
    TFileFormatReaders& Readers = FileFormatReaders();
    Readers.EnsureSorted();
    std::cout << "Readers (extension, description, how files are recognised):\n";
    for (const auto& Reader : Readers) {
        PrintName(*Reader);
        std::cout << (Reader->HasSignature() ? "by content" : "by extension only")
                  << (Reader->Listed() ? "" : ", not listed") << '\n';
    }

    TFileFormatWriters& Writers = FileFormatWriters();
    Writers.EnsureSorted();
    std::cout << "\nWriters (extension, description, colour resolutions written):\n";
    for (const auto& Writer : Writers) {
        PrintName(*Writer);
        std::cout << ResolutionsText(Writer->CanWriteResolutions())
                  << (Writer->Listed() ? "" : "; alias")
                  << (Writer->MultiImage() ? "; multi-image" : "") << '\n';
    }

    std::cout << "\nOpen filter:\n" << BuildOpenFilter() << '\n';
    return 0;
}
