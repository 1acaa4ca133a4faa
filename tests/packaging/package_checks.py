#!/usr/bin/env python3
"""The distribution's own checks of what the build installs and packages.

    package_checks.py lintian BUILD_DIR CPACK
    package_checks.py appstream BUILD_DIR

lintian: makes the build's Debian package with CPACK in a scratch folder and lets lintian check
it; any error or warning fails (its pedantic and informational findings are printed as well).
The newest entries of the package's changelog and of its AppStream metainfo must name the
package's version, which lintian does not compare.

appstream: installs the build into a scratch root under /usr and validates the metainfo with
the menu entry and the icon it refers to (appstreamcli validate-tree --pedantic, without
network access, so the home page is not fetched); any finding fails.

Exits with 77 (skipped) when a needed tool is missing.
"""

import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIP = 77
METAINFO = "usr/share/metainfo/org.example.vespera.metainfo.xml"


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def skip_unless_present(tools):
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if missing:
        print("skipped: missing " + ", ".join(missing))
        sys.exit(SKIP)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def check_lintian(build, cpack, scratch):
    skip_unless_present(["lintian", "dpkg-deb", "dpkg-shlibdeps"])
    result = run([cpack, "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
                  "-B", scratch])
    packages = [name for name in os.listdir(scratch) if name.endswith(".deb")]
    if result.returncode != 0 or len(packages) != 1:
        fail("cpack: " + result.stdout + result.stderr)
    package = os.path.join(scratch, packages[0])

    result = run(["lintian", "--pedantic", "--display-info", "--fail-on", "error,warning", package])
    print(result.stdout, end="")
    if result.returncode != 0 or re.search(r"^[EW]: ", result.stdout, re.MULTILINE):
        fail(f"lintian ended with {result.returncode}: {result.stderr}")

    version = run(["dpkg-deb", "--field", package, "Version"]).stdout.strip()
    root = os.path.join(scratch, "root")
    result = run(["dpkg-deb", "--extract", package, root])
    if result.returncode != 0:
        fail("dpkg-deb --extract: " + result.stderr)
    with gzip.open(os.path.join(root, "usr/share/doc/vespera/changelog.gz"), "rt") as f:
        newest = re.match(r"vespera \(([^)]+)\)", f.readline())
    if newest is None or newest.group(1) != version:
        fail(f"the changelog's newest entry is not version {version}")
    releases = ElementTree.parse(os.path.join(root, METAINFO)).getroot().findall(
        "releases/release")
    if not releases or releases[0].get("version") != version:
        fail(f"the metainfo's newest release is not version {version}")
    print(f"{packages[0]}: lintian found no error and no warning")


def check_appstream(build, scratch):
    skip_unless_present(["appstreamcli"])
    result = run(["cmake", "--install", build, "--prefix", "/usr"],
                 env=dict(os.environ, DESTDIR=scratch))
    if result.returncode != 0:
        fail("cmake --install: " + result.stderr)
    result = run(["appstreamcli", "validate-tree", "--pedantic", "--no-net", scratch])
    print(result.stdout, end="")
    if result.returncode != 0 or re.search(r"^\s*[EWIP]: ", result.stdout, re.MULTILINE):
        fail(f"appstreamcli validate-tree ended with {result.returncode}: {result.stderr}")


def main():
    arguments = sys.argv[1:]
    if arguments[:1] == ["lintian"] and len(arguments) == 3:
        check = lambda scratch: check_lintian(arguments[1], arguments[2], scratch)
    elif arguments[:1] == ["appstream"] and len(arguments) == 2:
        check = lambda scratch: check_appstream(arguments[1], scratch)
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    scratch = tempfile.mkdtemp(prefix="vespera-package-")
    try:
        check(scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

if __name__ == "__main__":
    main()
