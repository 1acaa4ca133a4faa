#!/usr/bin/env python3
"""Checks that every folder includes only headers of its own target and of the targets below it.

    check_includes.py BUILD_DIR [--cmake CMAKE] [--qt-widgets-dir DIR]

The layers are the build's own targets, read from BUILD_DIR through CMake's file API (the
codemodel the build folder's configuration asks for; when it has no answer yet, CMAKE is run on
the folder once to produce it). A file belongs to the target that compiles it, a header to the
target that compiles the files of its folder (or of the nearest folder above), and a target may
include from itself and from every target it links, directly or not. A file of tests/, bench/
or fuzz/ in a folder that mirrors a library folder (tests/pgraphic/formats/ mirrors
pgraphic/formats/) belongs to that folder's target, and may also use test helper targets that
need nothing more. Targets that link no Qt must not include Qt headers; targets that link Qt but
not Qt Widgets must not include Qt Widgets headers (their names are read from DIR, the QtWidgets
include folder). Prints every offending include and exits with 1 when there is one.
"""

import argparse
import glob
import json
import os
import re
import subprocess
import sys
from dataclasses import dataclass, field

# Folders of programs that check or measure the libraries, mirroring the library folders.
MIRRORS = ("tests", "bench", "fuzz")

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Qt|^Q[A-Z]")
QT_RANK = {None: 0, "Gui": 1, "Widgets": 2}
FILE_API_QUERY = ".cmake/api/v1/query/client-vespera/codemodel-v2"


@dataclass
class Target:
    """A library or program of the build: the folder that defines it, the files it compiles
    (relative to the source folder), the targets it may use (itself included) and its Qt."""
    name: str
    folder: str
    sources: list
    allowed: set
    qt: str = None
    is_helper: bool = field(init=False)

    def __post_init__(self):
        self.is_helper = self.folder.split("/", 1)[0] in MIRRORS


@dataclass
class Graph:
    """The targets of a configured build and the folders CMake processed for it."""
    targets: dict
    configured_folders: set


@dataclass
class Layer:
    """What a file may include: the name of its target (for messages), every target it belongs
    to, the targets it may use, its Qt, and whether it is a test, benchmark or fuzz file."""
    name: str
    owners: set
    allowed: set
    qt: str
    is_helper: bool


def parent(folder):
    return folder.rsplit("/", 1)[0] if "/" in folder else ""


def relative_folder(path):
    """A folder of the codemodel, with the source folder itself as ''."""
    return "" if path == "." else path


def qt_of_defines(defines):
    if "QT_WIDGETS_LIB" in defines:
        return "Widgets"
    if any(d.startswith("QT_") and d.endswith("_LIB") for d in defines):
        return "Gui"
    return None


def read_codemodel(build_dir):
    """The codemodel the client query of this script asked for, or None when CMake has not
    answered it (yet)."""
    reply = os.path.join(build_dir, ".cmake", "api", "v1", "reply")
    indexes = sorted(glob.glob(os.path.join(reply, "index-*.json")))
    if not indexes:
        return None, reply
    with open(indexes[-1], encoding="utf-8") as index_file:
        index = json.load(index_file)
    entry = index.get("reply", {}).get("client-vespera", {}).get("codemodel-v2")
    if not entry or "jsonFile" not in entry:
        return None, reply
    with open(os.path.join(reply, entry["jsonFile"]), encoding="utf-8") as model_file:
        return json.load(model_file), reply


def load_graph(build_dir, cmake="cmake"):
    """The source folder and the target graph of a configured build folder."""
    model, reply = read_codemodel(build_dir)
    if model is None:
        # The build folder asks for the codemodel while it is configured, but CMake reads
        # queries before it configures: one more run on the same cache answers it.
        query = os.path.join(build_dir, FILE_API_QUERY)
        os.makedirs(os.path.dirname(query), exist_ok=True)
        open(query, "a", encoding="utf-8").close()
        subprocess.run([cmake, build_dir], check=True, stdout=subprocess.DEVNULL)
        model, reply = read_codemodel(build_dir)
        if model is None:
            raise RuntimeError(f"CMake wrote no codemodel into {build_dir}")
    source_dir = model["paths"]["source"]
    configuration = model["configurations"][0]
    raw = {}
    for entry in configuration["targets"]:
        with open(os.path.join(reply, entry["jsonFile"]), encoding="utf-8") as target_file:
            raw[entry["id"]] = json.load(target_file)
    kept = {target_id: data for target_id, data in raw.items()
            if data["type"] in ("EXECUTABLE", "STATIC_LIBRARY", "SHARED_LIBRARY",
                                "MODULE_LIBRARY", "OBJECT_LIBRARY")}
    targets = {}
    for target_id, data in kept.items():
        sources = [source["path"] for source in data.get("sources", [])
                   if not source.get("isGenerated") and not os.path.isabs(source["path"])]
        # The codemodel lists every target a target depends on, directly or not.
        allowed = {data["name"]} | {kept[d["id"]]["name"] for d in data.get("dependencies", [])
                                    if d["id"] in kept}
        defines = {d["define"] for group in data.get("compileGroups", [])
                   for d in group.get("defines", [])}
        targets[data["name"]] = Target(data["name"], relative_folder(data["paths"]["source"]),
                                       sources, allowed, qt_of_defines(defines))
    folders = {relative_folder(d["source"]) for d in configuration["directories"]}
    return source_dir, Graph(targets, folders)


class Layers:
    """Answers which layer a file of the source tree belongs to."""

    def __init__(self, graph):
        self.graph = graph
        self.by_file = {}
        self.by_folder = {}
        for target in graph.targets.values():
            for source in target.sources:
                self.by_file.setdefault(source, set()).add(target.name)
                self.by_folder.setdefault(os.path.dirname(source), set()).add(target.name)
        # A target that compiles nothing of its own (a module linked from other targets' object
        # files) adds no layer to its folder.
        for target in graph.targets.values():
            if target.sources:
                self.by_folder.setdefault(target.folder, set()).add(target.name)

    def layer_of(self, names, is_helper, programs):
        """The layer of a file that belongs to several targets: in a library folder what all of
        them may use (app/ui/ holds the window's library and the program); among the programs
        of tests/, bench/ or fuzz/ what any of them may use (bench/ holds benchmarks of every
        library, and a header there serves some of them)."""
        targets = sorted((self.graph.targets[name] for name in names),
                         key=lambda t: (len(t.allowed), t.name))
        if programs:
            allowed = set.union(*(t.allowed for t in targets))
            qt = max((t.qt for t in targets), key=lambda q: QT_RANK[q])
            return Layer(targets[-1].name, set(names), allowed, qt, is_helper)
        allowed = set.intersection(*(t.allowed for t in targets))
        qt = min((t.qt for t in targets), key=lambda q: QT_RANK[q])
        return Layer(targets[0].name, set(names), allowed, qt, is_helper)

    def folder_owners(self, folder, library_only=False):
        """The targets of a folder or of the nearest folder above it that has any."""
        while True:
            names = self.by_folder.get(folder, set())
            if library_only:
                names = {n for n in names if not self.graph.targets[n].is_helper}
            if names:
                return names
            if folder == "":
                return set()
            folder = parent(folder)

    def file_layer(self, relative):
        """The layer of a file (relative, '/'-separated), or None when it has none."""
        folder = os.path.dirname(relative)
        is_helper = folder.split("/", 1)[0] in MIRRORS
        if is_helper and "/" in folder:
            owners = self.folder_owners(folder.split("/", 1)[1], library_only=True)
            if owners:
                return self.layer_of(owners, True, programs=False)
        owners = self.by_file.get(relative) or self.folder_owners(folder)
        owners = {n for n in owners if self.graph.targets[n].is_helper == is_helper}
        if not owners:
            return None
        return self.layer_of(owners, is_helper, programs=is_helper)

    def helpers_within(self, layer):
        """Test helper targets that use nothing beyond what a test of this layer may use."""
        return {t.name for t in self.graph.targets.values()
                if t.is_helper and t.allowed - {t.name} <= layer.allowed}


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


def check(root, graph, widgets_headers):
    layers = Layers(graph)
    problems = []
    for relative in source_files(root):
        top = relative.split("/", 1)[0]
        if (top not in graph.configured_folders
                and os.path.exists(os.path.join(root, top, "CMakeLists.txt"))):
            continue  # a folder this build leaves out, such as bench/ without the benchmarks
        layer = layers.file_layer(relative)
        if layer is None:
            problems.append(f"{relative}: no target of the build compiles this folder")
            continue
        allowed = set(layer.allowed)
        if layer.is_helper:
            allowed |= layers.helpers_within(layer)
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
                        if layer.qt is None:
                            problems.append(f"{where}: Qt in a target without Qt ({layer.name})")
                        elif layer.qt == "Gui" and (header.startswith("QtWidgets/")
                                                    or name in widgets_headers):
                            problems.append(
                                f"{where}: Qt Widgets in a Qt Gui target ({layer.name})")
                    continue
                near = os.path.normpath(os.path.join(os.path.dirname(relative), header))
                if os.path.exists(os.path.join(root, near)):
                    target = near.replace(os.sep, "/")
                elif os.path.exists(os.path.join(root, header)):
                    target = header
                else:
                    continue  # a system header included with quotes
                target_layer = layers.file_layer(target)
                if target_layer is None:
                    continue  # reported where the file itself is checked
                if target_layer.is_helper and not layer.is_helper:
                    problems.append(f"{where}: a library includes a test, benchmark or fuzz file")
                elif not target_layer.owners & allowed:
                    problems.append(f"{where}: {layer.name} may not include {target_layer.name}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir")
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--qt-widgets-dir", default="")
    args = parser.parse_args()
    widgets = set()
    if args.qt_widgets_dir and os.path.isdir(args.qt_widgets_dir):
        widgets = set(os.listdir(args.qt_widgets_dir))
    source_dir, graph = load_graph(args.build_dir, args.cmake)
    problems = check(source_dir, graph, widgets)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) point up the target graph")
        return 1
    print(f"every include points to its own target or one it links ({len(graph.targets)} targets)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
