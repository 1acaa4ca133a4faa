#!/usr/bin/env python3
"""Writes small PCX files of every kind the reader accepts into fuzz/corpus/pcx, as the starting
point of fuzzing campaigns."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "pcx")
os.makedirs(out, exist_ok=True)


def header(version, bits, width, height, planes, bytes_per_line, palette16=b""):
    palette16 = (palette16 + bytes(48))[:48]
    return (struct.pack("<BBBBHHHHHH", 0x0A, version, 1, bits, 0, 0, width - 1, height - 1, 72, 72)
            + palette16 + struct.pack("<BBHH", 0, planes, bytes_per_line, 1) + bytes(58))


def encode_row(data):
    """Run-length encodes one scan line: runs of up to 63, bytes from 0xC0 up always as runs."""
    out = bytearray()
    i = 0
    while i < len(data):
        n = 1
        while i + n < len(data) and data[i + n] == data[i] and n < 63:
            n += 1
        if n > 1 or data[i] >= 0xC0:
            out += bytes([0xC0 | n, data[i]])
        else:
            out.append(data[i])
        i += n
    return bytes(out)


def image(version, bits, planes, width, height, palette16=b"", tail=b""):
    bpl = (width * bits + 7) // 8
    bpl += bpl % 2
    body = b""
    for y in range(height):
        row = bytes(((x * 7 + y * 13 + p * 29) // 3) % 256 for p in range(planes) for x in range(bpl))
        body += encode_row(row)
    return header(version, bits, width, height, planes, bpl, palette16) + body + tail


pal16 = bytes((i * 17) % 256 for i in range(48))
pal256 = b"\x0c" + bytes((i * 5) % 256 for i in range(768))
seeds = {
    "mono.pcx": image(5, 1, 1, 13, 4),
    "ega16.pcx": image(5, 1, 4, 11, 3, pal16),
    "ega16_v3.pcx": image(3, 1, 4, 9, 2),
    "vga256.pcx": image(5, 8, 1, 7, 5, tail=pal256),
    "rgb24.pcx": image(5, 8, 3, 6, 4),
    # A run of 63 that starts 10 bytes before the end of a 12-byte line.
    "cut_run.pcx": header(5, 8, 12, 2, 1, 12) + bytes([1, 2]) + bytes([0xFF, 9]) + bytes([0xC3, 4]) + bytes(9) + pal256,
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
