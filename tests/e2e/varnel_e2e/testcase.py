"""unittest glue: one Environment per test process, a fresh Desktop for every test."""

import sys
import unittest
from pathlib import Path
from typing import Optional

from .desktop import Desktop
from .environment import Environment
from .figures import Figures
from .wineprocess import WineProcess


class DesktopTestCase(unittest.TestCase):
    """Base class of the end-to-end tests: self.desktop is ready in every test method."""

    environment: Environment
    varnel: WineProcess

    @classmethod
    def setUpClass(cls) -> None:
        cls.environment = Environment().ensure()

    def setUp(self) -> None:
        self.environment.kill_leftovers()
        self.desktop = Desktop(self.environment, self._artifact_prefix())
        self.addCleanup(self.desktop.stop_all)

    def _artifact_prefix(self) -> str:
        module = Path(sys.modules[type(self).__module__].__file__ or "test").stem
        return f"{module.removeprefix('test_')}-{self._testMethodName.removeprefix('test_')}"

    def figure(self, name: str, value: float, unit: str, baseline: Optional[float] = None,
               baseline_name: str = "") -> None:
        """Prints a measured figure and adds it to build/e2e/figures.json (never pass/fail)."""
        test = f"{self._artifact_prefix().split('-', 1)[0]}.{self._testMethodName}"
        Figures(self.environment.paths).record(test, name, value, unit, baseline,
                                                baseline_name)

    def require_varnel(self) -> None:
        """Fails (not skips) when Varnel.exe is missing: the build must have made it."""
        exe = self.environment.paths.varnel_exe
        self.assertTrue(exe.exists(), f"{exe} is missing: run cmake --build build/win32")

    def start_main_form(self) -> dict:
        """Starts Varnel (kept as self.varnel) and returns its main form once it is shown."""
        self.require_varnel()
        self.varnel = self.desktop.start_varnel()
        return self.desktop.wait_for_main_form()


def main() -> None:
    """Runs the calling test module's tests verbosely."""
    unittest.main(module="__main__", verbosity=2)
