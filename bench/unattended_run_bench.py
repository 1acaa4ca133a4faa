#!/usr/bin/env python3
"""Times the unattended run against the floor of any Qt program doing its job.

    unattended_run_bench.py [BUILD] [PAIRS]

Runs, pair by pair and alternately (PAIRS pairs, default 60): "vespera /AUTO" of the build
folder BUILD (default build/release, which ./bench.sh and ./run.sh configure; what is missing of
the two programs is built first) in a scratch program folder and
Windows folder, without a display and without a record file, so that it draws both default
texts; and qt_logo_floor of the same build, a QGuiApplication that draws the same default texts
with their shadows on two 640 x 400 pictures and writes them as BMP files. Both run on Qt's
offscreen platform. Prints the median CPU time (user + system) and peak memory (largest
resident set) of each, and the medians of the ratios of the pairs.
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile

from timed_run import alternate, headless_env, timed_run

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402


def run(argv, env):
    """CPU seconds and peak resident kilobytes of one run of argv."""
    usage = timed_run(argv, env)
    return usage.cpu, usage.peak_kib


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    pairs = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    vespera = os.path.abspath(os.path.join(build, "app/ui/vespera"))
    floor = os.path.abspath(os.path.join(build, "bench/qt_logo_floor"))
    if not all(os.access(program, os.X_OK) for program in (vespera, floor)):
        # A build by ./run.sh has the program but not the floor: build what is missing.
        if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
            sys.exit(f"{build} is no build folder: run ./bench.sh first\n\n" + __doc__)
        print(f"building vespera and qt_logo_floor in {build}", file=sys.stderr)
        built = subprocess.run(["cmake", "--build", build, "--target", "vespera",
                                "vespera_window_module", "qt_logo_floor"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if built.returncode != 0:
            sys.exit(f"cannot build the programs in {build} (configured with the benchmarks? "
                     "./bench.sh configures it so):\n" + built.stderr)
    scratch = tempfile.mkdtemp(prefix="vespera-unattended-run-")
    try:
        program = os.path.join(scratch, "program")
        windows = os.path.join(scratch, "windows")
        pictures = os.path.join(scratch, "floor")
        for folder in (program, windows, pictures):
            os.makedirs(folder)
        copy = portable_copy(vespera, program, sample_records=False)
        env = headless_env(scratch)
        env["XDG_RUNTIME_DIR"] = scratch
        os.chmod(scratch, 0o700)
        ours_env = dict(env, VESPERA_WINDIR=windows)
        floor_env = dict(env, QT_QPA_PLATFORM="offscreen")
        ours = [copy, "/AUTO"]
        theirs = [floor, pictures]
        samples = alternate(pairs, {"ours": lambda: run(ours, ours_env),
                                    "floor": lambda: run(theirs, floor_env)})
        cpu_ratio = statistics.median(o[0] / f[0] for o, f in zip(samples["ours"], samples["floor"]))
        peak_ratio = statistics.median(o[1] / f[1] for o, f in zip(samples["ours"], samples["floor"]))
        for which, label in (("ours", "vespera /AUTO"), ("floor", "Qt floor")):
            cpu = statistics.median(s[0] for s in samples[which])
            peak = statistics.median(s[1] for s in samples[which])
            print(f"{label:14} median CPU {cpu * 1000:6.1f} ms   peak {peak / 1024:5.1f} MiB")
        print(f"ratio of {pairs} pairs (median)   CPU {cpu_ratio:.2f}   memory {peak_ratio:.2f}")
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
