#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

class TPixelGraphic;

// The colour resolution of an image as the writers understand it.
enum TColorResolution : std::uint8_t {
    crBlackWhite,
    cr2Colors,
    crGray16,
    crSys16,
    cr16Colors,
    crGray256,
    cr256Colors,
    crTrueColor
};

// A set of colour resolutions: bit n stands for code n.
using TColorResolutions = std::uint8_t;

constexpr TColorResolutions ResolutionSet(std::initializer_list<TColorResolution> Codes) {
    TColorResolutions Set = 0;
    for (const TColorResolution Code : Codes) {
        Set = static_cast<TColorResolutions>(Set | (1u << Code));
    }
    return Set;
}
constexpr TColorResolutions kAllResolutions = 0xFF;

constexpr bool Contains(TColorResolutions Set, TColorResolution Code) {
    return ((Set >> Code) & 1u) != 0;
}

// The text naming a resolution in messages ("256 colors").
std::string ColorResolutionText(TColorResolution Code);

// The resolution an image has now.
TColorResolution ColorResolutionOf(const TPixelGraphic& Image);

// The resolution a writer takes for an image of resolution Current: the first of Current's
// preference row that the writer can store; false when it can store none.
bool PreferredResolution(TColorResolution Current, TColorResolutions CanWrite,
                         TColorResolution& Result);

// Converts Source into Target (empty) at resolution Code, with Source's progress handlers.
void ConvertToResolution(const TPixelGraphic& Source, TColorResolution Code, TPixelGraphic& Target);
