#!/usr/bin/env python3
"""Writes JPEG files that once cost the reader far more than their size into fuzz/crashers/jpg,
where the fuzz replay keeps reading them. Needs libjpeg-turbo's cjpeg and Python's PIL.

progressive-18000x18000-one-scan.jpg: a progressive file of one DC scan, 1x1 sampling, about
26 KB, whose frame header claims 18000 x 18000 pixels. Decoding a multi-scan file keeps the
coefficients of the whole image, about 1.9 GB for that size."""
import io
import os
import random
import subprocess
import sys
import tempfile

from PIL import Image

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "crashers", "jpg")
os.makedirs(out, exist_ok=True)


def dc_only_progressive(width, height):
    rng = random.Random(18000)
    image = Image.new("RGB", (width, height))
    image.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256))
                   for _ in range(width * height)])
    source = io.BytesIO()
    image.save(source, "PPM")
    with tempfile.NamedTemporaryFile("w", suffix=".scans", delete=False) as scans:
        scans.write("0,1,2: 0-0, 0, 0;\n")
    try:
        return subprocess.run(["cjpeg", "-sample", "1x1", "-scans", scans.name], input=source.getvalue(),
                              stdout=subprocess.PIPE, check=True).stdout
    finally:
        os.unlink(scans.name)


def claim_size(jpeg, width, height):
    """The same file with the frame header's height and width replaced."""
    data = bytearray(jpeg)
    at = data.index(b"\xff\xc2")  # start of a progressive frame
    data[at + 5:at + 7] = height.to_bytes(2, "big")
    data[at + 7:at + 9] = width.to_bytes(2, "big")
    return bytes(data)


files = {
    "progressive-18000x18000-one-scan.jpg": claim_size(dc_only_progressive(904, 904), 18000, 18000),
}
for name, data in files.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (name, len(data)))
