"""The painted list under Wine: rows of 16 pixels under a 17-pixel band and a 17-pixel header,
each with its check box image in the node image area, the fallback icon on white in the icon
column and the caption in the third column."""

import os
import re
import subprocess
from pathlib import Path
from typing import Optional

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

    def test_every_row_shows_the_fallback_icon_on_white(self) -> None:
        """Other programs' windows answer the small-icon query with nothing under Wine, so every
        row shows image 2 of ImgLstCheck, at the same place, in a white 20-pixel cell."""
        picture = self.capture_list()
        self.desktop.screenshot("icons")
        icon = fallback_icon()
        tops = [FIRST_ROW_TOP + row * ROW_HEIGHT for row in range(3)]
        lefts = [find_icon(picture, icon, top) for top in tops]
        self.assertNotIn(None, lefts, f"no fallback icon in some row: {lefts}")
        self.assertEqual(len(set(lefts)), 1, f"icons at different places: {lefts}")
        left = lefts[0]
        self.assertLess(left + 20, CAPTION_COLUMN_LEFT)
        for top in tops:
            for y in range(top + 1, top + ROW_HEIGHT - 1):
                for x in range(left + 16, left + 20):
                    self.assertEqual(picture.pixel(x, y), WHITE, f"at {x},{y}")

    def test_geometry_matches_the_headless_rendering_of_the_same_rows(self) -> None:
        """The same rows painted by the headless platform (fixed font metrics with the height
        of the form's font) must put panels, rows, check boxes and icons at the same pixels."""
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


def fallback_icon() -> list[list[Optional[tuple[int, int, int]]]]:
    """Image 2 of ImgLstCheck from the stored layout, as RGB rows (None where transparent)."""
    layout = (Path(__file__).resolve().parents[2] / "resources" / "TFVARNEL.layout").read_text()
    items = re.findall(r"Palette = '([^']*)'\s*Rows = \(([^)]*)\)", layout)
    palette_text, rows_text = items[2]
    palette = {}
    for entry in palette_text.split()[1:]:
        name, bgr = entry.split("=")
        value = int(bgr, 16)  # a colour value: 0xBBGGRR
        palette[name] = (value & 0xFF, (value >> 8) & 0xFF, value >> 16)
    rows = re.findall(r"'([^']*)'", rows_text)
    return [[palette.get(c) for c in row] for row in rows]


def find_icon(picture: Capture, icon: list, top: int) -> Optional[int]:
    """The left edge of the icon drawn over white with its top-left corner at (x, top); rows 1
    to 14 are compared (the focused row's frame may cover the others)."""
    for x in range(picture.width - 16):
        if all(picture.pixel(x + ix, top + iy) == (icon[iy][ix] or WHITE)
               for iy in range(1, 15) for ix in range(16)):
            return x
    return None


def row_geometry(picture: Capture) -> dict:
    """Where the rows and their check boxes are: the first row's top (where the list's colour
    starts in the indent slot), the top of each box outline below it, the outline's columns and
    where each row's icon lies."""
    first_row_top = next(y for y in range(picture.height)
                         if picture.pixel(INDENT // 2, y) == LIST_RGB)
    box_column = INDENT + 1
    # From the rows down: the header above holds captions whose ink may fall in that column.
    box_tops = [y for y in range(max(first_row_top, 1), picture.height)
                if picture.pixel(box_column, y) == BLACK
                and picture.pixel(box_column, y - 1) != BLACK]
    top = box_tops[0] if box_tops else first_row_top
    outline = [x for x in range(INDENT, INDENT + 16) if picture.pixel(x, top) == BLACK]
    icon = fallback_icon()
    return {"first_row_top": first_row_top, "box_tops": box_tops,
            "box_columns": (outline[0], outline[-1]) if outline else None,
            "icon_lefts": [find_icon(picture, icon, box_top - 1) for box_top in box_tops]}


if __name__ == "__main__":
    varnel_e2e.main()
