"""Scrolling the list under Wine with the real pointer: with 50 windows listed the list shows a
vertical scroll bar, the wheel moves the view three rows a notch without moving the focus, and
dragging the thumb to the bottom of the bar shows the last page, the last window's row at the
bottom."""

import varnel_e2e
from varnel_e2e import LIST_CLASS, ROW_HEIGHT, DesktopTestCase
from varnel_e2e.polling import wait_until

WS_VSCROLL = 0x00200000
WINDOWS = 50
FIRST_ROW_TOP = 17 + 17


class ListScrollingTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets(f"numbered={WINDOWS}")
        self.form = self.start_main_form()
        self.list = self.desktop.child_of_class(self.form["hwnd"], LIST_CLASS)

    def list_state(self) -> dict:
        return self.desktop.winstate.window(self.list["hwnd"])

    def vertical_bar(self) -> list:
        """[min, max, page, pos] of the list's vertical bar."""
        return self.list_state()["vscroll"]

    def wait_for_top_row(self, row: int) -> list:
        return wait_until(lambda: (lambda bar: bar if bar[3] == row else None)(self.vertical_bar()),
                          10, 0.1, f"top row {row}")

    def test_many_windows_give_a_scroll_bar_the_wheel_and_the_thumb_move(self) -> None:
        state = self.list_state()
        self.assertTrue(state["style"] & WS_VSCROLL, "no vertical scroll bar")
        low, high, page, position = self.vertical_bar()
        self.assertEqual((low, position), (0, 0))
        self.assertGreaterEqual(high, WINDOWS - 1)
        self.assertGreater(page, 1)
        self.desktop.screenshot("top")

        # The wheel over the rows: three rows a notch down, and back up.
        left, top = state["client_origin"]
        self.desktop.focus_window(self.form["hwnd"])
        self.desktop.x.move_pointer(left + 150, top + FIRST_ROW_TOP + 3 * ROW_HEIGHT)
        self.desktop.x.click_button(5)
        self.wait_for_top_row(3)
        self.desktop.x.click_button(5)
        self.wait_for_top_row(6)
        self.desktop.screenshot("wheeled")
        self.desktop.x.click_button(4)
        self.wait_for_top_row(3)

        # The thumb dragged to the bottom end of the bar: the last page.
        client_width = state["client"][2]
        bar_left = left + client_width  # the bar lies right of the client area
        bar_top = top
        bar_bottom = top + state["client"][3]
        self.desktop.x.move_pointer(bar_left + 8, bar_top + 16 + 8 + 6)
        self.desktop.x.button_down(1)
        for y in range(bar_top + 30, bar_bottom + 40, 20):
            self.desktop.x.move_pointer(bar_left + 8, y)
        self.desktop.x.button_up(1)
        last_top = high - page + 1
        self.wait_for_top_row(last_top)
        self.desktop.screenshot("bottom")


if __name__ == "__main__":
    varnel_e2e.main()
