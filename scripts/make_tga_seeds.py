#!/usr/bin/env python3
"""Writes small Targa files of every kind the reader accepts into fuzz/corpus/tga, as the starting
point of fuzzing campaigns."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "tga")
os.makedirs(out, exist_ok=True)


def header(image_type, width, height, depth, descriptor=0, map_type=0, first=0, length=0, entry=0, ident=b""):
    return struct.pack("<BBBHHBHHHHBB", len(ident), map_type, image_type, first, length, entry, 0, 0,
                       width, height, depth, descriptor) + ident


def pixels(count, size):
    return bytes((i * 29 + 5) % 256 for i in range(count * size))


def rle_rows(width, height, size):
    """One run packet and one raw packet per row."""
    out = bytearray()
    run = width // 2
    for y in range(height):
        out += bytes([0x80 | (run - 1)]) + pixels(1, size)
        out += bytes([width - run - 1]) + pixels(width - run, size)
    return bytes(out)


cmap24 = bytes((i * 3) % 256 for i in range(16 * 3))
cmap16 = bytes((i * 7) % 256 for i in range(8 * 2))
seeds = {
    "mapped.tga": header(1, 5, 3, 8, map_type=1, length=16, entry=24, ident=b"id") + cmap24 + pixels(15, 1),
    "mapped16.tga": header(1, 4, 2, 8, map_type=1, first=2, length=8, entry=16) + cmap16 + pixels(8, 1),
    "true24.tga": header(2, 4, 3, 24) + pixels(12, 3),
    "true32_topdown.tga": header(2, 3, 2, 32, descriptor=0x28) + pixels(6, 4),
    "true16_rtl.tga": header(2, 3, 3, 16, descriptor=0x10) + pixels(9, 2),
    "gray.tga": header(3, 6, 2, 8, descriptor=0x20) + pixels(12, 1),
    "rle_mapped.tga": header(9, 6, 2, 8, map_type=1, length=16, entry=24) + cmap24 + rle_rows(6, 2, 1),
    "rle24.tga": header(10, 7, 3, 24) + rle_rows(7, 3, 3),
    "rle32.tga": header(10, 4, 2, 32, descriptor=0x30) + rle_rows(4, 2, 4),
    "rle_gray.tga": header(11, 5, 2, 8) + rle_rows(5, 2, 1),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
