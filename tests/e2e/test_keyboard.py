"""The list under Wine with real key presses: with 50 windows listed and the list focused, End
scrolls to and highlights the last row, Home returns to the first, Page Down moves to the last
whole row in view and then a page further; Down, Down, Space marks the third row without the
mouse, and F2 hides exactly one window, that one, together with Varnel."""

import varnel_e2e
from varnel_e2e import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, GENEROUS, LIST_CLASS, LIST_RGB,
                        ROW_HEIGHT, DesktopTestCase, wait_until)

WINDOWS = 50
BLACK = (0, 0, 0)
BOX_LEFT = 16


class KeyboardTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets(f"numbered={WINDOWS}")
        self.hwnds = [self.targets.hwnd(f"numbered-{i:02d}") for i in range(1, WINDOWS + 1)]
        self.form = self.start_main_form()
        self.list = self.desktop.child_of_class(self.form["hwnd"], LIST_CLASS)
        self.desktop.focus_window(self.form["hwnd"])

    def view(self) -> tuple[list[int], list[bytes]]:
        """The whole rows in view drawn highlighted (the selection's colour behind the caption)
        and each row's caption pixels, by view row."""
        state = self.desktop.winstate.window(self.list["hwnd"])
        picture = self.desktop.capture_child(self.form["hwnd"], LIST_CLASS)
        right = state["client"][2] - 2
        whole_rows = (state["client"][3] - FIRST_ROW_TOP) // ROW_HEIGHT
        tops = [FIRST_ROW_TOP + r * ROW_HEIGHT for r in range(whole_rows)]
        # Right of the short captions only the row's background shows.
        highlighted = [r for r, top in enumerate(tops)
                       if picture.pixel(right - 8, top + ROW_HEIGHT // 2) != LIST_RGB]
        captions = [bytes(b for y in range(top + 2, top + ROW_HEIGHT - 2)
                          for x in range(CAPTION_COLUMN_LEFT, right - 20)
                          for b in picture.pixel(x, y)) for top in tops]
        return highlighted, captions

    def press_until(self, key: str, condition, what: str):
        self.desktop.press(key)
        return wait_until(lambda: (lambda v: v if condition(v) else None)(self.view()),
                          GENEROUS, 0.2, what)

    def ticked(self, row: int) -> bool:
        picture = self.desktop.capture_child(self.form["hwnd"], LIST_CLASS)
        top = FIRST_ROW_TOP + row * ROW_HEIGHT
        return sum(1 for y in range(top + 2, top + 13) for x in range(BOX_LEFT + 2, BOX_LEFT + 13)
                   if picture.pixel(x, y) == BLACK) > 5

    def visible(self, hwnd: int) -> bool:
        window = self.desktop.winstate.window(hwnd)
        return bool(window and window["visible"])

    def test_end_home_and_page_down_move_the_focus_and_the_view(self) -> None:
        # Home first: it selects the focused first row.
        first_page = self.press_until("Home", lambda v: v[0] == [0], "the first row highlighted")
        whole_rows = len(first_page[1])
        self.assertLess(whole_rows, WINDOWS, "the list should not show every row")

        end = self.press_until("End", lambda v: v[0] == [whole_rows - 1]
                               and not same_rows(v, first_page), "the last row highlighted")
        self.desktop.screenshot("end")
        # Down at the last row moves nothing: it is the list's last.
        self.desktop.press("Down")
        self.desktop.settle(self.form["hwnd"])
        self.assertEqual(self.view(), end)

        self.press_until("Home", lambda v: v == first_page, "the first row at the top")
        self.desktop.screenshot("home")

        # From the top row Page Down moves a page less one: to the last whole row in view,
        # then once more by as many, the view following.
        self.press_until("Next", lambda v: v[0] == [whole_rows - 1] and same_rows(v, first_page),
                         "the last whole row of the first page")
        second_page = self.press_until("Next", lambda v: v[0] == [whole_rows - 1]
                                       and not same_rows(v, first_page), "the next page")
        self.desktop.screenshot("page-down")
        # The first page's last row is now the top row: the view moved by whole_rows - 1.
        self.assertEqual(second_page[1][0], first_page[1][-1])

    def test_down_down_space_marks_the_third_row_and_f2_hides_that_window(self) -> None:
        self.press_until("Down", lambda v: v[0] == [1], "the second row highlighted")
        self.press_until("Down", lambda v: v[0] == [2], "the third row highlighted")
        self.desktop.press("space")
        wait_until(lambda: self.ticked(2), GENEROUS, 0.1, "the third row's ticked box")
        self.assertFalse(self.ticked(0) or self.ticked(1) or self.ticked(3))
        self.desktop.screenshot("marked")
        _, captions = self.view()

        self.desktop.press_hot_key("F2", lambda: not self.visible(self.form["hwnd"]),
                                   "Varnel hidden", self.form["hwnd"])
        wait_until(lambda: sum(not self.visible(h) for h in self.hwnds) == 1, GENEROUS, 0.1,
                   "one window hidden")
        hidden = next(h for h in self.hwnds if not self.visible(h))
        self.desktop.screenshot("hidden")

        # Space on the same row unmarks it: F2 then hides Varnel alone, so that row's mark was
        # what hid the window.
        self.desktop.press_hot_key(
            "shift+F2", lambda: self.visible(self.form["hwnd"]) and self.visible(hidden),
            "Varnel and the window shown",
            self.hwnds[0] if hidden != self.hwnds[0] else self.hwnds[1])
        self.desktop.focus_window(self.form["hwnd"])
        self.assertEqual(self.view()[1], captions, "the rows changed while hidden")
        self.desktop.press("space")
        wait_until(lambda: not self.ticked(2), GENEROUS, 0.1, "the third row's empty box")
        self.desktop.press_hot_key("F2", lambda: not self.visible(self.form["hwnd"]),
                                   "Varnel hidden", self.form["hwnd"])
        self.assertTrue(all(self.visible(h) for h in self.hwnds), "a window was hidden")
        self.desktop.press_hot_key("shift+F2", lambda: self.visible(self.form["hwnd"]),
                                   "Varnel shown", self.hwnds[0])


def same_rows(a: tuple[list[int], list[bytes]], b: tuple[list[int], list[bytes]]) -> bool:
    """Whether two views show the same rows, leaving out the rows either draws highlighted."""
    skip = set(a[0]) | set(b[0])
    return all(x == y for r, (x, y) in enumerate(zip(a[1], b[1])) if r not in skip)


if __name__ == "__main__":
    varnel_e2e.main()
