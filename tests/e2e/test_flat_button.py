"""The main form's flat buttons under Wine with the real pointer: the caption turns blue under
the mouse on the flat strip without a border and returns to the font colour when the mouse
leaves, the hand cursor shows while hovering, and a press released outside does not click.
(A click on the refresh button refreshing the list is in test_hide_show.)"""

import struct

import varnel_e2e
from varnel_e2e import GENEROUS, LIST_CLASS, DesktopTestCase, wait_until
from varnel_e2e.paths import REPO_DIR

STRIP_RGB = (0xFF, 0xFE, 0xF9)  # Panel2's colour 0x00F9FEFF, which the buttons take
HAND_CURSOR = REPO_DIR / "resources" / "quolbutton" / "HANDquolb.cur"


def is_blue(pixel: tuple[int, int, int]) -> bool:
    r, g, b = pixel
    return b >= 200 and r <= 120 and g <= 120


def is_dark(pixel: tuple[int, int, int]) -> bool:
    return max(pixel) <= 80


def ink(picture, test) -> list[tuple[int, int]]:
    return [(x, y) for y in range(picture.height) for x in range(picture.width)
            if test(picture.pixel(x, y))]


def box(points: list[tuple[int, int]]) -> tuple[int, int, int, int]:
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def hand_shape() -> set[tuple[int, int]]:
    """The pixels our hand cursor shows, relative to its hot spot, read from the .cur file."""
    data = HAND_CURSOR.read_bytes()
    hot_x, hot_y = struct.unpack_from("<HH", data, 6 + 4)
    image = struct.unpack_from("<I", data, 6 + 12)[0]
    and_rows = image + 40 + 8 + 32 * 4
    shape = set()
    for row in range(32):
        mask = struct.unpack_from(">I", data, and_rows + 4 * row)[0]
        y = 31 - row  # rows are stored bottom-up
        for x in range(32):
            if not mask & (1 << (31 - x)):
                shape.add((x - hot_x, y - hot_y))
    return shape


class FlatButtonTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.form = self.start_main_form()
        self.buttons = {c["caption"]: c for c in self.desktop.winstate.children(self.form["hwnd"])
                        if c["class"] == "TQuolButton"}
        tree = self.desktop.child_of_class(self.form["hwnd"], LIST_CLASS)
        left, top, right, bottom = tree["rect"]
        self.away = ((left + right) // 2, (top + bottom) // 2)
        # The pointer may still be where an earlier test left it.
        self.desktop.x.move_pointer(*self.away)

    def centre(self, caption: str) -> tuple[int, int]:
        left, top, right, bottom = self.buttons[caption]["rect"]
        return (left + right) // 2, (top + bottom) // 2

    def capture(self, caption: str):
        return self.desktop.x.capture(self.buttons[caption]["rect"])

    def assert_borderless(self, picture, look: str) -> None:
        ring = ([(x, 0) for x in range(picture.width)]
                + [(x, picture.height - 1) for x in range(picture.width)]
                + [(0, y) for y in range(picture.height)]
                + [(picture.width - 1, y) for y in range(picture.height)])
        self.assertEqual({picture.pixel(x, y) for x, y in ring}, {STRIP_RGB}, look)

    def wait_for_look(self, caption: str, hot: bool, what: str):
        """The button's pixels once its caption is blue (hot) or in the dark font colour."""
        def probe():
            picture = self.capture(caption)
            blue, dark = ink(picture, is_blue), ink(picture, is_dark)
            return picture if (bool(blue), bool(dark)) == (hot, not hot) else None

        return wait_until(probe, GENEROUS, 0.1, what)

    def test_caption_turns_blue_under_the_mouse_and_back_when_it_leaves(self) -> None:
        caption = "다시보기"
        resting = self.wait_for_look(caption, False, "the resting caption")
        self.assert_borderless(resting, "resting")

        self.desktop.x.move_pointer(*self.centre(caption))
        hover = self.wait_for_look(caption, True, "the blue caption under the mouse")
        self.desktop.screenshot("hover", settle=self.form["hwnd"])
        self.assert_borderless(hover, "hover")
        self.assertEqual(box(ink(hover, is_blue)), box(ink(resting, is_dark)),
                         "the caption stays in place")
        # The other buttons rest meanwhile.
        self.assertFalse(ink(self.capture("숨기기(F2)"), is_blue))

        self.desktop.x.move_pointer(*self.away)
        left = self.wait_for_look(caption, False, "the caption back in the font colour")
        self.desktop.screenshot("left", settle=self.form["hwnd"])
        self.assert_borderless(left, "left")

    def test_hand_cursor_shows_while_hovering(self) -> None:
        self.desktop.x.move_pointer(*self.away)
        self.desktop.settle(self.form["hwnd"])
        arrow = self.desktop.x.cursor().opaque()
        hand = hand_shape()
        self.assertNotEqual(arrow, hand)

        self.desktop.x.move_pointer(*self.centre("종료"))
        wait_until(lambda: self.desktop.x.cursor().opaque() == hand, GENEROUS, 0.1,
                   "the hand cursor")
        self.desktop.x.move_pointer(*self.centre("버그잡아수세요"))
        self.desktop.settle(self.form["hwnd"])
        self.assertEqual(self.desktop.x.cursor().opaque(), hand)

        self.desktop.x.move_pointer(*self.away)
        wait_until(lambda: self.desktop.x.cursor().opaque() == arrow, GENEROUS, 0.1,
                   "the arrow again")

    def test_press_released_outside_does_not_click(self) -> None:
        caption = "숨기기(F2)"
        self.desktop.focus_window(self.form["hwnd"])
        self.desktop.x.move_pointer(*self.centre(caption))
        hover = self.wait_for_look(caption, True, "the hover look")
        self.desktop.x.button_down()
        try:
            # Pressed: the caption one pixel right and down.
            def pressed():
                blue = ink(self.capture(caption), is_blue)
                return blue and box(blue) != box(ink(hover, is_blue))

            wait_until(pressed, GENEROUS, 0.1, "the pressed look")
            left, top, right, bottom = box(ink(self.capture(caption), is_blue))
            h_left, h_top, h_right, h_bottom = box(ink(hover, is_blue))
            self.assertEqual((left, top), (h_left + 1, h_top + 1))
            self.desktop.screenshot("pressed", settle=self.form["hwnd"])
            self.desktop.x.move_pointer(*self.away)
            self.wait_for_look(caption, False, "the left look while still pressed")
        finally:
            self.desktop.x.button_up()
        # The button lets the mouse go when it handles the release; once that is done, so is
        # any click the release made.
        wait_until(lambda: self.desktop.winstate.focus()["capture"] == 0, GENEROUS, 0.1,
                   "the button to let the mouse go")
        self.desktop.settle(self.form["hwnd"])
        self.assertTrue(self.desktop.winstate.window(self.form["hwnd"])["visible"],
                        "a release outside the button must not click it")

        # The same button clicked for real hides the form: the press above could have.
        self.desktop.click(*self.centre(caption))
        self.desktop.wait_for_state(self.form["hwnd"], lambda w: w and not w["visible"], GENEROUS,
                                    "the form hidden by a click")


if __name__ == "__main__":
    varnel_e2e.main()
