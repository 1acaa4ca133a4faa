#include "core/little_endian.h"
#include "core/stream.h"
#include "pgraphic/formats/tga/tga_structures.h"

namespace tga {

TTGAHeader ReadHeader(TStream& Stream) {
    std::uint8_t B[kHeaderSize];
    Stream.ReadBuffer(B, kHeaderSize);
    TTGAHeader H;
    H.IdLength = B[0];
    H.ColorMapType = B[1];
    H.ImageType = B[2];
    H.FirstEntry = GetLE16(B + 3);
    H.ColorMapLength = GetLE16(B + 5);
    H.EntrySize = B[7];
    H.XOrigin = GetLE16(B + 8);
    H.YOrigin = GetLE16(B + 10);
    H.Width = GetLE16(B + 12);
    H.Height = GetLE16(B + 14);
    H.Depth = B[16];
    H.Descriptor = B[17];
    return H;
}

void WriteHeader(TStream& Stream, const TTGAHeader& H) {
    std::uint8_t B[kHeaderSize] = {};
    B[0] = H.IdLength;
    B[1] = H.ColorMapType;
    B[2] = H.ImageType;
    PutLE16(B + 3, H.FirstEntry);
    PutLE16(B + 5, H.ColorMapLength);
    B[7] = H.EntrySize;
    PutLE16(B + 8, H.XOrigin);
    PutLE16(B + 10, H.YOrigin);
    PutLE16(B + 12, H.Width);
    PutLE16(B + 14, H.Height);
    B[16] = H.Depth;
    B[17] = H.Descriptor;
    Stream.WriteBuffer(B, kHeaderSize);
}

} // namespace tga
