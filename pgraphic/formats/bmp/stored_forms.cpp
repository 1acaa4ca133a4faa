// The image's stored-data form (a length-prefixed BMP file) and its clipboard form (a packed
// DIB).

#include "core/little_endian.h"
#include "core/stream.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/palette_cover.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

namespace {

constexpr std::uint32_t CF_BITMAP = 2;
constexpr std::uint32_t CF_DIB = 8;

} // namespace

void TPixelGraphic::WriteStoredData(TStream& Stream) {
    Flush();
    const std::int64_t CountAt = Stream.Position();
    std::uint8_t Count[4] = {0, 0, 0, 0};
    Stream.WriteBuffer(Count, 4);
    StandaloneBMPWriter().WriteImage(Stream, *this);
    const std::int64_t End = Stream.Position();
    PutLE32(Count, static_cast<std::uint32_t>(End - CountAt - 4));
    Stream.SetPosition(CountAt);
    Stream.WriteBuffer(Count, 4);
    Stream.SetPosition(End);
}

void TPixelGraphic::ReadStoredData(TStream& Stream) {
    std::uint8_t Count[4];
    Stream.ReadBuffer(Count, 4);
    const std::uint32_t N = GetLE32(Count);
    const std::int64_t Start = Stream.Position();
    try {
        LoadFromStreamExt(Stream, "bmp", 0);
    } catch (...) {
        Stream.SetPosition(Start + N);
        throw;
    }
    Stream.SetPosition(Start + N);
}

void TPixelGraphic::PasteClipboardData(std::uint32_t Format, const std::uint8_t* Data,
                                       std::size_t Size) {
    if ((Format != CF_BITMAP && Format != CF_DIB) || Data == nullptr) {
        throw EPGUnknownClipboardFormat(TPGLangStrId::UnknownClipboardFormat);
    }
    Flush();
    BeginUpdate();
    try {
        TBlockStream Block(static_cast<const void*>(Data), static_cast<std::int64_t>(Size));
        SetSize(0, 0, bc24);
        ReadPackedDIB(Block, *this);
        CoverPixelIndices(*this);
        SetGamma(PGDisplayGamma());
    } catch (...) {
        IdentifyPalette();
        EndUpdate();
        throw;
    }
    IdentifyPalette();
    EndUpdate();
}

std::vector<std::uint8_t> TPixelGraphic::CopyClipboardData(std::uint32_t& Format) {
    Flush();
    std::vector<std::uint8_t> Block(static_cast<std::size_t>(PackedDIBSize(*this)));
    TBlockStream Stream(static_cast<void*>(Block.data()), static_cast<std::int64_t>(Block.size()));
    WritePackedDIB(Stream, *this);
    Format = CF_DIB;
    return Block;
}
