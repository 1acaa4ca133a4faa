#pragma once

#include "pgraphic/formats/bmp/bmp_structures.h"
#include "pgraphic/formats/format_failure.h"

namespace bmp {

// The reader's failures: "BMP: " and the message.
inline constexpr TPGFormatFailure Fail{"BMP: ", PGFailureOf<EPGBMPFileFormatReader>};

// Reads the header (core or info, by its size field) at the stream's position and checks it
// as the reader accepts it.
TDIBHeader ReadDIBHeader(TStream& Stream);

} // namespace bmp
