#!/usr/bin/env python3
"""Tests of check_includes.py over small made-up trees."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_includes  # noqa: E402


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

    def problems(self, files, widgets=()):
        return check_includes.check(self.tree(files), set(widgets))

    def test_includes_down_the_chain_pass(self):
        self.assertEqual(self.problems({
            "core/stream.h": "",
            "platform/ini_file.h": '#include "core/stream.h"\n',
            "pgraphic/image/pixel_graphic.h": '#include "platform/ini_file.h"\n#include <vector>\n',
            "pgraphic/image/palettes.inc": "",
            "pgraphic/image/palettes.cpp": '#include "palettes.inc"\n',
            "pgraphic/formats/registry.h": '#include "pgraphic/image/pixel_graphic.h"\n',
            "pgraphic/canvas/canvas.h": '#include "pgraphic/formats/registry.h"\n#include <QImage>\n',
            "app/logo/logo_image.h": '#include "pgraphic/formats/registry.h"\n',
            "app/composer.h": '#include "app/logo/logo_image.h"\n#include "pgraphic/canvas/canvas.h"\n',
            "app/ui/main.cpp": '#include "app/composer.h"\n#include <QWidget>\n',
            "tools/pgconv/main.cpp": '#include "app/logo/logo_image.h"\n',
            "tests/support/run.h": "",
            "tests/pgraphic/image/util.h": '#include "pgraphic/image/pixel_graphic.h"\n',
            "tests/pgraphic/formats/bmp_test.cpp":
                '#include "tests/pgraphic/image/util.h"\n#include "tests/support/run.h"\n',
        }, widgets={"QWidget"}), [])

    def test_image_including_formats_fails(self):
        problems = self.problems({
            "pgraphic/formats/bmp/bmp.h": "",
            "pgraphic/image/streaming.cpp": '#include "pgraphic/formats/bmp/bmp.h"\n',
        })
        self.assertEqual(len(problems), 1)
        self.assertIn("image may not include formats", problems[0])

    def test_sideways_and_relative_includes_fail(self):
        problems = self.problems({
            "widgets/color_button.h": "",
            "app/logo/logo_image.h": '#include "../../widgets/color_button.h"\n',
            "pgraphic/canvas/canvas.h": "",
            "tools/pgconv/main.cpp": '#include "pgraphic/canvas/canvas.h"\n',
        })
        self.assertEqual(len(problems), 2)
        self.assertIn("logo may not include widgets", problems[0])
        self.assertIn("tools may not include canvas", problems[1])

    def test_qt_where_it_does_not_belong_fails(self):
        problems = self.problems({
            "pgraphic/formats/x.cpp": "#include <QImage>\n",
            "pgraphic/canvas/y.cpp": "#include <QWidget>\n#include <QtWidgets/QLabel>\n",
            "fuzz/load_fuzzer.cpp": "#include <QtGui/QImage>\n",
        }, widgets={"QWidget"})
        self.assertEqual(len(problems), 4)
        self.assertIn("Qt in a layer without Qt (fuzz)", problems[0])
        self.assertIn("Qt Widgets in a Qt Gui layer (canvas)", problems[1])
        self.assertIn("Qt Widgets in a Qt Gui layer (canvas)", problems[2])
        self.assertIn("Qt in a layer without Qt (formats)", problems[3])

    def test_tests_follow_the_layer_they_mirror(self):
        problems = self.problems({
            "tests/pgraphic/canvas/util.h": "",
            "tests/pgraphic/formats/bmp_test.cpp": '#include "tests/pgraphic/canvas/util.h"\n',
            "pgraphic/image/x.cpp": '#include "tests/pgraphic/canvas/util.h"\n',
        })
        self.assertEqual(len(problems), 2)
        self.assertIn("library includes a test", problems[0])
        self.assertIn("formats may not include canvas", problems[1])

    def test_folder_outside_every_layer_fails(self):
        problems = self.problems({"gadgets/thing.cpp": "", "tests/gadgets/thing_test.cpp": ""})
        self.assertEqual(len(problems), 2)
        self.assertIn("gadgets/thing.cpp: folder belongs to no layer", problems[0])
        self.assertIn("tests/gadgets/thing_test.cpp: folder belongs to no layer", problems[1])


if __name__ == "__main__":
    unittest.main()
