#!/usr/bin/env python3
"""Packs Varnel.exe and the user guides as Varnel-<version>-win32.zip.

    scripts/package.py EXE DIST_DIR      prints the zip's path

The version is the one the exe's version resource shows (CMake's project version)."""

import struct
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
GUIDES = {"README-ko.txt": ROOT / "docs" / "guide" / "ko.txt",
          "README-en.txt": ROOT / "docs" / "guide" / "en.txt"}
# VS_FIXEDFILEINFO starts with this signature; the file version follows the struct version.
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def exe_version(exe: Path) -> str:
    """major.minor.patch of the exe's version resource."""
    data = exe.read_bytes()
    at = data.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        raise ValueError(f"{exe} has no version resource")
    most, least = struct.unpack_from("<II", data, at + 8)
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}"


def guide_text(path: Path) -> bytes:
    """UTF-8 with a byte order mark and CRLF line ends, as Notepad reads it everywhere."""
    text = path.read_text(encoding="utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
    return b"\xef\xbb\xbf" + text.encode("utf-8")


def package(exe: Path, dist: Path) -> Path:
    version = exe_version(exe)
    folder = f"Varnel-{version}"
    dist.mkdir(parents=True, exist_ok=True)
    archive = dist / f"{folder}-win32.zip"
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as zip_file:
        zip_file.write(exe, f"{folder}/Varnel.exe")
        for name, source in GUIDES.items():
            zip_file.writestr(f"{folder}/{name}", guide_text(source))
    return archive


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    print(package(Path(sys.argv[1]), Path(sys.argv[2])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
