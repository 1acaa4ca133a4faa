#pragma once

#include "core/events.h"
#include "core/object.h"
#include "pgraphic/image/display_gamma.h"
#include "pgraphic/image/image_options.h"
#include "pgraphic/image/palette_search.h"
#include "pgraphic/image/pg_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPixelGraphic;
class TStream;

// Size of the bitmap information header that precedes the colour table.
constexpr std::size_t kBitmapInfoHeaderSize = 40;

// Largest pixel buffer one image may allocate (bytes); larger sizes raise "Invalid size of image"
// before anything is allocated. Process-wide; 1 GiB unless changed.
std::uint64_t PGMaxImageBytes();
void SetPGMaxImageBytes(std::uint64_t Bytes);

// The drawing surface attached to an image. The image asks it to finish queued drawing before it
// touches its pixels directly, and to drop its device view when size, format or palette change.
class TPGSurface {
public:
    TPGSurface() = default;
    TPGSurface(const TPGSurface&) = delete;
    TPGSurface& operator=(const TPGSurface&) = delete;
    virtual ~TPGSurface() = default;
    virtual void Flush() = 0;
    virtual void ReleaseHandle() = 0;

protected:
    // The image's pixel buffer as it stands, without the flush every other access makes: the
    // surface reads it to start its view and writes its queued drawing back into it.
    static std::uint8_t* UnflushedBits(TPixelGraphic& Image);
};

// One entry of a logical palette.
struct TPGPaletteEntry {
    std::uint8_t Red, Green, Blue, Flags;
};

// The logical palette an image hands to whatever draws it, built on demand from its palette.
struct TPGLogPalette {
    std::uint16_t Version = 0x300;
    std::vector<TPGPaletteEntry> Entries;
};

// The image of the library: a device-independent raster of 1, 4, 8 or 24 bits per pixel with its
// own palette. Rows are stored bottom-up and padded to 4 bytes; 24-bit pixels are blue, green,
// red. A 40-byte bitmap information header with a colour table in step with the palette goes
// with the pixels, so the buffer can be handed to any consumer of device-independent bitmaps.
//
// Each member group is defined by the layer that implements it; the image itself calls nothing
// above pgraphic/image/:
//   pgraphic/image/pixel_graphic.cpp       size and format, pixels, palette, settings, change
//                                          notification, CopyFrom, the drawing surface
//   pgraphic/image/nearest_index.cpp       NearestIndex and the colour cache
//   pgraphic/image/copy_rect.cpp, stretch_rect.cpp, optimized_palette.cpp
//                                          CopyRect, StretchRect, CreateOptimizedPalette
//   pgraphic/formats/load_save.cpp         files and streams (the load and save pipelines)
//   pgraphic/formats/bmp/stored_forms.cpp  the stored-data and clipboard forms
// Drawing on an image and painting it are no members: pgraphic/canvas/ attaches its canvas as
// the image's TPGSurface on first use.
class TPixelGraphic : public TObject {
public:
    TPixelGraphic();
    TPixelGraphic(const TPixelGraphic&) = delete;
    TPixelGraphic& operator=(const TPixelGraphic&) = delete;
    ~TPixelGraphic() override;

    // --- Size and format ---------------------------------------------------------------------
    void SetSize(int NewWidth, int NewHeight, TPGBitCount NewBitCount);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TPGBitCount BitCount() const { return FBitCount; }
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetBitCount(TPGBitCount Value);
    int BitCountNum() const { return BitCountToNum(FBitCount); }
    int MaxPaletteCount() const;
    std::uint32_t BytesPerLine() const { return FBytesPerLine; }
    std::uint32_t ImageSize() const { return FImageSize; }
    bool IsEmpty() const { return FBits == nullptr; }
    void Clear();

    static TPGBitCount BitCountNumToBitCount(int Number);
    static int BitCountToNum(TPGBitCount Value);

    // --- Pixels --------------------------------------------------------------------------------
    // Raw value: the palette index for palette formats, the TColor for bc24.
    std::uint32_t Pixels(int X, int Y) const;
    void SetPixel(int X, int Y, std::uint32_t Value);
    TColor PixelColors(int X, int Y) const;
    void SetPixelColor(int X, int Y, TColor Color);
    // Start of the pixel buffer (the bottom row); none when empty.
    std::uint8_t* ScanLines();
    const std::uint8_t* ScanLines() const;
    // Row Row, 0 being the top row; none when empty.
    std::uint8_t* ScanLine(int Row);
    const std::uint8_t* ScanLine(int Row) const;

    // Written by Clear, returned for reads outside the image (raw value).
    std::uint32_t BackGroundValue() const { return FBackGroundColor; }
    TColor BackGroundColor() const;
    void SetBackGroundColor(TColor Color);

    // --- Palette -------------------------------------------------------------------------------
    TColor PaletteColors(int Index) const;
    virtual void SetPaletteColors(int Index, TColor Color);
    int PaletteCount() const { return static_cast<int>(FPalette.size()); }
    virtual void SetPaletteCount(int Count);
    TPaletteIdent PaletteIdent() const { return FPaletteIdent; }
    virtual void SetPaletteIdent(TPaletteIdent Value);
    const std::vector<TColor>& Palette() const { return FPalette; }
    void CopyPalette(const TPixelGraphic& Source);
    void IdentifyPalette();
    bool IsGrayPalette() const { return FIsGrayPalette; }
    // The logical palette, rebuilt when stale; none for true colour or an empty palette.
    const TPGLogPalette* PaletteHandle();
    virtual int NearestIndex(TColor Color);
    virtual void FreeColorCache();

    // The bitmap information header followed by its colour table; empty when there are no pixels.
    const std::vector<std::uint8_t>& BitmapInfo() const { return FHeader; }

    // --- Settings --------------------------------------------------------------------------------
    // How the image takes in colours and pixels of another, as a whole; RGBWeighting's memo rule
    // holds for it too.
    void SetConversionOptions(const TPGConversionOptions& Value);
    bool Dither() const { return FConversion.Dither; }
    void SetDither(bool Value) { FConversion.Dither = Value; }
    std::uint8_t DitherErrorLimit() const { return FConversion.DitherErrorLimit; }
    void SetDitherErrorLimit(std::uint8_t Value) { FConversion.DitherErrorLimit = Value; }
    bool DitherErrorLimitAuto() const { return FConversion.DitherErrorLimitAuto; }
    void SetDitherErrorLimitAuto(bool Value) { FConversion.DitherErrorLimitAuto = Value; }
    bool DitherErrorLimitSoft() const { return FConversion.DitherErrorLimitSoft; }
    void SetDitherErrorLimitSoft(bool Value) { FConversion.DitherErrorLimitSoft = Value; }
    bool RGBWeighting() const { return FConversion.RGBWeighting; }
    virtual void SetRGBWeighting(bool Value);
    TStretchMode StretchMode() const { return FConversion.StretchMode; }
    void SetStretchMode(TStretchMode Value) { FConversion.StretchMode = Value; }
    TPGWarningAction ReadWarningAction() const { return FWarnings.ReadWarningAction; }
    void SetReadWarningAction(TPGWarningAction Value) { FWarnings.ReadWarningAction = Value; }
    TPGWarningAction SaveColorResWarningAction() const {
        return FWarnings.SaveColorResWarningAction;
    }
    void SetSaveColorResWarningAction(TPGWarningAction Value) {
        FWarnings.SaveColorResWarningAction = Value;
    }
    bool UseColorCache() const { return FUseColorCache; }
    virtual void SetUseColorCache(bool Value);
    bool FastRead() const { return FFastRead; }
    void SetFastRead(bool Value) { FFastRead = Value; }
    bool SkipRealizePalette() const { return FSkipRealizePalette; }
    void SetSkipRealizePalette(bool Value) { FSkipRealizePalette = Value; }
    long double Gamma() const { return FGamma; }
    void SetGamma(long double Value) { FGamma = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    bool RaiseXYError() const { return FRaiseXYError; }
    void SetRaiseXYError(bool Value) { FRaiseXYError = Value; }

    // --- Change notification and progress ----------------------------------------------------
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    virtual void NotifyChange(TObject* Sender);

    TNotifyEvent OnChange;
    TPGProgressEvent OnProgress;
    TNotifyEvent OnProgressStart;
    TNotifyEvent OnProgressEnd;

    // --- Copying -------------------------------------------------------------------------------
    // Takes over size, format, pixels, palette and settings of Source; none empties the image.
    void CopyFrom(const TPixelGraphic* Source);
    // The source rectangle copied 1:1, converting colours into this image's format.
    void CopyRect(int DestX, int DestY, int RectWidth, int RectHeight, int SrcX, int SrcY,
                  const TPixelGraphic& Source);
    // The source rectangle resampled into the destination rectangle with StretchMode.
    void StretchRect(int DestX, int DestY, int DestWidth, int DestHeight, int SrcX, int SrcY,
                     int SrcWidth, int SrcHeight, const TPixelGraphic& Source);
    // The whole source resampled onto the whole image.
    void StretchFrom(const TPixelGraphic& Source);
    // Replaces the palette by at most Count colours chosen for the source's colours; with
    // AddSys16 the 16 system colours follow the computed ones. The pixels are not touched.
    void CreateOptimizedPalette(const TPixelGraphic& Source, int Count, bool AddSys16);

    // --- Drawing surface -----------------------------------------------------------------------
    // Finishes drawing queued on the surface; called before every direct access to the pixels.
    void Flush() const {
        if (FCanvasPending) {
            FlushSurface();
        }
    }
    // Marks that the surface may hold unfinished drawing.
    void SetCanvasPending() { FCanvasPending = true; }
    // Attaches the drawing surface (owned). The image knows its surface only through
    // TPGSurface, so it needs no drawing framework.
    void SetSurface(std::unique_ptr<TPGSurface> Surface);
    TPGSurface* Surface() const { return FSurface.get(); }

    // --- Files, streams, stored data and the clipboard (defined in pgraphic/formats/) ------------
    void LoadFromFile(const std::string& FileName);
    void LoadFromFileExt(const std::string& FileName, int Index);
    void LoadFromStream(TStream& Stream);
    void LoadFromStreamExt(TStream& Stream, const std::string& Extension, int Index);
    void SaveToFile(const std::string& FileName);
    void SaveToStream(TStream& Stream);
    void SaveToStreamExt(TStream& Stream, const std::string& Extension);
    // The length-prefixed BMP form of the framework's form persistence.
    void WriteStoredData(TStream& Stream);
    void ReadStoredData(TStream& Stream);
    // The packed-DIB clipboard form: format 8 (or 2) and the block's bytes.
    void PasteClipboardData(std::uint32_t Format, const std::uint8_t* Data, std::size_t Size);
    std::vector<std::uint8_t> CopyClipboardData(std::uint32_t& Format);

private:
    friend class TPGColorWriter;
    friend class TPGSurface;

    void FlushSurface() const;
    void ReleaseSurfaceHandle();
    void FreeBuffers();
    void WriteColorTableEntry(int Index, TColor Color);
    void FillColorTable();
    void PaletteChanged();
    int ComputeNearestIndex(TColor Color);
    int NearestEntry(TColor Color) const;
    // NearestIndex of this class without the virtual call, for the copies' inner loops
    // (nearest_lookup.h).
    inline int LookupNearestIndex(TColor Color);
    inline int CachedNearestEntry(TColor Color);
    void BuildColorCache();
    void FillBackground();
    std::uint32_t ReadPixel(int X, int Y) const;
    void WritePixel(int X, int Y, std::uint32_t Value);
    bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

    struct TFreeDeleter {
        void operator()(std::uint8_t* P) const;
    };

    std::uint32_t FBackGroundColor = 0;
    TPGBitCount FBitCount = bc24;
    std::unique_ptr<std::uint8_t, TFreeDeleter> FBits;
    std::vector<std::uint8_t> FHeader;
    std::unique_ptr<TPGSurface> FSurface;
    TPGConversionOptions FConversion;
    TPGWarningOptions FWarnings;
    bool FUseColorCache = true;
    bool FFastRead = false;
    int FHeight = 0;
    bool FSkipRealizePalette = false;
    bool FIsGrayPalette = false;
    long double FGamma = kDefaultDisplayGamma;
    std::uint32_t FImageSize = 0;
    std::uint32_t FBytesPerLine = 0;
    std::unique_ptr<TPGLogPalette> FPaletteHandle;
    mutable TPGPaletteSearch FSearch; // the palette laid out for exact searches
    mutable bool FSearchStale = true;
    std::vector<std::uint8_t> FColorCache;       // 65,536 cell indices
    std::vector<std::uint64_t> FColorCacheValid; // one bit per cell
    bool FCacheRebuild = true;
    bool FMemoInvalid = true;
    bool FHandleStale = false;
    TColor FMemoColor = 0;
    int FMemoIndex = 0;
    std::vector<TColor> FPalette;
    TPaletteIdent FPaletteIdent = pTrueColor;
    bool FTransparent = false;
    int FUpdateCount = 0;
    bool FRaiseXYError = false;
    mutable bool FCanvasPending = false;
    int FWidth = 0;
};

// Grey sum of a colour, 0..765: weighted (897 R + 1761 G + 342 B) div 1000, or R + G + B.
int GrayValue(TColor Color, bool Weighted);
