#!/usr/bin/env python3
"""Checks that every folder includes only headers of its own target and of the targets below it.

    check_includes.py SOURCE_DIR [--qt-widgets-dir DIR]

Each source folder belongs to a layer; each layer names the layers it may include from. A file
of tests/, bench/ or fuzz/ belongs to the layer of the folder it tests (tests/pgraphic/formats/
to pgraphic/formats/) and may also use the test helpers of the layers it may include. Folders
without Qt must not include Qt headers, and folders of Qt Gui targets must not include Qt
Widgets headers (their names are read from DIR, the QtWidgets include folder). Prints every
offending include and exits with 1 when there is one.
"""

import argparse
import os
import re
import sys

# Layers from the bottom up: the folder, what it may include besides itself, and which Qt it may
# use (None, "Gui" or "Widgets").
LAYERS = {
    "core": ("core", [], None),
    "platform": ("platform", ["core"], None),
    "image": ("pgraphic/image", ["platform"], None),
    "formats": ("pgraphic/formats", ["image"], None),
    "canvas": ("pgraphic/canvas", ["formats"], "Gui"),
    "view": ("pgraphic/view", ["canvas"], "Widgets"),
    "widgets": ("widgets", ["platform"], "Widgets"),
    "logo": ("app/logo", ["formats"], None),
    "app": ("app", ["canvas", "logo"], "Gui"),
    "app_ui": ("app/ui", ["app", "view", "widgets"], "Widgets"),
    "tools": ("tools", ["logo"], None),
}

# Folders of programs that check or measure the layers: they take the layer of the folder they
# mirror; files directly in them belong to the layer given here.
MIRRORS = {
    "tests": "test_main",
    "bench": "bench",
    "fuzz": "fuzz",
}
# Layers of their own: helpers shared by every test (tests/support), the test mains (the one of
# the GUI tests starts Qt Gui), the benchmark programs (any library below the GUI) and the fuzz
# targets (the formats, no Qt).
EXTRA_LAYERS = {
    "test_support": ([], None),
    "test_main": ([], "Gui"),
    "bench": (["app"], "Gui"),
    "fuzz": (["formats"], None),
}
TEST_SUPPORT_FOLDERS = ["tests/support"]

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Qt|^Q[A-Z]")


def folder_layer(folder):
    """The layer of a source folder (relative, '/'-separated), or None when it has none."""
    best = None
    for name, (path, _, _) in LAYERS.items():
        if folder == path or folder.startswith(path + "/"):
            if best is None or len(path) > len(LAYERS[best][0]):
                best = name
    return best


def file_layer(relative):
    """The layer of a file and whether it is a test, benchmark or fuzz helper of that layer."""
    folder = os.path.dirname(relative)
    top = folder.split("/", 1)[0]
    if top in MIRRORS:
        if any(folder == f or folder.startswith(f + "/") for f in TEST_SUPPORT_FOLDERS):
            return "test_support", True
        rest = folder[len(top) + 1:] if "/" in folder else ""
        if rest == "":
            return MIRRORS[top], True
        return folder_layer(rest), True
    return folder_layer(folder), False


def allowed_layers(layer):
    """The layer and every layer below it."""
    seen = set()
    pending = [layer]
    while pending:
        current = pending.pop()
        if current in seen:
            continue
        seen.add(current)
        below = LAYERS[current][1] if current in LAYERS else EXTRA_LAYERS[current][0]
        pending.extend(below)
    return seen


def qt_of(layer):
    """The Qt a layer may use: its own or that of a layer below (None < Gui < Widgets)."""
    rank = {None: 0, "Gui": 1, "Widgets": 2}
    best = None
    for current in allowed_layers(layer):
        qt = LAYERS[current][2] if current in LAYERS else EXTRA_LAYERS[current][1]
        if rank[qt] > rank[best]:
            best = qt
    return best


def source_files(root):
    """Every C++ file of the tree outside build folders and hidden folders."""
    tops = [name for name in os.listdir(root)
            if os.path.isdir(os.path.join(root, name)) and not name.startswith((".", "build"))]
    for top in sorted(tops):
        base = os.path.join(root, top)
        for folder, subfolders, files in os.walk(base):
            subfolders.sort()
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    path = os.path.join(folder, name)
                    yield os.path.relpath(path, root).replace(os.sep, "/")


def check(root, widgets_headers):
    problems = []
    for relative in source_files(root):
        layer, is_helper = file_layer(relative)
        if layer is None:
            problems.append(f"{relative}: folder belongs to no layer; add it to scripts/check_includes.py")
            continue
        allowed = allowed_layers(layer)
        if is_helper:
            allowed |= {"test_support"}
        qt = qt_of(layer)
        with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, header = match.groups()
                where = f"{relative}:{number}: {header}"
                if kind == "<":
                    if QT_HEADER.match(header):
                        name = header.split("/")[-1]
                        if qt is None:
                            problems.append(f"{where}: Qt in a layer without Qt ({layer})")
                        elif qt == "Gui" and (header.startswith("QtWidgets/")
                                              or name in widgets_headers):
                            problems.append(f"{where}: Qt Widgets in a Qt Gui layer ({layer})")
                    continue
                near = os.path.normpath(os.path.join(os.path.dirname(relative), header))
                if os.path.exists(os.path.join(root, near)):
                    target = near.replace(os.sep, "/")
                elif os.path.exists(os.path.join(root, header)):
                    target = header
                else:
                    continue  # a system header included with quotes
                target_layer, target_is_helper = file_layer(target)
                if target_is_helper and not is_helper:
                    problems.append(f"{where}: a library includes a test, benchmark or fuzz file")
                elif target_layer not in allowed:
                    problems.append(f"{where}: {layer} may not include {target_layer}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source_dir")
    parser.add_argument("--qt-widgets-dir", default="")
    args = parser.parse_args()
    widgets = set()
    if args.qt_widgets_dir and os.path.isdir(args.qt_widgets_dir):
        widgets = set(os.listdir(args.qt_widgets_dir))
    problems = check(args.source_dir, widgets)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) point up a layer")
        return 1
    print("every include points to its own layer or one below")
    return 0


if __name__ == "__main__":
    sys.exit(main())
