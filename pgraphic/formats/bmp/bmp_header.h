#pragma once

#include "pgraphic/formats/bmp/bmp_structures.h"
#include "pgraphic/image/lang_strings.h"

namespace bmp {

// Raises the reader's failure: "BMP: " and the table text.
[[noreturn]] void Fail(TPGLangStrId Id, TPGLangArg S1 = std::nullopt);

// Reads the header (core or info, by its size field) at the stream's position and checks it
// as the reader accepts it.
TDIBHeader ReadDIBHeader(TStream& Stream);

} // namespace bmp
