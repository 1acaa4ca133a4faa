"""One timed run of a program for the benchmark scripts of this folder."""

import os
import subprocess
import sys
import time
from dataclasses import dataclass


@dataclass
class Usage:
    wall: float  # seconds
    cpu: float  # user and system seconds, with every process the program waited for
    peak_kib: int  # largest resident set of the program or a process it waited for


def timed_run(argv, env):
    """Runs argv to its end and measures it; a failed run ends the benchmark with its errors."""
    start = time.perf_counter()
    process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(argv) + "\n" + errors)
    return Usage(wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss)


def headless_env(home):
    """This environment without a display, with home as HOME."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env["HOME"] = home
    return env


def alternate(pairs, runs):
    """Runs every callable of the dict runs once to warm the caches, then pairs times, the order
    turned round every time; returns what each returned, in a list under its key."""
    for measure in runs.values():
        measure()
    order = list(runs)
    samples = {name: [] for name in order}
    for i in range(pairs):
        for name in (order if i % 2 == 0 else reversed(order)):
            samples[name].append(runs[name]())
    return samples
