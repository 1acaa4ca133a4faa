#include "pgraphic/image/lang_strings.h"

#include <array>

namespace {

constexpr std::array kEntries{
    TPGLangStrEntry{TPGLangStrId::UnknownFileFormat, "Unknown file format"},
    TPGLangStrEntry{TPGLangStrId::Invalid, "%S1 invalid"},
    TPGLangStrEntry{TPGLangStrId::IsEmpty, "%S1 is empty"},
    TPGLangStrEntry{TPGLangStrId::UnknownFileExtension, "Unknown file extension \"%S1\""},
    TPGLangStrEntry{TPGLangStrId::InvalidValueFor, "Invalid value for %S1"},
    TPGLangStrEntry{TPGLangStrId::InvalidSizeOf, "Invalid size of %S1"},
    TPGLangStrEntry{TPGLangStrId::Warning, "Warning"},
    TPGLangStrEntry{TPGLangStrId::OperationAborted, "Operation aborted on user request"},
    TPGLangStrEntry{TPGLangStrId::NotSupportedSubformat, "Not supported subformat"},
    TPGLangStrEntry{TPGLangStrId::Failed, "%S1 failed"},
    TPGLangStrEntry{TPGLangStrId::UnexpectedEndOfFile, "Unexpected end of file"},
    TPGLangStrEntry{TPGLangStrId::UnknownSubformat, "Unknown subformat"},
    TPGLangStrEntry{TPGLangStrId::NotAFile, "Not a %S1 file"},
    TPGLangStrEntry{TPGLangStrId::ZeroWidthOrHeight, "Width = 0 or Height = 0"},
    TPGLangStrEntry{TPGLangStrId::InvalidColorResolution, "Invalid color resolution"},
    TPGLangStrEntry{TPGLangStrId::UnsupportedFieldType, "Unsupported field type %S1"},
    TPGLangStrEntry{TPGLangStrId::InvalidCountOfBytesInRow, "Invalid count of bytes in row %S1"},
    TPGLangStrEntry{TPGLangStrId::UnsupportedCompression, "Unsupported Compression"},
    TPGLangStrEntry{TPGLangStrId::OutOfRange, "%S1 out of range"},
    TPGLangStrEntry{TPGLangStrId::NegativeWidth, "Negative width"},
    TPGLangStrEntry{TPGLangStrId::NegativeHeight, "Negative height"},
    TPGLangStrEntry{TPGLangStrId::NoPalette, "No palette"},
    TPGLangStrEntry{TPGLangStrId::InvalidPaletteIndex, "Invalid palette index"},
    TPGLangStrEntry{TPGLangStrId::XYIndexOutOfRange, "X, Y index out of range"},
    TPGLangStrEntry{TPGLangStrId::UnknownClipboardFormat, "Unknown clipboard format"},
    TPGLangStrEntry{TPGLangStrId::SaveColorResolutionChanged,
                    "The graphic cannot be saved to a %S1 file with the current color resolution "
                    "(%S2).\r\rThe graphic will be saved with a different color resolution "
                    "(%S3)."},
    TPGLangStrEntry{TPGLangStrId::SaveColorResolutionImpossible,
                    "The graphic cannot be saved with to a %S1 file with the current color "
                    "resolution (%S2)"},
    TPGLangStrEntry{TPGLangStrId::EmptyInputFile, "Empty input file"},
    TPGLangStrEntry{TPGLangStrId::InvalidLibraryVersion, "Invalid library version"},
    TPGLangStrEntry{TPGLangStrId::ImageWord, "image"},
    TPGLangStrEntry{TPGLangStrId::BitWord, "bit"},
};

constexpr bool NumberedInOrder() {
    for (std::size_t I = 0; I < kEntries.size(); ++I) {
        if (static_cast<std::size_t>(kEntries[I].Id) != I + 1) {
            return false;
        }
    }
    return true;
}
static_assert(NumberedInOrder(), "message table entries must be numbered 1, 2, 3, ...");

} // namespace

std::span<const TPGLangStrEntry> PGLangStrEntries() {
    return kEntries;
}

std::string ReplaceFirst(std::string Text, std::string_view Placeholder,
                         std::string_view Replacement) {
    if (const auto Pos = Text.find(Placeholder); Pos != std::string::npos) {
        Text.replace(Pos, Placeholder.size(), Replacement);
    }
    return Text;
}

std::string PGLangStr(TPGLangStrId Id, TPGLangArg S1, TPGLangArg S2, TPGLangArg S3) {
    const auto Index = static_cast<std::size_t>(Id) - 1;
    std::string Text(Index < kEntries.size() ? kEntries[Index].English : std::string_view{});
    // Substitution runs %S1, %S2, %S3 in turn, so an argument containing a later placeholder is
    // substituted too.
    if (S1) {
        Text = ReplaceFirst(std::move(Text), "%S1", *S1);
    }
    if (S2) {
        Text = ReplaceFirst(std::move(Text), "%S2", *S2);
    }
    if (S3) {
        Text = ReplaceFirst(std::move(Text), "%S3", *S3);
    }
    return Text;
}
