#!/usr/bin/env python3
"""Times a whole unattended run against ImageMagick making the same two logos.

    whole_run_bench.py VESPERA [RUNS]

Runs, alternately and RUNS times each (default 40): "vespera /AUTO" (start, settings, a record
chosen from a 1 MB Q&A record file, both logos composed, reduced to 256 colours, written, exit)
in a scratch program folder and Windows folder, without a display; and ImageMagick's convert
twice, making the same two logos (gradient, annotated text, resized to 320 x 400, 256 colours,
BMP3). Prints the median wall time and the peak memory (largest resident set of a process) of
each, and their ratios.
"""

import os
import shutil
import statistics
import sys
import tempfile

from timed_run import alternate, headless_env, timed_run

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402


def run(argv, env):
    """Wall seconds and peak resident kilobytes of one run of argv."""
    usage = timed_run(argv, env)
    return usage.wall, usage.peak_kib


def make_record_file(path):
    """A Q&A record file of about 1 MB."""
    with open(path, "w") as out:
        out.write("[Header]\nFormat=Q&A\nDescription=No answer tonight\n\n[Data]\n")
        i = 0
        while out.tell() < 1024 * 1024:
            out.write(f"Q: What is riddle number {i} about, and why?\nA: Answer {i}.\n\n")
            i += 1


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    vespera = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    convert = shutil.which("convert")
    if convert is None:
        sys.exit("ImageMagick's convert is not installed")
    scratch = tempfile.mkdtemp(prefix="vespera-whole-run-")
    try:
        program = os.path.join(scratch, "program")
        windows = os.path.join(scratch, "windows")
        os.makedirs(program)
        os.makedirs(windows)
        copy = portable_copy(vespera, program, sample_records=False)
        make_record_file(os.path.join(program, "riddles.txt"))
        with open(os.path.join(program, "vespera.INI"), "w") as ini:
            ini.write("[General]\nTextFile=riddles.txt\n[First Logo]\nBackground=1\n"
                      "[Last Logo]\nBackground=1\n")
        env = dict(headless_env(scratch), VESPERA_WINDIR=windows)
        ours = [copy, "/AUTO"]
        theirs = []
        for name, top, bottom, color, text in (
                ("logow.bmp", "#008080", "#008000", "#00FF00",
                 "What is riddle number 1234 about, and why?"),
                ("logos.bmp", "#000080", "#000000", "#FFFF00", "Answer 1234.")):
            theirs.append([convert, "-size", "640x400", f"gradient:{top}-{bottom}",
                           "-font", "Liberation-Sans", "-pointsize", "18", "-fill", "#000000",
                           "-gravity", "center", "-annotate", "+2+2", text, "-fill", color,
                           "-annotate", "+0+0", text, "-resize", "320x400!", "-colors", "256",
                           "-type", "Palette", "BMP3:" + os.path.join(scratch, name)])

        def both_converts():
            walls, peaks = zip(*(run(argv, env) for argv in theirs))
            return sum(walls), max(peaks)

        samples = alternate(runs, {"ours": lambda: run(ours, env), "theirs": both_converts})
        ours_wall, ours_peak = zip(*samples["ours"])
        theirs_wall, theirs_peak = zip(*samples["theirs"])
        ow, tw = statistics.median(ours_wall), statistics.median(theirs_wall)
        op, tp = max(ours_peak), max(theirs_peak)
        print(f"vespera /AUTO        median {ow * 1000:7.1f} ms   peak {op / 1024:6.1f} MiB")
        print(f"convert x 2          median {tw * 1000:7.1f} ms   peak {tp / 1024:6.1f} MiB")
        print(f"ratio                wall {ow / tw:.2f}   memory {op / tp:.2f}")
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
