#!/usr/bin/env python3
"""Times "vespera /AUTO" into a disk image against the same run into a folder.

    target_run_bench.py VESPERA [PAIRS]

Makes a 2 GB raw disk image with one FAT32 partition (sfdisk, mkfs.fat) whose WINDOWS folder
holds the system's two logos, and an ordinary Windows folder holding the same two files. Then
runs, pair by pair and in alternating order, PAIRS times each (default 30): "vespera /AUTO" with
$VESPERA_WINDIR naming the image ("IMAGE::") and with it naming the folder, both from the same
program folder, without a display and with the same fixed clock. The first run of each made the
one-time backups and is not counted. Prints the median wall time and CPU time (the program and
the mtools programs it runs) of each and their ratios; the target is image / folder <= 2 for the
medians. Exits with 77 when a tool is missing.
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

SKIP = 77
IMAGE_BYTES = 2 * 1024 * 1024 * 1024
START_SECTOR = 2048
LOGO_BYTES = 14 + 40 + 1024 + 320 * 400


def run(argv, env):
    """Wall seconds and CPU seconds of one run of argv."""
    usage = timed_run(argv, env)
    return usage.wall, usage.cpu


def make_image(image, scratch, logos):
    """A 2 GB sparse raw image: one FAT32 partition with WINDOWS holding logos."""
    with open(image, "wb") as f:
        f.truncate(IMAGE_BYTES)
    sectors = IMAGE_BYTES // 512 - START_SECTOR
    subprocess.run(["sfdisk", "-q", image], input=f"start={START_SECTOR}, type=c\n", text=True,
                   check=True)
    subprocess.run(["mkfs.fat", "-F", "32", "-n", "WIN98", f"--offset={START_SECTOR}", image,
                    str(sectors // 2)], check=True, capture_output=True)
    rc = os.path.join(scratch, "mtoolsrc")
    with open(rc, "w") as f:
        f.write(f'mtools_skip_check=1\ndrive b: file="{image}" offset={START_SECTOR * 512}\n')
    env = dict(os.environ, MTOOLSRC=rc, HOME="/dev/null")
    subprocess.run(["mmd", "b:/WINDOWS"], env=env, check=True)
    for name, path in logos.items():
        subprocess.run(["mcopy", path, "b:/WINDOWS/" + name.upper()], env=env, check=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    vespera = os.path.abspath(sys.argv[1])
    pairs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    missing = [t for t in ("sfdisk", "mkfs.fat", "mmd", "mcopy") if shutil.which(t) is None]
    if missing:
        print("skipped: missing " + ", ".join(missing))
        sys.exit(SKIP)
    # On the disk, not in memory, so that flushing to disk costs what it costs a user.
    scratch = tempfile.mkdtemp(prefix="vespera-target-run-", dir="/var/tmp")
    try:
        program = os.path.join(scratch, "program")
        windows = os.path.join(scratch, "windows")
        os.makedirs(program)
        os.makedirs(windows)
        copy = portable_copy(vespera, program)
        logos = {}
        for seed, name in enumerate(("logow.sys", "logos.sys")):
            path = os.path.join(windows, name)
            with open(path, "wb") as f:
                f.write(bytes((i * 7 + seed) % 251 for i in range(LOGO_BYTES)))
            logos[name] = path
        image = os.path.join(scratch, "win98.img")
        make_image(image, scratch, logos)

        env = headless_env(scratch)
        env["VESPERA_CLOCK"] = "1003999999123"
        into = {"image": dict(env, VESPERA_WINDIR=image + "::"),
                "folder": dict(env, VESPERA_WINDIR=windows)}
        argv = [copy, "/AUTO"]
        # The first run of each makes the backups.
        samples = alternate(pairs, {kind: (lambda kind=kind: run(argv, into[kind]))
                                    for kind in into})
        wall = {kind: [w for w, _ in samples[kind]] for kind in into}
        cpu = {kind: [c for _, c in samples[kind]] for kind in into}
        median = {kind: (statistics.median(wall[kind]), statistics.median(cpu[kind]))
                  for kind in into}
        for kind in ("image", "folder"):
            w, c = median[kind]
            print(f"vespera /AUTO into the {kind:6}  median wall {w * 1000:7.1f} ms   "
                  f"CPU {c * 1000:7.1f} ms   ({pairs} runs)")
        print(f"ratio image / folder            wall {median['image'][0] / median['folder'][0]:.2f}"
              f"   CPU {median['image'][1] / median['folder'][1]:.2f}   (target <= 2)")
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
