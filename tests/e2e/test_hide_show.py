"""F2 and Shift+F2 hide and show Varnel with its taskbar button, the refresh button re-reads the
desktop, and closing while hidden ends the program."""

import varnel_e2e
from varnel_e2e import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, GENEROUS, LIST_CLASS, ROW_HEIGHT,
                        DesktopTestCase, wait_until)

REFRESH_CAPTION = "다시보기"


class HideShowTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.form = self.start_main_form()
        self.application = self.form["owner"]

    def varnel_windows_visible(self) -> list[int]:
        """Handles of Varnel's visible top-level windows (form, application window)."""
        return [w["hwnd"] for w in self.desktop.winstate.windows()
                if w["pid"] == self.form["pid"] and w["visible"]]

    def test_f2_from_another_program_hides_form_and_taskbar_button(self) -> None:
        targets = self.desktop.start_targets("normal")
        self.desktop.press_hot_key("F2", lambda: not self.varnel_windows_visible(),
                                   "Varnel hidden", targets.hwnd("normal"))
        self.desktop.screenshot("hidden")
        # Nothing of Varnel is left to carry a taskbar button.
        self.assertFalse(self.desktop.winstate.window(self.application)["visible"])
        self.assertTrue(self.desktop.winstate.window(targets.hwnd("normal"))["visible"])

        self.desktop.press_hot_key(
            "shift+F2",
            lambda: set(self.varnel_windows_visible()) == {self.form["hwnd"], self.application},
            "Varnel shown again", targets.hwnd("normal"))
        self.desktop.screenshot("shown", settle=self.form["hwnd"])

    def test_shift_f2_without_f2_leaves_everything_shown(self) -> None:
        self.desktop.focus_window(self.form["hwnd"])
        self.desktop.press("shift+F2")
        self.desktop.settle(self.form["hwnd"])
        self.assertEqual(set(self.varnel_windows_visible()), {self.form["hwnd"], self.application})

    def listed_rows(self) -> int:
        """How many rows of the list show a caption, read off the screen."""
        picture = self.desktop.capture_child(self.form["hwnd"], LIST_CLASS)
        return len(picture.rows_with_ink(ROW_HEIGHT, top=FIRST_ROW_TOP,
                                         left=CAPTION_COLUMN_LEFT, inset=2))

    def test_refresh_button_reads_a_window_opened_after_start_up(self) -> None:
        before = self.listed_rows()
        self.desktop.start_targets("korean")
        # The new window may cover the button strip: bring Varnel to the front as a user would.
        self.desktop.focus_window(self.form["hwnd"])
        self.assertEqual(self.listed_rows(), before, "nothing is listed before the refresh")
        buttons = [c for c in self.desktop.winstate.children(self.form["hwnd"])
                   if c["caption"] == REFRESH_CAPTION]
        self.assertEqual(len(buttons), 1)
        left, top, right, bottom = buttons[0]["rect"]
        self.desktop.click((left + right) // 2, (top + bottom) // 2)
        wait_until(lambda: self.listed_rows() == before + 1, timeout=GENEROUS,
                   what="one more row after the refresh")
        self.desktop.screenshot("refreshed", settle=self.form["hwnd"])

    def test_closing_while_hidden_ends_the_program(self) -> None:
        self.desktop.press_hot_key("F2", lambda: not self.varnel_windows_visible(),
                                   "Varnel hidden", self.form["hwnd"])
        self.assertTrue(self.desktop.winstate.close(self.form["hwnd"]))
        self.assertEqual(self.varnel.wait(GENEROUS), 0)
        self.assertEqual(self.desktop.winstate.find(pid=self.form["pid"]), [])


if __name__ == "__main__":
    varnel_e2e.main()
