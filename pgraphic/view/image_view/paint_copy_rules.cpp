#include "pgraphic/view/image_view/paint_copy_rules.h"

TPGPaintCopyNeed PGPaintCopyNeed(const TPGPaintCopyQuery& Q) {
    TPGPaintCopyNeed Result;
    const int B = Q.ScreenBits;
    Result.Needed = Q.ImageBits > B && B <= 8;
    Result.Stretch =
        Q.StretchMode != smFast && (Q.BoxWidth != Q.ImageWidth || Q.BoxHeight != Q.ImageHeight);
    Result.Needed = Result.Needed || Result.Stretch;
    if (Q.ImageBits <= 8 && B <= 8) {
        if (B == 4) {
            Result.Needed =
                Result.Needed || (Q.ImagePalette != pSys16 && (!Q.ReduceOnLoad || Q.Invalid));
        } else if (!Result.Needed) {
            const bool Shown = Q.Palette8BitSys8BitGraphic == pSource ||
                               Q.Palette8BitSys8BitGraphic == Q.ImagePalette;
            Result.Needed = !Shown && (!Q.ReduceOnLoad || Q.Invalid);
        }
    }
    return Result;
}

bool PGStretchFirst(bool Allow24BitStretch, bool Stretch, int ScreenBits,
                    TPaletteIdent Palette8BitSys24BitGraphic) {
    return Allow24BitStretch && Stretch && ScreenBits == 8 &&
           Palette8BitSys24BitGraphic == pOptimized252Sys16;
}

TPGPaintTargetFormat PGPaintTargetFormat(int ScreenBits, TPGBitCount IntermediateBits,
                                         TPaletteIdent Palette8BitSys24BitGraphic,
                                         TPaletteIdent Palette8BitSys8BitGraphic) {
    TPGPaintTargetFormat Format;
    if (ScreenBits <= 7) {
        Format.BitCount = bc4;
        Format.PaletteIdent = pSys16;
    } else if (ScreenBits > 8) {
        Format.BitCount = bc24;
    } else if (IntermediateBits == bc24) {
        Format.BitCount = bc8;
        if (Palette8BitSys24BitGraphic == pOptimized252Sys16) {
            Format.OptimizePalette = true;
        } else {
            Format.PaletteIdent = Palette8BitSys24BitGraphic;
        }
    } else {
        Format.BitCount = bc8;
        const TPaletteIdent P = Palette8BitSys8BitGraphic;
        if (P >= pBlackWhite && P <= pSpecial252) {
            Format.PaletteIdent = P;
        } else if (P == pOptimized252Sys16) {
            Format.OptimizePalette = true;
        } else if (P == pSource) {
            Format.CopyPalette = true;
        }
    }
    return Format;
}
