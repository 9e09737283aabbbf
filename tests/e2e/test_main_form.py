"""The main form as its stored layout describes it, under Wine: size, position, border icons,
the button strip, the list, resizing, a second copy and a hung window at start-up."""

import time

import varnel_e2e
from varnel_e2e import (GENEROUS, LIST_CLASS, LIST_RGB, MAIN_FORM_CLASS, DesktopTestCase, height,
                        wait_until, width)

WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_SYSMENU = 0x00080000
PANEL_CLASS = "TPanel"
BUTTON_CLASS = "TQuolButton"
# The list's band and header panels: 17 pixels each for the form's 12-pixel font, in the
# list's band and header colour 0x00D9E5E9; below them the rows area in the list's colour.
BAND_HEIGHT = 17
HEADER_HEIGHT = 17
PANEL_RGB = (0xE9, 0xE5, 0xD9)
BUTTONS = [  # left edge, width: refresh, hide, show at the left; mail, close at the right
    (0, 52), (52, 61), (113, 94), (219, 86), (305, 37)]


def relative(child: dict, parent: dict) -> list[int]:
    """A child's rectangle in its parent's client coordinates."""
    ox, oy = parent["client_origin"]
    left, top, right, bottom = child["rect"]
    return [left - ox, top - oy, right - ox, bottom - oy]


class MainFormTest(DesktopTestCase):
    def strip_and_list(self, form: dict) -> tuple[dict, list[dict], dict]:
        """Panel2 and its buttons (left to right), and the list, from the form's children."""
        children = self.desktop.winstate.children(form["hwnd"])
        panels = [c for c in children if c["class"] == PANEL_CLASS]
        strip = min(panels, key=lambda p: p["rect"][1])
        buttons = sorted((c for c in children if c["class"] == BUTTON_CLASS), key=lambda b: b["rect"][0])
        lists = [c for c in children if c["class"] == LIST_CLASS]
        self.assertEqual(len(lists), 1)
        return strip, buttons, lists[0]

    def test_form_is_centred_with_its_stored_size_and_border_icons(self) -> None:
        form = self.start_main_form()
        self.desktop.screenshot("form", settle=form["hwnd"])
        self.assertEqual((width(form["rect"]), height(form["rect"])), (350, 300))
        screen_w, screen_h = self.desktop.screen_size()
        centre_x = (form["rect"][0] + form["rect"][2]) / 2
        centre_y = (form["rect"][1] + form["rect"][3]) / 2
        self.assertLessEqual(abs(centre_x - screen_w / 2), 2)
        self.assertLessEqual(abs(centre_y - screen_h / 2), 2)
        self.assertTrue(form["style"] & WS_SYSMENU)
        self.assertTrue(form["style"] & WS_MINIMIZEBOX)
        self.assertFalse(form["style"] & WS_MAXIMIZEBOX)

    def test_button_strip_on_top_and_list_filling_the_rest(self) -> None:
        form = self.start_main_form()
        strip, buttons, tree = self.strip_and_list(form)
        self.desktop.screenshot("strip", settle=form["hwnd"])
        client_w, client_h = form["client"][2], form["client"][3]
        self.assertEqual(relative(strip, form), [0, 0, client_w, 18])
        self.assertEqual([[b["rect"][0] - strip["client_origin"][0], width(b["rect"])] for b in buttons],
                         [list(b) for b in BUTTONS])
        self.assertTrue(all(height(b["rect"]) == 18 for b in buttons))
        captions = [b["caption"] for b in buttons]
        self.assertEqual(captions, ["다시보기", "숨기기(F2)", "보이기(Shift+F2)", "버그잡아수세요", "종료"])
        self.assertEqual(relative(tree, form), [1, 19, client_w - 1, client_h - 1])

    def test_list_shows_band_and_header_panels_of_the_computed_heights(self) -> None:
        form = self.start_main_form()
        picture = self.desktop.capture_child(form["hwnd"], LIST_CLASS)
        self.desktop.screenshot("list-geometry")
        right = picture.width - 4  # clear of the centred band caption and the header captions
        band_middle, header_middle, rows = BAND_HEIGHT // 2, BAND_HEIGHT + HEADER_HEIGHT // 2, BAND_HEIGHT + HEADER_HEIGHT + 4
        self.assertEqual(picture.pixel(right, band_middle), PANEL_RGB)
        self.assertEqual(picture.pixel(right, header_middle), PANEL_RGB)
        self.assertEqual(picture.pixel(right, rows), LIST_RGB)
        self.assertEqual(picture.pixel(right, picture.height - 2), LIST_RGB)

    def test_enlarged_form_keeps_button_groups_at_their_edges(self) -> None:
        form = self.start_main_form()
        form = self.desktop.resize_window(form["hwnd"], 600, 400)
        strip, buttons, tree = self.strip_and_list(form)
        self.desktop.screenshot("enlarged", settle=form["hwnd"])
        left = [b["rect"][0] - strip["client_origin"][0] for b in buttons]
        self.assertEqual(left[:3], [0, 52, 113])
        self.assertEqual(left[3:], [600 - 37 - 86, 600 - 37])
        self.assertEqual(relative(tree, form), [1, 19, 599, 399])

    def test_second_copy_starts_and_only_the_first_reacts_to_f2(self) -> None:
        first = self.start_main_form()
        second_process = self.desktop.start_varnel()
        second = wait_until(
            lambda: next((w for w in self.desktop.winstate.find(class_=MAIN_FORM_CLASS)
                          if w["pid"] != first["pid"] and w["visible"]), None),
            timeout=GENEROUS, what="the second main form")
        # No error box: the failed registrations are not reported. Once the second copy has
        # handled all it queued at start-up, a box would be there.
        self.desktop.settle(second["hwnd"])
        boxes = [w for w in self.desktop.winstate.windows() if w["pid"] == second["pid"] and w["class"] == "#32770"]
        self.assertEqual(boxes, [])
        self.desktop.press_hot_key(
            "F2", lambda: not self.desktop.winstate.window(first["hwnd"])["visible"],
            "first copy hidden", second["hwnd"])
        self.assertTrue(self.desktop.winstate.window(second["hwnd"])["visible"])
        self.desktop.screenshot("second-copy")
        self.assertTrue(second_process.is_running())

    def timed_start(self) -> tuple[dict, float]:
        started = time.monotonic()
        form = self.start_main_form()
        return form, time.monotonic() - started

    def test_hung_window_does_not_hold_up_start_up(self) -> None:
        form, baseline = self.timed_start()
        self.desktop.winstate.close(form["hwnd"])
        self.assertEqual(self.varnel.wait(GENEROUS), 0)
        targets = self.desktop.start_targets("hung", "normal")
        # The window list asks each window for its icon for a bounded while: without the bound
        # the start-up would wait for the hung window for ever.
        form, with_hung = self.timed_start()
        self.figure("start-up with a hung window, seen from the harness", with_hung * 1000, "ms",
                    baseline * 1000, "of a start-up without it")
        self.assertTrue(form["visible"])
        self.assertIsNotNone(self.desktop.winstate.window(targets.hwnd("hung")))
        self.desktop.screenshot("with-hung-window", settle=form["hwnd"])


if __name__ == "__main__":
    varnel_e2e.main()
