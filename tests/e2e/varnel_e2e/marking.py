"""Marking rows of Varnel's list with the real mouse, and reading its check boxes off the screen."""

import time
from pathlib import Path

from .mainform import FIRST_ROW_TOP, LIST_CLASS, ROW_HEIGHT
from .polling import GENEROUS, wait_until

BLACK = (0, 0, 0)
BOX_LEFT = 16  # the check box image follows the 16-pixel indent slot


class ListOnScreen:
    """The list of one main form, as a user sees and clicks it."""

    def __init__(self, desktop, form: int):
        self.desktop = desktop
        self.form = form
        self.list = desktop.child_of_class(form, LIST_CLASS)

    def origin(self) -> tuple[int, int]:
        left, top = self.desktop.winstate.window(self.list["hwnd"])["client_origin"]
        return left, top

    def ticked(self, row: int) -> bool:
        """Whether the row (counted from the top row shown) shows the tick: ink inside the
        box outline."""
        picture = self.desktop.capture_child(self.form, LIST_CLASS)
        top = FIRST_ROW_TOP + row * ROW_HEIGHT
        ink = sum(1 for y in range(top + 2, top + 13) for x in range(BOX_LEFT + 2, BOX_LEFT + 13)
                  if picture.pixel(x, y) == BLACK)
        return ink > 5

    def click_row(self, row: int, x: int = BOX_LEFT + 7, top_row: int = 0) -> None:
        left, top = self.origin()
        self.desktop.click(left + x, top + FIRST_ROW_TOP + (row - top_row) * ROW_HEIGHT + 8)

    def whole_rows(self) -> int:
        state = self.desktop.winstate.window(self.list["hwnd"])
        return (state["client"][3] - FIRST_ROW_TOP) // ROW_HEIGHT

    def mark_rows(self, rows: list[int]) -> None:
        """Clicks the given rows (whole list, counted from 0; the list must not be scrolled)
        and waits until each shows its tick."""
        for row in rows:
            self.click_row(row)
        wait_until(lambda: all(self.ticked(row) for row in rows), GENEROUS, 0.1,
                   f"ticks in rows {rows}")

    def mark_all(self, count: int, screenshot: str = "") -> None:
        """Marks the first `count` rows: the form is made tall to show most of them and the
        wheel brings the rest (three rows a notch)."""
        self.desktop.resize_window(self.form, 340, 700)
        self.desktop.settle(self.form)
        whole_rows = self.whole_rows()
        for row in range(min(whole_rows, count)):
            self.click_row(row)
        top_row = 0
        left, top = self.origin()
        self.desktop.x.move_pointer(left + 150, top + FIRST_ROW_TOP + 8)
        while top_row + whole_rows < count:
            self.desktop.x.click_button(5)
            top_row = min(top_row + 3, count - whole_rows)
        self.desktop.settle(self.form)
        for row in range(max(whole_rows, top_row), count):
            self.click_row(row, top_row=top_row)
        self.desktop.settle(self.form)
        if screenshot:
            self.desktop.screenshot(screenshot)


def rows_of(desktop, form: dict, windows: list[int]) -> list[int]:
    """The rows the windows have in a form's list, worked out as the list is made: the
    owner-less visible or minimised windows with a caption, in Z order, without the form's own
    application window. Valid right after the form's start."""
    listed = [w["hwnd"] for w in desktop.winstate.windows()
              if w["hwndparent"] == 0 and (w["visible"] or w["iconic"])
              and w["caption"].strip(" \t\r\n") and w["hwnd"] != form["owner"]]
    return [listed.index(w) for w in windows]


def windows_path(path: Path) -> str:
    """The path as a Windows program under Wine names it (Wine maps / to drive Z:)."""
    return "Z:" + str(path.resolve()).replace("/", "\\")


def run_helper(desktop, name: str, *args: str, timeout: float = 120.0) -> dict:
    """Runs one of the helper programs that print one JSON line with their figures; that line."""
    process = desktop.start(desktop.paths.helper(name), *map(str, args), capture_stdout=True)
    started = time.monotonic()
    lines = process.read_json_until(lambda line: True, timeout=timeout)
    process.wait(max(1.0, timeout - (time.monotonic() - started)))
    return lines[-1]
