#pragma once

#include <cstddef>

// Process-wide settings of the PNG reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

// A file with transparency and a background chunk is composited against the file's background
// colour rather than the image's (on).
bool PNGUseFileBackground();
void SetPNGUseFileBackground(bool Value);
// The writer stores a gamma chunk (on).
bool PNGWriteGamma();
void SetPNGWriteGamma(bool Value);
// Memory libpng may hold at once while reading, the image's own buffer not counted (64 MiB).
// Reading needs two rows and one chunk at a time; a hostile chunk length would otherwise make
// libpng allocate gigabytes before it finds the file too short.
std::size_t PNGMaxReadingBytes();
void SetPNGMaxReadingBytes(std::size_t Value);
