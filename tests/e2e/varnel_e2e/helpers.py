"""Builds the Windows helper programs (tests/e2e/helpers/*.c) with the mingw-w64 C compiler."""

import shutil
import subprocess
from pathlib import Path

from .paths import Paths

COMPILER = "i686-w64-mingw32-gcc"
FLAGS = ["-std=c11", "-O2", "-Wall", "-Wextra", "-Werror", "-static", "-mconsole"]
LIBRARIES = ["-luser32", "-lgdi32"]
HELPERS = ("winstate", "targets", "hidetimer", "starttimer", "soak", "minimal", "hotkeyhider",
           "family")


def _is_stale(exe: Path, sources: list[Path]) -> bool:
    return not exe.exists() or any(s.stat().st_mtime > exe.stat().st_mtime for s in sources)


def build_helpers(paths: Paths) -> dict[str, Path]:
    """Compiles each helper whose sources changed; returns name -> exe path."""
    compiler = shutil.which(COMPILER)
    if compiler is None:
        raise RuntimeError(f"{COMPILER} not found: run scripts/deps.sh")
    headers = sorted(paths.helper_sources.glob("*.h"))
    paths.helper_bin.mkdir(parents=True, exist_ok=True)
    built = {}
    for name in HELPERS:
        source = paths.helper_sources / f"{name}.c"
        exe = paths.helper(name)
        if _is_stale(exe, [source, *headers]):
            subprocess.run([compiler, *FLAGS, "-o", str(exe), str(source), *LIBRARIES], check=True)
        built[name] = exe
    return built
