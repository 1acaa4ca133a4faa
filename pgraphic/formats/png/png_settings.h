#pragma once

// Process-wide settings of the PNG reader and writer. The program keeps the defaults; tests and
// the command-line front end may change them.

// A file with transparency and a background chunk is composited against the file's background
// colour rather than the image's (on).
bool PNGUseFileBackground();
void SetPNGUseFileBackground(bool Value);
// The writer stores a gamma chunk (on).
bool PNGWriteGamma();
void SetPNGWriteGamma(bool Value);
