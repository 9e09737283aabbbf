"""The list's band and headers under Wine: the band caption centred over the columns, the three
headers in the flat look in the panel colour, and a click on the caption header that sorts the
rows by caption and shows the sort mark, a second click reversing them."""

import varnel_e2e
from varnel_e2e import (CAPTION_COLUMN_LEFT, FIRST_ROW_TOP, GENEROUS, LIST_CLASS, ROW_HEIGHT,
                        DesktopTestCase, wait_until)

BAND_HEIGHT = 17
HEADER_HEIGHT = 17
PANEL_RGB = (0xE9, 0xE5, 0xD9)
# Header edges from the layout: the select column 0 .. 49, the icon column 49 .. 69, the
# caption column from 69 to the list's right edge.
SELECT_RIGHT = 49
ICON_RIGHT = 69
# The flat look's caption sits 3 pixels inside a header; the sort mark's 16 pixels end 3
# pixels inside the last header's right edge.
CAPTION_INSET = 3
MARK_WIDTH = 16


def ink(pixel: tuple[int, int, int]) -> bool:
    return min(pixel) < 128


def brightness(pixel: tuple[int, int, int]) -> int:
    return sum(pixel)


class ListHeadersTest(DesktopTestCase):
    def test_band_caption_is_centred_and_the_headers_are_flat(self) -> None:
        self.targets = self.desktop.start_targets("normal")
        form = self.start_main_form()
        picture = self.desktop.capture_child(form["hwnd"], LIST_CLASS)
        self.desktop.screenshot("headers", settle=form["hwnd"])
        width = picture.width

        band_ink = [x for y in range(2, BAND_HEIGHT - 2) for x in range(width)
                    if ink(picture.pixel(x, y))]
        self.assertTrue(band_ink, "no band caption")
        centre = (min(band_ink) + max(band_ink)) / 2
        self.assertLessEqual(abs(centre - width / 2), 4, "band caption not centred")
        # Flat single button: a light line along the top, a dark one along the bottom, the
        # panel colour between.
        self.assertGreater(brightness(picture.pixel(8, 0)), brightness(PANEL_RGB))
        self.assertLess(brightness(picture.pixel(8, BAND_HEIGHT - 1)), brightness(PANEL_RGB))
        self.assertEqual(picture.pixel(8, BAND_HEIGHT // 2), PANEL_RGB)

        header_rows = range(BAND_HEIGHT + 2, BAND_HEIGHT + HEADER_HEIGHT - 2)

        def ink_between(left: int, right: int) -> list[int]:
            return [x for y in header_rows for x in range(left, right) if ink(picture.pixel(x, y))]

        select = ink_between(0, SELECT_RIGHT - 2)
        self.assertTrue(select, "no caption in the select column's header")
        self.assertGreaterEqual(min(select), CAPTION_INSET)
        self.assertEqual(ink_between(SELECT_RIGHT + 2, ICON_RIGHT - 2), [],
                         "the icon column's header has no caption")
        caption = ink_between(ICON_RIGHT + 2, width - 2)
        self.assertTrue(caption, "no caption in the caption column's header")
        self.assertGreaterEqual(min(caption), ICON_RIGHT + CAPTION_INSET)
        self.assertLess(max(caption), ICON_RIGHT + 120, "the caption reaches too far")
        self.assertEqual(picture.pixel(width - 8, BAND_HEIGHT + HEADER_HEIGHT // 2), PANEL_RGB)

    def test_clicks_on_the_caption_header_sort_by_caption_and_turn_the_order_round(self) -> None:
        # By bytes: "Long caption ..." < "Numbered 01" < "Numbered 02" < the Korean caption.
        self.targets = self.desktop.start_targets("korean", "numbered=2", "long")
        form = self.start_main_form()
        tree = self.desktop.child_of_class(form["hwnd"], LIST_CLASS)
        state = self.desktop.winstate.window(tree["hwnd"])
        width = state["client"][2]
        mark_left = width - CAPTION_INSET - MARK_WIDTH
        header_middle = BAND_HEIGHT + HEADER_HEIGHT // 2

        def look() -> tuple[list[bytes], bytes]:
            """Each row's caption pixels (inside the focus frame) and the sort mark's area."""
            picture = self.desktop.capture_child(form["hwnd"], LIST_CLASS)
            rows = [bytes(b for y in range(FIRST_ROW_TOP + r * ROW_HEIGHT + 2,
                                           FIRST_ROW_TOP + (r + 1) * ROW_HEIGHT - 2)
                          for x in range(CAPTION_COLUMN_LEFT, width - 2)
                          for b in picture.pixel(x, y))
                    for r in range(4)]
            mark = bytes(b for y in range(BAND_HEIGHT + 2, BAND_HEIGHT + HEADER_HEIGHT - 2)
                         for x in range(mark_left, mark_left + MARK_WIDTH)
                         for b in picture.pixel(x, y))
            return rows, mark

        def changed_from(before: list[bytes]):
            def probe():
                now = look()
                return now if now[0] != before else None
            return probe

        rows, unsorted_mark = look()
        self.assertEqual(set(unsorted_mark), set(PANEL_RGB), "a mark before any sort")
        self.desktop.screenshot("unsorted")
        self.desktop.click_in_client(tree["hwnd"], ICON_RIGHT + 60, header_middle)
        ascending, up_mark = wait_until(changed_from(rows), GENEROUS, 0.2, "the rows sorted")
        self.desktop.screenshot("ascending")
        self.assertEqual(sorted(ascending), sorted(rows), "rows came or went")
        self.assertNotEqual(up_mark, unsorted_mark, "no sort mark")
        # The long caption fills its cell to the right edge; the two numbered rows share their
        # start ("Numbered 0"); the Korean row comes last.
        row_bytes = 3 * (width - 2 - CAPTION_COLUMN_LEFT)

        def lines(row: bytes, start: int, end: int) -> bytes:
            """Pixels start .. end (from the caption column's text) of each line of a row."""
            return b"".join(row[line * row_bytes + 3 * start:line * row_bytes + 3 * end]
                            for line in range(ROW_HEIGHT - 4))

        def start(row: bytes) -> bytes:
            return lines(row, 0, 30)  # "bered": before the numbers differ

        right_end = lines(ascending[0], row_bytes // 3 - 10, row_bytes // 3)
        self.assertTrue(any(min(right_end[i:i + 3]) < 128 for i in range(0, len(right_end), 3)),
                        "the long caption, filling its cell, is not first")
        self.assertEqual(start(ascending[1]), start(ascending[2]))
        self.assertNotEqual(start(ascending[1]), start(ascending[3]))
        self.assertNotEqual(start(ascending[0]), start(ascending[1]))

        self.desktop.click_in_client(tree["hwnd"], ICON_RIGHT + 60, header_middle)
        descending, down_mark = wait_until(changed_from(ascending), GENEROUS, 0.2,
                                           "the rows turned round")
        self.desktop.screenshot("descending")
        self.assertEqual(descending, list(reversed(ascending)))
        self.assertNotEqual(down_mark, up_mark, "the mark did not turn round")


if __name__ == "__main__":
    varnel_e2e.main()
