// PNG files written by real peers (netpbm's pnmtopng, ImageMagick, Python's PIL) decode to the
// pixels netpbm's pngtopam reports for them, once transparency is composited against the file's
// background (or the image's) and the file's gamma is corrected; the files we write are read
// back identically by netpbm, ImageMagick and PIL.

#include "peer_image.h"
#include "pgraphic/formats/png/png_settings.h"
#include "tests/platform/test_files.h"

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace {

// What a file's chunks state.
struct TPngChunks {
    int Width = 0;
    int Height = 0;
    int BitDepth = 0;
    int ColorType = -1;
    bool Interlaced = false;
    bool Transparency = false; // a tRNS chunk
    std::optional<std::vector<std::uint8_t>> Background;
    std::optional<std::uint32_t> Gamma; // times 100000
    std::vector<std::uint8_t> Palette;
};

std::uint32_t Big32(const std::string& B, std::size_t At) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(B[At])) << 24 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(B[At + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(B[At + 2])) << 8 |
           static_cast<std::uint8_t>(B[At + 3]);
}

TPngChunks ReadChunks(const std::string& Bytes) {
    TPngChunks C;
    for (std::size_t At = 8; At + 12 <= Bytes.size();) {
        const std::size_t Length = Big32(Bytes, At);
        const std::string Type = Bytes.substr(At + 4, 4);
        const std::string Data = Bytes.substr(At + 8, Length);
        if (Type == "IHDR" && Data.size() >= 13) {
            C.Width = static_cast<int>(Big32(Data, 0));
            C.Height = static_cast<int>(Big32(Data, 4));
            C.BitDepth = static_cast<std::uint8_t>(Data[8]);
            C.ColorType = static_cast<std::uint8_t>(Data[9]);
            C.Interlaced = Data[12] != 0;
        } else if (Type == "tRNS") {
            C.Transparency = true;
        } else if (Type == "bKGD") {
            C.Background = std::vector<std::uint8_t>(Data.begin(), Data.end());
        } else if (Type == "gAMA" && Data.size() == 4) {
            C.Gamma = Big32(Data, 0);
        } else if (Type == "PLTE") {
            C.Palette.assign(Data.begin(), Data.end());
        }
        At += 12 + Length;
    }
    return C;
}

// A PAM as pngtopam prints it: samples of every channel, alpha last.
struct TPam {
    int Width = 0;
    int Height = 0;
    int Depth = 0;
    unsigned MaxVal = 0;
    bool Alpha = false;
    std::vector<unsigned> Samples;
    std::string Error;

    unsigned At(int X, int Y, int Channel) const {
        return Samples[static_cast<std::size_t>((Y * Width + X) * Depth + Channel)];
    }
};

TPam ReadPam(const std::vector<std::string>& Argv) {
    TPam Pam;
    const TProcessResult Result = RunProcess(Argv);
    if (Result.ExitCode != 0) {
        Pam.Error = Argv[0] + " failed: " + Result.Err;
        return Pam;
    }
    const std::size_t End = Result.Out.find("ENDHDR\n");
    if (Result.Out.rfind("P7\n", 0) != 0 || End == std::string::npos) {
        Pam.Error = "not a PAM";
        return Pam;
    }
    std::istringstream Header(Result.Out.substr(3, End - 3));
    std::string Key, TupleType;
    while (Header >> Key) {
        if (Key == "WIDTH") {
            Header >> Pam.Width;
        } else if (Key == "HEIGHT") {
            Header >> Pam.Height;
        } else if (Key == "DEPTH") {
            Header >> Pam.Depth;
        } else if (Key == "MAXVAL") {
            Header >> Pam.MaxVal;
        } else if (Key == "TUPLTYPE") {
            Header >> TupleType;
        }
    }
    Pam.Alpha = TupleType.find("_ALPHA") != std::string::npos;
    const std::size_t Bytes = Pam.MaxVal > 255 ? 2 : 1;
    const std::size_t Count = static_cast<std::size_t>(Pam.Width * Pam.Height * Pam.Depth);
    const std::string Body = Result.Out.substr(End + 7);
    if (Body.size() < Count * Bytes) {
        Pam.Error = "short PAM";
        return Pam;
    }
    for (std::size_t I = 0; I < Count; ++I) {
        const auto B0 = static_cast<std::uint8_t>(Body[I * Bytes]);
        Pam.Samples.push_back(Bytes == 2 ? B0 << 8 | static_cast<std::uint8_t>(Body[I * Bytes + 1])
                                         : B0);
    }
    return Pam;
}

// A sample of maximum MaxVal as 8 bits: the high byte of 16-bit samples, exact for the others.
int To8(double Sample, unsigned MaxVal) {
    if (MaxVal == 65535) {
        return static_cast<int>(Sample) >> 8;
    }
    return static_cast<int>(std::lround(Sample * 255 / MaxVal));
}

// The range of 8-bit values a channel may take in our image: the peer's sample composited
// against Background (same maximum) with the alpha it reports, cut to 8 bits and corrected from
// the file's gamma to the display's.
std::pair<int, int> Expected(unsigned Sample, unsigned Alpha, unsigned MaxVal, double Background,
                             std::optional<double> Exponent) {
    const double Mixed =
        (Alpha * static_cast<double>(Sample) + (MaxVal - Alpha) * Background) / MaxVal;
    int Low = To8(std::round(Mixed), MaxVal), High = Low;
    if ((Alpha != 0 && Alpha != MaxVal) || MaxVal == 65535) {
        Low = std::max(0, Low - 1); // libpng's rounding of a mixture
        High = std::min(255, High + 1);
    }
    if (Exponent) {
        const auto Correct = [&](int V) {
            return static_cast<int>(std::lround(255 * std::pow(V / 255.0, *Exponent)));
        };
        Low = Correct(Low);
        High = Correct(High);
    }
    return {Low, High};
}

class PngInterop : public PeerTest {
protected:
    // The image's own background, against which files without a background chunk are composited.
    static constexpr TColor kOwnBackground = RGB(0x40, 0x80, 0xC0);

    // Our decode of File against what pngtopam reports; returns the file's description.
    std::string Check(const std::string& File) {
        const std::string Bytes = ReadFile(Path(File));
        const TPngChunks C = ReadChunks(Bytes);
        std::ostringstream Kind;
        Kind << "type " << C.ColorType << " depth " << C.BitDepth << (C.Interlaced ? " il" : "")
             << (C.Transparency ? " trns" : "") << (C.Background ? " bkgd" : "")
             << (C.Gamma ? " gama" : "");
        const std::string What = File + " (" + Kind.str() + ")";
        const TPam Pam = ReadPam({"pngtopam", "-alphapam", Path(File)});
        EXPECT_TRUE(Pam.Error.empty()) << What << ": " << Pam.Error;
        // pngtopam (netpbm 11.1) reports the pixels of an RGB colour key as opaque; the key's
        // transparency is taken from ImageMagick's alpha channel instead.
        std::string KeyAlpha;
        if (C.ColorType == 2 && C.Transparency) {
            const TProcessResult Alpha =
                RunProcess({"convert", Path(File), "-alpha", "extract", "-depth", "8", "gray:-"});
            EXPECT_EQ(Alpha.ExitCode, 0) << What << ": " << Alpha.Err;
            KeyAlpha = Alpha.Out;
        }
        TPixelGraphic Image;
        Image.SetBackGroundColor(kOwnBackground);
        Image.SetReadWarningAction(pgwaRaise);
        try {
            Image.LoadFromFile(Path(File));
        } catch (const std::exception& E) {
            ADD_FAILURE() << What << ": " << E.what();
            return Kind.str();
        }
        if (!Pam.Error.empty()) {
            return Kind.str();
        }
        EXPECT_EQ(Image.Width(), Pam.Width) << What;
        EXPECT_EQ(Image.Height(), Pam.Height) << What;

        const bool Palette = C.ColorType == 3;
        const bool Transparent = C.Transparency || (C.ColorType & 4) != 0;
        const int Colours = Pam.Depth - (Pam.Alpha ? 1 : 0);
        // The background in the samples' scale: the file's chunk, or the image's colour.
        double Back[3] = {0, 0, 0};
        if (Transparent && C.Background) {
            const auto& B = *C.Background;
            for (int Ch = 0; Ch < 3; ++Ch) {
                if (Palette) {
                    Back[Ch] = C.Palette[3 * B[0] + static_cast<std::size_t>(Ch)];
                } else {
                    const std::size_t At = Colours == 1 ? 0 : 2 * static_cast<std::size_t>(Ch);
                    Back[Ch] = B[At] << 8 | B[At + 1];
                }
            }
            if (!C.Gamma) { // (a correction changes the palette the background indexes)
                EXPECT_EQ(Image.BackGroundColor(),
                          RGB(To8(Back[0], Pam.MaxVal), To8(Back[1], Pam.MaxVal),
                              To8(Back[2], Pam.MaxVal)))
                    << What << ": the file's background becomes the image's";
            }
        } else if (Transparent) {
            const int Grey = (GetRValue(kOwnBackground) + GetGValue(kOwnBackground) +
                              GetBValue(kOwnBackground)) /
                             3;
            const double Scale = Pam.MaxVal / 255.0;
            for (int Ch = 0; Ch < 3; ++Ch) {
                const int Own = Ch == 0   ? GetRValue(kOwnBackground)
                                : Ch == 1 ? GetGValue(kOwnBackground)
                                          : GetBValue(kOwnBackground);
                Back[Ch] = Colours == 1
                               ? (Pam.MaxVal < 255 ? (Grey * Pam.MaxVal + 127) / 255 : Grey * Scale)
                               : Own * Scale;
            }
        }
        std::optional<double> Exponent;
        if (C.Gamma) {
            const double Gamma = 100000.0 / *C.Gamma;
            if (std::fabs(Gamma / 1.8 - 1) > 0.05) {
                Exponent = Gamma / 1.8;
            }
        }
        int Failures = 0;
        for (int Y = 0; Y < Pam.Height && Failures < 5; ++Y) {
            for (int X = 0; X < Pam.Width && Failures < 5; ++X) {
                const auto I = static_cast<std::size_t>(Y * Pam.Width + X);
                const unsigned Alpha = I < KeyAlpha.size() ? (KeyAlpha[I] == 0 ? 0 : Pam.MaxVal)
                                       : Pam.Alpha         ? Pam.At(X, Y, Pam.Depth - 1)
                                                           : Pam.MaxVal;
                const TColor Ours = Image.PixelColors(X, Y);
                const int Got[3] = {GetRValue(Ours), GetGValue(Ours), GetBValue(Ours)};
                for (int Ch = 0; Ch < 3; ++Ch) {
                    const unsigned Sample = Pam.At(X, Y, Colours == 1 ? 0 : Ch);
                    const double Against = Transparent ? Back[Colours == 1 ? 0 : Ch] : 0;
                    const auto [Low, High] = Expected(Sample, Transparent ? Alpha : Pam.MaxVal,
                                                      Pam.MaxVal, Against, Exponent);
                    if (Got[Ch] < Low || Got[Ch] > High) {
                        ++Failures;
                        ADD_FAILURE()
                            << What << ": pixel " << X << "," << Y << " channel " << Ch << " is "
                            << Got[Ch] << ", expected " << Low << ".." << High << " (sample "
                            << Sample << "/" << Pam.MaxVal << ", alpha " << Alpha << ")";
                        break;
                    }
                }
            }
        }
        return Kind.str();
    }

    void WritePnm(const std::string& Name, char Kind, int Width, int Height, unsigned MaxVal,
                  const std::vector<unsigned>& Samples) {
        std::string Bytes = std::string("P") + Kind + "\n" + std::to_string(Width) + " " +
                            std::to_string(Height) + "\n" + std::to_string(MaxVal) + "\n";
        for (const unsigned S : Samples) {
            if (MaxVal > 255) {
                Bytes += static_cast<char>(S >> 8);
            }
            Bytes += static_cast<char>(S);
        }
        WriteFileBytes(Path(Name), Bytes);
    }
};

// A colour as netpbm writes one for a sample of maximum MaxVal.
std::string NetpbmColour(unsigned R, unsigned G, unsigned B, unsigned MaxVal) {
    char Text[40];
    std::snprintf(Text, sizeof Text, "rgb:%04x/%04x/%04x", R * 65535 / MaxVal, G * 65535 / MaxVal,
                  B * 65535 / MaxVal);
    return Text;
}

} // namespace

// pnmtopng writes every colour type and bit depth, each interlaced or not, with and without a
// transparency chunk (where the type allows one), a background chunk and a gamma chunk.
TEST_F(PngInterop, EveryKindWrittenByNetpbm) {
    VESPERA_REQUIRE_PEERS("pnmtopng", "pngtopam", "convert");
    constexpr int W = 13, H = 7;
    std::mt19937 Engine(7);
    const auto Rng = [&] { return static_cast<unsigned>(Engine()); };
    struct TKind {
        int ColorType;
        int BitDepth;
    };
    const TKind Kinds[] = {{0, 1},  {0, 2}, {0, 4},  {0, 8}, {0, 16}, {4, 8}, {4, 16}, {2, 8},
                           {2, 16}, {6, 8}, {6, 16}, {3, 1}, {3, 2},  {3, 4}, {3, 8}};
    std::set<std::string> Wanted, Covered;
    int Serial = 0;
    for (const TKind& K : Kinds) {
        const unsigned MaxVal = K.ColorType == 3 ? 255 : (1u << K.BitDepth) - 1;
        const bool Grey = (K.ColorType & 2) == 0;
        const bool HasAlpha = (K.ColorType & 4) != 0;
        // Sources: grey or colour samples (palette files: a few saturated colours), alpha.
        const int Entries = K.ColorType == 3 ? std::min(1 << K.BitDepth, 40) : 0;
        std::vector<std::array<unsigned, 3>> Palette;
        for (int I = 0; I < Entries; ++I) {
            Palette.push_back({static_cast<unsigned>(I * 97 % 256),
                               static_cast<unsigned>(255 - I * 5),
                               static_cast<unsigned>(I % 2 == 0 ? 30 + I : 220 - I)});
        }
        std::vector<unsigned> Samples, Alphas;
        std::vector<int> Index;
        for (int I = 0; I < W * H; ++I) {
            if (K.ColorType == 3) {
                const int E =
                    I < Entries ? I : static_cast<int>(Rng() % static_cast<unsigned>(Entries));
                Index.push_back(E);
                Samples.insert(Samples.end(), Palette[static_cast<std::size_t>(E)].begin(),
                               Palette[static_cast<std::size_t>(E)].end());
                const unsigned PaletteAlpha[] = {0, 255, 128, 255, 40, 255};
                Alphas.push_back(PaletteAlpha[E % 6]);
            } else {
                for (int C = 0; C < (Grey ? 1 : 3); ++C) {
                    Samples.push_back(Rng() % (MaxVal + 1));
                }
                const unsigned Choice = Rng() % 3;
                Alphas.push_back(Choice == 0 ? 0 : Choice == 1 ? MaxVal : Rng() % (MaxVal + 1));
            }
        }
        const std::string Source = "src" + std::to_string(Serial) + (Grey ? ".pgm" : ".ppm");
        WritePnm(Source, Grey ? '5' : '6', W, H, MaxVal, Samples);
        WritePnm("alpha" + std::to_string(Serial) + ".pgm", '5', W, H, MaxVal, Alphas);
        // The first pixel's colour serves as the transparent colour and the background.
        const unsigned R = Samples[0], G = Samples[Grey ? 0 : 1], B = Samples[Grey ? 0 : 2];
        for (const bool Interlace : {false, true}) {
            for (const bool Trns : {false, true}) {
                if (Trns && HasAlpha) {
                    continue;
                }
                for (const bool Bkgd : {false, true}) {
                    for (const bool Gama : {false, true}) {
                        std::vector<std::string> Argv = {"pnmtopng"};
                        if (K.ColorType != 3) {
                            Argv.push_back("-force"); // no palette
                        }
                        if (Interlace) {
                            Argv.push_back("-interlace");
                        }
                        if (HasAlpha || (Trns && K.ColorType == 3)) {
                            Argv.push_back("-alpha=" +
                                           Path("alpha" + std::to_string(Serial) + ".pgm"));
                        } else if (Trns) {
                            Argv.push_back("-transparent=" + NetpbmColour(R, G, B, MaxVal));
                        }
                        if (Bkgd) {
                            const unsigned S = Samples[Grey ? 1 : 3]; // another pixel
                            Argv.push_back("-background=" + NetpbmColour(Grey ? S : Samples[3],
                                                                         Grey ? S : Samples[4],
                                                                         Grey ? S : Samples[5],
                                                                         MaxVal));
                        }
                        if (Gama) {
                            Argv.push_back("-gamma=0.45455");
                        }
                        Argv.push_back(Path(Source));
                        std::ostringstream Name;
                        Name << "t" << K.ColorType << "d" << K.BitDepth << (Interlace ? "i" : "")
                             << (Trns ? "t" : "") << (Bkgd ? "b" : "") << (Gama ? "g" : "")
                             << ".png";
                        std::ostringstream Want;
                        Want << "type " << K.ColorType << " depth " << K.BitDepth
                             << (Interlace ? " il" : "") << (Trns ? " trns" : "")
                             << (Bkgd ? " bkgd" : "") << (Gama ? " gama" : "");
                        Wanted.insert(Want.str());
                        RunToFile(Argv, Path(Name.str()));
                        Covered.insert(Check(Name.str()));
                    }
                }
            }
        }
        ++Serial;
    }
    for (const std::string& Kind : Wanted) {
        EXPECT_TRUE(Covered.count(Kind) == 1) << "pnmtopng wrote no file of " << Kind;
    }
}

// ImageMagick writes gamma, background and chromaticity chunks with everything.
TEST_F(PngInterop, FilesWrittenByImageMagick) {
    VESPERA_REQUIRE_PEERS("convert", "pngtopam");
    WriteSourcePixmap("colour.ppm", 21, 11, 0);
    WriteSourcePixmap("few.ppm", 21, 11, 12);
    Run({"convert", Path("colour.ppm"), "-colorspace", "Gray", "-depth", "8", Path("grey.pgm")});
    Run({"convert", Path("colour.ppm"), "-alpha", "set", "-channel", "A", "-fx", "(i+j)%3/2",
         "+channel", "-interlace", "PNG", Path("rgba_il.png")});
    Run({"convert", Path("colour.ppm"), "-depth", "16", "-define", "png:bit-depth=16",
         Path("rgb16.png")});
    Run({"convert", Path("few.ppm"), "-transparent", "black", "-define", "png:color-type=3",
         Path("palette.png")});
    Run({"convert", Path("few.ppm"), "-fuzz", "30%", "-transparent", "white", "-define",
         "png:color-type=3", "-define", "png:bit-depth=8", "-background", "#102030",
         Path("palette8_bkgd.png")});
    Run({"convert", Path("grey.pgm"), "-define", "png:color-type=0", "-define", "png:bit-depth=8",
         Path("grey8.png")});
    Run({"convert", Path("grey.pgm"), "-alpha", "set", "-channel", "A", "-fx", "i%2", "+channel",
         "-define", "png:color-type=4", Path("grey_alpha.png")});
    Run({"convert", Path("grey.pgm"), "-threshold", "50%", "-define", "png:color-type=0", "-define",
         "png:bit-depth=1", "-interlace", "PNG", Path("mono.png")});
    for (const char* File : {"rgba_il.png", "rgb16.png", "palette.png", "palette8_bkgd.png",
                             "grey8.png", "grey_alpha.png", "mono.png"}) {
        Check(File);
    }
}

// PIL writes the 8-bit modes, 16-bit grey, transparency chunks, and chunks of our choosing.
TEST_F(PngInterop, FilesWrittenByPil) {
    VESPERA_REQUIRE_PEERS("pngtopam", "convert");
    const std::string Python = PythonWithPil();
    if (Python.empty()) {
        GTEST_SKIP() << "no python3 with PIL is installed";
    }
    const std::string Script = R"(
import random, struct, sys, zlib
from PIL import Image, PngImagePlugin
out = sys.argv[1]
random.seed(3)
w, h = 17, 9
def info(*chunks):
    i = PngImagePlugin.PngInfo()
    for kind, data in chunks:
        i.add(kind, data)
    return i
gama = (b"gAMA", struct.pack(">I", 45455))
rgb = Image.new("RGB", (w, h)); rgb.putdata([tuple(random.randrange(256) for _ in range(3)) for _ in range(w * h)])
rgba = Image.new("RGBA", (w, h)); rgba.putdata([tuple(random.randrange(256) for _ in range(3)) + (random.choice([0, 255, random.randrange(256)]),) for _ in range(w * h)])
la = rgba.convert("LA")
grey = rgb.convert("L")
p = rgb.quantize(7)
p4 = rgb.quantize(4)
rgb.save(out + "/rgb.png")
rgb.save(out + "/rgb_trns.png", transparency=rgb.getpixel((0, 0)))
rgba.save(out + "/rgba_bkgd.png", pnginfo=info((b"bKGD", struct.pack(">HHH", 250, 20, 90)), gama))
la.save(out + "/la.png")
grey.save(out + "/grey_trns_gama.png", transparency=grey.getpixel((1, 0)), pnginfo=info(gama))
grey.convert("1").save(out + "/mono.png")
p.save(out + "/p_trns.png", transparency=bytes([0, 128, 255, 60]))
p4.save(out + "/p_bits2.png", bits=2)
Image.frombytes("I;16", (w, h), bytes(random.randrange(256) for _ in range(2 * w * h))).save(out + "/grey16.png")
)";
    WriteFileBytes(Path("make.py"), Script);
    Run({Python, Path("make.py"), Dir.string()});
    for (const char* File :
         {"rgb.png", "rgb_trns.png", "rgba_bkgd.png", "la.png", "grey_trns_gama.png", "mono.png",
          "p_trns.png", "p_bits2.png", "grey16.png"}) {
        Check(File);
    }
}

// Our files of every colour resolution, read back by netpbm, ImageMagick and PIL.
TEST_F(PngInterop, OurFilesReadBackByThePeers) {
    VESPERA_REQUIRE_PEERS("convert", "pngtopam", "pamtopnm", "pamdepth");
    const std::string Python = PythonWithPil();
    std::mt19937 Engine(11);
    const auto Rng = [&] { return static_cast<unsigned>(Engine()); };
    const auto Fill = [&](TPixelGraphic& Image, unsigned Values) {
        for (int Y = 0; Y < Image.Height(); ++Y) {
            for (int X = 0; X < Image.Width(); ++X) {
                Image.SetPixel(X, Y, Values == 0 ? Rng() & 0xFFFFFF : Rng() % Values);
            }
        }
    };
    struct TCase {
        const char* Name;
        TPGBitCount BitCount;
        TPaletteIdent Ident;
        unsigned Values;
    };
    const TCase Cases[] = {{"bw.png", bc1, pBlackWhite, 2},     {"sys16.png", bc4, pSys16, 16},
                           {"gray16.png", bc4, pGray16, 16},    {"grey.png", bc8, pGray256, 256},
                           {"s252.png", bc8, pSpecial252, 252}, {"true.png", bc24, pTrueColor, 0}};
    for (const TCase& Case : Cases) {
        TPixelGraphic Image;
        Image.SetSize(19, 7, Case.BitCount);
        if (Case.BitCount != bc24) {
            Image.SetPaletteIdent(Case.Ident);
        }
        Fill(Image, Case.Values);
        Image.SaveToFile(Path(Case.Name));
        const std::string File = Path(Case.Name);
        ExpectSamePixels(
            Image, PeerPixmap({"sh", "-c", "pngtopam '" + File + "' | pamtopnm | pamdepth 255"}),
            std::string(Case.Name) + " / netpbm");
        ExpectSamePixels(Image, ImageMagickPixels(File), std::string(Case.Name) + " / ImageMagick");
        if (!Python.empty()) {
            ExpectSamePixels(Image, PilPixels(Python, File), std::string(Case.Name) + " / PIL");
        }
    }
    if (Python.empty()) {
        GTEST_SKIP() << "no python3 with PIL is installed: PIL's part was left out";
    }
}
