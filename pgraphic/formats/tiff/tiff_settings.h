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

// Reading walks the directory chain, so that an image index above 0 can be read and the file
// information reports the number of images (off).
bool TIFFMultiImage();
void SetTIFFMultiImage(bool Value);
// Bound on that walk (1000).
int TIFFMaxImages();
void SetTIFFMaxImages(int Value);
// Compression the writer uses: 1 none (the default) or 32773 PackBits.
std::uint32_t TIFFCompression();
void SetTIFFCompression(std::uint32_t Value);
// True-colour images are written as CMYK instead of RGB (off).
bool TIFFWriteCMYK();
void SetTIFFWriteCMYK(bool Value);
// Grey and bilevel images are written with 0 as white instead of black (off).
bool TIFFWhiteIsZero();
void SetTIFFWhiteIsZero(bool Value);
// The writer uses the big-endian byte order (off: little-endian).
bool TIFFBigEndian();
void SetTIFFBigEndian(bool Value);
// Resolution written with every image (300 x 300 pixels per inch).
TTIFFResolutionUnit TIFFResolutionUnit();
void SetTIFFResolutionUnit(TTIFFResolutionUnit Value);
TTIFFRational TIFFXResolution();
void SetTIFFXResolution(TTIFFRational Value);
TTIFFRational TIFFYResolution();
void SetTIFFYResolution(TTIFFRational Value);
