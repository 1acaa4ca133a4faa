#pragma once

#include <cstdint>
#include <initializer_list>

// Options of the file open dialog.
enum TOpenOption : std::uint8_t {
    ofReadOnly,           // the read-only choice (kept; the dialog here shows none)
    ofOverwritePrompt,    // save dialogs only
    ofHideReadOnly,       // no read-only choice (the dialog here never shows one)
    ofNoChangeDir,        // the working folder stays (it always does here)
    ofShowHelp,           // kept; no help button
    ofNoValidate,         // kept
    ofAllowMultiSelect,   // several files may be chosen
    ofExtensionDifferent, // set by Execute: the chosen file's extension differs from DefaultExt
    ofPathMustExist,      // kept
    ofFileMustExist,      // only existing files can be chosen
    ofCreatePrompt,       // kept
    ofShareAware,         // kept (no sharing violations on this platform)
    ofNoReadOnlyReturn,   // kept
    ofNoTestFileCreate,   // kept
    ofNoNetworkButton,    // kept
    ofNoLongNames,        // kept
    ofOldStyleDialog,     // kept; the dialog is always the same
    ofNoDereferenceLinks  // symbolic links are shown and returned as links
};

// A set of open options.
class TOpenOptions {
public:
    constexpr TOpenOptions() = default;
    constexpr TOpenOptions(std::initializer_list<TOpenOption> Options) {
        for (const TOpenOption Option : Options) {
            Include(Option);
        }
    }

    constexpr bool Contains(TOpenOption Option) const { return (FBits & Bit(Option)) != 0; }
    constexpr TOpenOptions& Include(TOpenOption Option) {
        FBits |= Bit(Option);
        return *this;
    }
    constexpr TOpenOptions& Exclude(TOpenOption Option) {
        FBits &= ~Bit(Option);
        return *this;
    }
    constexpr std::uint32_t Bits() const { return FBits; }
    friend constexpr bool operator==(TOpenOptions, TOpenOptions) = default;

private:
    static constexpr std::uint32_t Bit(TOpenOption Option) { return std::uint32_t{1} << Option; }

    std::uint32_t FBits = 0;
};
