#pragma once

#include <cstddef>
#include <cstdint>

// Process-wide settings of the JPEG reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

// The library's transforms: slow integer, fast integer, floating point (its own numbering).
enum TJPEGDCTMethod : std::uint8_t { jdmIntegerSlow, jdmIntegerFast, jdmFloat };

// Transform for reading, unless the image asks for a fast read (slow integer).
TJPEGDCTMethod JPEGReadDCTMethod();
void SetJPEGReadDCTMethod(TJPEGDCTMethod Value);
// Transform for writing (floating point).
TJPEGDCTMethod JPEGWriteDCTMethod();
void SetJPEGWriteDCTMethod(TJPEGDCTMethod Value);
// Quality 0..100 of written files, with baseline tables (80).
int JPEGQuality();
void SetJPEGQuality(int Value);
// Written files are progressive, with the library's simple scan script (off).
bool JPEGProgressive();
void SetJPEGProgressive(bool Value);
// Memory libjpeg may hold at once while reading, the image's own buffer not counted (256 MiB).
// Progressive and other multi-scan files keep the coefficients of the whole image, two bytes per
// sample, whatever the size of the file; a file whose header claims more is refused before
// anything in proportion to it is allocated.
std::size_t JPEGMaxMemory();
void SetJPEGMaxMemory(std::size_t Value);
