#include "core/stream.h"
#include "pgraphic/formats/pnm/pnm.h"
#include "pgraphic/formats/pnm/pnm_structures.h"
#include "pgraphic/formats/settings_store.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"
#include "platform/ascii_text.h"

#include <array>
#include <string>

namespace {

TPGSettingsStore<TPxMSettings>& Store() {
    static TPGSettingsStore<TPxMSettings> Settings;
    return Settings;
}

// Collects the output and hands it to the stream in large blocks.
class TOutputBuffer {
public:
    explicit TOutputBuffer(TStream& Stream) : FStream(Stream) { FData.reserve(kCapacity); }

    void Add(std::string_view Text) {
        FData.append(Text);
        if (FData.size() >= kCapacity) {
            Flush();
        }
    }
    void Add(char C) { Add(std::string_view(&C, 1)); }
    void Flush() {
        FStream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
        FData.clear();
    }

private:
    static constexpr std::size_t kCapacity = 64 * 1024;
    TStream& FStream;
    std::string FData;
};

// The decimal texts of 0..255.
const std::array<std::string, 256>& ByteTexts() {
    static const std::array<std::string, 256> Texts = [] {
        std::array<std::string, 256> T;
        for (std::size_t I = 0; I < T.size(); ++I) {
            T[I] = std::to_string(I);
        }
        return T;
    }();
    return Texts;
}

// The plain row: one text per sample, separated by single spaces, ended by a line feed.
void WritePlainRow(TOutputBuffer& Out, const TPixelGraphic& Graphic, char Kind, int Y) {
    const auto& Texts = ByteTexts();
    for (int X = 0; X < Graphic.Width(); ++X) {
        if (X > 0) {
            Out.Add(' ');
        }
        if (Kind == 'b') {
            Out.Add(Graphic.Pixels(X, Y) == 0 ? '1' : '0'); // index 0 is black
        } else if (Kind == 'g') {
            Out.Add(Texts[Graphic.Pixels(X, Y) & 0xFF]); // palette indices stay below 256
        } else {
            const TColor Color = Graphic.PixelColors(X, Y);
            Out.Add(Texts[GetRValue(Color)]);
            Out.Add(' ');
            Out.Add(Texts[GetGValue(Color)]);
            Out.Add(' ');
            Out.Add(Texts[GetBValue(Color)]);
        }
    }
    Out.Add('\n');
}

// The raw row: packed bits (set = black), grey bytes, or red, green, blue bytes.
void WriteRawRow(TOutputBuffer& Out, const TPixelGraphic& Graphic, char Kind, int Y,
                 std::string& Row) {
    const auto Width = static_cast<std::size_t>(Graphic.Width());
    const std::uint8_t* In = Graphic.ScanLine(Y);
    if (Kind == 'b') {
        Row.assign((Width + 7) / 8, '\0');
        for (std::size_t I = 0; I < Row.size(); ++I) {
            if (Graphic.BitCount() == bc1) {
                Row[I] = static_cast<char>(~In[I]);
                continue;
            }
            unsigned Bits = 0; // a black-and-white palette on another format: by index
            for (std::size_t B = 0; B < 8; ++B) {
                const std::size_t X = 8 * I + B;
                if (X < Width && Graphic.Pixels(static_cast<int>(X), Y) == 0) {
                    Bits |= 0x80u >> B;
                }
            }
            Row[I] = static_cast<char>(Bits);
        }
    } else if (Kind == 'g') {
        Row.resize(Width);
        for (std::size_t X = 0; X < Width; ++X) {
            Row[X] = static_cast<char>(
                Graphic.BitCount() == bc8 ? In[X] : Graphic.Pixels(static_cast<int>(X), Y));
        }
    } else {
        Row.resize(3 * Width);
        for (std::size_t I = 0; I < 3 * Width; I += 3) {
            Row[I] = static_cast<char>(In[I + 2]);
            Row[I + 1] = static_cast<char>(In[I + 1]);
            Row[I + 2] = static_cast<char>(In[I]);
        }
    }
    Out.Add(Row);
}

} // namespace

TPxMSettings PxMSettings() {
    return Store().Snapshot();
}
void SetPxMBinary(bool Value) {
    Store().SetField(&TPxMSettings::Binary, Value);
}

TPXMFileFormatWriter::TPXMFileFormatWriter(std::string Extension, std::string Description,
                                           TColorResolution Resolution)
    : TFileFormatWriter(std::move(Extension), std::move(Description)) {
    SetCanWriteResolutions(ResolutionSet({Resolution}));
}

void TPXMFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    const std::string& Ext = Extension();
    if (Ext != "pbm" && Ext != "pgm" && Ext != "ppm") {
        pnm::FailWrite(TPGLangStrId::UnknownFileExtension, Ext);
    }
    if (Graphic.Width() < 1 || Graphic.Height() < 1) {
        pnm::FailWrite(TPGLangStrId::ZeroWidthOrHeight);
    }
    const char Kind = Ext[1]; // 'b', 'g' or 'p'
    const bool Valid =
        Kind == 'b'   ? Graphic.BitCount() == bc1 || Graphic.PaletteIdent() == pBlackWhite
        : Kind == 'g' ? Graphic.BitCount() == bc8 || Graphic.PaletteIdent() == pGray256
                      : Graphic.BitCount() == bc24;
    if (!Valid) {
        const std::string Prefix = UpperCase(Ext) + ": ";
        pnm::FailWrite.WithPrefix(Prefix)(TPGLangStrId::InvalidColorResolution);
    }
    const bool Raw = PxMSettings().Binary;
    const char Digit = static_cast<char>((Kind == 'b'   ? '1'
                                          : Kind == 'g' ? '2'
                                                        : '3') +
                                         (Raw ? 3 : 0));
    Graphic.Flush();
    TOutputBuffer Out(Stream);
    Out.Add('P');
    Out.Add(Digit);
    Out.Add('\n');
    Out.Add(std::to_string(Graphic.Width()) + " " + std::to_string(Graphic.Height()) + "\n");
    if (Kind != 'b') {
        Out.Add("255\n");
    }
    const int Height = Graphic.Height();
    const TPGProgress Progress(Graphic, &Graphic);
    Progress.Run([&] {
        std::string Row;
        for (int Y = 0; Y < Height; ++Y) {
            if (Raw) {
                WriteRawRow(Out, Graphic, Kind, Y, Row);
            } else {
                WritePlainRow(Out, Graphic, Kind, Y);
            }
            (void)Progress.Aborted(Y, Height); // writing goes on whatever the handler answers
        }
        Out.Flush();
    });
}
