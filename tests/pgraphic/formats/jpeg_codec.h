#pragma once

// libjpeg used directly, as an independent reference for the JPEG tests: files in colour spaces
// our writer never produces, and decodes to compare ours with. Uses the library's own error
// manager; a library error fails the test.

#include "format_test_util.h"

// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <functional>
#include <gtest/gtest.h>
#include <vector>

// A picture compressed by libjpeg: Components samples per pixel of value Sample(x, y, c), stored
// in the colour space FileSpace (CMYK, YCCK, RGB, ...). Setup, when given, changes the
// parameters last (sampling, scan script, ...).
template <typename F>
TBytes CompressWithLibjpeg(int Width, int Height, int Components, J_COLOR_SPACE InSpace,
                           J_COLOR_SPACE FileSpace, F&& Sample, bool Progressive = false,
                           const std::function<void(jpeg_compress_struct&)>& Setup = {}) {
    jpeg_compress_struct Info{};
    jpeg_error_mgr Error{};
    Info.err = jpeg_std_error(&Error);
    jpeg_CreateCompress(&Info, JPEG_LIB_VERSION, sizeof(Info));
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    jpeg_mem_dest(&Info, &Buffer, &Size);
    Info.image_width = static_cast<JDIMENSION>(Width);
    Info.image_height = static_cast<JDIMENSION>(Height);
    Info.input_components = Components;
    Info.in_color_space = InSpace;
    jpeg_set_defaults(&Info);
    jpeg_set_colorspace(&Info, FileSpace);
    if (Progressive) {
        jpeg_simple_progression(&Info);
    }
    if (Setup) {
        Setup(Info);
    }
    jpeg_start_compress(&Info, TRUE);
    std::vector<JSAMPLE> Row(static_cast<std::size_t>(Width * Components));
    while (Info.next_scanline < Info.image_height) {
        const int Y = static_cast<int>(Info.next_scanline);
        for (int X = 0; X < Width; ++X) {
            for (int C = 0; C < Components; ++C) {
                Row[static_cast<std::size_t>(X * Components + C)] =
                    static_cast<JSAMPLE>(Sample(X, Y, C));
            }
        }
        JSAMPROW Rows[1] = {Row.data()};
        jpeg_write_scanlines(&Info, Rows, 1);
    }
    jpeg_finish_compress(&Info);
    TBytes Bytes(Buffer, Buffer + Size);
    jpeg_destroy_compress(&Info);
    std::free(Buffer);
    return Bytes;
}

// The rows libjpeg decodes from Bytes with the given transform, in red-green-blue order (or grey),
// top row first.
inline std::vector<std::uint8_t> DecodeWithLibjpeg(const TBytes& Bytes, J_DCT_METHOD Method,
                                                   int& Components) {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Error{};
    Info.err = jpeg_std_error(&Error);
    jpeg_CreateDecompress(&Info, JPEG_LIB_VERSION, sizeof(Info));
    jpeg_mem_src(&Info, Bytes.data(), static_cast<unsigned long>(Bytes.size()));
    jpeg_read_header(&Info, TRUE);
    Info.dct_method = Method;
    jpeg_start_decompress(&Info);
    Components = Info.output_components;
    const std::size_t Stride = Info.output_width * static_cast<std::size_t>(Components);
    std::vector<std::uint8_t> Pixels(Stride * Info.output_height);
    while (Info.output_scanline < Info.output_height) {
        JSAMPROW Rows[1] = {Pixels.data() + Stride * Info.output_scanline};
        jpeg_read_scanlines(&Info, Rows, 1);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    return Pixels;
}

// The pixels of an image in the same layout: red, green, blue (bc24) or the grey index (bc8).
inline std::vector<std::uint8_t> PixelsOf(const TPixelGraphic& Image) {
    std::vector<std::uint8_t> Pixels;
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            if (Image.BitCount() == bc24) {
                const TColor C = Image.PixelColors(X, Y);
                Pixels.insert(Pixels.end(), {GetRValue(C), GetGValue(C), GetBValue(C)});
            } else {
                Pixels.push_back(static_cast<std::uint8_t>(Image.Pixels(X, Y)));
            }
        }
    }
    return Pixels;
}
