#pragma once

#include <cstdint>

// Process-wide settings of the TIFF reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

enum TTIFFResolutionUnit : std::uint8_t { truNone, truInch, truCentimeter };

// A resolution as the file stores it: pixels per unit as a fraction.
struct TTIFFRational {
    std::uint32_t Numerator = 300;
    std::uint32_t Denominator = 1;
};

struct TTIFFSettings {
    // Reading walks the directory chain, so that an image index above 0 can be read and the file
    // information reports the number of images.
    bool MultiImage = false;
    // Bound on that walk.
    int MaxImages = 1000;
    // Compression the writer uses: 1 none or 32773 PackBits.
    std::uint32_t Compression = 1;
    // True-colour images are written as CMYK instead of RGB.
    bool WriteCMYK = false;
    // Grey and bilevel images are written with 0 as white instead of black.
    bool WhiteIsZero = false;
    // The writer uses the big-endian byte order instead of little-endian.
    bool BigEndian = false;
    // Resolution written with every image.
    TTIFFResolutionUnit ResolutionUnit = truInch;
    TTIFFRational XResolution;
    TTIFFRational YResolution;
};

// The settings as they stand: the reader takes one snapshot per call, the writer one per file.
TTIFFSettings TIFFSettings();
// Replaces every setting at once.
void SetTIFFSettings(const TTIFFSettings& Value);
// Change one setting.
void SetTIFFMultiImage(bool Value);
void SetTIFFMaxImages(int Value);
void SetTIFFCompression(std::uint32_t Value);
void SetTIFFWriteCMYK(bool Value);
void SetTIFFWhiteIsZero(bool Value);
void SetTIFFBigEndian(bool Value);
void SetTIFFResolutionUnit(TTIFFResolutionUnit Value);
void SetTIFFXResolution(TTIFFRational Value);
void SetTIFFYResolution(TTIFFRational Value);
