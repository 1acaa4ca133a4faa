#!/usr/bin/env python3
"""Times "vespera /AUTO" into disk images of each kind against the same run into a folder.

    target_run_bench.py VESPERA [PAIRS]

Makes a 2 GB raw disk image with one FAT32 partition (sfdisk, mkfs.fat) whose WINDOWS folder
holds the system's two logos, the same disk as a dynamic VHD and as a qcow2 image (qemu-img
convert), and an ordinary Windows folder holding the same two files. Then runs, round by round
and in alternating order, PAIRS times each (default 30): "vespera /AUTO" with $VESPERA_WINDIR
naming each image ("IMAGE::") and naming the folder, all from the same program folder, without
a display and with the same fixed clock. The first run of each made the one-time backups and is
not counted. Prints the median wall time and CPU time (the program and the programs it waits
for: mtools, QEMU's storage daemon) of each kind and their ratios to the folder's; the targets
are raw image <= 1.4 and dynamic VHD, qcow2 <= 3 times the folder for the medians. The images
that QEMU serves are left out, with a note, when qemu-img, qemu-storage-daemon or FUSE is
missing. Exits with 77 when a tool for the raw image is missing.
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


# The kinds of disk image timed: name, qemu-img convert's output options (none: the raw image),
# file name, target ratio to the folder.
IMAGE_KINDS = [("raw image", None, "win98.img", 1.4),
               ("dynamic VHD", ["vpc", "-o", "subformat=dynamic"], "win98.vhd", 3),
               ("qcow2", ["qcow2"], "win98.qcow2", 3)]


def qemu_missing():
    """What the images that QEMU serves need and is not here; empty when all is."""
    missing = [t for t in ("qemu-img", "qemu-storage-daemon") if shutil.which(t) is None]
    if not os.access("/dev/fuse", os.R_OK | os.W_OK):
        missing.append("/dev/fuse")
    if os.geteuid() != 0 and shutil.which("fusermount3") is None:
        missing.append("fusermount3")
    return missing


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
        raw = os.path.join(scratch, "win98.img")
        make_image(raw, scratch, logos)
        images = {}
        missing = qemu_missing()
        for kind, conversion, name, _ in IMAGE_KINDS:
            if conversion is None:
                images[kind] = raw
            elif missing:
                print(f"{kind} left out: missing " + ", ".join(missing))
            else:
                images[kind] = os.path.join(scratch, name)
                subprocess.run(["qemu-img", "convert", "-f", "raw", "-O", *conversion, raw,
                                images[kind]], check=True)

        env = headless_env(scratch)
        env["VESPERA_CLOCK"] = "1003999999123"
        into = {kind: dict(env, VESPERA_WINDIR=image + "::") for kind, image in images.items()}
        into["folder"] = dict(env, VESPERA_WINDIR=windows)
        argv = [copy, "/AUTO"]
        # The first run of each makes the backups.
        samples = alternate(pairs, {kind: (lambda kind=kind: run(argv, into[kind]))
                                    for kind in into})
        median = {kind: (statistics.median(w for w, _ in samples[kind]),
                         statistics.median(c for _, c in samples[kind]))
                  for kind in into}
        folder_wall, folder_cpu = median["folder"]
        print(f"vespera /AUTO into   {'median wall':>12} {'CPU':>10}   {'/ folder: wall':>14}"
              f" {'CPU':>5}   target   ({pairs} runs each)")
        print(f"  the folder         {folder_wall * 1000:9.1f} ms {folder_cpu * 1000:7.1f} ms")
        for kind, _, _, target in IMAGE_KINDS:
            if kind in median:
                wall, cpu = median[kind]
                print(f"  {kind:17}  {wall * 1000:9.1f} ms {cpu * 1000:7.1f} ms   "
                      f"{wall / folder_wall:14.2f} {cpu / folder_cpu:5.2f}   <= {target}")
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
