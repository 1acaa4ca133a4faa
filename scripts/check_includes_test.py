#!/usr/bin/env python3
"""Tests of check_includes.py over small made-up trees and target graphs, and over the target
graph of a small project configured by CMake."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_includes  # noqa: E402

# name: (defining folder, compiled files, targets linked directly, Qt)
LIBRARY_TARGETS = {
    "core": ("core", ["core/stream.cpp"], [], None),
    "platform": ("platform", ["platform/ini_file.cpp"], ["core"], None),
    "pgraphic": ("pgraphic", ["pgraphic/image/pixel_graphic.cpp",
                              "pgraphic/formats/registry.cpp"], ["platform"], None),
    "canvas": ("pgraphic/canvas", ["pgraphic/canvas/canvas.cpp"], ["pgraphic"], "Gui"),
    "widgets": ("widgets", ["widgets/color_button.cpp"], ["platform"], "Widgets"),
    "logo": ("app/logo", ["app/logo/logo_image.cpp"], ["pgraphic"], None),
    "app": ("app", ["app/composer.cpp"], ["canvas", "logo"], "Gui"),
    "window": ("app/ui", ["app/ui/window.cpp"], ["app", "widgets"], "Widgets"),
    "vespera": ("app/ui", ["app/ui/main.cpp"], ["window"], "Widgets"),
    "pgconv": ("tools/pgconv", ["tools/pgconv/main.cpp"], ["logo"], None),
    "test_support": ("tests/support", ["tests/support/run.cpp"], [], None),
    "formats_tests": ("tests/pgraphic/formats", ["tests/pgraphic/formats/bmp_test.cpp"],
                      ["pgraphic", "test_support"], None),
    "canvas_tests": ("tests/pgraphic/canvas", ["tests/gui_main.cpp"], ["canvas"], "Gui"),
    "fuzz_bmp": ("fuzz", ["fuzz/load_fuzzer.cpp"], ["pgraphic"], None),
}


def graph(targets=LIBRARY_TARGETS, folders=("", "core", "tests", "fuzz")):
    def closure(name):
        seen, pending = set(), [name]
        while pending:
            current = pending.pop()
            if current not in seen:
                seen.add(current)
                pending.extend(targets[current][2])
        return seen
    return check_includes.Graph(
        {name: check_includes.Target(name, folder, sources, closure(name), qt)
         for name, (folder, sources, _, qt) in targets.items()}, set(folders))


class IncludeCheckTest(unittest.TestCase):
    def tree(self, files):
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        for path, text in files.items():
            full = os.path.join(root.name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        return root.name

    def problems(self, files, widgets=(), folders=("", "core", "tests", "fuzz")):
        return check_includes.check(self.tree(files), graph(folders=folders), set(widgets))

    def test_includes_down_the_graph_pass(self):
        self.assertEqual(self.problems({
            "core/stream.h": "",
            "platform/ini_file.h": '#include "core/stream.h"\n',
            "pgraphic/image/pixel_graphic.h": '#include "platform/ini_file.h"\n#include <vector>\n',
            "pgraphic/image/palettes.inc": "",
            "pgraphic/image/pixel_graphic.cpp": '#include "palettes.inc"\n',
            "pgraphic/formats/bmp/bmp.h": '#include "pgraphic/image/pixel_graphic.h"\n',
            "pgraphic/canvas/canvas.h": '#include "pgraphic/formats/bmp/bmp.h"\n#include <QImage>\n',
            "app/logo/logo_image.h": '#include "pgraphic/formats/bmp/bmp.h"\n',
            "app/composer.h": '#include "app/logo/logo_image.h"\n#include "pgraphic/canvas/canvas.h"\n',
            "app/ui/window.h": '#include "app/composer.h"\n#include <QWidget>\n',
            "app/ui/main.cpp": '#include "app/ui/window.h"\n',
            "tools/pgconv/main.cpp": '#include "app/logo/logo_image.h"\n',
            "tests/gui_main.cpp": "#include <QGuiApplication>\n",
            "tests/support/run.h": "",
            "tests/pgraphic/image/util.h": '#include "pgraphic/image/pixel_graphic.h"\n',
            "tests/pgraphic/formats/bmp_test.cpp":
                '#include "tests/pgraphic/image/util.h"\n#include "tests/support/run.h"\n',
            "fuzz/load_fuzzer.cpp": '#include "pgraphic/formats/bmp/bmp.h"\n',
        }, widgets={"QWidget"}), [])

    def test_includes_up_sideways_and_relative_fail(self):
        problems = self.problems({
            "pgraphic/canvas/canvas.h": "",
            "pgraphic/image/streaming.cpp": '#include "pgraphic/canvas/canvas.h"\n',
            "widgets/color_button.h": "",
            "app/logo/logo_image.h": '#include "../../widgets/color_button.h"\n',
            "tools/pgconv/main.cpp": '#include "pgraphic/canvas/canvas.h"\n',
            "app/ui/window.h": '#include "app/ui/main.cpp"\n',
            "app/ui/main.cpp": "",
        })
        self.assertEqual(problems, [
            "app/logo/logo_image.h:1: ../../widgets/color_button.h: logo may not include widgets",
            "app/ui/window.h:1: app/ui/main.cpp: window may not include vespera",
            "pgraphic/image/streaming.cpp:1: pgraphic/canvas/canvas.h: "
            "pgraphic may not include canvas",
            "tools/pgconv/main.cpp:1: pgraphic/canvas/canvas.h: pgconv may not include canvas",
        ])

    def test_qt_where_it_does_not_belong_fails(self):
        problems = self.problems({
            "pgraphic/formats/x.cpp": "#include <QImage>\n",
            "pgraphic/canvas/y.cpp": "#include <QWidget>\n#include <QtWidgets/QLabel>\n",
            "fuzz/load_fuzzer.cpp": "#include <QtGui/QImage>\n",
        }, widgets={"QWidget"})
        self.assertEqual(len(problems), 4)
        self.assertIn("Qt in a target without Qt (fuzz_bmp)", problems[0])
        self.assertIn("Qt Widgets in a Qt Gui target (canvas)", problems[1])
        self.assertIn("Qt Widgets in a Qt Gui target (canvas)", problems[2])
        self.assertIn("Qt in a target without Qt (pgraphic)", problems[3])

    def test_tests_follow_the_folder_they_mirror(self):
        problems = self.problems({
            "tests/pgraphic/canvas/util.h": "",
            "tests/pgraphic/formats/bmp_test.cpp": '#include "tests/pgraphic/canvas/util.h"\n',
            "pgraphic/image/x.cpp": '#include "tests/support/run.h"\n',
            "tests/support/run.h": "",
            "tests/support/run.cpp": '#include "platform/ini_file.h"\n',
            "platform/ini_file.h": "",
        })
        self.assertEqual(problems, [
            "pgraphic/image/x.cpp:1: tests/support/run.h: "
            "a library includes a test, benchmark or fuzz file",
            "tests/pgraphic/formats/bmp_test.cpp:1: tests/pgraphic/canvas/util.h: "
            "pgraphic may not include canvas",
            "tests/support/run.cpp:1: platform/ini_file.h: test_support may not include platform",
        ])

    def test_folder_outside_every_target_fails_unless_the_build_leaves_it_out(self):
        problems = self.problems({
            "gadgets/thing.cpp": "",
            "bench/CMakeLists.txt": "",
            "bench/pcx_bench.cpp": '#include "app/ui/window.h"\n',
            "app/ui/window.h": "",
        })
        self.assertEqual(problems, ["gadgets/thing.cpp: no target of the build compiles this folder"])


@unittest.skipUnless(shutil.which("cmake") and shutil.which("ninja"), "needs cmake and ninja")
class TargetGraphTest(unittest.TestCase):
    """The graph read through CMake's file API from a configured build of a small project."""

    def test_graph_of_a_configured_build_catches_an_include_up_the_links(self):
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        files = {
            "CMakeLists.txt": "cmake_minimum_required(VERSION 3.25)\n"
                              "project(Layers LANGUAGES CXX)\n"
                              "file(WRITE ${PROJECT_BINARY_DIR}/"
                              + check_includes.FILE_API_QUERY + ' "")\n'
                              "add_subdirectory(low)\nadd_subdirectory(high)\n",
            "low/CMakeLists.txt": "add_library(low STATIC low.cpp)\n",
            "low/low.cpp": '#include "high/high.h"\n',
            "high/CMakeLists.txt": "add_library(high STATIC high.cpp)\n"
                                   "target_link_libraries(high PUBLIC low)\n",
            "high/high.h": "",
            "high/high.cpp": '#include "low/low.h"\n#include "high.h"\n',
            "low/low.h": "",
        }
        source = os.path.join(root.name, "source")
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(source, path)), exist_ok=True)
            with open(os.path.join(source, path), "w", encoding="utf-8") as out:
                out.write(text)
        build = os.path.join(source, "build")
        subprocess.run(["cmake", "-S", source, "-B", build, "-G", "Ninja"], check=True,
                       stdout=subprocess.DEVNULL)
        source_dir, target_graph = check_includes.load_graph(build)
        self.assertEqual(os.path.realpath(source_dir), os.path.realpath(source))
        self.assertEqual(target_graph.targets["high"].allowed, {"high", "low"})
        self.assertEqual(check_includes.check(source_dir, target_graph, set()),
                         ["low/low.cpp:1: high/high.h: low may not include high"])


if __name__ == "__main__":
    unittest.main()
