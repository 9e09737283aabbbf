"""Where the harness finds its inputs and keeps its files."""

import os
from dataclasses import dataclass
from pathlib import Path

E2E_DIR = Path(__file__).resolve().parent.parent
REPO_DIR = E2E_DIR.parent.parent


@dataclass(frozen=True)
class Paths:
    """Files of one harness: all state lives under the build directory."""

    build: Path
    varnel_exe: Path

    @classmethod
    def from_environment(cls) -> "Paths":
        """Uses VARNEL_E2E_BUILD and VARNEL_EXE when set, else the repository's build/."""
        build = Path(os.environ.get("VARNEL_E2E_BUILD", REPO_DIR / "build")).resolve()
        exe = os.environ.get("VARNEL_EXE", build / "win32" / "Varnel.exe")
        return cls(build=build, varnel_exe=Path(exe).resolve())

    @property
    def work(self) -> Path:
        return self.build / "e2e"

    @property
    def wine_prefix(self) -> Path:
        return self.build / "wine"

    @property
    def helper_bin(self) -> Path:
        return self.work / "bin"

    @property
    def logs(self) -> Path:
        return self.work / "logs"

    @property
    def state_file(self) -> Path:
        return self.work / "environment.json"

    @property
    def lock_file(self) -> Path:
        return self.work / "environment.lock"

    @property
    def helper_sources(self) -> Path:
        return E2E_DIR / "helpers"

    def helper(self, name: str) -> Path:
        return self.helper_bin / f"{name}.exe"
