#!/usr/bin/env python3
"""The installed copy of Vespera.

    installed_copy_test.py BUILD_DIR

Installs the build into a scratch prefix (cmake --install), checks that every file lands in its
freedesktop place, validates the menu entry (desktop-file-validate), renders both manual pages
(man -l), and runs the installed "vespera /AUTO" as a user who cannot write to the installed
program's folder, with a scratch HOME and no display: it keeps its files in the XDG
configuration folder, takes the installed sample record file there and writes both logos into
the default Windows folder. Exits with 77 (skipped) when a needed tool is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIP = 77
NOBODY = 65534
LOGO_SIZE = 14 + 40 + 1024 + 320 * 400

INSTALLED = [
    "bin/vespera",
    "bin/vespera-boot",
    "bin/pgconv",
    "share/applications/vespera.desktop",
    "share/icons/hicolor/scalable/apps/vespera.svg",
    "share/metainfo/org.example.vespera.metainfo.xml",
    "share/man/man1/vespera.1.gz",
    "share/man/man1/vespera-boot.1.gz",
    "share/man/man1/pgconv.1.gz",
    "share/vespera/vespera.txt",
    "share/doc/vespera/copyright",
    "share/doc/vespera/changelog.gz",
    "share/doc/vespera/html/index.html",
    "share/doc/vespera/html/record-files.html",
    "share/doc/vespera/html/settings.html",
    "share/doc/vespera/html/startup.html",
    "share/doc/vespera/html/targets.html",
    "share/doc/vespera/html/troubleshooting.html",
    "share/doc/vespera/html/style.css",
]


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    build = sys.argv[1]
    missing = [t for t in ("cmake", "desktop-file-validate", "man") if shutil.which(t) is None]
    if os.getuid() == 0 and shutil.which("setpriv") is None:
        missing.append("setpriv")
    if missing:
        print("skipped: missing " + ", ".join(missing))
        sys.exit(SKIP)

    scratch = tempfile.mkdtemp(prefix="vespera-install-")
    try:
        os.chmod(scratch, 0o755)
        prefix = os.path.join(scratch, "prefix")
        result = run(["cmake", "--install", build, "--prefix", prefix])
        if result.returncode != 0:
            fail("cmake --install: " + result.stderr)
        for name in INSTALLED:
            if not os.path.isfile(os.path.join(prefix, name)):
                fail(name + " was not installed")

        entry = os.path.join(prefix, "share/applications/vespera.desktop")
        result = run(["desktop-file-validate", entry])
        if result.returncode != 0 or result.stdout.strip():
            fail("desktop-file-validate: " + result.stdout + result.stderr)
        with open(entry) as f:
            lines = f.read().splitlines()
        for needed in ("Exec=vespera", "Icon=vespera", "Type=Application"):
            if needed not in lines:
                fail("the menu entry lacks " + needed)
        icon = ElementTree.parse(os.path.join(prefix, "share/icons/hicolor/scalable/apps/"
                                                      "vespera.svg")).getroot()
        if icon.tag != "{http://www.w3.org/2000/svg}svg":
            fail("the icon is not an SVG picture")

        for page, title in (("vespera.1.gz", "vespera - rewrite"),
                            ("vespera-boot.1.gz", "vespera-boot - new shut-down"),
                            ("pgconv.1.gz", "pgconv - convert")):
            result = run(["man", "-l", "--warnings", os.path.join(prefix, "share/man/man1", page)],
                         env=dict(os.environ, MANPAGER="cat", MANWIDTH="80"))
            if result.returncode != 0 or title not in result.stdout or result.stderr.strip():
                fail("man -l " + page + ": " + result.stdout[:200] + result.stderr)

        # The installed program, started by a user who cannot write to its folder.
        home = os.path.join(scratch, "home")
        os.makedirs(home)
        command = [os.path.join(prefix, "bin/vespera"), "/AUTO"]
        if os.getuid() == 0:
            os.chown(home, NOBODY, NOBODY)
            command = ["setpriv", "--reuid", str(NOBODY), "--regid", str(NOBODY),
                       "--clear-groups", "--"] + command
        else:
            os.chmod(os.path.join(prefix, "bin"), 0o555)
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home}
        for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
            if name in os.environ:
                env[name] = os.environ[name]
        result = run(command, env=env, cwd=home)
        if result.returncode != 0:
            fail(f"vespera /AUTO ended with {result.returncode}: {result.stderr}")
        windows = os.path.join(home, ".local/share/vespera/windows")
        expected = "".join(f"vespera: wrote {windows}/{name}\n"
                           for name in ("logow.sys", "logos.sys"))
        if result.stdout != expected:
            fail("vespera /AUTO printed: " + result.stdout)
        for name in ("logow.sys", "logos.sys"):
            with open(os.path.join(windows, name), "rb") as f:
                data = f.read()
            if len(data) != LOGO_SIZE or data[:2] != b"BM":
                fail(name + " is not a 320 x 400 logo")
        config = os.path.join(home, ".config/vespera")
        with open(os.path.join(prefix, "share/vespera/vespera.txt"), "rb") as f:
            sample = f.read()
        with open(os.path.join(config, "vespera.txt"), "rb") as f:
            if f.read() != sample:
                fail("the sample record file was not copied into " + config)
        if sorted(os.listdir(os.path.join(prefix, "bin"))) != ["pgconv", "vespera",
                                                                "vespera-boot"]:
            fail("the program wrote into its installed folder")

        result = run([os.path.join(prefix, "bin/pgconv"), "--help"])
        if result.returncode != 0 or "pgconv logo IN OUT" not in result.stdout:
            fail("the installed pgconv does not run")
        print("installed, validated and run in " + prefix)
    finally:
        if os.getuid() != 0 and os.path.isdir(os.path.join(scratch, "prefix/bin")):
            os.chmod(os.path.join(scratch, "prefix/bin"), 0o755)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
