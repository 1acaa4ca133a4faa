#pragma once

// Builds TIFF files byte by byte for tests: a header, data blocks, and directories whose entries
// can say anything a hostile or unusual file would.

#include <algorithm>
#include <cstdint>
#include <vector>

class TTiffBuilder {
public:
    explicit TTiffBuilder(bool BigEndian = false) : FBigEndian(BigEndian) {
        Bytes = {static_cast<std::uint8_t>(BigEndian ? 'M' : 'I'),
                 static_cast<std::uint8_t>(BigEndian ? 'M' : 'I')};
        Put16(42);
        Put32(0); // first directory, filled in by Directory()
    }

    // Appends a block of data; returns its offset.
    std::uint32_t Data(const std::vector<std::uint8_t>& Block) {
        const auto At = static_cast<std::uint32_t>(Bytes.size());
        Bytes.insert(Bytes.end(), Block.begin(), Block.end());
        return At;
    }

    // An entry with values of type 1, 3 or 4 (stored after the directory when they do not fit).
    TTiffBuilder& Tag(std::uint16_t Tag, std::uint16_t Type, std::vector<std::uint32_t> Values) {
        FEntries.push_back({Tag, Type, static_cast<std::uint32_t>(Values.size()), 0, Values, true});
        return *this;
    }
    TTiffBuilder& Short(std::uint16_t T, std::uint32_t V) { return Tag(T, 3, {V}); }
    TTiffBuilder& Long(std::uint16_t T, std::uint32_t V) { return Tag(T, 4, {V}); }
    // An entry exactly as given: count and value field untouched.
    TTiffBuilder& Raw(std::uint16_t Tag, std::uint16_t Type, std::uint32_t Count,
                      std::uint32_t Field) {
        FEntries.push_back({Tag, Type, Count, Field, {}, false});
        return *this;
    }

    // The usual tags of a strip image.
    TTiffBuilder& Image(std::uint32_t Width, std::uint32_t Height,
                        std::vector<std::uint32_t> BitsPerSample, std::uint32_t Photometric,
                        std::vector<std::uint32_t> StripOffsets, std::uint32_t RowsPerStrip,
                        std::uint32_t Compression = 1) {
        Long(256, Width).Long(257, Height);
        Tag(258, 3, BitsPerSample);
        Short(259, Compression).Short(262, Photometric);
        Tag(273, 4, StripOffsets);
        Short(277, static_cast<std::uint32_t>(BitsPerSample.size()));
        Long(278, RowsPerStrip);
        return Tag(279, 4, std::vector<std::uint32_t>(StripOffsets.size(), 0));
    }

    // Writes the entries given so far as a directory and links it into the chain; returns its
    // offset. Next, when given, overrides the link to the next directory.
    std::uint32_t Directory(std::int64_t Next = -1) {
        if (Bytes.size() % 2 != 0) {
            Bytes.push_back(0);
        }
        const auto At = static_cast<std::uint32_t>(Bytes.size());
        Poke32(FLink, At);
        const std::size_t ValuesAt = At + 2 + 12 * FEntries.size() + 4;
        std::vector<std::uint8_t> Values;
        Put16(static_cast<std::uint32_t>(FEntries.size()));
        for (const auto& E : FEntries) {
            Put16(E.Tag);
            Put16(E.Type);
            Put32(E.Count);
            if (!E.Build) {
                Put32(E.Field);
                continue;
            }
            const std::size_t Size = E.Type == 1 ? 1 : E.Type == 3 ? 2 : 4;
            std::vector<std::uint8_t> Field;
            for (const std::uint32_t V : E.Values) {
                Append(Field, V, Size);
            }
            if (Field.size() <= 4) {
                Field.resize(4, 0);
                Bytes.insert(Bytes.end(), Field.begin(), Field.end());
            } else {
                Put32(static_cast<std::uint32_t>(ValuesAt + Values.size()));
                Values.insert(Values.end(), Field.begin(), Field.end());
            }
        }
        FLink = Bytes.size();
        Put32(Next < 0 ? 0 : static_cast<std::uint32_t>(Next));
        Bytes.insert(Bytes.end(), Values.begin(), Values.end());
        FEntries.clear();
        return At;
    }

    void Poke32(std::size_t At, std::uint32_t V) {
        std::vector<std::uint8_t> B;
        Append(B, V, 4);
        std::copy(B.begin(), B.end(), Bytes.begin() + static_cast<std::ptrdiff_t>(At));
    }

    std::vector<std::uint8_t> Bytes;

private:
    struct TEntry {
        std::uint16_t Tag, Type;
        std::uint32_t Count, Field;
        std::vector<std::uint32_t> Values;
        bool Build;
    };

    void Append(std::vector<std::uint8_t>& To, std::uint32_t V, std::size_t Size) const {
        for (std::size_t I = 0; I < Size; ++I) {
            const std::size_t Shift = 8 * (FBigEndian ? Size - 1 - I : I);
            To.push_back(static_cast<std::uint8_t>(V >> Shift));
        }
    }
    void Put16(std::uint32_t V) { Append(Bytes, V, 2); }
    void Put32(std::uint32_t V) { Append(Bytes, V, 4); }

    bool FBigEndian;
    std::size_t FLink = 4;
    std::vector<TEntry> FEntries;
};
