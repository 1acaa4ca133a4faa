#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The image library's numbered message table. Every failure of the library carries one of these
// texts, with the placeholders %S1, %S2 and %S3 filled in.

enum class TPGLangStrId : int {
    UnknownFileFormat = 1,
    Invalid = 2,              // "%S1 invalid"
    IsEmpty = 3,              // "%S1 is empty"
    UnknownFileExtension = 4, // "Unknown file extension "%S1""
    InvalidValueFor = 5,      // "Invalid value for %S1"
    InvalidSizeOf = 6,        // "Invalid size of %S1"
    Warning = 7,
    OperationAborted = 8,
    NotSupportedSubformat = 9,
    Failed = 10, // "%S1 failed"
    UnexpectedEndOfFile = 11,
    UnknownSubformat = 12,
    NotAFile = 13, // "Not a %S1 file"
    ZeroWidthOrHeight = 14,
    InvalidColorResolution = 15,
    UnsupportedFieldType = 16,     // "Unsupported field type %S1"
    InvalidCountOfBytesInRow = 17, // "Invalid count of bytes in row %S1"
    UnsupportedCompression = 18,
    OutOfRange = 19, // "%S1 out of range"
    NegativeWidth = 20,
    NegativeHeight = 21,
    NoPalette = 22,
    InvalidPaletteIndex = 23,
    XYIndexOutOfRange = 24,
    UnknownClipboardFormat = 25,
    SaveColorResolutionChanged = 26, // "... will be saved with a different color resolution (%S3)."
    SaveColorResolutionImpossible = 27,
    EmptyInputFile = 28,
    InvalidLibraryVersion = 29,
    ImageWord = 30, // "image", the object named by size errors
    BitWord = 31,   // "bit", the unit of bits per pixel
};

struct TPGLangStrEntry {
    TPGLangStrId Id;
    std::string_view English;
};

// All entries, in number order.
std::span<const TPGLangStrEntry> PGLangStrEntries();

// The English text of a message, with the first occurrence of %S1, %S2 and %S3 replaced by the
// given arguments (a placeholder without an argument is left as it stands).
using TPGLangArg = std::optional<std::string_view>;
std::string PGLangStr(TPGLangStrId Id, TPGLangArg S1 = std::nullopt, TPGLangArg S2 = std::nullopt,
                      TPGLangArg S3 = std::nullopt);

// Replaces only the first occurrence of Placeholder in Text.
std::string ReplaceFirst(std::string Text, std::string_view Placeholder,
                         std::string_view Replacement);
