"""The painted list under Wine: rows of 16 pixels under a 17-pixel band and a 17-pixel header,
each with its check box image in the node image area and the caption in the third column."""

import os
import subprocess
from pathlib import Path

import varnel_e2e
from varnel_e2e import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, LIST_CLASS, LIST_RGB, ROW_HEIGHT,
                        DesktopTestCase)
from varnel_e2e.x11 import Capture

INDENT = 16
BLACK = (0, 0, 0)
WHITE = (0xFF, 0xFF, 0xFF)


class ListPaintingTest(DesktopTestCase):
    def setUp(self) -> None:
        super().setUp()
        self.targets = self.desktop.start_targets("korean", "normal", "long")
        self.form = self.start_main_form()

    def capture_list(self) -> Capture:
        return self.desktop.capture_child(self.form["hwnd"], LIST_CLASS)

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

    def test_geometry_matches_the_headless_rendering_of_the_same_rows(self) -> None:
        """The same rows painted by the headless platform (fixed font metrics with the height
        of the form's font) must put panels, rows and check boxes at the same pixels."""
        render = os.environ.get("VARNEL_HEADLESS_RENDER")
        if not render:
            self.skipTest("VARNEL_HEADLESS_RENDER is not set (the native build makes it)")
        picture = self.capture_list()
        captions = [self.desktop.winstate.window(self.targets.hwnd(kind))["caption"]
                    for kind in ("korean", "normal", "long")]
        output = Path(self.desktop.paths.work) / f"{self.desktop.artifact_prefix}-headless.ppm"
        subprocess.run([render, str(output), *captions], check=True, timeout=60)
        headless = Capture.from_ppm(output.read_bytes())
        wine, expected = row_geometry(picture), row_geometry(headless)
        self.assertEqual(expected["first_row_top"], FIRST_ROW_TOP)
        # The box outline runs 1 pixel inside the 16 x 16 image.
        self.assertEqual(expected["box_tops"],
                         [FIRST_ROW_TOP + 1 + r * ROW_HEIGHT for r in range(3)])
        self.assertEqual(wine, expected)


def row_geometry(picture: Capture) -> dict:
    """Where the rows and their check boxes are: the first row's top (where the list's colour
    starts in the indent slot), the top of each box outline below it and the outline's
    columns."""
    first_row_top = next(y for y in range(picture.height)
                         if picture.pixel(INDENT // 2, y) == LIST_RGB)
    box_column = INDENT + 1
    # From the rows down: the header above holds captions whose ink may fall in that column.
    box_tops = [y for y in range(max(first_row_top, 1), picture.height)
                if picture.pixel(box_column, y) == BLACK
                and picture.pixel(box_column, y - 1) != BLACK]
    top = box_tops[0] if box_tops else first_row_top
    outline = [x for x in range(INDENT, INDENT + 16) if picture.pixel(x, top) == BLACK]
    return {"first_row_top": first_row_top, "box_tops": box_tops,
            "box_columns": (outline[0], outline[-1]) if outline else None}


if __name__ == "__main__":
    varnel_e2e.main()
