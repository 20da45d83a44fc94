#!/usr/bin/env python3
"""The include check on a small fixture tree: the clean tree passes, and each
file added below, which breaks the layering one way, makes it fail and is
named with the include that breaks it."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, '..', '..', 'scripts', 'check-includes.py')
FIXTURE = os.path.join(HERE, 'include-fixture')

# name, file added to the clean tree, its line that breaks the rule
BREAKING_FILES = [
    ('the model includes the renderer', 'model/MnMeasure.cpp', '#include "render/ReThing.h"'),
    ('the foundation includes the model', 'foundation/BcTable.cpp', '#include "model/MnThing.h"'),
    ('a header includes upwards', 'model/MnPlaced.h', '#include "editing/EdThing.h"'),
    ('a relative path climbs out and up', 'model/MnRelative.cpp', '#include "../render/ReThing.h"'),
    ('an angle include names a layer above', 'editing/EdAngle.cpp', '#include <render/ReThing.h>'),
    ('a sibling includes its sibling', 'playback/MpImport.cpp', '#include "interchange/IeThing.h"'),
    ('the core includes wxWidgets', 'render/ReWindow.cpp', '#include <wx/dc.h>'),
    ('the core includes the platform', 'playback/MpOutput.cpp', '#include "platform/PfAudio.h"'),
    ('the core includes the shell', 'commands/EdDialog.cpp', '#include "app/Quorvane.h"'),
    ('the platform includes the model', 'platform/PfClock.cpp', '#include "model/MnThing.h"'),
    ('the platform includes wxWidgets', 'platform/PfMidi.cpp', '#include <wx/timer.h>'),
    ('the platform includes its shell side', 'platform/PfOther.h', '#include "platform/gui/PfFrame.h"'),
    ('the core includes test support', 'model/MnTested.cpp', '#include "tests/common/TestSupport.h"'),
]


class FixtureTree:
    """A copy of the clean fixture tree, to add files to; removed on exit."""

    def __enter__(self):
        self.scratch = tempfile.mkdtemp()
        self.root = os.path.join(self.scratch, 'tree')
        shutil.copytree(FIXTURE, self.root)
        return self

    def __exit__(self, *exception):
        shutil.rmtree(self.scratch)

    def add(self, path, line):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, 'w') as handle:
            handle.write('#include "foundation/BcThing.h"\n\n' + line + '\n')

    def check(self):
        return subprocess.run([sys.executable, CHECK, self.root], capture_output=True, text=True)


class IncludeCheck(unittest.TestCase):
    def test_clean_tree_passes(self):
        # Downward includes, includes of the own folder, relative ones,
        # commented-out ones and anything the shell includes.
        with FixtureTree() as tree:
            result = tree.check()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout, '')

    def test_each_breaking_include_fails_and_is_named(self):
        for name, path, line in BREAKING_FILES:
            with self.subTest(name), FixtureTree() as tree:
                tree.add(path, line)
                result = tree.check()
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                self.assertIn(f'{path}:3: {line}', result.stdout)
                # Only the added file is reported.
                self.assertEqual(result.stdout.count(':3: '), 1, result.stdout)

    def test_shell_folders_may_include_anything(self):
        with FixtureTree() as tree:
            tree.add('panels/UiProperties.cpp', '#include "tests/common/TestSupport.h"')
            tree.add('platform/gui/PfDialog.cpp', '#include "render/ReThing.h"')
            tree.add('app/UiView.cpp', '#include <wx/glcanvas.h>')
            result = tree.check()
        self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == '__main__':
    unittest.main()
