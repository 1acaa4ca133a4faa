#pragma once

// Runs peer programs (ImageMagick, netpbm) on files in a temporary folder and compares the
// pixels they report with ours, for the interoperability tests of the file formats.

#include "format_test_util.h"
#include "tests/support/run_process.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

// The pixels of a file as a peer decoded them: red, green, blue per pixel, rows from the top.
struct TPeerImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
    std::string Error; // empty when the peer decoded the file

    TColor At(int X, int Y) const {
        const std::size_t I = 3 * (static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) +
                                   static_cast<std::size_t>(X));
        return RGB(Rgb[I], Rgb[I + 1], Rgb[I + 2]);
    }
};

// Parses the raw pixmap or graymap (P6 or P5, maximum 255, no comments) the peers print.
inline TPeerImage ParsePeerPixmap(const std::string& Bytes) {
    TPeerImage Image;
    char Kind = 0;
    int MaxValue = 0, Consumed = 0;
    if (std::sscanf(Bytes.c_str(), "P%c %d %d %d%n", &Kind, &Image.Width, &Image.Height, &MaxValue,
                    &Consumed) != 4 ||
        (Kind != '5' && Kind != '6') || MaxValue != 255) {
        Image.Error = "not a raw 8-bit pixmap or graymap: " + Bytes.substr(0, 40);
        return Image;
    }
    const std::size_t Start = static_cast<std::size_t>(Consumed) + 1;
    const std::size_t Pixels =
        static_cast<std::size_t>(Image.Width) * static_cast<std::size_t>(Image.Height);
    const std::size_t Samples = Kind == '6' ? 3 : 1;
    if (Bytes.size() < Start + Samples * Pixels) {
        Image.Error = "short pixmap";
        return Image;
    }
    for (std::size_t I = 0; I < Pixels; ++I) {
        for (std::size_t C = 0; C < 3; ++C) {
            Image.Rgb.push_back(
                static_cast<std::uint8_t>(Bytes[Start + Samples * I + (Samples == 3 ? C : 0)]));
        }
    }
    return Image;
}

// Runs a peer that prints a pixmap.
inline TPeerImage PeerPixmap(const std::vector<std::string>& Argv) {
    const TProcessResult Result = RunProcess(Argv);
    if (Result.ExitCode != 0) {
        TPeerImage Failed;
        Failed.Error = Argv[0] + " failed: " + Result.Err;
        return Failed;
    }
    return ParsePeerPixmap(Result.Out);
}

// The pixels ImageMagick reports for a file. ImageMagick keeps a Targa file's rows in stored
// order and only notes the orientation the file declares; -auto-orient applies it.
inline TPeerImage ImageMagickPixels(const std::string& File) {
    return PeerPixmap({"convert", File, "-auto-orient", "-strip", "-depth", "8", "ppm:-"});
}

// A Python with PIL: Debian's interpreter first, then whatever PATH offers; "" when none.
inline std::string PythonWithPil() {
    for (const std::string Candidate : {"/usr/bin/python3", "python3"}) {
        if (RunProcess({Candidate, "-c", "import PIL.Image"}).ExitCode == 0) {
            return Candidate;
        }
    }
    return {};
}

// The pixels PIL reports for a file, through the given Python.
inline TPeerImage PilPixels(const std::string& Python, const std::string& File) {
    return PeerPixmap({Python, "-c",
                       "import sys; from PIL import Image; i = "
                       "Image.open(sys.argv[1]).convert('RGB'); "
                       "sys.stdout.buffer.write(b'P6 %d %d 255\\n' % i.size + i.tobytes())",
                       File});
}

inline void WriteFileBytes(const std::string& Path, const std::string& Bytes) {
    std::ofstream(Path, std::ios::binary)
        .write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

inline void WriteFileBytes(const std::string& Path, const TBytes& Bytes) {
    WriteFileBytes(Path, std::string(Bytes.begin(), Bytes.end()));
}

// Every pixel of the image must have the colour the peer reports.
inline void ExpectSamePixels(const TPixelGraphic& Image, const TPeerImage& Peer,
                             const std::string& What) {
    ASSERT_TRUE(Peer.Error.empty()) << What << ": " << Peer.Error;
    ASSERT_EQ(Image.Width(), Peer.Width) << What;
    ASSERT_EQ(Image.Height(), Peer.Height) << What;
    int Differences = 0;
    for (int Y = 0; Y < Image.Height() && Differences < 5; ++Y) {
        for (int X = 0; X < Image.Width() && Differences < 5; ++X) {
            if (Image.PixelColors(X, Y) != Peer.At(X, Y)) {
                ++Differences;
                ADD_FAILURE() << What << ": pixel " << X << ", " << Y << " is " << std::hex
                              << Image.PixelColors(X, Y) << ", the peer has " << Peer.At(X, Y);
            }
        }
    }
}

// A temporary folder for the files the peers read and write; the test is skipped when a peer
// program is missing.
class PeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("vespera_peer_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }

    // True when every program is installed; otherwise names the missing one.
    static bool Have(const std::vector<std::string>& Programs, std::string& Missing) {
        for (const std::string& Program : Programs) {
            if (FindProgram(Program).empty()) {
                Missing = Program;
                return false;
            }
        }
        return true;
    }

    // Runs a peer that prints a file, and stores what it printed.
    static void RunToFile(const std::vector<std::string>& Argv, const std::string& Output) {
        const TProcessResult Result = RunProcess(Argv);
        ASSERT_EQ(Result.ExitCode, 0) << Argv[0] << ": " << Result.Err;
        WriteFileBytes(Output, Result.Out);
    }

    static void Run(const std::vector<std::string>& Argv) {
        const TProcessResult Result = RunProcess(Argv);
        ASSERT_EQ(Result.ExitCode, 0) << Argv[0] << ": " << Result.Err;
    }

    // A raw pixmap of random pixels drawn from Colors colours (0: any colour).
    void WriteSourcePixmap(const std::string& Name, int Width, int Height, int Colors) {
        std::mt19937 Rng(static_cast<unsigned>(Width * 31 + Height + Colors));
        std::vector<std::uint32_t> Palette(static_cast<std::size_t>(std::max(Colors, 1)));
        for (auto& C : Palette) {
            C = Rng() & 0xFFFFFF;
        }
        std::string Bytes =
            "P6\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n255\n";
        for (int I = 0; I < Width * Height; ++I) {
            const std::uint32_t C =
                Colors == 0 ? Rng() & 0xFFFFFF : Palette[Rng() % Palette.size()];
            Bytes += static_cast<char>(C >> 16);
            Bytes += static_cast<char>(C >> 8);
            Bytes += static_cast<char>(C);
        }
        WriteFileBytes(Path(Name), Bytes);
    }

    std::filesystem::path Dir;
};

#define VESPERA_REQUIRE_PEERS(...)                                                                 \
    do {                                                                                           \
        std::string Missing_;                                                                      \
        if (!Have({__VA_ARGS__}, Missing_)) {                                                      \
            GTEST_SKIP() << "peer program " << Missing_ << " is not installed";                    \
        }                                                                                          \
    } while (false)
