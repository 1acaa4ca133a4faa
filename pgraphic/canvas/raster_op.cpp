#include "pgraphic/canvas/raster_op.h"

#include "pgraphic/image/pg_exceptions.h"

#include <array>

namespace {

using enum QPainter::CompositionMode;

// The composition mode of every operation that depends on source and destination only. Such an
// operation has the same result with the pattern bit set or clear, so its index has equal
// nibbles; entry n stands for index n * 0x11.
constexpr std::array<QPainter::CompositionMode, 16> kModes = {
    RasterOp_ClearDestination,           // 0x00 0
    RasterOp_NotSourceAndNotDestination, // 0x11 not (S or D)
    RasterOp_NotSourceAndDestination,    // 0x22 not S and D
    RasterOp_NotSource,                  // 0x33 not S
    RasterOp_SourceAndNotDestination,    // 0x44 S and not D
    RasterOp_NotDestination,             // 0x55 not D
    RasterOp_SourceXorDestination,       // 0x66 S xor D
    RasterOp_NotSourceOrNotDestination,  // 0x77 not (S and D)
    RasterOp_SourceAndDestination,       // 0x88 S and D
    RasterOp_NotSourceXorDestination,    // 0x99 not (S xor D)
    CompositionMode_Destination,         // 0xAA D
    RasterOp_NotSourceOrDestination,     // 0xBB not S or D
    CompositionMode_Source,              // 0xCC S
    RasterOp_SourceOrNotDestination,     // 0xDD S or not D
    RasterOp_SourceOrDestination,        // 0xEE S or D
    RasterOp_SetDestination,             // 0xFF 1
};

// Full codes of the operations above, in the same order.
constexpr std::array<std::uint32_t, 16> kCodes = {
    cmBlackness, cmNotSrcErase, 0x00220326, cmNotSrcCopy, cmSrcErase, cmDstInvert,
    cmSrcInvert, 0x007700E6,    cmSrcAnd,   0x00990066,   0x00AA0029, cmMergePaint,
    cmSrcCopy,   0x00DD0228,    cmSrcPaint, cmWhiteness,
};

} // namespace

QPainter::CompositionMode PGCompositionModeOf(std::uint32_t RasterOp) {
    const std::uint32_t Index = (RasterOp >> 16) & 0xFF;
    if ((Index >> 4) != (Index & 0x0F)) {
        throw EPixelGraphic(TPGLangStrId::InvalidValueFor, "RasterOp");
    }
    return kModes[Index & 0x0F];
}

std::uint32_t PGRasterOpOf(QPainter::CompositionMode Mode) {
    for (std::size_t I = 0; I < kModes.size(); ++I) {
        if (kModes[I] == Mode) {
            return kCodes[I];
        }
    }
    return cmSrcCopy;
}
