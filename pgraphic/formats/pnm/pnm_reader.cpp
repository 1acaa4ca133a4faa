#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/colors_text.h"
#include "pgraphic/formats/pnm/pnm.h"
#include "pgraphic/formats/pnm/pnm_structures.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace pnm;

namespace {

// A sample scaled from 0..MaxValue to 0..255. Samples above the maximum are invalid; they
// count as the maximum instead of wrapping around.
std::uint8_t Scale(std::uint64_t Value, std::uint64_t MaxValue) {
    return static_cast<std::uint8_t>(std::min(Value, MaxValue) * 255 / MaxValue);
}

// The scaled value of every byte a raw sample can hold.
std::array<std::uint8_t, 256> ScaleTable(int MaxValue) {
    std::array<std::uint8_t, 256> Table{};
    for (std::size_t V = 0; V < Table.size(); ++V) {
        Table[V] = Scale(V, static_cast<std::uint64_t>(MaxValue));
    }
    return Table;
}

// A file that cannot hold every row the header promises fails before the image is allocated:
// a raw row takes its bytes, a plain sample at least a digit and a separator.
void CheckDataSize(const TVariant& V, int Width, int Height, const TPGBufferedInput& Input) {
    const std::int64_t Samples = std::int64_t{Width} * V.Samples;
    const std::int64_t RowBytes =
        V.Format == bc1 && V.Raw ? (std::int64_t{Width} + 7) / 8 : Samples;
    const std::int64_t Usable = V.Raw ? Input.Remaining() : (Input.Remaining() + 1) / 2;
    if (Usable / Height < RowBytes) {
        FailRead.EndOfFile();
    }
}

void ReadPlainRow(TPGBufferedInput& Input, const TVariant& V, std::uint64_t MaxValue,
                  TPixelGraphic& Graphic, int Y) {
    for (int X = 0; X < Graphic.Width(); ++X) {
        if (V.Format == bc1) {
            Graphic.SetPixel(X, Y, ReadNumber(Input) != 0 ? 0 : 1); // non-zero is black
        } else if (V.Format == bc8) {
            Graphic.SetPixel(X, Y, Scale(ReadNumber(Input), MaxValue));
        } else {
            const std::uint8_t R = Scale(ReadNumber(Input), MaxValue);
            const std::uint8_t G = Scale(ReadNumber(Input), MaxValue);
            const std::uint8_t B = Scale(ReadNumber(Input), MaxValue);
            Graphic.SetPixel(X, Y, static_cast<std::uint32_t>(RGB(R, G, B)));
        }
    }
}

void ReadRawRow(TPGBufferedInput& Input, const TVariant& V,
                const std::array<std::uint8_t, 256>& Table, bool Identity, TPixelGraphic& Graphic,
                int Y) {
    std::uint8_t* Row = Graphic.ScanLine(Y);
    const auto Width = static_cast<std::size_t>(Graphic.Width());
    switch (V.Format) {
    case bc1: {
        const std::size_t Bytes = (Width + 7) / 8;
        Input.Read(Row, Bytes);
        for (std::size_t I = 0; I < Bytes; ++I) {
            Row[I] = static_cast<std::uint8_t>(~Row[I]); // set bits are black, index 0
        }
        break;
    }
    case bc8:
        Input.Read(Row, Width);
        if (!Identity) {
            for (std::size_t I = 0; I < Width; ++I) {
                Row[I] = Table[Row[I]];
            }
        }
        break;
    default:
        // Red, green, blue in the file; blue, green, red in the image.
        Input.Read(Row, 3 * Width);
        if (Identity) {
            for (std::size_t I = 0; I < 3 * Width; I += 3) {
                std::swap(Row[I], Row[I + 2]);
            }
            break;
        }
        for (std::size_t I = 0; I < 3 * Width; I += 3) {
            const std::uint8_t Red = Row[I];
            Row[I] = Table[Row[I + 2]];
            Row[I + 1] = Table[Row[I + 1]];
            Row[I + 2] = Table[Red];
        }
        break;
    }
}

} // namespace

TPxMFileFormatReader::TPxMFileFormatReader(std::string Extension, std::string Description,
                                           char PlainDigit, char RawDigit)
    : TFileFormatReader(std::move(Extension), std::move(Description)), FPlainDigit(PlainDigit),
      FRawDigit(RawDigit) {
    SetHasSignature(true);
}

bool TPxMFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return Header[0] == 'P' && (Header[1] == FPlainDigit || Header[1] == FRawDigit);
}

void TPxMFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        FailRead.WithPrefix("PxM: ")(TPGLangStrId::Invalid, "Index");
    }
    Graphic.SetGamma(PGDisplayGamma());
    TPGBufferedInput Input(Stream, FailRead);
    const TVariant V = ReadMagic(Input);
    Graphic.SetSize(0, 0, V.Format);
    if (V.Format == bc1) {
        Graphic.SetPaletteIdent(pBlackWhite);
    } else if (V.Format == bc8) {
        Graphic.SetPaletteIdent(pGray256);
    }
    const int Width = ReadHeaderNumber(Input);
    const int Height = ReadHeaderNumber(Input);
    const int MaxValue = V.HasMaxValue() ? ReadHeaderNumber(Input) : 1;
    // A maximum of 0 would divide by zero when scaling.
    if (Width < 1 || Height < 1 || MaxValue < 1 || (V.Raw && MaxValue >= 256)) {
        FailRead(TPGLangStrId::NotSupportedSubformat);
    }
    CheckDataSize(V, Width, Height, Input);
    Graphic.SetSize(Width, Height, V.Format);

    const auto Table = ScaleTable(MaxValue);
    const bool Identity = MaxValue == 255;
    // The reader, not the image, is the sender of its progress events.
    const TPGProgress Progress(Graphic, const_cast<TPxMFileFormatReader*>(this));
    Progress.Run([&] {
        for (int Y = 0; Y < Height; ++Y) {
            if (V.Raw) {
                ReadRawRow(Input, V, Table, Identity, Graphic, Y);
            } else {
                ReadPlainRow(Input, V, static_cast<std::uint64_t>(MaxValue), Graphic, Y);
            }
            if (Progress.Aborted(Y, Height)) {
                break;
            }
        }
    });
}

void TPxMFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        FailRead(TPGLangStrId::InvalidValueFor, "Index");
    }
    TPGBufferedInput Input(Stream, FailRead);
    const TVariant V = ReadMagic(Input);
    Info.SubFormatText = V.Raw ? "Binary" : "ASCII";
    Info.BitsPerPixel = V.BitsPerPixel();
    Info.Width = ReadHeaderNumber(Input);
    Info.Height = ReadHeaderNumber(Input);
    Info.ColorsText = Info.BitsPerPixel == 24 ? "16.7M" : PowerOfTwoText(Info.BitsPerPixel);
}

void RegisterPNMFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TPBMFileFormatReader>());
    Readers.Add(std::make_unique<TPGMFileFormatReader>());
    Readers.Add(std::make_unique<TPPMFileFormatReader>());
    Writers.Add(std::make_unique<TPBMFileFormatWriter>());
    Writers.Add(std::make_unique<TPGMFileFormatWriter>());
    Writers.Add(std::make_unique<TPPMFileFormatWriter>());
}
