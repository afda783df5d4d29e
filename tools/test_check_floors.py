#!/usr/bin/env python3
"""Shows that check_floors.py catches what it guards: each case lays out a tiny tree and names the
lines that the check must print (or none, for a tree that keeps its floors)."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_floors  # noqa: E402

CASES = [
    ("downward includes and a sub-folder below its parent keep the floors",
     {"common/Errors.h": "",
      "update/Log.cpp": '#include "common/Errors.h"\n#include <string>\n',
      "app/layout/Tree.h": '#include "common/Errors.h"\n',
      "app/Form.cpp": '#include "app/layout/Tree.h"\n#include "app/Form.h"\n'},
     []),
    ("an upward include names the file, the line and the floors",
     {"common/Folder.cpp": '// folder cuts\n#include "update/GbkText.h"\n', "update/GbkText.h": ""},
     ["common/Folder.cpp:2: common/ (floor 0) includes from update/ (floor 1): #include \"update/GbkText.h\""]),
    ("a folder on the same floor is no lower floor",
     {"imaging/gif/decoding/Sub.cpp": '#include "imaging/jpeg/Bitmap.h"\n', "imaging/jpeg/Bitmap.h": ""},
     ["imaging/gif/decoding/Sub.cpp:1: imaging/gif/decoding/ (floor 2) includes from imaging/jpeg/ "
      "(floor 2): #include \"imaging/jpeg/Bitmap.h\""]),
    ("a parent folder is above its layout sub-folder",
     {"app/layout/Resource.cpp": '#include "app/Application.h"\n', "app/Application.h": ""},
     ["app/layout/Resource.cpp:1: app/layout/ (floor 5) includes from app/ (floor 6): "
      "#include \"app/Application.h\""]),
    ("a circle is named with the include lines that close it",
     {"update/A.h": '#include "tkzip/B.h"\n', "tkzip/B.h": '#include "update/A.h"\n'},
     ["update/A.h:1: update/ (floor 1) includes from tkzip/ (floor 1): #include \"tkzip/B.h\"",
      "tkzip/B.h:1: tkzip/ (floor 1) includes from update/ (floor 1): #include \"update/A.h\"",
      "folders include each other in a circle: tkzip/, update/",
      "  tkzip/B.h:1: tkzip/ -> update/: #include \"update/A.h\"",
      "  update/A.h:1: update/ -> tkzip/: #include \"tkzip/B.h\""]),
    ("a code folder on no floor is reported",
     {"imaging/png/Png.cpp": '#include "common/Errors.h"\n', "common/Errors.h": ""},
     ["imaging/png/Png.cpp:1: folder imaging/png/ stands on no floor: #include \"common/Errors.h\""]),
    ("a folder of more than 25 .cpp files is reported",
     {f"update/F{i}.cpp": "" for i in range(26)},
     ["update/ holds 26 .cpp files, more than 25"]),
    ("tests, fuzz harnesses and tools include from anywhere",
     {"tests/unit/AppTest.cpp": '#include "app/Application.h"\n', "fuzz/F.cpp": '#include "app/X.h"\n'},
     []),
]


class CheckFloorsTest(unittest.TestCase):
    def test_cases(self):
        for name, files, expected in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                for path, text in files.items():
                    os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                    with open(os.path.join(root, path), "w") as f:
                        f.write(text)
                faults = check_floors.check(root)
                self.assertEqual(sorted(faults), sorted(expected))
                self.assertEqual(check_floors.main(["check_floors.py", root]), 1 if expected else 0)


if __name__ == "__main__":
    unittest.main()
