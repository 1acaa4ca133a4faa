#include "pgraphic/image/pixel_graphic.h"

#include "core/little_endian.h"
#include "core/set_if_changed.h"
#include "pgraphic/image/palettes.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/row_pixels.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::atomic<std::uint64_t> GMaxImageBytes{1ULL << 30};

// Offsets of the fields of the bitmap information header.
constexpr std::size_t kHdrWidth = 4, kHdrHeight = 8, kHdrPlanes = 12, kHdrBitCount = 14,
                      kHdrSizeImage = 20, kHdrClrUsed = 32;

int ColorTableSize(TPGBitCount BitCount) {
    switch (BitCount) {
    case bc1:
        return 2;
    case bc4:
        return 16;
    case bc8:
        return 256;
    case bc24:
        return 0;
    }
    return 0;
}

// A zeroed pixel buffer. Large buffers are offered huge pages before anything touches them: a
// file read straight into the buffer then takes a few dozen page faults instead of thousands,
// which would otherwise cost several times the read itself. The advice changes no byte.
std::uint8_t* AllocateZeroedPixels(std::size_t Size) {
    auto* Pixels = static_cast<std::uint8_t*>(std::calloc(Size, 1));
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (Pixels != nullptr && Size >= 2 * kHugePage) {
        const auto Page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        const auto First = reinterpret_cast<std::uintptr_t>(Pixels);
        const std::uintptr_t Start = (First + Page - 1) / Page * Page;
        const std::uintptr_t End = (First + Size) / Page * Page;
        ::madvise(reinterpret_cast<void*>(Start), End - Start, MADV_HUGEPAGE);
    }
    return Pixels;
}

} // namespace

std::uint64_t PGMaxImageBytes() {
    return GMaxImageBytes.load();
}
void SetPGMaxImageBytes(std::uint64_t Bytes) {
    GMaxImageBytes.store(Bytes);
}

void TPixelGraphic::TFreeDeleter::operator()(std::uint8_t* P) const {
    std::free(P);
}

TPixelGraphic::TPixelGraphic() = default;

TPixelGraphic::~TPixelGraphic() {
    Flush();
    FSurface.reset();
}

// --- Drawing surface ---------------------------------------------------------------------------

void TPixelGraphic::FlushSurface() const {
    if (FSurface) {
        FSurface->Flush();
    }
    FCanvasPending = false;
}

void TPixelGraphic::ReleaseSurfaceHandle() {
    if (FSurface) {
        FSurface->ReleaseHandle();
    }
}

void TPixelGraphic::SetSurface(std::unique_ptr<TPGSurface> Surface) {
    Flush();
    FSurface = std::move(Surface);
}

// --- Size and format ---------------------------------------------------------------------------

int TPixelGraphic::BitCountToNum(TPGBitCount Value) {
    switch (Value) {
    case bc1:
        return 1;
    case bc4:
        return 4;
    case bc8:
        return 8;
    case bc24:
        return 24;
    }
    return 24;
}

TPGBitCount TPixelGraphic::BitCountNumToBitCount(int Number) {
    switch (Number) {
    case 1:
        return bc1;
    case 4:
        return bc4;
    case 8:
        return bc8;
    case 24:
        return bc24;
    default:
        throw EPGInvalidBitCountNum(TPGLangStrId::InvalidValueFor, "BitCountNum");
    }
}

int TPixelGraphic::MaxPaletteCount() const {
    return FBitCount == bc24 ? 0 : 1 << BitCountNum();
}

void TPixelGraphic::SetWidth(int Value) {
    if (Value != FWidth) {
        SetSize(Value, FHeight, FBitCount);
    }
}

void TPixelGraphic::SetHeight(int Value) {
    if (Value != FHeight) {
        SetSize(FWidth, Value, FBitCount);
    }
}

void TPixelGraphic::SetBitCount(TPGBitCount Value) {
    if (Value != FBitCount) {
        SetSize(FWidth, FHeight, Value);
    }
}

void TPixelGraphic::FreeBuffers() {
    FBits.reset();
    FHeader.clear();
}

void TPixelGraphic::SetSize(int NewWidth, int NewHeight, TPGBitCount NewBitCount) {
    if (NewWidth < 0) {
        throw EPGInvalidSize(TPGLangStrId::NegativeWidth);
    }
    if (NewHeight < 0) {
        throw EPGInvalidSize(TPGLangStrId::NegativeHeight);
    }
    if (NewWidth == FWidth && NewHeight == FHeight && NewBitCount == FBitCount) {
        Clear();
        return;
    }
    // Sizes are computed in 64 bits and checked before anything changes, so a hostile size can
    // neither overflow the 32-bit fields nor make the image allocate without bound.
    const auto Bits = static_cast<std::uint64_t>(BitCountToNum(NewBitCount));
    const std::uint64_t Stride = (Bits * static_cast<std::uint64_t>(NewWidth) + 31) / 32 * 4;
    const std::uint64_t Total = Stride * static_cast<std::uint64_t>(NewHeight);
    if (Total > UINT32_MAX || Total > PGMaxImageBytes()) {
        throw EPGInvalidSize(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    }

    FWidth = NewWidth;
    FHeight = NewHeight;
    FBitCount = NewBitCount;
    Flush();
    ReleaseSurfaceHandle();
    FreeBuffers();
    FBytesPerLine = static_cast<std::uint32_t>(Stride);
    FImageSize = static_cast<std::uint32_t>(Total);

    if (FImageSize != 0) {
        const int N = ColorTableSize(FBitCount);
        if (N < PaletteCount()) {
            SetPaletteCount(N);
        }
        if (FBitCount == bc24) {
            SetPaletteIdent(pTrueColor);
        }
        std::uint8_t* Pixels = AllocateZeroedPixels(FImageSize);
        if (Pixels == nullptr) {
            throw EPixelGraphic(TPGLangStrId::Failed, "CreateDIBSection");
        }
        FBits.reset(Pixels);
        FHeader.assign(kBitmapInfoHeaderSize + 4 * static_cast<std::size_t>(N), 0);
        std::uint8_t* H = FHeader.data();
        PutLE32(H, static_cast<std::uint32_t>(kBitmapInfoHeaderSize));
        PutLE32(H + kHdrWidth, static_cast<std::uint32_t>(FWidth));
        PutLE32(H + kHdrHeight, static_cast<std::uint32_t>(FHeight));
        PutLE16(H + kHdrPlanes, 1);
        PutLE16(H + kHdrBitCount, static_cast<std::uint32_t>(BitCountNum()));
        PutLE32(H + kHdrSizeImage, FImageSize);
        PutLE32(H + kHdrClrUsed, static_cast<std::uint32_t>(N));
        FillColorTable();
    }
    NotifyChange(this);
}

void TPixelGraphic::Clear() {
    Flush();
    if (IsEmpty()) {
        return;
    }
    FillBackground();
    NotifyChange(this);
}

void TPixelGraphic::FillBackground() {
    std::uint8_t* Bits = FBits.get();
    if (FBackGroundColor == 0) {
        std::memset(Bits, 0, FImageSize);
        return;
    }
    switch (FBitCount) {
    case bc8:
        for (int Y = 0; Y < FHeight; ++Y) {
            std::memset(ScanLine(Y), static_cast<int>(FBackGroundColor & 0xFF),
                        static_cast<std::size_t>(FWidth));
        }
        break;
    case bc24: {
        // The first row pixel by pixel, the others copied from it (padding stays as it is).
        for (int X = 0; X < FWidth; ++X) {
            WritePixel(X, 0, FBackGroundColor);
        }
        const std::uint8_t* First = ScanLine(0);
        for (int Y = 1; Y < FHeight; ++Y) {
            std::memcpy(ScanLine(Y), First, 3 * static_cast<std::size_t>(FWidth));
        }
        break;
    }
    default:
        for (int Y = 0; Y < FHeight; ++Y) {
            for (int X = 0; X < FWidth; ++X) {
                WritePixel(X, Y, FBackGroundColor);
            }
        }
        break;
    }
}

// --- Pixels ------------------------------------------------------------------------------------

std::uint8_t* TPGSurface::UnflushedBits(TPixelGraphic& Image) {
    return Image.FBits.get();
}

std::uint8_t* TPixelGraphic::ScanLines() {
    Flush();
    return FBits.get();
}

const std::uint8_t* TPixelGraphic::ScanLines() const {
    Flush();
    return FBits.get();
}

std::uint8_t* TPixelGraphic::ScanLine(int Row) {
    Flush();
    if (IsEmpty() || Row < 0 || Row >= FHeight) {
        return nullptr;
    }
    return FBits.get() + static_cast<std::size_t>(FHeight - 1 - Row) * FBytesPerLine;
}

const std::uint8_t* TPixelGraphic::ScanLine(int Row) const {
    return const_cast<TPixelGraphic*>(this)->ScanLine(Row);
}

std::uint32_t TPixelGraphic::ReadPixel(int X, int Y) const {
    const std::uint8_t* Row =
        FBits.get() + static_cast<std::size_t>(FHeight - 1 - Y) * FBytesPerLine;
    return GetRowPixel(Row, static_cast<std::size_t>(X), FBitCount);
}

void TPixelGraphic::WritePixel(int X, int Y, std::uint32_t Value) {
    std::uint8_t* Row = FBits.get() + static_cast<std::size_t>(FHeight - 1 - Y) * FBytesPerLine;
    SetRowPixel(Row, static_cast<std::size_t>(X), FBitCount, Value);
}

std::uint32_t TPixelGraphic::Pixels(int X, int Y) const {
    if (!Inside(X, Y) || IsEmpty()) {
        if (FRaiseXYError) {
            throw EPGXYIndexOutOfRange(TPGLangStrId::XYIndexOutOfRange);
        }
        return FBackGroundColor;
    }
    Flush();
    return ReadPixel(X, Y);
}

void TPixelGraphic::SetPixel(int X, int Y, std::uint32_t Value) {
    if (!Inside(X, Y) || IsEmpty()) {
        if (FRaiseXYError) {
            throw EPGXYIndexOutOfRange(TPGLangStrId::XYIndexOutOfRange);
        }
        return;
    }
    Flush();
    WritePixel(X, Y, Value);
}

TColor TPixelGraphic::PixelColors(int X, int Y) const {
    const std::uint32_t Value = Pixels(X, Y);
    if (FBitCount == bc24) {
        return static_cast<TColor>(Value);
    }
    // An index beyond the palette shows as entry 0, as the colour table presents it.
    if (Value < FPalette.size()) {
        return FPalette[Value];
    }
    return FPalette.empty() ? 0 : FPalette[0];
}

void TPixelGraphic::SetPixelColor(int X, int Y, TColor Color) {
    if (FBitCount == bc24) {
        SetPixel(X, Y, static_cast<std::uint32_t>(Color));
    } else {
        SetPixel(X, Y, static_cast<std::uint32_t>(NearestIndex(Color)));
    }
}

TColor TPixelGraphic::BackGroundColor() const {
    if (FBitCount == bc24) {
        return static_cast<TColor>(FBackGroundColor);
    }
    return PaletteColors(static_cast<int>(FBackGroundColor));
}

void TPixelGraphic::SetBackGroundColor(TColor Color) {
    FBackGroundColor = FBitCount == bc24 ? static_cast<std::uint32_t>(Color)
                                         : static_cast<std::uint32_t>(NearestIndex(Color));
}

// --- Palette -----------------------------------------------------------------------------------

void TPixelGraphic::WriteColorTableEntry(int Index, TColor Color) {
    const auto Offset = kBitmapInfoHeaderSize + 4 * static_cast<std::size_t>(Index);
    if (Index < 0 || Offset + 4 > FHeader.size()) {
        return;
    }
    std::uint8_t* P = FHeader.data() + Offset;
    P[0] = GetBValue(Color);
    P[1] = GetGValue(Color);
    P[2] = GetRValue(Color);
    P[3] = 0;
}

void TPixelGraphic::FillColorTable() {
    if (FHeader.empty()) {
        return;
    }
    const int N = static_cast<int>((FHeader.size() - kBitmapInfoHeaderSize) / 4);
    const TColor Filler = FPalette.empty() ? 0 : FPalette[0];
    for (int I = 0; I < N; ++I) {
        WriteColorTableEntry(I,
                             I < PaletteCount() ? FPalette[static_cast<std::size_t>(I)] : Filler);
    }
}

void TPixelGraphic::PaletteChanged() {
    FMemoInvalid = true;
    FHandleStale = true;
    FreeColorCache();
}

TColor TPixelGraphic::PaletteColors(int Index) const {
    if (FPaletteIdent == pTrueColor) {
        return Index;
    }
    if (Index < 0 || Index >= PaletteCount()) {
        throw EPGInvalidPaletteIndex(TPGLangStrId::InvalidPaletteIndex);
    }
    return FPalette[static_cast<std::size_t>(Index)];
}

void TPixelGraphic::SetPaletteColors(int Index, TColor Color) {
    if (FPaletteIdent == pNone || FPaletteIdent == pTrueColor) {
        throw EPGNoPalette(TPGLangStrId::NoPalette);
    }
    if (Index < 0 || Index >= PaletteCount()) {
        throw EPGInvalidPaletteIndex(TPGLangStrId::InvalidPaletteIndex);
    }
    ReleaseSurfaceHandle();
    WriteColorTableEntry(Index, Color);
    FPalette[static_cast<std::size_t>(Index)] = Color;
    FPaletteIdent = pUnknown;
    PaletteChanged();
}

void TPixelGraphic::SetPaletteCount(int Count) {
    Count = std::max(Count, 0);
    if (Count != PaletteCount()) {
        Flush();
        ReleaseSurfaceHandle();
        FPalette.resize(static_cast<std::size_t>(Count), 0);
        FPaletteIdent = Count > 0 ? pUnknown : pNone;
        if (!FHeader.empty()) {
            // The table shows the palette; colors-used says how many entries are meant, as far
            // as the table can hold them.
            FillColorTable();
            const auto TableSize = (FHeader.size() - kBitmapInfoHeaderSize) / 4;
            PutLE32(FHeader.data() + kHdrClrUsed, static_cast<std::uint32_t>(std::min(
                                                      static_cast<std::size_t>(Count), TableSize)));
        }
    }
    PaletteChanged();
}

void TPixelGraphic::SetPaletteIdent(TPaletteIdent Value) {
    if (Value == FPaletteIdent) {
        return;
    }
    switch (Value) {
    case pNone:
        SetPaletteCount(0);
        FPaletteIdent = pNone;
        break;
    case pTrueColor:
        SetPaletteCount(0);
        FPaletteIdent = pTrueColor;
        break;
    case pUnknown:
        FPaletteIdent = pUnknown;
        break;
    default: {
        const auto Entries = FixedPalette(Value);
        if (Entries.empty()) {
            // The view control's choices are not kinds an image holds.
            FPaletteIdent = pUnknown;
            break;
        }
        SetPaletteCount(static_cast<int>(Entries.size()));
        for (std::size_t I = 0; I < Entries.size(); ++I) {
            SetPaletteColors(static_cast<int>(I), Entries[I]);
        }
        FPaletteIdent = Value;
        break;
    }
    }
    PaletteChanged();
}

void TPixelGraphic::CopyPalette(const TPixelGraphic& Source) {
    SetPaletteCount(Source.PaletteCount());
    for (int I = 0; I < Source.PaletteCount(); ++I) {
        SetPaletteColors(I, Source.FPalette[static_cast<std::size_t>(I)]);
    }
    IdentifyPalette();
}

void TPixelGraphic::IdentifyPalette() {
    FIsGrayPalette =
        FBitCount != bc24 && std::all_of(FPalette.begin(), FPalette.end(), [](TColor C) {
            return GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C);
        });
    static constexpr TPaletteIdent kOrder[] = {pBlackWhite, pGray4,     pSysGray4, pGray16,
                                               pGray236,    pGray256,   pSys16,    pSpecial216,
                                               pSpecial125, pSpecial252};
    TPaletteIdent Found = FPalette.empty() ? (FBitCount == bc24 ? pTrueColor : pNone) : pUnknown;
    for (const TPaletteIdent Kind : kOrder) {
        const auto Entries = FixedPalette(Kind);
        if (Entries.size() == FPalette.size() &&
            std::equal(Entries.begin(), Entries.end(), FPalette.begin())) {
            Found = Kind;
            break;
        }
    }
    FPaletteIdent = Found;
    PaletteChanged();
}

const TPGLogPalette* TPixelGraphic::PaletteHandle() {
    if (FHandleStale) {
        FPaletteHandle.reset();
        if (FPaletteIdent != pTrueColor && !FPalette.empty()) {
            auto Handle = std::make_unique<TPGLogPalette>();
            Handle->Entries.reserve(FPalette.size());
            for (const TColor C : FPalette) {
                Handle->Entries.push_back({GetRValue(C), GetGValue(C), GetBValue(C), 0});
            }
            FPaletteHandle = std::move(Handle);
        }
        FHandleStale = false;
    }
    return FPaletteHandle.get();
}

// --- Settings with side effects ----------------------------------------------------------------

void TPixelGraphic::SetUseColorCache(bool Value) {
    SetIfChanged(FUseColorCache, Value, [this] {
        FMemoInvalid = true;
        NotifyChange(this);
    });
}

void TPixelGraphic::SetRGBWeighting(bool Value) {
    SetIfChanged(FConversion.RGBWeighting, Value, [this] { FMemoInvalid = true; });
}

void TPixelGraphic::SetConversionOptions(const TPGConversionOptions& Value) {
    SetRGBWeighting(Value.RGBWeighting);
    FConversion = Value;
}

// --- Change notification -----------------------------------------------------------------------

void TPixelGraphic::EndUpdate() {
    --FUpdateCount;
    NotifyChange(this);
}

void TPixelGraphic::NotifyChange(TObject* /*Sender*/) {
    if (FUpdateCount == 0 && OnChange) {
        OnChange(this);
    }
}

// --- Copying -----------------------------------------------------------------------------------

void TPixelGraphic::CopyFrom(const TPixelGraphic* Source) {
    if (Source == this) {
        return;
    }
    BeginUpdate();
    try {
        Flush();
        if (Source == nullptr) {
            SetSize(0, 0, bc24);
        } else {
            Source->Flush();
            SetSize(Source->FWidth, Source->FHeight, Source->FBitCount);
            if (FImageSize != 0) {
                std::memcpy(FBits.get(), Source->FBits.get(), FImageSize);
            }
            SetPaletteIdent(Source->FPaletteIdent);
            SetPaletteCount(Source->PaletteCount());
            FBackGroundColor = Source->FBackGroundColor;
            SetConversionOptions(Source->FConversion);
            SetUseColorCache(Source->FUseColorCache);
            FGamma = Source->FGamma;
            FWarnings = Source->FWarnings;
            FTransparent = Source->FTransparent;
            FRaiseXYError = Source->FRaiseXYError;
            for (int I = 0; I < Source->PaletteCount(); ++I) {
                SetPaletteColors(I, Source->FPalette[static_cast<std::size_t>(I)]);
            }
            IdentifyPalette();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TPixelGraphic::StretchFrom(const TPixelGraphic& Source) {
    StretchRect(0, 0, FWidth, FHeight, 0, 0, Source.FWidth, Source.FHeight, Source);
}

int GrayValue(TColor Color, bool Weighted) {
    const int R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
    return Weighted ? (897 * R + 1761 * G + 342 * B) / 1000 : R + G + B;
}
