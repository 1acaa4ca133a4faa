#pragma once

// libpng used directly, as an independent reference for the PNG tests: files of any colour type,
// bit depth and chunk set, and what libpng itself reads from the files we write.

#include "format_test_util.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <png.h>
#include <string>
#include <vector>
#include <zlib.h>

// A file to write: samples of BitDepth bits per channel, Sample(x, y, channel).
struct TPngPlan {
    int Width = 1;
    int Height = 1;
    int BitDepth = 8;
    int ColorType = PNG_COLOR_TYPE_RGB;
    bool Interlaced = false;
    std::function<unsigned(int X, int Y, int Channel)> Sample = [](int, int, int) { return 0u; };
    std::vector<png_color> Palette;
    std::vector<png_byte> PaletteAlpha;     // tRNS of a palette file
    std::optional<png_color_16> TransColor; // tRNS of a grey or RGB file
    std::optional<png_color_16> Background; // bKGD
    std::optional<double> Gamma;            // gAMA
    bool Offsets = false;                   // oFFs
};

inline int ChannelsOf(int ColorType) {
    switch (ColorType) {
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

inline void AppendBytes(png_structp Png, png_bytep Data, std::size_t Length) {
    auto& Out = *static_cast<TBytes*>(png_get_io_ptr(Png));
    Out.insert(Out.end(), Data, Data + Length);
}

inline TBytes WritePng(const TPngPlan& Plan) {
    TBytes Bytes;
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    const int Channels = ChannelsOf(Plan.ColorType);
    const std::size_t RowBytes =
        (static_cast<std::size_t>(Plan.Width * Channels * Plan.BitDepth) + 7) / 8;
    std::vector<std::vector<png_byte>> Rows(static_cast<std::size_t>(Plan.Height),
                                            std::vector<png_byte>(RowBytes));
    for (int Y = 0; Y < Plan.Height; ++Y) {
        auto& Row = Rows[static_cast<std::size_t>(Y)];
        for (int X = 0; X < Plan.Width; ++X) {
            for (int C = 0; C < Channels; ++C) {
                const unsigned V = Plan.Sample(X, Y, C);
                const auto I = static_cast<std::size_t>(X * Channels + C);
                if (Plan.BitDepth == 16) {
                    Row[2 * I] = static_cast<png_byte>(V >> 8);
                    Row[2 * I + 1] = static_cast<png_byte>(V);
                } else if (Plan.BitDepth == 8) {
                    Row[I] = static_cast<png_byte>(V);
                } else {
                    const auto Bit = I * static_cast<std::size_t>(Plan.BitDepth);
                    Row[Bit / 8] = static_cast<png_byte>(
                        Row[Bit / 8] | (V << (8 - Plan.BitDepth - static_cast<int>(Bit % 8))));
                }
            }
        }
    }
    std::vector<png_bytep> Pointers;
    for (auto& Row : Rows) {
        Pointers.push_back(Row.data());
    }
    if (setjmp(png_jmpbuf(Png)) != 0) {
        ADD_FAILURE() << "libpng could not write the test file";
        png_destroy_write_struct(&Png, &Info);
        return {};
    }
    png_set_write_fn(Png, &Bytes, AppendBytes, nullptr);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Plan.Width),
                 static_cast<png_uint_32>(Plan.Height), Plan.BitDepth, Plan.ColorType,
                 Plan.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!Plan.Palette.empty()) {
        png_set_PLTE(Png, Info, Plan.Palette.data(), static_cast<int>(Plan.Palette.size()));
    }
    if (!Plan.PaletteAlpha.empty() || Plan.TransColor) {
        png_set_tRNS(Png, Info, Plan.PaletteAlpha.data(),
                     static_cast<int>(Plan.PaletteAlpha.size()),
                     Plan.TransColor ? &*Plan.TransColor : nullptr);
    }
    if (Plan.Background) {
        png_set_bKGD(Png, Info, &*Plan.Background);
    }
    if (Plan.Gamma) {
        png_set_gAMA(Png, Info, *Plan.Gamma);
    }
    if (Plan.Offsets) {
        png_set_oFFs(Png, Info, 10, 20, PNG_OFFSET_PIXEL);
    }
    png_write_info(Png, Info);
    if (Plan.Interlaced) {
        png_set_interlace_handling(Png);
    }
    png_write_image(Png, Pointers.data());
    png_write_end(Png, nullptr);
    png_destroy_write_struct(&Png, &Info);
    return Bytes;
}

// What libpng reads from a file: its header, chunks and samples (each in a byte, unscaled).
struct TPngFacts {
    int Width = 0;
    int Height = 0;
    int BitDepth = 0;
    int ColorType = -1;
    std::optional<double> Gamma;
    std::vector<png_color> Palette;
    std::vector<std::vector<png_byte>> Rows;
};

inline void ReadBytes(png_structp Png, png_bytep Data, std::size_t Length) {
    auto& In = *static_cast<std::pair<const TBytes*, std::size_t>*>(png_get_io_ptr(Png));
    if (In.second + Length > In.first->size()) {
        png_error(Png, "test file too short");
    }
    std::memcpy(Data, In.first->data() + In.second, Length);
    In.second += Length;
}

inline TPngFacts ReadPng(const TBytes& Bytes) {
    TPngFacts Facts;
    std::pair<const TBytes*, std::size_t> In{&Bytes, 0};
    png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    if (setjmp(png_jmpbuf(Png)) != 0) {
        ADD_FAILURE() << "libpng could not read the file";
        png_destroy_read_struct(&Png, &Info, nullptr);
        return {};
    }
    png_set_read_fn(Png, &In, ReadBytes);
    png_read_info(Png, Info);
    Facts.Width = static_cast<int>(png_get_image_width(Png, Info));
    Facts.Height = static_cast<int>(png_get_image_height(Png, Info));
    Facts.BitDepth = png_get_bit_depth(Png, Info);
    Facts.ColorType = png_get_color_type(Png, Info);
    double Gamma = 0;
    if (png_get_gAMA(Png, Info, &Gamma) != 0) {
        Facts.Gamma = Gamma;
    }
    png_colorp Palette = nullptr;
    int Count = 0;
    if (png_get_PLTE(Png, Info, &Palette, &Count) != 0) {
        Facts.Palette.assign(Palette, Palette + Count);
    }
    png_set_packing(Png);
    png_read_update_info(Png, Info);
    Facts.Rows.assign(static_cast<std::size_t>(Facts.Height),
                      std::vector<png_byte>(png_get_rowbytes(Png, Info)));
    for (auto& Row : Facts.Rows) {
        png_read_row(Png, Row.data(), nullptr);
    }
    png_read_end(Png, nullptr);
    png_destroy_read_struct(&Png, &Info, nullptr);
    return Facts;
}

// The offset of chunk Type's length field in a file, or npos.
inline std::size_t ChunkOffset(const TBytes& Bytes, const std::string& Type) {
    for (std::size_t At = 8; At + 12 <= Bytes.size();) {
        const std::size_t Length = static_cast<std::size_t>(Bytes[At]) << 24 |
                                   static_cast<std::size_t>(Bytes[At + 1]) << 16 |
                                   static_cast<std::size_t>(Bytes[At + 2]) << 8 | Bytes[At + 3];
        if (std::equal(Type.begin(), Type.end(),
                       Bytes.begin() + static_cast<std::ptrdiff_t>(At + 4))) {
            return At;
        }
        At += 12 + Length;
    }
    return std::string::npos;
}

// The file with a chunk inserted before chunk Before (its CRC computed, or spoilt).
inline TBytes InsertChunk(const TBytes& Bytes, const std::string& Before, const std::string& Type,
                          const std::string& Data, bool BadCrc = false) {
    TBytes Chunk;
    const auto Length = static_cast<std::uint32_t>(Data.size());
    Chunk.insert(Chunk.end(),
                 {static_cast<png_byte>(Length >> 24), static_cast<png_byte>(Length >> 16),
                  static_cast<png_byte>(Length >> 8), static_cast<png_byte>(Length)});
    Chunk.insert(Chunk.end(), Type.begin(), Type.end());
    Chunk.insert(Chunk.end(), Data.begin(), Data.end());
    auto Crc = static_cast<std::uint32_t>(
        crc32(0, Chunk.data() + 4, static_cast<unsigned>(Chunk.size() - 4)));
    if (BadCrc) {
        Crc ^= 1;
    }
    Chunk.insert(Chunk.end(), {static_cast<png_byte>(Crc >> 24), static_cast<png_byte>(Crc >> 16),
                               static_cast<png_byte>(Crc >> 8), static_cast<png_byte>(Crc)});
    TBytes Out = Bytes;
    const std::size_t At = ChunkOffset(Bytes, Before);
    Out.insert(Out.begin() + static_cast<std::ptrdiff_t>(At), Chunk.begin(), Chunk.end());
    return Out;
}

// Puts right the CRC of the chunk at At after its data was changed.
inline void RecomputeCrc(TBytes& Bytes, std::size_t At) {
    const std::size_t Length = static_cast<std::size_t>(Bytes[At]) << 24 |
                               static_cast<std::size_t>(Bytes[At + 1]) << 16 |
                               static_cast<std::size_t>(Bytes[At + 2]) << 8 | Bytes[At + 3];
    const auto Crc = static_cast<std::uint32_t>(
        crc32(0, Bytes.data() + At + 4, static_cast<unsigned>(Length + 4)));
    for (int I = 0; I < 4; ++I) {
        Bytes[At + 8 + Length + static_cast<std::size_t>(I)] =
            static_cast<png_byte>(Crc >> (24 - 8 * I));
    }
}
