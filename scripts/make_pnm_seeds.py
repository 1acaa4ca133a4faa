#!/usr/bin/env python3
"""Writes small portable bitmap, graymap and pixmap files of every variant into fuzz/corpus/pnm, as
the starting point of fuzzing campaigns."""
import os
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "pnm")
os.makedirs(out, exist_ok=True)


def plain(digit, width, height, maxval, samples, comment=False):
    head = f"P{digit}\n" + ("# made for fuzzing\n" if comment else "") + f"{width} {height}\n"
    if maxval is not None:
        head += f"{maxval}\n"
    rows = []
    for y in range(height):
        values = [((x * 7 + y * 3 + s) % (2 if maxval is None else maxval + 1)) for x in range(width) for s in range(samples)]
        rows.append(" ".join(str(v) for v in values))
    return (head + "\n".join(rows) + "\n").encode()


def raw(digit, width, height, maxval, row_bytes):
    head = f"P{digit}\n{width} {height}\n" + (f"{maxval}\n" if maxval is not None else "")
    data = bytes(((i * 37 + 11) % ((maxval or 255) + 1)) for i in range(row_bytes * height))
    return head.encode() + data


seeds = {
    "p1.pbm": plain(1, 10, 3, None, 1, comment=True),
    "p2.pgm": plain(2, 5, 4, 255, 1),
    "p2_wide.pgm": plain(2, 3, 2, 65535, 1),
    "p3.ppm": plain(3, 4, 3, 15, 3, comment=True),
    "p4.pbm": raw(4, 11, 3, None, 2),
    "p5.pgm": raw(5, 6, 3, 255, 6),
    "p5_small.pgm": raw(5, 3, 3, 7, 3),
    "p6.ppm": raw(6, 4, 2, 255, 12),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print(f"{len(seeds)} seeds in {out}")
