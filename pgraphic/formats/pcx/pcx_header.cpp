#include "core/little_endian.h"
#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/pcx/pcx_structures.h"

#include <cstring>

namespace pcx {

TPCXHeader ReadHeader(TPGBufferedInput& Input) {
    std::uint8_t B[kHeaderSize];
    Input.Read(B, kHeaderSize);
    TPCXHeader H;
    H.Version = B[1];
    H.BitsPerPlane = B[3];
    H.XMin = GetLE16(B + 4);
    H.YMin = GetLE16(B + 6);
    H.XMax = GetLE16(B + 8);
    H.YMax = GetLE16(B + 10);
    std::memcpy(H.Palette16, B + 16, sizeof H.Palette16);
    H.Reserved = B[64];
    H.Planes = B[65];
    H.BytesPerLine = GetLE16(B + 66);
    H.PaletteInfo = GetLE16(B + 68);
    if (H.PaletteInfo != 1 || H.Reserved != 0) {
        Fail(TPGLangStrId::UnknownSubformat);
    }
    return H;
}

} // namespace pcx
