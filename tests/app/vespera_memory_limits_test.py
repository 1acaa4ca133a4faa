#!/usr/bin/env python3
"""The unattended run under address-space limits (ulimit -v), from the least limit at which the
program starts at all up to what a normal run needs, in steps of 500 KiB.

    vespera_memory_limits_test.py VESPERA [PASSES]

Every run must end with status 0, or with status 1 and a message on standard error, and leave
both logos in the Windows folder whole (each the old or the new complete picture); a run killed
by a signal fails the check unless its stack (gdb) shows that a system library crashed on its
own, which is listed. Below the floor the dynamic loader or the libraries' own initialisation
gives up before the program's code runs. Prints one line per
limit and a summary; exits with 1 when a run broke the rule. Sanitizer builds reserve more
address space than any such limit allows: run it on a build without sanitizers.
"""

import os
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402

STEP_KIB = 500
LOGO_SIZE = 14 + 40 + 1024 + 320 * 400
NO_DISPLAY = 2


def limited(kib):
    def apply():
        limit = kib * 1024
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    return apply


def run(program, env, kib, arguments=("/AUTO",)):
    """Status (negative: the signal), standard error."""
    result = subprocess.run([program, *arguments], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, preexec_fn=limited(kib) if kib else None)
    return result.returncode, result.stderr.decode(errors="replace")


def whole_logo(path):
    """Whether path holds a complete 320 x 400 picture with 8 bits per pixel."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return False
    if len(data) != LOGO_SIZE or data[:2] != b"BM":
        return False
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    return (width, height, bits) == (320, 400, 8)


def stack_of(program, env, kib, attempts=10):
    """The frames of a run at kib that a signal ends, as gdb shows them; None without gdb or when
    no attempt ends so. The limit is set once the program is loaded, so that gdb itself runs
    without it."""
    gdb = shutil.which("gdb")
    if gdb is None:
        return None
    limit = (f"python import gdb, resource; resource.prlimit(gdb.selected_inferior().pid, "
             f"resource.RLIMIT_AS, ({kib * 1024}, {kib * 1024}))")
    for _ in range(attempts):
        result = subprocess.run(
            [gdb, "-q", "-batch", "-ex", "set startup-with-shell off",
             "-ex", "set disable-randomization off", "-ex", "starti", "-ex", limit,
             "-ex", "continue", "-ex", "bt 40", "--args", program, "/AUTO"],
            env=env, capture_output=True, text=True)
        if "received signal" in result.stdout:
            return [line for line in result.stdout.splitlines() if line.startswith("#")]
    return None


def own_frame(frame):
    """Whether a gdb frame lies in the program itself: neither in a shared library nor in the C
    library's sources."""
    return " from /" not in frame and " at ./" not in frame and " at ../" not in frame


def system_library_crash(frames):
    """Whether the stack shows a system library failing on its own: the signal arose outside the
    program, and no exception ended the program after passing through its code uncaught."""
    if not frames or own_frame(frames[0]):
        return False
    uncaught = any("std::terminate" in frame for frame in frames)
    return not (uncaught and any(own_frame(frame) for frame in frames))


def least_limit(low, high, good):
    """The least limit in KiB between low and high (a multiple of 4) at which good(limit) holds."""
    while high - low > 4:
        middle = (low + high) // 2 // 4 * 4
        if good(middle):
            high = middle
        else:
            low = middle
    return high


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    passes = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    scratch = tempfile.mkdtemp(prefix="vespera-memory-limits-")
    try:
        windows = os.path.join(scratch, "windows")
        os.makedirs(windows)
        program = portable_copy(sys.argv[1], os.path.join(scratch, "program"),
                                sample_records=False)
        os.chmod(scratch, 0o700)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(VESPERA_WINDIR=windows, HOME=scratch, XDG_RUNTIME_DIR=scratch,
                   VESPERA_CLOCK="1003999999123")
        status, err = run(program, env, None)
        if status != 0:
            sys.exit(f"the run without a limit failed ({status}): {err}")
        logos = [os.path.join(windows, name) for name in ("logow.sys", "logos.sys")]

        # The floor: below it the program never reaches its own code, as the dynamic loader
        # cannot map the libraries or their initialisation fails. Without a display and without
        # arguments the program's first act is to say that its window needs a display.
        floor = least_limit(0, 4 * 1024 * 1024,
                            lambda kib: run(program, env, kib, ())[0] == NO_DISPLAY)
        # What a normal run needs: from there on every run succeeds.
        ceiling = least_limit(floor, 4 * 1024 * 1024, lambda kib: run(program, env, kib)[0] == 0)
        print(f"the program starts from {floor} KiB, a normal run from {ceiling} KiB")

        broken = 0
        outcomes = {}
        for _ in range(passes):
            for kib in range(floor, ceiling + 4 * STEP_KIB, STEP_KIB):
                status, err = run(program, env, kib)
                message = [line for line in err.splitlines() if line.strip()]
                whole = all(whole_logo(logo) for logo in logos)
                good = whole and (status == 0 or (status == 1 and message))
                outcome = (status, message[-1] if message else "")
                outcomes[outcome] = outcomes.get(outcome, 0) + 1
                if status < 0:
                    good = False
                    frames = stack_of(program, env, kib)
                    name = signal.Signals(-status).name
                    if frames and system_library_crash(frames):
                        good = whole
                        print(f"{kib} KiB: killed by {name} in a system library:")
                    elif frames:
                        print(f"{kib} KiB: killed by {name} in the program:")
                    elif sum(run(program, env, kib)[0] < 0 for _ in range(3)) < 2:
                        good = whole
                        print(f"{kib} KiB: killed by {name} once, no stack (gdb did not see it "
                              f"again, nor did two of three runs)")
                    else:
                        print(f"{kib} KiB: killed by {name} again and again, no stack (gdb)")
                    print("\n".join(frames or []))
                elif not good or passes == 1:
                    print(f"{kib} KiB: status {status}{'' if whole else ', a logo not whole'}: "
                          f"{outcome[1]}")
                broken += 0 if good else 1
        print("outcomes:")
        for (status, message), count in sorted(outcomes.items(), key=lambda x: -x[1]):
            print(f"  {count:4} x status {status}: {message}")
        print(f"{broken} run(s) broke the rule" if broken else "every run kept the rule")
        sys.exit(1 if broken else 0)
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
