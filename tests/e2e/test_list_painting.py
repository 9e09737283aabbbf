"""The painted list under Wine: rows of 16 pixels under a 17-pixel band and a 17-pixel header,
each with its check box image in the node image area and the caption in the third column."""

import varnel_e2e
from varnel_e2e import DesktopTestCase, wait_until

LIST_CLASS = "TdxTreeList"
FIRST_ROW_TOP = 17 + 17
ROW_HEIGHT = 16
INDENT = 16
LIST_RGB = (0xFF, 0xFE, 0xF9)
BLACK = (0, 0, 0)
WHITE = (0xFF, 0xFF, 0xFF)
CAPTION_COLUMN_LEFT = 16 + 16 + 49 - 16 + 20  # indent + image + rest of column 0 + icon column


class ListPaintingTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.require_varnel()
        self.targets = self.desktop.start_targets("korean", "normal", "long")
        self.varnel = self.desktop.start_varnel()
        self.form = self.desktop.wait_for_main_form(timeout=30)

    def capture_list(self):
        self.desktop.settle(self.form["hwnd"])
        tree = next(c for c in self.desktop.winstate.children(self.form["hwnd"])
                    if c["class"] == LIST_CLASS)
        return self.desktop.x.capture(tree["rect"])

    def test_rows_have_check_boxes_and_captions_at_the_computed_places(self) -> None:
        picture = self.capture_list()
        self.desktop.screenshot("rows")
        rows = 3  # the three target windows; nothing else on this desktop has a caption
        for row in range(rows):
            top = FIRST_ROW_TOP + row * ROW_HEIGHT
            with self.subTest(row=row):
                # The indent slot is the list's colour; the unmarked box (image 0) is a black
                # outline from (1, 1) to (13, 13) of the 16x16 image area after it, white inside.
                self.assertEqual(picture.pixel(INDENT // 2, top + 8), LIST_RGB)
                self.assertEqual(picture.pixel(INDENT + 1, top + 1), BLACK)
                self.assertEqual(picture.pixel(INDENT + 13, top + 13), BLACK)
                self.assertEqual(picture.pixel(INDENT + 7, top + 7), WHITE)
                self.assertEqual(picture.pixel(INDENT + 14, top + 7), LIST_RGB)
                caption = [picture.pixel(x, y) for y in range(top, top + ROW_HEIGHT)
                           for x in range(CAPTION_COLUMN_LEFT, picture.width)]
                self.assertTrue(any(min(p) < 128 for p in caption), "no caption text")
        below = FIRST_ROW_TOP + rows * ROW_HEIGHT + 2
        self.assertEqual(picture.pixel(INDENT + 1, below), LIST_RGB, "a fourth row appeared")


if __name__ == "__main__":
    varnel_e2e.main()
