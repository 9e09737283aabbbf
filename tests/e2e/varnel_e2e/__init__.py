"""End-to-end test harness: Varnel.exe under Wine on a private Xvfb desktop."""

from .desktop import MAIN_FORM_CLASS, Desktop, Targets
from .environment import Environment
from .paths import Paths
from .polling import WaitTimeout, wait_until
from .testcase import DesktopTestCase, main
from .winstate import WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, WinState, height, width

__all__ = [
    "MAIN_FORM_CLASS", "Desktop", "DesktopTestCase", "Environment", "Paths", "Targets",
    "WS_EX_APPWINDOW", "WS_EX_TOOLWINDOW", "WaitTimeout", "WinState", "height", "main",
    "wait_until", "width",
]
