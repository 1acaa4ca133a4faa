#pragma once

#include <cstddef>
#include <cstdint>

// Process-wide settings of the JPEG reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

// The library's transforms: slow integer, fast integer, floating point (its own numbering).
enum TJPEGDCTMethod : std::uint8_t { jdmIntegerSlow, jdmIntegerFast, jdmFloat };

struct TJPEGSettings {
    // Transform for reading, unless the image asks for a fast read.
    TJPEGDCTMethod ReadDCTMethod = jdmIntegerSlow;
    // Transform for writing.
    TJPEGDCTMethod WriteDCTMethod = jdmFloat;
    // Quality 0..100 of written files, with baseline tables.
    int Quality = 80;
    // Written files are progressive, with the library's simple scan script.
    bool Progressive = false;
    // Memory libjpeg may hold at once while reading, the image's own buffer not counted.
    // Progressive and other multi-scan files keep the coefficients of the whole image, two bytes
    // per sample, whatever the size of the file; a file whose header claims more is refused
    // before anything in proportion to it is allocated.
    std::size_t MaxMemory = std::size_t{256} << 20;
};

// The settings as they stand: the reader and the writer take one snapshot per call.
TJPEGSettings JPEGSettings();
// Replaces every setting at once (Quality clamped to 0..100).
void SetJPEGSettings(const TJPEGSettings& Value);
// Change one setting.
void SetJPEGReadDCTMethod(TJPEGDCTMethod Value);
void SetJPEGWriteDCTMethod(TJPEGDCTMethod Value);
void SetJPEGQuality(int Value);
void SetJPEGProgressive(bool Value);
void SetJPEGMaxMemory(std::size_t Value);
