#!/usr/bin/env python3
"""Draws the flat button's resources and writes them to resources/quolbutton/.

- One glyph pair per button kind: a coloured "hot" glyph and a grey resting one, 18x18 pixels
  in the 16 VGA colours on a magenta background (the "silly" pair 19x19 with up to 256
  colours). Shapes are rendered from simple geometry, lit from the top left and outlined in
  black: the black outline is what a disabled button's embossed glyph shows.
- Strela.bmp: the popup-menu mark, a 5x3 black triangle pointing down on magenta.
- HANDquolb.cur: a 32x32 monochrome pointing-hand cursor, hot spot at the fingertip.
- PREKO.wav: the hover sound, a 50 ms falling blip (PCM, mono, 22 050 Hz, 16 bits).

Standard library only. Also writes ../build/button-preview.png (every glyph scaled x8) for
looking at the pictures.
"""

import math
import os
import struct
import zlib

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# The 16 colours of a 4 bpp display, as the program's icons use them.
from make_icons import VGA_PALETTE  # noqa: E402

RED, MAROON = (0xFF, 0, 0), (0x80, 0, 0)
GREEN, LIME = (0, 0x80, 0), (0, 0xFF, 0)
NAVY, BLUE, AQUA = (0, 0, 0x80), (0, 0, 0xFF), (0, 0xFF, 0xFF)
TEAL, OLIVE, YELLOW = (0, 0x80, 0x80), (0x80, 0x80, 0), (0xFF, 0xFF, 0)
GREY, SILVER = (0x80, 0x80, 0x80), (0xC0, 0xC0, 0xC0)

# ---------------------------------------------------------------------------------------------
# Geometry: a shape is a predicate on pixel centres.


def segment(ax, ay, bx, by, radius):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= radius

    return inside


def polyline(points, radius):
    parts = [segment(*a, *b, radius) for a, b in zip(points, points[1:])]
    return lambda x, y: any(part(x, y) for part in parts)


def disc(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) <= radius


def ring(cx, cy, inner, outer, gap_from=None, gap_to=None):
    """A ring; angles in degrees (0 = right, counter-clockwise, y up) between gap_from and
    gap_to are left out."""

    def inside(x, y):
        distance = math.hypot(x - cx, y - cy)
        if not inner <= distance <= outer:
            return False
        if gap_from is None:
            return True
        angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return not (gap_from <= angle <= gap_to)

    return inside


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        s1, s2, s3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)

    return inside


def box(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


# ---------------------------------------------------------------------------------------------
# Rendering: layers of (shape, base, light, dark); lit edges face the top left, then a black
# outline around every layer.


def render(size, layers, outline=True):
    image = [[MAGENTA] * size for _ in range(size)]
    covered = [[False] * size for _ in range(size)]
    for shape, base, light, dark in layers:
        mask = [[shape(x + 0.5, y + 0.5) for x in range(size)] for y in range(size)]

        def inside(x, y):
            return 0 <= x < size and 0 <= y < size and mask[y][x]

        for y in range(size):
            for x in range(size):
                if not mask[y][x]:
                    continue
                colour = base
                if not inside(x, y - 1) or not inside(x - 1, y):
                    colour = light
                elif not inside(x, y + 1) or not inside(x + 1, y):
                    colour = dark
                image[y][x] = colour
                covered[y][x] = True
    if outline:
        edge = [[False] * size for _ in range(size)]
        for y in range(size):
            for x in range(size):
                if covered[y][x]:
                    continue
                for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                    if 0 <= nx < size and 0 <= ny < size and covered[ny][nx]:
                        edge[y][x] = True
        for y in range(size):
            for x in range(size):
                if edge[y][x]:
                    image[y][x] = BLACK
    return image


def luminance(colour):
    r, g, b = colour
    return 0.299 * r + 0.587 * g + 0.114 * b


def to_vga_grey(colour):
    """The resting look: the same picture in the VGA greys; black and magenta stay."""
    if colour in (MAGENTA, BLACK):
        return colour
    level = luminance(colour)
    if level < 20:
        return BLACK
    if level < 110:
        return GREY
    if level < 225:
        return SILVER
    return WHITE


def to_true_grey(colour):
    if colour == MAGENTA:
        return colour
    level = round(luminance(colour))
    # A grey must never be taken for the magenta background.
    return (level, level, level)


def greyed(image, convert):
    return [[convert(pixel) for pixel in row] for row in image]


# ---------------------------------------------------------------------------------------------
# The glyphs (18x18). Coordinates are pixel edges: (0, 0) is the top-left corner.


def check(dx=0.0, dy=0.0, radius=1.45, scale=1.0):
    points = [(3.5, 9.5), (7.2, 13.2), (14.5, 4.2)]
    return polyline([(x * scale + dx, y * scale + dy) for x, y in points], radius)


def glyph_yes():
    return render(18, [(check(), GREEN, LIME, GREEN)])


def glyph_cancel():
    cross = union(segment(4.5, 4.5, 13.5, 13.5, 1.6), segment(13.5, 4.5, 4.5, 13.5, 1.6))
    return render(18, [(cross, RED, RED, MAROON)])


def glyph_help():
    question = union(
        ring(9, 6.6, 1.4, 3.1, 200, 300),
        segment(9.6, 9.2, 9.0, 10.8, 1.05),
        disc(9.0, 13.6, 1.05),
    )
    return render(18, [(disc(9, 9, 8.0), BLUE, AQUA, NAVY), (question, WHITE, WHITE, SILVER)])


def glyph_no():
    sign = union(ring(9, 9, 4.6, 7.6), segment(4.2, 4.2, 13.8, 13.8, 1.5))
    return render(18, [(sign, RED, RED, MAROON)])


def glyph_exit():
    door = box(2.5, 1.5, 10.5, 16.5)
    opening = box(4.5, 3.5, 8.5, 14.5)
    arrow = union(segment(8.0, 9.0, 13.0, 9.0, 1.1), triangle((12.0, 5.0), (17.0, 9.0), (12.0, 13.0)))
    return render(18, [(minus(door, opening), OLIVE, YELLOW, OLIVE),
                       (opening, TEAL, TEAL, TEAL),
                       (arrow, GREEN, LIME, GREEN)])


def glyph_retry():
    circle = ring(9, 9.5, 3.4, 6.0, 20, 95)
    head = triangle((9.0, 1.2), (13.6, 4.0), (9.0, 7.2))
    return render(18, [(union(circle, head), TEAL, AQUA, TEAL)])


def glyph_ignore():
    chevrons = union(polyline([(3.5, 4.0), (8.0, 9.0), (3.5, 14.0)], 1.35),
                     polyline([(9.5, 4.0), (14.0, 9.0), (9.5, 14.0)], 1.35))
    return render(18, [(chevrons, OLIVE, YELLOW, OLIVE)])


def glyph_all():
    return render(18, [(check(-0.5, 3.0, 1.05, 0.55), GREEN, LIME, GREEN),
                       (check(7.0, 3.0, 1.05, 0.55), GREEN, LIME, GREEN)])


def glyph_silly():
    """A grinning face with its tongue out, shaded in many yellows (19x19, 256 colours)."""
    size = 19
    image = [[MAGENTA] * size for _ in range(size)]
    cx = cy = 9.5
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            distance = math.hypot(px - cx, py - cy)
            if distance <= 8.6:
                # Lit from the top left: brighter toward (6, 6).
                light = max(0.0, 1.0 - math.hypot(px - 6.5, py - 6.0) / 13.0)
                image[y][x] = (255, round(170 + 80 * light), round(20 + 150 * light * light))
            elif distance <= 9.6:
                image[y][x] = (96, 64, 0)
    for ex in (6.5, 12.5):
        for y in range(size):
            for x in range(size):
                if ((x + 0.5 - ex) / 1.3) ** 2 + ((y + 0.5 - 7.0) / 2.0) ** 2 <= 1.0:
                    image[y][x] = BLACK
        image[6][int(ex) - 1] = WHITE
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            in_mouth = math.hypot(px - cx, py - 10.0) <= 5.6 and py >= 11.0
            if in_mouth:
                image[y][x] = (90, 20, 10)
                if math.hypot(px - 11.2, py - 14.6) <= 2.1:
                    image[y][x] = (240, 90, 120)
            elif abs(math.hypot(px - cx, py - 10.0) - 5.6) <= 0.5 and py >= 10.6:
                image[y][x] = BLACK
    return image


# Resource name stem (the resting resource adds "g" before "quolb") -> picture.
GLYPHS = {
    "da": glyph_yes,
    "iksic": glyph_cancel,
    "pomoc": glyph_help,
    "ne": glyph_no,
    "exit": glyph_exit,
    "Retri": glyph_retry,
    "igno": glyph_ignore,
    "sve": glyph_all,
    "glupi": glyph_silly,
}
TRUE_COLOUR_GLYPHS = {"glupi"}

STRELA = [
    "kkkkk",
    ".kkk.",
    "..k..",
]

# ---------------------------------------------------------------------------------------------
# The hand cursor: w white, k black, . transparent. The fingertip's top-left pixel is the hot
# spot.

HAND = [
    ".....kk..........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwkkk.......",
    "....kwwkwwkkk....",
    "....kwwkwwkwwkk..",
    ".kk.kwwkwwkwwkwk.",
    "kwwkkwwkwwkwwkwwk",
    "kwwwkwwwwwwwwwwwk",
    ".kwwkwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwk.",
    "....kwwwwwwwwwwk.",
    "....kwwwwwwwwwk..",
    ".....kwwwwwwwwk..",
    ".....kwwwwwwwwk..",
    ".....kkkkkkkkkk..",
]
HAND_OFFSET = (8, 2)
HAND_HOTSPOT = (HAND_OFFSET[0] + 5, HAND_OFFSET[1] + 1)


def hand_pixels():
    """32x32 rows of 'w', 'k' or '.'."""
    rows = [["."] * 32 for _ in range(32)]
    ox, oy = HAND_OFFSET
    for y, line in enumerate(HAND):
        for x, c in enumerate(line):
            rows[oy + y][ox + x] = c
    return rows


# ---------------------------------------------------------------------------------------------
# File formats


def bmp_paletted(image, palette, bits):
    """An uncompressed bottom-up BMP of `bits` (4 or 8) bits per pixel."""
    height, width = len(image), len(image[0])
    index = {colour: i for i, colour in enumerate(palette)}
    row_bytes = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for line in reversed(image):
        row = bytearray(row_bytes)
        for x, colour in enumerate(line):
            i = index[colour]
            if bits == 8:
                row[x] = i
            elif x % 2 == 0:
                row[x // 2] |= i << 4
            else:
                row[x // 2] |= i
        pixels += row
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colour_table + bytes(pixels)


def bmp_vga(image):
    for line in image:
        for colour in line:
            if colour not in VGA_PALETTE:
                raise ValueError(f"{colour} is not a VGA colour")
    return bmp_paletted(image, list(VGA_PALETTE), 4)


def bmp_256(image):
    palette = sorted({colour for line in image for colour in line})
    if len(palette) > 256:
        raise ValueError(f"{len(palette)} colours do not fit 256")
    return bmp_paletted(image, palette, 8)


def cursor_file(rows, hotspot):
    """A .cur file with one 32x32 monochrome image (XOR bits, then the AND mask)."""
    xor_rows, and_rows = bytearray(), bytearray()
    for line in reversed(rows):
        xor_bits = and_bits = 0
        for x, c in enumerate(line):
            bit = 1 << (31 - x)
            if c == ".":
                and_bits |= bit
            elif c == "w":
                xor_bits |= bit
        xor_rows += struct.pack(">I", xor_bits)
        and_rows += struct.pack(">I", and_bits)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor_rows) + len(and_rows), 0, 0,
                       2, 0)
    image = info + struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0) + xor_rows + and_rows
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def wave_file():
    rate, seconds = 22050, 0.05
    count = int(rate * seconds)
    samples = bytearray()
    phase = 0.0
    for n in range(count):
        t = n / rate
        frequency = 1500.0 - 500.0 * (t / seconds)
        phase += 2 * math.pi * frequency / rate
        envelope = min(1.0, t / 0.002) * math.exp(-t / 0.015)
        samples += struct.pack("<h", round(0.35 * 32767 * envelope * math.sin(phase)))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(samples)) + bytes(samples)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def preview(pictures, scale=8, gap=2):
    """Every picture side by side on a light background, scaled."""
    cell = max(len(p) for p in pictures) + gap
    rows = [[(230, 230, 230)] * (cell * len(pictures) * scale) for _ in range(cell * scale)]
    for i, picture in enumerate(pictures):
        for y, line in enumerate(picture):
            for x, colour in enumerate(line):
                for sy in range(scale):
                    for sx in range(scale):
                        rows[y * scale + sy][(i * cell + x) * scale + sx] = colour
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = os.path.join(here, "quolbutton")
    os.makedirs(out_dir, exist_ok=True)

    shown = []
    for stem, draw in GLYPHS.items():
        hot = draw()
        if stem in TRUE_COLOUR_GLYPHS:
            resting, encode = greyed(hot, to_true_grey), bmp_256
        else:
            resting, encode = greyed(hot, to_vga_grey), bmp_vga
        for name, picture in ((stem + "quolb", hot), (stem + "gquolb", resting)):
            with open(os.path.join(out_dir, name + ".bmp"), "wb") as out:
                out.write(encode(picture))
        shown += [hot, resting]

    strela = [[BLACK if c == "k" else MAGENTA for c in line] for line in STRELA]
    with open(os.path.join(out_dir, "Strela.bmp"), "wb") as out:
        out.write(bmp_vga(strela))
    with open(os.path.join(out_dir, "HANDquolb.cur"), "wb") as out:
        out.write(cursor_file(hand_pixels(), HAND_HOTSPOT))
    with open(os.path.join(out_dir, "PREKO.wav"), "wb") as out:
        out.write(wave_file())

    build_dir = os.path.join(os.path.dirname(here), "build")
    os.makedirs(build_dir, exist_ok=True)
    hand = [[{"w": WHITE, "k": BLACK}.get(c, MAGENTA) for c in line] for line in hand_pixels()]
    write_png(os.path.join(build_dir, "button-preview.png"), preview(shown + [strela, hand]))


if __name__ == "__main__":
    main()
