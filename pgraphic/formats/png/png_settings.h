#pragma once

#include <cstddef>

// Process-wide settings of the PNG reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

struct TPNGSettings {
    // A file with transparency and a background chunk is composited against the file's
    // background colour rather than the image's.
    bool UseFileBackground = true;
    // The writer stores a gamma chunk.
    bool WriteGamma = true;
    // Memory libpng may hold at once while reading, the image's own buffer not counted. Reading
    // needs two rows and one chunk at a time; a hostile chunk length would otherwise make libpng
    // allocate gigabytes before it finds the file too short.
    std::size_t MaxReadingBytes = std::size_t{64} << 20;
};

// The settings as they stand: the reader and the writer take one snapshot per call.
TPNGSettings PNGSettings();
// Change one setting.
void SetPNGUseFileBackground(bool Value);
void SetPNGWriteGamma(bool Value);
void SetPNGMaxReadingBytes(std::size_t Value);
