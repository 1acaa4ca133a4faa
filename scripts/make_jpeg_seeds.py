#!/usr/bin/env python3
"""Writes small JPEG files of the kinds the reader meets (baseline and progressive, grey and
colour, several samplings, restart markers, arithmetic coding, CMYK and YCCK, JFIF and Adobe
markers, a cut file) into fuzz/corpus/jpg, as the starting point of fuzzing campaigns. Needs
libjpeg-turbo's cjpeg and Python's PIL."""
import io
import os
import subprocess
import sys

from PIL import Image

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "jpg")
os.makedirs(out, exist_ok=True)


def picture(mode, width, height):
    image = Image.new("RGB", (width, height))
    image.putdata([((x * 23 + y * 5) % 256, (x * y * 3) % 256, (255 - x * 11 - y * 17) % 256)
                   for y in range(height) for x in range(width)])
    return image.convert(mode)


def cjpeg(image, *options):
    source = io.BytesIO()
    image.save(source, "PPM")
    return subprocess.run(["cjpeg", *options], input=source.getvalue(), stdout=subprocess.PIPE,
                          check=True).stdout


def pil(image, **options):
    data = io.BytesIO()
    image.save(data, "JPEG", **options)
    return data.getvalue()


rgb = picture("RGB", 19, 11)
gray = picture("L", 13, 9)
seeds = {
    "baseline420.jpg": cjpeg(rgb, "-quality", "75"),
    "baseline444.jpg": cjpeg(rgb, "-sample", "1x1", "-quality", "90"),
    "h2v1.jpg": cjpeg(rgb, "-sample", "2x1"),
    "gray.jpg": cjpeg(gray, "-grayscale"),
    "progressive.jpg": cjpeg(rgb, "-progressive"),
    "progressive_gray.jpg": cjpeg(gray, "-progressive", "-grayscale"),
    "restart.jpg": cjpeg(rgb, "-restart", "1B"),
    "optimized.jpg": cjpeg(rgb, "-optimize"),
    "arithmetic.jpg": cjpeg(rgb, "-arithmetic"),
    "rgb_colorspace.jpg": cjpeg(rgb, "-rgb"),
    "smooth_dct_float.jpg": cjpeg(rgb, "-dct", "float", "-smooth", "20"),
    "cmyk.jpg": pil(picture("CMYK", 9, 7)),
    "pil_exif.jpg": pil(rgb, quality=60, exif=b"Exif\x00\x00MM\x00*\x00\x00\x00\x08\x00\x00", comment=b"seed"),
    "one_pixel.jpg": cjpeg(picture("RGB", 1, 1)),
}
seeds["cut.jpg"] = seeds["baseline420.jpg"][: len(seeds["baseline420.jpg"]) * 2 // 3]

for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
print("wrote %d seeds to %s" % (len(seeds), out))
