#include "core/stream.h"
#include "pgraphic/formats/tiff/packbits.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/formats/tiff/tiff_rows.h"
#include "pgraphic/formats/tiff/tiff_structures.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tiff;

namespace tiff {} // namespace tiff

namespace {

// Largest strip the writer aims at, in bytes (estimated).
constexpr std::size_t kStripSize = 32767;
// Colour-map components span 0..65535, so 255 is written as 65535 (full intensity) and every
// reader, whether it divides by 256 or by 257 or shifts, gets the 8-bit value back.
constexpr std::uint32_t kColorMapScale = 257;
// Entries before the colour map, and the places of the two whose values come last.
constexpr std::size_t kBaseEntries = 13;
constexpr std::size_t kStripOffsetsEntry = 6;
constexpr std::size_t kStripByteCountsEntry = 9;

// How one image goes into the file.
struct TLayout {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::size_t RowBytes = 0;
    std::uint32_t RowsPerStrip = 0;
    std::uint32_t Strips = 0;
    std::uint32_t Samples = 1;
    std::uint32_t BitsPerSample = 8;
    std::uint32_t Photometric = phBlackIsZero;
    bool Invert = false; // grey levels written with 0 as white
    bool CMYK = false;
    bool PackBits = false;
    std::uint32_t ColorMapEntries = 0; // 2^bits for palette images, else 0
};

TLayout LayoutOf(const TPixelGraphic& Graphic, const TTIFFSettings& Settings) {
    TLayout L;
    L.Width = static_cast<std::uint32_t>(Graphic.Width());
    L.Height = static_cast<std::uint32_t>(Graphic.Height());
    L.PackBits = Settings.Compression == cmpPackBits;
    const bool WhiteIsZero = Settings.WhiteIsZero;
    const TPaletteIdent Ident = Graphic.PaletteIdent();
    bool Grey = true;
    switch (Graphic.BitCount()) {
    case bc1:
        L.BitsPerSample = 1;
        L.RowBytes = (std::size_t{L.Width} + 7) / 8;
        L.Invert = WhiteIsZero && Ident == pBlackWhite;
        break;
    case bc4:
        L.BitsPerSample = 4;
        L.RowBytes = (std::size_t{L.Width} + 1) / 2;
        Grey = Ident == pGray16;
        break;
    case bc8:
        L.RowBytes = L.Width;
        Grey = Ident == pGray256;
        break;
    case bc24:
        L.CMYK = Settings.WriteCMYK;
        L.Samples = L.CMYK ? 4 : 3;
        L.RowBytes = std::size_t{L.Width} * L.Samples;
        L.Photometric = L.CMYK ? phSeparated : phRGB;
        break;
    }
    if (Graphic.BitCount() != bc24) {
        if (Grey) {
            L.Photometric = WhiteIsZero ? phWhiteIsZero : phBlackIsZero;
            L.Invert = L.Invert || (WhiteIsZero && Graphic.BitCount() != bc1);
        } else {
            L.Photometric = phPalette;
            L.ColorMapEntries = 1u << L.BitsPerSample;
        }
    }
    const std::size_t Estimate = L.PackBits ? 2 * L.RowBytes : L.RowBytes;
    L.RowsPerStrip =
        static_cast<std::uint32_t>(std::clamp<std::size_t>(kStripSize / Estimate, 1, L.Height));
    L.Strips = (L.Height + L.RowsPerStrip - 1) / L.RowsPerStrip;
    return L;
}

// A stream position relative to the file's start, as 32-bit offsets store it.
std::uint32_t Offset32(std::int64_t Offset) {
    if (Offset < 0 || Offset > UINT32_MAX) {
        FailWrite(PGLangStr(TPGLangStrId::OutOfRange, "Offset"));
    }
    return static_cast<std::uint32_t>(Offset);
}

// The directory and the values it points to, built in memory with their offsets known.
class TDirectoryBlock {
public:
    TDirectoryBlock(const TByteOrder& Order, std::uint32_t Offset, std::size_t EntryCount)
        : FOrder(Order), FOffset(Offset), FEntryCount(EntryCount),
          FBytes(2 + kEntrySize * EntryCount + 4, 0) {
        FOrder.Put16(FBytes.data(), static_cast<std::uint32_t>(EntryCount));
    }

    // An entry whose value sits in the entry itself (SHORT values left-justified).
    void Add(std::uint16_t Tag, std::uint16_t Type, std::uint32_t Count, std::uint32_t Value) {
        std::uint8_t* E = FBytes.data() + 2 + kEntrySize * FAdded++;
        FOrder.Put16(E, Tag);
        FOrder.Put16(E + 2, Type);
        FOrder.Put32(E + 4, Count);
        if (Type == ftShort && Count == 1) {
            FOrder.Put16(E + 8, Value);
        } else {
            FOrder.Put32(E + 8, Value);
        }
    }
    // Room for Size bytes of values after what is there; returns their offset in the file.
    std::uint32_t Append(std::size_t Size) {
        const std::size_t At = FBytes.size();
        FBytes.resize(At + Size, 0);
        return Offset32(std::int64_t{FOffset} + static_cast<std::int64_t>(At));
    }
    std::uint8_t* At(std::uint32_t Offset) { return FBytes.data() + (Offset - FOffset); }
    // Offset of the value field of entry Index, and of the link to the next directory.
    std::uint32_t ValueField(std::size_t Index) const {
        return FOffset + static_cast<std::uint32_t>(2 + kEntrySize * Index + 8);
    }
    std::uint32_t NextLink() const {
        return FOffset + static_cast<std::uint32_t>(2 + kEntrySize * FEntryCount);
    }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    TByteOrder FOrder;
    std::uint32_t FOffset;
    std::size_t FEntryCount;
    std::size_t FAdded = 0;
    std::vector<std::uint8_t> FBytes;
};

// Values at Position, 32 bits each.
void WriteUInt32s(TStream& Stream, std::int64_t Position, const TByteOrder& Order,
                  const std::vector<std::uint32_t>& Values) {
    std::vector<std::uint8_t> Bytes(4 * Values.size());
    for (std::size_t I = 0; I < Values.size(); ++I) {
        Order.Put32(Bytes.data() + 4 * I, Values[I]);
    }
    Stream.SetPosition(Position);
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
}

// The strips' offsets and byte counts: where the directory points to them.
struct TStripTable {
    std::uint32_t OffsetsAt = 0; // a value field for one strip, else an array
    std::uint32_t CountsAt = 0;
};

TStripTable BuildDirectory(TDirectoryBlock& Block, const TPixelGraphic& Graphic, const TLayout& L,
                           const TTIFFSettings& Settings) {
    const std::uint32_t ColorMapCount = 3 * L.ColorMapEntries;
    Block.Add(tagNewSubfileType, ftLong, 1, 0);
    Block.Add(tagImageWidth, ftLong, 1, L.Width);
    Block.Add(tagImageLength, ftLong, 1, L.Height);
    // Values that do not fit into an entry follow the directory, in this order.
    const std::uint32_t ColorMapAt = L.ColorMapEntries != 0 ? Block.Append(2 * ColorMapCount) : 0;
    const std::uint32_t BitsAt = L.Samples > 1 ? Block.Append(2 * L.Samples) : 0;
    const std::uint32_t XResolutionAt = Block.Append(8);
    const std::uint32_t YResolutionAt = Block.Append(8);
    TStripTable Table;
    if (L.Strips > 1) {
        Table.OffsetsAt = Block.Append(4 * std::size_t{L.Strips});
        Table.CountsAt = Block.Append(4 * std::size_t{L.Strips});
    } else {
        Table.OffsetsAt = Block.ValueField(kStripOffsetsEntry);
        Table.CountsAt = Block.ValueField(kStripByteCountsEntry);
    }
    Block.Add(tagBitsPerSample, ftShort, L.Samples, L.Samples > 1 ? BitsAt : L.BitsPerSample);
    Block.Add(tagCompression, ftShort, 1, L.PackBits ? cmpPackBits : cmpNone);
    Block.Add(tagPhotometricInterpretation, ftShort, 1, L.Photometric);
    Block.Add(tagStripOffsets, ftLong, L.Strips, L.Strips > 1 ? Table.OffsetsAt : 0);
    Block.Add(tagSamplesPerPixel, ftShort, 1, L.Samples);
    Block.Add(tagRowsPerStrip, ftLong, 1, L.RowsPerStrip);
    Block.Add(tagStripByteCounts, ftLong, L.Strips, L.Strips > 1 ? Table.CountsAt : 0);
    Block.Add(tagXResolution, ftRational, 1, XResolutionAt);
    Block.Add(tagYResolution, ftRational, 1, YResolutionAt);
    Block.Add(tagResolutionUnit, ftShort, 1, Settings.ResolutionUnit + 1u);
    const TByteOrder Order{Settings.BigEndian};
    if (L.ColorMapEntries != 0) {
        Block.Add(tagColorMap, ftShort, ColorMapCount, ColorMapAt);
        std::uint8_t* Map = Block.At(ColorMapAt);
        const int Colors =
            std::min<int>(Graphic.PaletteCount(), static_cast<int>(L.ColorMapEntries));
        for (int I = 0; I < Colors; ++I) {
            const TColor C = Graphic.PaletteColors(I);
            const auto U = static_cast<std::size_t>(I);
            Order.Put16(Map + 2 * U, GetRValue(C) * kColorMapScale);
            Order.Put16(Map + 2 * (L.ColorMapEntries + U), GetGValue(C) * kColorMapScale);
            Order.Put16(Map + 2 * (2 * L.ColorMapEntries + U), GetBValue(C) * kColorMapScale);
        }
    }
    if (L.Samples > 1) {
        for (std::uint32_t S = 0; S < L.Samples; ++S) {
            Order.Put16(Block.At(BitsAt) + 2 * S, 8);
        }
    }
    const TTIFFRational X = Settings.XResolution, Y = Settings.YResolution;
    Order.Put32(Block.At(XResolutionAt), X.Numerator);
    Order.Put32(Block.At(XResolutionAt) + 4, X.Denominator);
    Order.Put32(Block.At(YResolutionAt), Y.Numerator);
    Order.Put32(Block.At(YResolutionAt) + 4, Y.Denominator);
    return Table;
}

// Row Y of the image as the file stores it.
void BuildRow(const TPixelGraphic& Graphic, int Y, const TLayout& L, std::uint8_t* Out) {
    const std::uint8_t* Line = Graphic.ScanLine(Y);
    if (Graphic.BitCount() == bc24) {
        if (L.CMYK) {
            BGRToCMYK(Line, Out, L.Width);
        } else {
            SwapRedBlue(Line, Out, L.Width);
        }
    } else {
        std::memcpy(Out, Line, L.RowBytes);
        InvertAndMask(Out, L.RowBytes, L.BitsPerSample, L.Width, L.Invert);
    }
}

// Writes the header of a file that begins at the stream's position; the file keeps the settings
// as they stand now for all its images.
TFileInProgress BeginTIFF(TStream& Stream) {
    TFileInProgress File;
    File.Settings = TIFFSettings();
    const TByteOrder Order{File.Settings.BigEndian};
    std::uint8_t Header[kHeaderSize] = {};
    Header[0] = Header[1] = Order.BigEndian ? 'M' : 'I';
    Order.Put16(Header + 2, kMagic);
    File.Base = Stream.Position();
    Stream.WriteBuffer(Header, kHeaderSize);
    File.PendingLink = File.Base + 4;
    return File;
}

// Writes Graphic as the next image of File.
void AddTIFFImage(TStream& Stream, TPixelGraphic& Graphic, TFileInProgress& File) {
    const TTIFFSettings& Settings = File.Settings;
    const std::uint32_t Compression = Settings.Compression;
    if (Compression != cmpNone && Compression != cmpPackBits) {
        FailWrite("Internal Error");
    }
    if (Graphic.IsEmpty()) {
        FailWrite(PGLangStr(TPGLangStrId::ZeroWidthOrHeight));
    }
    Graphic.Flush();
    const TByteOrder Order{Settings.BigEndian};
    const TLayout L = LayoutOf(Graphic, Settings);

    const std::int64_t DirectoryAt = Stream.Position();
    const std::uint32_t DirectoryOffset = Offset32(DirectoryAt - File.Base);
    WriteUInt32s(Stream, File.PendingLink, Order, {DirectoryOffset});
    Stream.SetPosition(DirectoryAt);
    TDirectoryBlock Block(Order, DirectoryOffset, kBaseEntries + (L.ColorMapEntries != 0 ? 1 : 0));
    const TStripTable Table = BuildDirectory(Block, Graphic, L, Settings);
    Stream.WriteBuffer(Block.Bytes().data(), static_cast<std::int64_t>(Block.Bytes().size()));
    File.PendingLink = File.Base + Block.NextLink();

    std::vector<std::uint32_t> Offsets(L.Strips), Counts(L.Strips);
    std::vector<std::uint8_t> Row(L.RowBytes);
    std::vector<std::uint8_t> Strip(L.RowsPerStrip *
                                    (L.PackBits ? PackBitsMaxSize(L.RowBytes) : L.RowBytes));
    const TPGProgress Progress(Graphic, &Graphic);
    Progress.Run([&] {
        const int Height = Graphic.Height();
        for (std::uint32_t S = 0; S < L.Strips; ++S) {
            if ((Stream.Position() - File.Base) % 2 != 0) {
                const std::uint8_t Pad = 0;
                Stream.WriteBuffer(&Pad, 1);
            }
            Offsets[S] = Offset32(Stream.Position() - File.Base);
            std::size_t Used = 0;
            const int First = static_cast<int>(S * L.RowsPerStrip);
            const int Last = std::min(Height, First + static_cast<int>(L.RowsPerStrip));
            for (int Y = First; Y < Last; ++Y) {
                if (L.PackBits) {
                    BuildRow(Graphic, Y, L, Row.data());
                    Used += PackBitsEncode(Row.data(), L.RowBytes, Strip.data() + Used);
                } else {
                    BuildRow(Graphic, Y, L, Strip.data() + Used);
                    Used += L.RowBytes;
                }
                Progress.Aborted(Y, Height - 1); // writing goes on whatever the handler says
            }
            Stream.WriteBuffer(Strip.data(), static_cast<std::int64_t>(Used));
            Counts[S] = static_cast<std::uint32_t>(Used);
        }
    });

    const std::int64_t End = Stream.Position();
    Offset32(End - File.Base);
    WriteUInt32s(Stream, File.Base + Table.OffsetsAt, Order, Offsets);
    WriteUInt32s(Stream, File.Base + Table.CountsAt, Order, Counts);
    Stream.SetPosition(End);
}

} // namespace

TTIFFileFormatWriter::TTIFFileFormatWriter(std::string Extension, bool IsListed)
    : TFileFormatWriter(std::move(Extension), "Tagged Image File Format") {
    SetWriterListed(IsListed);
    SetMultiImage(true);
    SetCanWriteResolutions(ResolutionSet(
        {crBlackWhite, crGray16, crSys16, cr16Colors, crGray256, cr256Colors, crTrueColor}));
}

void TTIFFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    TFileInProgress File = BeginTIFF(Stream);
    AddTIFFImage(Stream, Graphic, File);
}

void TTIFFileFormatWriter::BeginFile(TStream& Stream) {
    const TFileInProgress File = BeginTIFF(Stream);
    const std::lock_guard<std::mutex> Lock(FOpenFilesLock);
    FOpenFiles[&Stream] = File;
}

void TTIFFileFormatWriter::AddImage(TStream& Stream, TPixelGraphic& Graphic) {
    TFileInProgress File;
    {
        const std::lock_guard<std::mutex> Lock(FOpenFilesLock);
        const auto Open = FOpenFiles.find(&Stream);
        if (Open == FOpenFiles.end()) {
            FailWrite("Internal Error"); // no BeginFile for this stream
        }
        File = Open->second;
    }
    AddTIFFImage(Stream, Graphic, File);
    const std::lock_guard<std::mutex> Lock(FOpenFilesLock);
    if (const auto Open = FOpenFiles.find(&Stream); Open != FOpenFiles.end()) {
        Open->second = File;
    }
}

void TTIFFileFormatWriter::EndFile(TStream& Stream) {
    const std::lock_guard<std::mutex> Lock(FOpenFilesLock);
    FOpenFiles.erase(&Stream); // the last directory's link stays 0
}
