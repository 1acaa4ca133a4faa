#include "pgraphic/formats/tiff/tiff_directory.h"

#include "core/stream.h"
#include "pgraphic/formats/tiff/tiff_settings.h"
#include "pgraphic/image/lang_strings.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace tiff {

namespace {

constexpr std::size_t kMaxColorMapEntries = 256;

struct TEntry {
    std::uint16_t Tag = 0;
    std::uint16_t Type = 0;
    std::uint32_t Count = 0;
    std::array<std::uint8_t, 4> Value{};
};

std::uint16_t Read16(TStream& Stream, const TByteOrder& Order) {
    std::uint8_t B[2];
    Stream.ReadBuffer(B, 2);
    return Order.Get16(B);
}

std::uint32_t Read32(TStream& Stream, const TByteOrder& Order) {
    std::uint8_t B[4];
    Stream.ReadBuffer(B, 4);
    return Order.Get32(B);
}

// The header: byte order, 42 and the offset of the first directory.
std::uint32_t ReadHeader(TStream& Stream, TDirectory& D) {
    const auto NotATIF = [] { FailRead(PGLangStr(TPGLangStrId::NotAFile, "TIF")); };
    std::uint8_t Mark[2];
    Stream.ReadBuffer(Mark, 2);
    if (Mark[0] == 'I' && Mark[1] == 'I') {
        D.Order.BigEndian = false;
    } else if (Mark[0] == 'M' && Mark[1] == 'M') {
        D.Order.BigEndian = true;
    } else {
        NotATIF();
    }
    if (Read16(Stream, D.Order) != kMagic) {
        NotATIF();
    }
    return Read32(Stream, D.Order);
}

// Follows the directory chain from First: the number of directories and the offset of
// directory Index (0 when there are fewer). A chain that leaves the stream, loops or grows
// beyond MaxImages counts as one directory, the first.
std::uint32_t WalkChain(TStream& Stream, TDirectory& D, std::uint32_t First, int Index,
                        std::int64_t MaxImages) {
    const std::int64_t Size = Stream.Size();
    std::unordered_set<std::uint32_t> Seen;
    std::uint32_t Chosen = 0;
    int Count = 0;
    for (std::uint32_t Offset = First; Offset != 0;) {
        const std::int64_t Position = D.Base + Offset;
        if (Position < 0 || Position > Size - 2 || !Seen.insert(Offset).second ||
            Count + 1 > MaxImages) {
            D.ImageCount = 1;
            return First;
        }
        if (Count == Index) {
            Chosen = Offset;
        }
        ++Count;
        Stream.SetPosition(Position);
        const std::int64_t Next =
            Position + 2 + static_cast<std::int64_t>(kEntrySize) * Read16(Stream, D.Order);
        if (Next > Size - 2) {
            D.ImageCount = 1;
            return First;
        }
        Stream.SetPosition(Next);
        Offset = Read32(Stream, D.Order);
    }
    D.ImageCount = Count;
    return Chosen;
}

// The entries of one directory, looked up by tag (the last entry of a tag wins).
class TEntries {
public:
    TEntries(TStream& Stream, const TDirectory& D, std::int64_t Position)
        : FStream(Stream), FOrder(D.Order), FBase(D.Base), FSize(Stream.Size()) {
        Stream.SetPosition(Position);
        const std::uint16_t Count = Read16(Stream, FOrder);
        std::vector<std::uint8_t> Bytes(kEntrySize * Count);
        Stream.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        FEntries.resize(Count);
        for (std::size_t I = 0; I < Count; ++I) {
            const std::uint8_t* P = Bytes.data() + kEntrySize * I;
            TEntry& E = FEntries[I];
            E.Tag = FOrder.Get16(P);
            E.Type = FOrder.Get16(P + 2);
            E.Count = FOrder.Get32(P + 4);
            std::copy_n(P + 8, 4, E.Value.begin());
        }
    }

    const TEntry* Find(std::uint16_t Tag) const {
        const auto It = std::find_if(FEntries.rbegin(), FEntries.rend(),
                                     [Tag](const TEntry& E) { return E.Tag == Tag; });
        return It == FEntries.rend() ? nullptr : &*It;
    }

    // Number of values of a tag (0 when absent).
    std::uint32_t Count(std::uint16_t Tag) const {
        const TEntry* E = Find(Tag);
        return E == nullptr ? 0 : E->Count;
    }

    // The first value of a tag; 0 when it is absent or has none.
    std::uint32_t Scalar(std::uint16_t Tag) const {
        const auto Values = Array(Tag, 0, 1);
        return Values.empty() ? 0 : Values[0];
    }

    // Values First .. First + Count - 1 of a tag, as far as it has them. Values outside the
    // stream raise the stream read error before anything is allocated for them.
    std::vector<std::uint32_t> Array(std::uint16_t Tag, std::uint64_t First,
                                     std::uint64_t Count) const {
        const TEntry* E = Find(Tag);
        if (E == nullptr) {
            return {};
        }
        const std::uint64_t ElementSize = SizeOf(E->Type);
        const std::uint64_t N =
            First >= E->Count ? 0 : std::min<std::uint64_t>(Count, E->Count - First);
        std::vector<std::uint8_t> Bytes;
        if (E->Count * ElementSize <= 4) {
            Bytes.assign(E->Value.begin() + static_cast<std::ptrdiff_t>(First * ElementSize),
                         E->Value.begin() + static_cast<std::ptrdiff_t>((First + N) * ElementSize));
        } else {
            const std::int64_t Start = FBase + FOrder.Get32(E->Value.data()) +
                                       static_cast<std::int64_t>(First * ElementSize);
            const auto Length = static_cast<std::int64_t>(N * ElementSize);
            if (Start + Length > FSize) {
                throw EReadError();
            }
            Bytes.resize(static_cast<std::size_t>(Length));
            FStream.SetPosition(Start);
            FStream.ReadBuffer(Bytes.data(), Length);
        }
        std::vector<std::uint32_t> Values(static_cast<std::size_t>(N));
        for (std::size_t I = 0; I < Values.size(); ++I) {
            const std::uint8_t* P = Bytes.data() + I * ElementSize;
            Values[I] = ElementSize == 1   ? *P
                        : ElementSize == 2 ? FOrder.Get16(P)
                                           : FOrder.Get32(P);
        }
        return Values;
    }

private:
    static std::uint64_t SizeOf(std::uint16_t Type) {
        switch (Type) {
        case ftByte:
            return 1;
        case ftShort:
            return 2;
        case ftLong:
            return 4;
        default:
            FailRead("Unsupported field Type: " + std::to_string(Type));
        }
    }

    TStream& FStream;
    TByteOrder FOrder;
    std::int64_t FBase;
    std::int64_t FSize;
    std::vector<TEntry> FEntries;
};

// The sample layouts the reader turns into an image.
bool LayoutAccepted(const TDirectory& D) {
    const auto& Bits = D.BitsPerSample;
    const bool AllEight =
        std::all_of(Bits.begin(), Bits.end(), [](std::uint32_t B) { return B == 8; });
    switch (D.SamplesPerPixel) {
    case 1:
        return (Bits[0] == 1 || Bits[0] == 4 || Bits[0] == 8) &&
               (D.Photometric == phWhiteIsZero || D.Photometric == phBlackIsZero ||
                D.Photometric == phPalette);
    case 3:
        return D.Photometric == phRGB && AllEight;
    case 4:
        return (D.Photometric == phRGB || D.Photometric == phSeparated) && AllEight;
    default:
        return false;
    }
}

// Up to 256 colours of the colour map: all reds, then all greens, then all blues, 16 bits each.
std::vector<TColor> ReadColorMap(const TEntries& Entries) {
    const std::uint64_t PerComponent = Entries.Count(tagColorMap) / 3;
    const std::uint64_t Used = std::min<std::uint64_t>(PerComponent, kMaxColorMapEntries);
    std::vector<TColor> Colors(static_cast<std::size_t>(Used));
    if (Used == 0) {
        return Colors;
    }
    const auto Red = Entries.Array(tagColorMap, 0, Used);
    const auto Green = Entries.Array(tagColorMap, PerComponent, Used);
    const auto Blue = Entries.Array(tagColorMap, 2 * PerComponent, Used);
    for (std::size_t I = 0; I < Colors.size(); ++I) {
        Colors[I] = RGB(static_cast<int>(Red[I] >> 8), static_cast<int>(Green[I] >> 8),
                        static_cast<int>(Blue[I] >> 8));
    }
    return Colors;
}

} // namespace

TDirectory ParseDirectory(TStream& Stream, int Index) {
    TDirectory D;
    D.Base = Stream.Position();
    const std::uint32_t First = ReadHeader(Stream, D);
    std::uint32_t Offset = First;
    const TTIFFSettings Settings = TIFFSettings();
    if (Settings.MultiImage) {
        Offset = WalkChain(Stream, D, First, Index, Settings.MaxImages);
    }
    if (Index < 0 || Index >= D.ImageCount) {
        FailRead(PGLangStr(TPGLangStrId::Invalid, "Index"));
    }
    const TEntries Entries(Stream, D, D.Base + Offset);
    Entries.Scalar(tagNewSubfileType);
    D.Width = Entries.Scalar(tagImageWidth);
    D.Height = Entries.Scalar(tagImageLength);
    D.Compression = Entries.Scalar(tagCompression);
    D.Photometric = Entries.Scalar(tagPhotometricInterpretation);
    D.SamplesPerPixel = Entries.Scalar(tagSamplesPerPixel);
    D.RowsPerStrip = Entries.Scalar(tagRowsPerStrip);
    if (Entries.Scalar(tagPlanarConfiguration) > 1) {
        FailRead(PGLangStr(TPGLangStrId::Invalid, "PlanarConfiguration"));
    }
    if (D.SamplesPerPixel != 1 && D.SamplesPerPixel != 3 && D.SamplesPerPixel != 4) {
        FailRead("Invalid SamplesPerPixel");
    }
    if (Entries.Count(tagBitsPerSample) != D.SamplesPerPixel) {
        FailRead("Invalid count of SamplesPerPixel");
    }
    D.BitsPerSample = Entries.Array(tagBitsPerSample, 0, D.SamplesPerPixel);
    if (!LayoutAccepted(D)) {
        FailRead("Invalid SamplesPerPixel");
    }
    D.StripOffsets = Entries.Array(tagStripOffsets, 0, Entries.Count(tagStripOffsets));
    if (D.RowsPerStrip == 0) {
        if (D.StripOffsets.size() != 1) {
            FailRead("Invalid RowsPerStrip");
        }
        D.RowsPerStrip = D.Height;
    }
    D.StripByteCounts = Entries.Array(tagStripByteCounts, 0, Entries.Count(tagStripByteCounts));
    D.ColorMap = ReadColorMap(Entries);
    return D;
}

} // namespace tiff
