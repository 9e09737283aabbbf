"""What users get: the Varnel.exe the end-to-end tests run is a stripped release build within
its size budget whose version resource shows the project's version, and the package holds
that exe and the user guides in Korean and English under the same version."""

import os
import struct
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
import package  # noqa: E402

EXE = Path(os.environ["VARNEL_EXE"])
VERSION = os.environ["VARNEL_VERSION"]
BUDGET = int(os.environ["VARNEL_EXE_BUDGET"])


def section_names(exe: bytes) -> list[str]:
    """The PE section names; long ones (debug sections) are "/offset" into the string table,
    resolved here."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    count = struct.unpack_from("<H", exe, pe + 6)[0]
    symbols, symbol_count = struct.unpack_from("<II", exe, pe + 12)
    optional_size = struct.unpack_from("<H", exe, pe + 20)[0]
    table = pe + 24 + optional_size
    strings = symbols + 18 * symbol_count
    names = []
    for i in range(count):
        raw = exe[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("ascii")
        if raw.startswith("/"):
            start = strings + int(raw[1:])
            raw = exe[start:exe.index(b"\0", start)].decode("ascii")
        names.append(raw)
    return names


class ReleaseExeTest(unittest.TestCase):
    def test_the_exe_is_stripped_and_within_its_budget(self) -> None:
        data = EXE.read_bytes()
        self.assertLessEqual(len(data), BUDGET)
        names = section_names(data)
        self.assertIn(".text", names)
        self.assertEqual([n for n in names if n.startswith(".debug")], [])
        print(f"\n{EXE}: {len(data)} bytes (budget {BUDGET}); sections {' '.join(names)}")

    def test_the_version_resource_shows_the_project_version(self) -> None:
        self.assertEqual(package.exe_version(EXE), VERSION)
        for key in ("FileVersion", "ProductVersion"):
            with self.subTest(key=key):
                self.assertEqual(string_value(EXE.read_bytes(), key), f"{VERSION}.0")


def string_value(exe: bytes, key: str) -> str:
    """A value of the version resource's string table: after the key, its terminator and the
    padding to the next 32-bit boundary, up to its own terminator."""
    at = exe.index(key.encode("utf-16-le") + b"\0\0") + 2 * len(key) + 2
    while exe[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while exe[end:end + 2] != b"\0\0":
        end += 2
    return exe[at:end].decode("utf-16-le")


class PackageTest(unittest.TestCase):
    def test_the_package_holds_the_exe_and_both_guides_under_the_version(self) -> None:
        with tempfile.TemporaryDirectory() as dist:
            archive = package.package(EXE, Path(dist))
            self.assertEqual(archive.name, f"Varnel-{VERSION}-win32.zip")
            with zipfile.ZipFile(archive) as zip_file:
                folder = f"Varnel-{VERSION}"
                self.assertEqual(sorted(zip_file.namelist()),
                                 [f"{folder}/README-en.txt", f"{folder}/README-ko.txt",
                                  f"{folder}/Varnel.exe"])
                self.assertEqual(zip_file.read(f"{folder}/Varnel.exe"), EXE.read_bytes())
                english = zip_file.read(f"{folder}/README-en.txt").decode("utf-8-sig")
                korean = zip_file.read(f"{folder}/README-ko.txt").decode("utf-8-sig")
        for guide in (english, korean):
            with self.subTest(guide=guide[:20]):
                for words in ("F2", "Shift+F2", "다시보기", "숨기기(F2)", "보이기(Shift+F2)",
                              "종료"):
                    self.assertIn(words, guide)
                self.assertNotIn("\n", guide.replace("\r\n", ""), "a bare line feed")
        self.assertIn("After a crash", english)
        self.assertIn("비정상 종료", korean)


if __name__ == "__main__":
    unittest.main(verbosity=2)
