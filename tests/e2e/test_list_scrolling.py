"""Scrolling the list under Wine with the real pointer: with 50 windows listed the list shows a
vertical scroll bar, a wheel notch moves the rows three rows up or down, and dragging the thumb
to the bottom of the bar shows the last page, where the wheel cannot go further down."""

import varnel_e2e
from varnel_e2e import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, GENEROUS, LIST_CLASS, ROW_HEIGHT,
                        DesktopTestCase, wait_until)

WS_VSCROLL = 0x00200000
WINDOWS = 50
WHEEL_UP, WHEEL_DOWN = 4, 5
LINES_PER_NOTCH = 3


class ListScrollingTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets(f"numbered={WINDOWS}")
        self.form = self.start_main_form()
        self.list = self.desktop.child_of_class(self.form["hwnd"], LIST_CLASS)

    def rows(self) -> list[bytes]:
        """The caption pixels of each whole row in view, inside the focus frame's edges."""
        state = self.desktop.winstate.window(self.list["hwnd"])
        picture = self.desktop.capture_child(self.form["hwnd"], LIST_CLASS)
        right = state["client"][2] - 2
        whole_rows = (state["client"][3] - FIRST_ROW_TOP) // ROW_HEIGHT
        return [bytes(b for y in range(FIRST_ROW_TOP + r * ROW_HEIGHT + 2,
                                       FIRST_ROW_TOP + (r + 1) * ROW_HEIGHT - 2)
                      for x in range(CAPTION_COLUMN_LEFT, right) for b in picture.pixel(x, y))
                for r in range(whole_rows)]

    def wheel(self, button: int, before: list[bytes], moved_by: int) -> list[bytes]:
        """Turns the wheel one notch and waits until the rows moved by `moved_by` rows (up for
        positive numbers); answers the rows then."""
        self.desktop.x.click_button(button)

        def moved():
            after = self.rows()
            if moved_by >= 0:
                ok = after[1:len(after) - moved_by] == before[1 + moved_by:]
            else:
                ok = after[1 - moved_by:] == before[1:len(before) + moved_by]
            return after if ok and after != before or (moved_by == 0 and after == before) else None
        return wait_until(moved, GENEROUS, 0.2, f"the rows moved by {moved_by}")

    def test_many_windows_give_a_scroll_bar_the_wheel_and_the_thumb_move(self) -> None:
        state = self.desktop.winstate.window(self.list["hwnd"])
        self.assertTrue(state["style"] & WS_VSCROLL, "no vertical scroll bar")
        self.desktop.screenshot("top")
        left, top = state["client_origin"]
        self.desktop.focus_window(self.form["hwnd"])
        self.desktop.x.move_pointer(left + 150, top + FIRST_ROW_TOP + 3 * ROW_HEIGHT)

        rows = self.rows()
        rows = self.wheel(WHEEL_DOWN, rows, LINES_PER_NOTCH)
        rows = self.wheel(WHEEL_DOWN, rows, LINES_PER_NOTCH)
        self.desktop.screenshot("wheeled")
        rows = self.wheel(WHEEL_UP, rows, -LINES_PER_NOTCH)
        rows = self.wheel(WHEEL_UP, rows, -LINES_PER_NOTCH)  # back at the top

        # The thumb dragged down to the bottom end of the bar: the last page. At the top the
        # thumb starts under the bar's 16-pixel arrow and is about a quarter of the bar long.
        # The pointer stays on the bar: dragged far off it, the system puts the thumb back.
        bar_x = left + state["client"][2] + 8  # the bar lies right of the client area
        bar_top, bar_bottom = top, top + state["client"][3]
        self.desktop.x.move_pointer(bar_x, bar_top + 16 + 20)
        self.desktop.x.button_down(1)
        for y in list(range(bar_top + 40, bar_bottom - 10, 20)) + [bar_bottom - 8]:
            self.desktop.x.move_pointer(bar_x, y)
        self.desktop.x.button_up(1)
        self.desktop.x.move_pointer(left + 150, top + FIRST_ROW_TOP + 3 * ROW_HEIGHT)
        wait_until(lambda: self.rows() != rows, GENEROUS, 0.2, "the rows after the thumb moved")
        self.desktop.screenshot("bottom")
        # At the end the wheel moves nothing down, but the view up.
        rows = self.rows()
        self.wheel(WHEEL_DOWN, rows, 0)
        self.wheel(WHEEL_UP, rows, -LINES_PER_NOTCH)


if __name__ == "__main__":
    varnel_e2e.main()
