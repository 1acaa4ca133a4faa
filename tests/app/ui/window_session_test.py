#!/usr/bin/env python3
"""The vespera program as a user meets it, in a real X server (Xvfb) driven by xdotool.

    window_session_test.py VESPERA OUTDIR

Starts a portable copy of VESPERA's build folder in a scratch program folder with a scratch HOME
and Windows folder (holding the system's two logo files), answers the two backup messages
(checking that they appear over the window), looks at every page in a screenshot (kept in
OUTDIR), types a default text, presses "Save Logos", "Help" (which opens the copy's help pages),
F1 on "First Logo" with no web browser (a message names the page) and "Save Changes and Exit",
and checks the files the program wrote.
Exits with 77 (skipped) when xvfb-run, xdotool, xprop, ImageMagick's import or PIL is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
from portable_copy import portable_copy  # noqa: E402

SKIP = 77
TITLE = "Vespera - Version 2.0.2"
TEAL = (0, 128, 128)
TYPED = "Typed by xdotool"


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run(*command, check=True):
    result = subprocess.run(command, capture_output=True, text=True)
    if check and result.returncode != 0:
        fail(f"{' '.join(command)}: {result.stderr.strip()}")
    return result.stdout.strip()


def wait_for(condition, what, seconds=15.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def windows_named(name):
    found = run("xdotool", "search", "--onlyvisible", "--name", "^" + name + "$", check=False)
    return [int(w) for w in found.split()] if found else []


def geometry(window):
    values = {}
    for line in run("xdotool", "getwindowgeometry", "--shell", str(window)).splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value)
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


class Session:
    def __init__(self, out_dir):
        from PIL import Image  # noqa: F401  (checked by the caller)
        self.out_dir = out_dir
        self.shots = 0

    def screenshot(self, name, box):
        path = os.path.join(self.out_dir, name + ".png")
        x, y, w, h = box
        run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path)
        from PIL import Image
        return Image.open(path).convert("RGB")


def count(image, box, predicate):
    left, top, right, bottom = box
    pixels = image.load()
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if predicate(pixels[x, y]))


def find_teal_corner(image):
    """Top-left pixel of the first logo's teal preview."""
    pixels = image.load()
    for y in range(image.height):
        for x in range(image.width):
            if pixels[x, y] == TEAL and all(pixels[x + i, y + i] == TEAL for i in range(1, 6)):
                return x, y
    fail("the first page's preview shows no teal logo")


def inside(args):
    vespera, out_dir = args
    os.makedirs(out_dir, exist_ok=True)
    scratch = tempfile.mkdtemp(prefix="vespera-session-")
    program = os.path.join(scratch, "program")
    windows = os.path.join(scratch, "windows")
    home = os.path.join(scratch, "home")
    for folder in (program, windows, home):
        os.makedirs(folder)
    portable_copy(vespera, program)
    # The desktop's opener records what it is asked to open; once no_browser exists it fails as
    # xdg-open does on a desktop without a web browser.
    tools = os.path.join(scratch, "tools")
    opened = os.path.join(scratch, "opened")
    no_browser = os.path.join(scratch, "no-browser")
    os.makedirs(tools)
    with open(os.path.join(tools, "xdg-open"), "w") as f:
        f.write(f'#!/bin/sh\necho "$@" >> "{opened}"\n'
                f'if [ -e "{no_browser}" ]; then\n'
                '    echo "xdg-open: no method available for opening \'$1\'" >&2\n'
                '    exit 3\nfi\n')
    os.chmod(os.path.join(tools, "xdg-open"), 0o755)
    with open(os.path.join(windows, "logow.sys"), "wb") as f:
        f.write(b"system wait picture")
    with open(os.path.join(windows, "logos.sys"), "wb") as f:
        f.write(b"system off picture")
    # No record file in use: the logos carry the default texts, which follow the typing.
    with open(os.path.join(program, "vespera.INI"), "w") as f:
        f.write("[General]\nTextFile=\n")

    env = dict(os.environ, HOME=home, VESPERA_WINDIR=windows, XDG_CONFIG_HOME=home + "/.config",
               PATH=tools + os.pathsep + os.environ.get("PATH", ""))
    if "ASAN_OPTIONS" in env:
        # libxkbcommon-x11, which Qt's X11 platform loads, hands strndup a name without a
        # terminating zero (as strndup allows); the strict string check takes that for an
        # overflow.
        env["ASAN_OPTIONS"] = env["ASAN_OPTIONS"].replace("strict_string_checks=1",
                                                          "strict_string_checks=0")
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("WINEPREFIX", None)
    process = subprocess.Popen([os.path.join(program, "vespera")], env=env, cwd=home,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    session = Session(out_dir)
    try:
        main = wait_for(lambda: windows_named(TITLE), "the settings window")[0]
        # The title bar shows _NET_WM_NAME where the window manager supports it: the caption
        # exactly, nothing appended.
        net_name = run("xprop", "-id", str(main), "-notype", "_NET_WM_NAME")
        if net_name != f'_NET_WM_NAME = "{TITLE}"':
            fail("the title bar reads " + net_name)
        wx, wy, ww, wh = geometry(main)
        if (ww, wh) != (620, 362):
            fail(f"the window is {ww} x {wh}, not 620 x 362")

        # The two backup messages, each over the window at its left + 100, top + 80.
        for name in ("logow.sys", "logos.sys"):
            box = wait_for(lambda: [w for w in windows_named("Vespera") if w != main],
                           "the backup message for " + name)[0]
            bx, by, _, _ = geometry(box)
            if (bx, by) != (wx + 100, wy + 80):
                fail(f"the message is at {bx},{by}, not {wx + 100},{wy + 80}")
            run("xdotool", "windowfocus", "--sync", str(box), "key", "Return")
            wait_for(lambda: box not in windows_named("Vespera"), "the message to close")
        for name, content in (("logow.sys", b"system wait picture"),
                              ("logos.sys", b"system off picture")):
            with open(os.path.join(program, name), "rb") as f:
                if f.read() != content:
                    fail("no backup of " + name)

        window_box = (wx, wy, ww, wh)
        tab_y = wy + 10
        time.sleep(0.5)
        session.screenshot("page-general", window_box)

        run("xdotool", "mousemove", str(wx + 307), str(tab_y), "click", "1")
        time.sleep(0.7)
        first = session.screenshot("page-first-logo", window_box)
        corner = find_teal_corner(first)
        origin = (corner[0] - 276, corner[1] - 22)  # the preview starts at 276, 22 in its page
        preview = (corner[0], corner[1], corner[0] + 320, corner[1] + 200)
        teal = count(first, preview, lambda p: p == TEAL)
        green = count(first, preview, lambda p: p == (0, 255, 0))
        if teal < 320 * 200 * 3 // 4 or green < 100:
            fail(f"the first preview shows {teal} teal and {green} green pixels")

        # Type a new default text: both previews follow at every keystroke.
        run("xdotool", "mousemove", str(wx + origin[0] + 296 + 150),
            str(wy + origin[1] + 240 + 11), "click", "1")
        run("xdotool", "key", "ctrl+a")
        run("xdotool", "type", "--delay", "20", TYPED)
        time.sleep(0.7)
        typed = session.screenshot("page-first-logo-typed", window_box)
        if list(typed.crop(preview).getdata()) == list(first.crop(preview).getdata()):
            fail("the first preview did not change while typing")

        run("xdotool", "mousemove", str(wx + 512), str(tab_y), "click", "1")
        time.sleep(0.7)
        last = session.screenshot("page-second-logo", window_box)
        black = count(last, preview, lambda p: p == (0, 0, 0))
        yellow = count(last, preview, lambda p: p == (255, 255, 0))
        if black < 320 * 200 * 3 // 4 or yellow < 100:
            fail(f"the second preview shows {black} black and {yellow} yellow pixels")

        run("xdotool", "mousemove", str(wx + 102), str(tab_y), "click", "1")
        time.sleep(0.5)
        run("xdotool", "mousemove", str(wx + origin[0] + 488 + 44),
            str(wy + origin[1] + 176 + 12), "click", "1")
        for name in ("logow.sys", "logos.sys"):
            path = os.path.join(windows, name)
            wait_for(lambda: os.path.getsize(path) == 14 + 40 + 1024 + 320 * 400,
                     "the new " + name)
            with open(path, "rb") as f:
                if f.read(2) != b"BM":
                    fail(name + " is not a BMP picture")

        # "Help" finds the pages the portable copy holds beside the program.
        run("xdotool", "mousemove", str(wx + origin[0] + 49 + 112),
            str(wy + origin[1] + 260 + 12), "click", "1")
        wait_for(lambda: os.path.exists(opened), "the help page to be opened")
        with open(opened) as f:
            page = os.path.realpath(os.path.join(program, "help", "index.html"))
            if f.read().strip() != "file://" + page:
                fail("\"Help\" opened " + open(opened).read())

        # F1 on "First Logo" asks for the page on the settings; without a web browser a message
        # over the window names the page to open by hand.
        open(no_browser, "w").close()
        run("xdotool", "mousemove", str(wx + 307), str(tab_y), "click", "1")
        time.sleep(0.5)
        run("xdotool", "key", "F1")
        box = wait_for(lambda: windows_named("Help"), "the message that the help cannot open")[0]
        if geometry(box)[:2] != (wx + 100, wy + 80):
            fail("the help message is at {},{}".format(*geometry(box)[:2]))
        session.screenshot("help-message", window_box)
        with open(opened) as f:
            page = os.path.realpath(os.path.join(program, "help", "settings.html"))
            if f.read().split()[-1] != "file://" + page:
                fail("F1 opened " + open(opened).read())
        run("xdotool", "windowfocus", "--sync", str(box), "key", "Return")
        wait_for(lambda: not windows_named("Help"), "the help message to close")
        run("xdotool", "mousemove", str(wx + 102), str(tab_y), "click", "1")
        time.sleep(0.5)

        run("xdotool", "mousemove", str(wx + origin[0] + 337 + 112),
            str(wy + origin[1] + 260 + 12), "click", "1")
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            fail("\"Save Changes and Exit\" did not end the program")
        if process.returncode != 0:
            fail(f"the program ended with status {process.returncode}: {process.stderr.read()}")
        with open(os.path.join(program, "vespera.INI")) as f:
            settings = f.read()
        if "Line=" + TYPED + "\n" not in settings or "TextFile=\n" not in settings:
            fail("the settings file lacks the typed default text:\n" + settings)
        if sorted(os.listdir(windows)) != ["logos.sys", "logow.sys"]:
            fail("the Windows folder holds " + ", ".join(sorted(os.listdir(windows))))
        print("screenshots in " + out_dir)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--inside":
        inside(sys.argv[2:])
        return
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    missing = [tool for tool in ("xvfb-run", "xdotool", "xprop", "import")
               if shutil.which(tool) is None]
    try:
        import PIL  # noqa: F401
    except ImportError:
        # Debian's interpreter has python3-pil when the one found first does not.
        debian = "/usr/bin/python3"
        if sys.executable != debian and os.path.exists(debian):
            os.execv(debian, [debian, os.path.abspath(__file__)] + sys.argv[1:])
        missing.append("python3-pil")
    if missing:
        print("skipped: missing " + ", ".join(missing))
        sys.exit(SKIP)
    # -noreset: an X server resets whenever its last client leaves, and a program connecting
    # during the reset is refused; xdotool's short connections while the program starts would
    # otherwise now and then leave it without a display.
    result = subprocess.run(["xvfb-run", "-a", "-s", "-noreset -screen 0 1024x768x24",
                             sys.executable,
                             os.path.abspath(__file__), "--inside"] + sys.argv[1:])
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
