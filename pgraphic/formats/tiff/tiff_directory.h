#pragma once

#include "pgraphic/formats/tiff/tiff_structures.h"

class TStream;

namespace tiff {

// Reads the header at the stream's position and the directory of image Index (walking the
// directory chain when the TIFF settings ask for several images), and checks the sample layout as
// the reader accepts it.
TDirectory ParseDirectory(TStream& Stream, int Index);

} // namespace tiff
