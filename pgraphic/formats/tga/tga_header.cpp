#include "core/pg_exceptions.h"
#include "core/stream.h"
#include "pgraphic/formats/tga/tga_structures.h"

namespace tga {

namespace {

std::uint16_t Get16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}

void Put16(std::uint8_t* P, std::uint16_t V) {
    P[0] = static_cast<std::uint8_t>(V);
    P[1] = static_cast<std::uint8_t>(V >> 8);
}

} // namespace

void Fail(TPGLangStrId Id, const char* S1) {
    throw EPGTGAFileFormatReader(
        PGFormatMessage("TGA: ", Id, S1 != nullptr ? TPGLangArg(S1) : std::nullopt));
}

void FailEndOfFile() {
    Fail(TPGLangStrId::UnexpectedEndOfFile);
}

TTGAHeader ReadHeader(TStream& Stream) {
    std::uint8_t B[kHeaderSize];
    Stream.ReadBuffer(B, kHeaderSize);
    TTGAHeader H;
    H.IdLength = B[0];
    H.ColorMapType = B[1];
    H.ImageType = B[2];
    H.FirstEntry = Get16(B + 3);
    H.ColorMapLength = Get16(B + 5);
    H.EntrySize = B[7];
    H.XOrigin = Get16(B + 8);
    H.YOrigin = Get16(B + 10);
    H.Width = Get16(B + 12);
    H.Height = Get16(B + 14);
    H.Depth = B[16];
    H.Descriptor = B[17];
    return H;
}

void WriteHeader(TStream& Stream, const TTGAHeader& H) {
    std::uint8_t B[kHeaderSize] = {};
    B[0] = H.IdLength;
    B[1] = H.ColorMapType;
    B[2] = H.ImageType;
    Put16(B + 3, H.FirstEntry);
    Put16(B + 5, H.ColorMapLength);
    B[7] = H.EntrySize;
    Put16(B + 8, H.XOrigin);
    Put16(B + 10, H.YOrigin);
    Put16(B + 12, H.Width);
    Put16(B + 14, H.Height);
    B[16] = H.Depth;
    B[17] = H.Descriptor;
    Stream.WriteBuffer(B, kHeaderSize);
}

} // namespace tga
