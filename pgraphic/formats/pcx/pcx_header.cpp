#include "core/pg_exceptions.h"
#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/pcx/pcx_structures.h"

#include <cstring>

namespace pcx {

namespace {

std::uint16_t Get16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

} // namespace

void Fail(TPGLangStrId Id, const char* S1) {
    throw EPGPCXFileFormatReader(
        PGFormatMessage("PCX: ", Id, S1 != nullptr ? TPGLangArg(S1) : std::nullopt));
}

void FailEndOfFile() {
    Fail(TPGLangStrId::UnexpectedEndOfFile);
}

TPCXHeader ReadHeader(TPGBufferedInput& Input) {
    std::uint8_t B[kHeaderSize];
    Input.Read(B, kHeaderSize);
    TPCXHeader H;
    H.Version = B[1];
    H.BitsPerPlane = B[3];
    H.XMin = Get16(B + 4);
    H.YMin = Get16(B + 6);
    H.XMax = Get16(B + 8);
    H.YMax = Get16(B + 10);
    std::memcpy(H.Palette16, B + 16, sizeof H.Palette16);
    H.Reserved = B[64];
    H.Planes = B[65];
    H.BytesPerLine = Get16(B + 66);
    H.PaletteInfo = Get16(B + 68);
    if (H.PaletteInfo != 1 || H.Reserved != 0) {
        Fail(TPGLangStrId::UnknownSubformat);
    }
    return H;
}

} // namespace pcx
