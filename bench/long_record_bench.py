#!/usr/bin/env python3
"""Times the unattended run on record files with endless lines.

    long_record_bench.py VESPERA [RUNS] [GIB]

Runs a portable copy of VESPERA ("vespera /AUTO", no display) RUNS times (default 3) with each
of these record files: the sample record file (an ordinary run); a "SINGLE" file whose one data
line is 20 MB of words; one whose data line is GIB GiB (default 2) long; and GIB GiB of NUL
bytes without any line end or header. Prints, per file, the median wall and CPU time, the peak
memory and how far it lies above the ordinary run's, and, when strace is installed, how often
the run opened the record file and how many bytes of it were read.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

from timed_run import headless_env, timed_run

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402

MIB = 1024 * 1024


def write_file(path, header, size, chunk):
    """header, then chunk repeated (cut at the end) up to size bytes."""
    with open(path, "wb") as f:
        f.write(header)
        block = chunk * (MIB // len(chunk))
        left = size
        while left > 0:
            f.write(block[:left])
            left -= len(block)


def file_reads(argv, env, record):
    """How often argv opened record and how many bytes it read from it (strace), or None."""
    if shutil.which("strace") is None:
        return None
    log = tempfile.mktemp(prefix="vespera-strace-")
    subprocess.run(["strace", "-f", "-qq", "-e", "trace=openat,read,close", "-e",
                    "abbrev=all", "-e", "signal=none", "-o", log, *argv], env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    opens = 0
    read = 0
    handles = set()
    with open(log, errors="replace") as f:
        for line in f:
            opened = re.search(r'openat\(AT_FDCWD, "([^"]*)".* = (\d+)$', line)
            if opened and os.path.basename(opened.group(1)) == os.path.basename(record):
                opens += 1
                handles.add(opened.group(2))
                continue
            done = re.search(r'read\((\d+),.* = (\d+)$', line)
            if done and done.group(1) in handles:
                read += int(done.group(2))
            closed = re.search(r'close\((\d+)\)', line)
            if closed:
                handles.discard(closed.group(1))
    os.remove(log)
    return opens, read


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    vespera = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    gib = float(sys.argv[3]) if len(sys.argv) > 3 else 2.0
    huge = int(gib * 1024 * MIB)
    # On the disk: the huge files do not fit a memory file system.
    scratch = tempfile.mkdtemp(prefix="vespera-long-record-", dir="/var/tmp")
    try:
        program = os.path.join(scratch, "program")
        windows = os.path.join(scratch, "windows")
        os.makedirs(windows)
        copy = portable_copy(vespera, program)
        single = b"[Header]\nFormat=SINGLE\n[Data]\n"
        cases = [("ordinary (sample file)", "vespera.txt")]
        write_file(os.path.join(program, "words.txt"), single, 20 * 1000 * 1000, b"word ")
        cases.append(("20 MB one-line record", "words.txt"))
        write_file(os.path.join(program, "line.txt"), single, huge, b"x")
        cases.append((f"{gib:g} GiB one-line record", "line.txt"))
        write_file(os.path.join(program, "nul.txt"), b"", huge, b"\0")
        cases.append((f"{gib:g} GiB of NUL, no line end", "nul.txt"))
        env = dict(headless_env(scratch), VESPERA_WINDIR=windows, XDG_RUNTIME_DIR=scratch)
        os.chmod(scratch, 0o700)
        ordinary_peak = None
        for label, record in cases:
            with open(os.path.join(program, "vespera.INI"), "w") as ini:
                ini.write(f"[General]\nTextFile={record}\n")
            argv = [copy, "/AUTO"]
            timed_run(argv, env)  # warms the file cache
            samples = [timed_run(argv, env) for _ in range(runs)]
            wall = statistics.median(s.wall for s in samples)
            cpu = statistics.median(s.cpu for s in samples)
            peak = statistics.median(s.peak_kib for s in samples) / 1024
            if ordinary_peak is None:
                ordinary_peak = peak
            size = os.path.getsize(os.path.join(program, record))
            line = (f"{label:32} wall {wall:6.2f} s  CPU {cpu:6.2f} s  peak {peak:6.1f} MiB "
                    f"(+{peak - ordinary_peak:5.1f})")
            reads = file_reads(argv, env, record)
            if reads is not None:
                line += f"  opened {reads[0]}x, read {reads[1] / size:.2f} x its size"
            print(line, flush=True)
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
