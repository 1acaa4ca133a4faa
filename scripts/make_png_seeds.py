#!/usr/bin/env python3
"""Writes small PNG files of every colour type and bit depth, interlaced or not, with
transparency, background, gamma and the other chunks the reader reports, into fuzz/corpus/png,
as the starting point of fuzzing campaigns. Needs nothing beyond Python."""
import os
import struct
import sys
import zlib

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "png")
os.makedirs(out, exist_ok=True)

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def sample(x, y, c, depth):
    return (x * 7 + y * 13 + c * 29 + x * y) % (1 << depth)


def pack_row(values, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", v) for v in values)
    if depth == 8:
        return bytes(values)
    per = 8 // depth
    row = bytearray((len(values) + per - 1) // per)
    for i, v in enumerate(values):
        row[i // per] |= v << (8 - depth * (i % per + 1))
    return bytes(row)


def filter_row(kind, row, prior, bpp):
    out = bytearray(row)
    for i in range(len(row)):
        a = row[i - bpp] if i >= bpp else 0
        b = prior[i] if prior else 0
        c = prior[i - bpp] if prior and i >= bpp else 0
        if kind == 1:
            pred = a
        elif kind == 2:
            pred = b
        elif kind == 3:
            pred = (a + b) // 2
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
        else:
            pred = 0
        out[i] = (row[i] - pred) & 0xFF
    return bytes([kind]) + bytes(out)


def scanlines(width, height, depth, color, xs=None, ys=None):
    channels = CHANNELS[color]
    bpp = max(1, depth * channels // 8)
    data = b""
    prior = None
    for y in ys if ys is not None else range(height):
        values = []
        for x in xs if xs is not None else range(width):
            for c in range(channels):
                values.append(sample(x, y, c, depth if color != 3 else min(depth, 2)))
        row = pack_row(values, depth)
        data += filter_row(y % 5, row, prior, bpp)
        prior = row
    return data


def image_data(width, height, depth, color, interlace):
    if not interlace:
        return scanlines(width, height, depth, color)
    data = b""
    for x0, y0, dx, dy in ADAM7:
        xs, ys = list(range(x0, width, dx)), list(range(y0, height, dy))
        if xs and ys:
            data += scanlines(width, height, depth, color, xs, ys)
    return data


def png(width, height, depth, color, interlace=0, before=b"", after=b""):
    header = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, color, 0, 0, interlace))
    idat = zlib.compress(image_data(width, height, depth, color, interlace), 9)
    return b"\x89PNG\r\n\x1a\n" + header + before + chunk(b"IDAT", idat) + after + chunk(b"IEND", b"")


def plte(n):
    return chunk(b"PLTE", bytes((i * 53 + c * 101) % 256 for i in range(n) for c in range(3)))


seeds = {}
for color, depths in ((0, (1, 2, 4, 8, 16)), (2, (8, 16)), (3, (1, 2, 4, 8)), (4, (8, 16)), (6, (8, 16))):
    for depth in depths:
        pal = plte(min(1 << depth, 16)) if color == 3 else b""
        name = "c%d_d%d" % (color, depth)
        seeds[name + ".png"] = png(7, 5, depth, color, 0, pal)
        seeds[name + "_i.png"] = png(9, 9, depth, color, 1, pal)

gray_trns = chunk(b"tRNS", struct.pack(">H", 1))
rgb_trns = chunk(b"tRNS", struct.pack(">HHH", 7, 13, 29))
seeds["gray2_trns_bkgd.png"] = png(6, 3, 2, 0, 0, gray_trns + chunk(b"bKGD", struct.pack(">H", 3)))
seeds["rgb8_trns_bkgd.png"] = png(6, 3, 8, 2, 0, rgb_trns + chunk(b"bKGD", struct.pack(">HHH", 200, 100, 50)))
seeds["pal4_trns_bkgd.png"] = png(6, 3, 4, 3, 0, plte(16) + chunk(b"tRNS", bytes([0, 64, 128, 255])) + chunk(b"bKGD", b"\x02"))
seeds["rgba16_bkgd_gama.png"] = png(5, 4, 16, 6, 1, chunk(b"gAMA", struct.pack(">I", 45455)) + chunk(b"bKGD", struct.pack(">HHH", 65535, 0, 32768)))
seeds["ga8_gama.png"] = png(5, 4, 8, 4, 0, chunk(b"gAMA", struct.pack(">I", 100000)))
seeds["all_chunks.png"] = png(
    4, 4, 8, 3, 0,
    chunk(b"gAMA", struct.pack(">I", 55556)) + chunk(b"sBIT", b"\x05\x06\x05")
    + chunk(b"cHRM", struct.pack(">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000))
    + plte(8) + chunk(b"tRNS", b"\x00\x80") + chunk(b"bKGD", b"\x01") + chunk(b"hIST", b"\x00\x01" * 8)
    + chunk(b"pHYs", struct.pack(">IIB", 2835, 2835, 1)) + chunk(b"oFFs", struct.pack(">iiB", 10, -5, 0))
    + chunk(b"tIME", struct.pack(">HBBBBB", 2020, 1, 2, 3, 4, 5)) + chunk(b"tEXt", b"Title\x00seed")
    + chunk(b"zTXt", b"Comment\x00\x00" + zlib.compress(b"compressed text")),
)
seeds["text_after.png"] = png(3, 3, 8, 0, 0, b"", chunk(b"tIME", struct.pack(">HBBBBB", 2021, 6, 7, 8, 9, 10)) + chunk(b"tEXt", b"k\x00v"))


def split_idat(data, parts):
    """The same file with its image data spread over several IDAT chunks."""
    start = data.index(b"IDAT") - 4
    length = struct.unpack(">I", data[start:start + 4])[0]
    body = data[start + 8:start + 8 + length]
    step = (len(body) + parts - 1) // parts
    chunks = b"".join(chunk(b"IDAT", body[i:i + step]) for i in range(0, len(body), step))
    return data[:start] + chunks + data[start + 12 + length:]


seeds["split_idat.png"] = split_idat(png(8, 8, 8, 2, 1), 4)

for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print("wrote %d seeds to %s" % (len(seeds), out))
