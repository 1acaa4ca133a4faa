#!/usr/bin/env python3
"""Writes small BMP files of every kind the reader accepts into fuzz/corpus/bmp, as the
starting point of fuzzing campaigns."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "bmp")
os.makedirs(out, exist_ok=True)


def info(width, height, bits, compression=0, size_image=0, clr_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size_image, 0, 0, clr_used, 0)


def core(width, height, bits):
    return struct.pack("<IHHHH", 12, width, height, 1, bits)


def bmp(header, rest):
    body = header + rest
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, 14 + len(header)) + body


def stride(bits, width):
    return (bits * width + 31) // 32 * 4


def palette(n, size=4):
    return b"".join(bytes([i * 37 % 256, i * 91 % 256, i * 13 % 256] + ([0] if size == 4 else [])) for i in range(n))


def pixels(bits, width, height):
    return bytes((i * 29 + 7) % 256 for i in range(stride(bits, width) * height))


seeds = {
    "rgb1.bmp": bmp(info(9, 3, 1), palette(2) + pixels(1, 9, 3)),
    "rgb4.bmp": bmp(info(5, 4, 4, clr_used=5), palette(5) + pixels(4, 5, 4)),
    "rgb8.bmp": bmp(info(6, 3, 8), palette(256) + pixels(8, 6, 3)),
    "rgb24.bmp": bmp(info(5, 3, 24), pixels(24, 5, 3)),
    "topdown24.bmp": bmp(info(3, -4, 24), pixels(24, 3, 4)),
    "rgb16.bmp": bmp(info(4, 2, 16), pixels(16, 4, 2)),
    "rgb32.bmp": bmp(info(2, 2, 32), pixels(32, 2, 2)),
    "fields16.bmp": bmp(info(3, 2, 16, 3), struct.pack("<III", 0xF800, 0x07E0, 0x001F) + pixels(16, 3, 2)),
    "fields32.bmp": bmp(info(2, -2, 32, 3), struct.pack("<III", 0xFF0000, 0xFF00, 0xFF) + pixels(32, 2, 2)),
    "rle8.bmp": bmp(info(8, 4, 8, 1, 20, 4), palette(4) + bytes([3, 1, 0, 3, 2, 3, 0, 0, 0, 2, 1, 1, 4, 2, 0, 0, 2, 3, 0, 1])),
    "rle4.bmp": bmp(info(8, 3, 4, 2, 14, 3), palette(3) + bytes([4, 0x12, 0, 3, 0x21, 0x20, 0, 0, 0, 2, 1, 1, 0, 1])),
    "core8.bmp": bmp(core(4, 2, 8), palette(256, 3) + pixels(8, 4, 2)),
    "core1.bmp": bmp(core(8, 2, 1), palette(2, 3) + pixels(1, 8, 2)),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
