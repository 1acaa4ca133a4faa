#!/usr/bin/env python3
"""Writes small TIFF files of every layout the reader accepts (both byte orders, uncompressed and
PackBits, one or several strips, several images, and a few refused variants) into
fuzz/corpus/tiff, and directory chains into fuzz/corpus/tiff_chain, as the starting points of
fuzzing campaigns."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "tiff")
os.makedirs(out, exist_ok=True)

SIZES = {1: 1, 3: 2, 4: 4}


def packbits(row):
    """Literal chunks for bytes that change, repeats for runs of three or more."""
    result, i = bytearray(), 0
    while i < len(row):
        run = 1
        while i + run < len(row) and row[i + run] == row[i] and run < 128:
            run += 1
        if run >= 3:
            result += bytes([257 - run, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 128 and not (i + 2 < len(row) and row[i] == row[i + 1] == row[i + 2]):
            i += 1
        result += bytes([i - start - 1]) + row[start:i]
    return bytes(result)


class Tiff:
    def __init__(self, big=False):
        self.e = ">" if big else "<"
        self.data = bytearray((b"MM" if big else b"II") + struct.pack(self.e + "HI", 42, 0))
        self.link = 4

    def block(self, payload):
        if len(self.data) % 2:
            self.data += b"\0"
        at = len(self.data)
        self.data += payload
        return at

    def directory(self, entries, next_offset=None):
        """entries: (tag, type, values) with values a list of numbers."""
        if len(self.data) % 2:
            self.data += b"\0"
        at = len(self.data)
        struct.pack_into(self.e + "I", self.data, self.link, at)
        values_at = at + 2 + 12 * len(entries) + 4
        ifd, extra = struct.pack(self.e + "H", len(entries)), b""
        for tag, typ, values in entries:
            fmt = {1: "B", 3: "H", 4: "I"}[typ]
            field = struct.pack(self.e + fmt * len(values), *values)
            if len(field) <= 4:
                ifd += struct.pack(self.e + "HHI", tag, typ, len(values)) + field.ljust(4, b"\0")
            else:
                ifd += struct.pack(self.e + "HHII", tag, typ, len(values), values_at + len(extra))
                extra += field
        self.link = at + len(ifd)
        ifd += struct.pack(self.e + "I", next_offset or 0)
        self.data += ifd + extra
        return at


def rows(width, height, bytes_per_row, seed):
    return [bytes((seed + x * 37 + y * 11 + (x // 4) * 90) % 256 for x in range(bytes_per_row)) for y in range(height)]


def image(t, width, height, bits, photometric, rows_per_strip, compression=1, colormap=None, row_data=None):
    samples = len(bits)
    row_bytes = (bits[0] * samples * width + 7) // 8
    data = row_data or rows(width, height, row_bytes, width * 3 + height)
    offsets, counts = [], []
    for first in range(0, height, rows_per_strip):
        strip = b"".join(packbits(r) if compression == 32773 else r for r in data[first:first + rows_per_strip])
        offsets.append(t.block(strip))
        counts.append(len(strip))
    entries = [(254, 4, [0]), (256, 4, [width]), (257, 4, [height]), (258, 3, bits), (259, 3, [compression]),
               (262, 3, [photometric]), (273, 4, offsets), (277, 3, [samples]), (278, 4, [rows_per_strip]),
               (279, 4, counts)]
    if colormap:
        entries.append((320, 3, colormap))
    return entries


def colormap(bits):
    n = 1 << bits
    return [i * 65535 // (n - 1) for i in range(n)] + [(n - 1 - i) * 256 for i in range(n)] + [(i * 97 % n) * 256 for i in range(n)]


seeds = {}
for big in (False, True):
    order = "be" if big else "le"
    for name, bits, photometric, cmap in (("bw0", [1], 0, None), ("bw1", [1], 1, None), ("bw3", [1], 3, None),
                                          ("grey4", [4], 1, None), ("white4", [4], 0, None), ("pal4", [4], 3, colormap(4)),
                                          ("grey8", [8], 1, None), ("white8", [8], 0, None), ("pal8", [8], 3, colormap(8)),
                                          ("rgb", [8, 8, 8], 2, None), ("rgba", [8, 8, 8, 8], 2, None),
                                          ("cmyk", [8, 8, 8, 8], 5, None)):
        for compression in (1, 32773):
            t = Tiff(big)
            t.directory(image(t, 13, 7, bits, photometric, 3, compression, cmap))
            seeds[f"{name}_{order}_{'pb' if compression == 32773 else 'raw'}.tif"] = bytes(t.data)

# Several images in one chain, and one single-strip file that needs the warning.
t = Tiff()
for i in range(3):
    t.directory(image(t, 4 + i, 3, [8], 1, 2))
seeds["chain3.tif"] = bytes(t.data)
t = Tiff()
entries = image(t, 6, 5, [8], 1, 5)
entries[8] = (278, 4, [2])
t.directory(entries)
seeds["single_strip_warning.tif"] = bytes(t.data)
# Runs long enough to cross the decoder's window, and a described but refused compression.
t = Tiff(True)
t.directory(image(t, 600, 12, [8, 8, 8], 2, 12, 32773, row_data=[bytes([y] * 1800) for y in range(12)]))
seeds["long_runs_be.tif"] = bytes(t.data)
t = Tiff()
t.directory(image(t, 8, 8, [8], 1, 8, 5))
seeds["lzw_described.tif"] = bytes(t.data)

for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")

# Directory chains for the target that walks them: images of several layouts, and a loop.
chains = {"chain3.tif": seeds["chain3.tif"]}
t = Tiff(True)
for bits, photometric, cmap in (([8, 8, 8], 2, None), ([4], 3, colormap(4)), ([1], 0, None), ([8, 8, 8, 8], 5, None)):
    t.directory(image(t, 9, 4, bits, photometric, 3, 32773, cmap))
chains["mixed4_be.tif"] = bytes(t.data)
t = Tiff()
first = t.directory(image(t, 3, 2, [8], 1, 2))
t.directory(image(t, 2, 3, [8], 1, 1), next_offset=first)
chains["loop.tif"] = bytes(t.data)
chain_out = os.path.join(os.path.dirname(out), "tiff_chain")
os.makedirs(chain_out, exist_ok=True)
for name, data in chains.items():
    with open(os.path.join(chain_out, name), "wb") as f:
        f.write(data)
print(f"{len(chains)} seeds in {chain_out}")
