#!/usr/bin/env python3
"""Times the start of the settings window as a whole process, in a real X server.

    window_start_bench.py VESPERA [RUNS]

Under xvfb-run, starts a copy of VESPERA (in a scratch program folder with the sample record
file, a scratch HOME and Windows folder) RUNS times (default 15), each time until its window is
mapped on the screen (polled with xdotool every 2 ms), then ends it. Prints each time and the
median, minimum and maximum in milliseconds.
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402

TITLE = "^Vespera - Version 2.0.2$"


def measure(vespera, runs):
    scratch = tempfile.mkdtemp(prefix="vespera-start-")
    try:
        program = os.path.join(scratch, "program")
        os.makedirs(os.path.join(scratch, "windows"))
        os.makedirs(os.path.join(scratch, "home"))
        copy = portable_copy(vespera, program)
        env = dict(os.environ, HOME=os.path.join(scratch, "home"),
                   VESPERA_WINDIR=os.path.join(scratch, "windows"))
        env.pop("QT_QPA_PLATFORM", None)
        times = []
        for _ in range(runs + 1):  # the first run warms the file cache and is not counted
            start = time.monotonic()
            process = subprocess.Popen([copy], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            while True:
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                                       capture_output=True, text=True).stdout.strip()
                if found:
                    break
                if process.poll() is not None:
                    sys.exit("vespera ended before showing its window: " + process.stderr.read())
                time.sleep(0.002)
            times.append((time.monotonic() - start) * 1000)
            process.kill()
            process.wait()
        return times[1:]
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "--inside":
        times = measure(sys.argv[2], int(sys.argv[3]))
        print("start to window shown, ms: " + " ".join(f"{t:.0f}" for t in times))
        print(f"median {statistics.median(times):.0f} ms, min {min(times):.0f} ms, "
              f"max {max(times):.0f} ms over {len(times)} runs")
        return
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    runs = sys.argv[2] if len(sys.argv) == 3 else "15"
    # -noreset: the server must not reset when xdotool, its only client, leaves (a program
    # connecting during a reset is refused).
    sys.exit(subprocess.run(["xvfb-run", "-a", "-s", "-noreset -screen 0 1024x768x24",
                             sys.executable,
                             os.path.abspath(__file__), "--inside",
                             os.path.abspath(sys.argv[1]), runs]).returncode)


if __name__ == "__main__":
    main()
