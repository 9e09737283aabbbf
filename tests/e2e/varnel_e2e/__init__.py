"""End-to-end test harness: Varnel.exe under Wine on a private Xvfb desktop."""

from .desktop import Desktop, Targets
from .environment import Environment
from .mainform import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, LIST_CLASS, LIST_RGB, MAIN_FORM_CLASS,
                       ROW_HEIGHT)
from .paths import Paths
from .polling import GENEROUS, WaitTimeout, wait_until
from .testcase import DesktopTestCase, main
from .winstate import WM_NULL, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, WinState, height, width

__all__ = [
    "CAPTION_COLUMN_LEFT", "FIRST_ROW_TOP", "LIST_CLASS", "LIST_RGB", "MAIN_FORM_CLASS", "ROW_HEIGHT", "Desktop", "DesktopTestCase",
    "Environment", "GENEROUS", "Paths", "Targets", "WM_NULL", "WS_EX_APPWINDOW", "WS_EX_TOOLWINDOW",
    "WaitTimeout", "WinState", "height", "main", "wait_until", "width",
]
