#pragma once

#include <cstdint>
#include <initializer_list>

// Options of the file open dialog.
enum TOpenOption : std::uint8_t {
    ofHideReadOnly,       // no read-only choice (the dialog here never shows one)
    ofAllowMultiSelect,   // several files may be chosen
    ofExtensionDifferent, // set by Execute: the chosen file's extension differs from DefaultExt
    ofFileMustExist,      // only existing files can be chosen
    ofShareAware,         // kept (no sharing violations on this platform)
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
    friend constexpr bool operator==(TOpenOptions, TOpenOptions) = default;

private:
    static constexpr std::uint32_t Bit(TOpenOption Option) { return std::uint32_t{1} << Option; }

    std::uint32_t FBits = 0;
};
