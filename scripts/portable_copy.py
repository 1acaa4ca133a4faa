"""A portable copy of the vespera program, for the benchmark scripts and the tests that run one.

The program loads its window part (vespera-window.so) and finds its help pages beside itself, so
a copy takes everything the build put into the program's folder, without CMake's own files.
"""

import os
import shutil


def portable_copy(vespera, folder, sample_records=True):
    """Copies the program built as vespera, with what it needs beside it, into folder (created
    when missing); without sample_records the sample record file vespera.txt stays behind, so
    that the copy draws its default texts. Returns the path of the copied program."""
    ignored = ["CMakeFiles", "*.cmake", "*.a", "*.ninja", "Makefile"]
    if not sample_records:
        ignored.append("vespera.txt")
    shutil.copytree(os.path.dirname(os.path.abspath(vespera)), folder, dirs_exist_ok=True,
                    ignore=shutil.ignore_patterns(*ignored))
    # Folders that held only build files (the window's controls library) are left out.
    for root, dirs, files in os.walk(folder, topdown=False):
        if root != folder and not dirs and not files:
            os.rmdir(root)
    copied = os.path.join(folder, os.path.basename(vespera))
    if not os.path.exists(os.path.join(folder, "vespera-window.so")):
        raise FileNotFoundError("no vespera-window.so beside " + vespera)
    return copied
