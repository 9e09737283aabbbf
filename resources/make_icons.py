#!/usr/bin/env python3
"""Draws the Varnel application icon and writes Varnel.ico plus the 16x16 fallback pixel table.

Picture: a green orc face on black inside a brown riveted frame, a small round grey shield at the
lower right. 32 and 48 px are rendered from signed-distance shapes with supersampling; 16 px is
hand-placed pixel art, because at that size shape rendering smears the eyes and tusks into mush.

Standard library only, so the build machines need nothing beyond Python 3.

Outputs (paths relative to this file's directory):
  Varnel.ico               3 sizes x (4 bpp VGA palette, 8 bpp adaptive palette, 32 bpp BGRA)
  fallback_icon16.txt      16 lines of 16 pixels, each 0xAABBGGRR
  ../build/icon-preview-N.png         true-colour rendering scaled x8, with real alpha
  ../build/icon-preview-N-depths.png  4 bpp | 8 bpp | 32 bpp side by side on a checkerboard
"""

import math
import os
import struct
import zlib

SIZES = (16, 32, 48)
PREVIEW_SCALE = 8
# Pixels below this alpha are masked out in the AND mask and dropped from the palette images.
MASK_ALPHA_THRESHOLD = 128

# The 16 colours a 4 bpp Windows display (VGA driver) shows; palette images must use exactly these.
VGA_PALETTE = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)  # fmt: skip

# ---------------------------------------------------------------------------------------------
# Colours shared by the pixel art and the shape renderer.

# Chosen so that nearest-colour reduction to the VGA palette keeps each part in one family:
# frame -> olive, skin -> green/lime, outlines -> black, tusks -> white/silver, shield -> greys.
FRAME_OUTLINE = (52, 30, 8)
FRAME_LIGHT = (178, 128, 62)
FRAME_MID = (146, 100, 44)
FRAME_DARK = (108, 76, 28)
FRAME_INNER_EDGE = (34, 20, 4)
RIVET_RING = (44, 26, 6)
RIVET_LIGHT = (246, 214, 156)
RIVET_DARK = (166, 128, 70)
BACKGROUND = (0, 0, 0)
SKIN_LIGHT = (58, 186, 50)
SKIN_SHINE = (70, 226, 66)
SKIN = (50, 160, 40)
SKIN_DARK = (30, 108, 22)
SKIN_OUTLINE = (14, 44, 8)
BROW = (16, 36, 6)
EYE = (0, 0, 0)
EYE_GLINT = (176, 28, 14)
# A black 1 px eye merges with the brow; a dark red one still reads as an eye.
EYE_16 = (150, 24, 12)
MOUTH = (14, 18, 4)
TUSK = (246, 240, 214)
TUSK_SHADE = (190, 176, 134)
SHIELD_RIM = (56, 56, 56)
SHIELD_LIGHT = (214, 214, 214)
SHIELD = (166, 166, 166)
SHIELD_DARK = (106, 106, 106)
# At 16 px a dark rim vanishes into the black backdrop and the disc loses its outline.
SHIELD_RIM_16 = (104, 104, 104)
SHIELD_BOSS = (236, 236, 236)

# ---------------------------------------------------------------------------------------------
# 16x16 pixel art. Row 0 is the top.

PIXEL_ART_16 = (
    ".OOOOOOOOOOOOOO.",
    "ORllllllllllllRO",
    "OlkkkkkkkkkkkkdO",
    "OlGKKKGGGGKKKgdO",
    "OlGGKHHGGGGKggdO",
    "OlKGGBGGGGBGgKdO",
    "OlKKGeBGGBegKKdO",
    "OlKKGGGHHGGgKKdO",
    "OlKKGGGssGGgKKdO",
    "OlKKGTGGGGTgKKdO",
    "OlKKGTMMMMTgKKdO",
    "OlKKKGGGGGGKqqqO",
    "OlKKKKggggKqLSSq",
    "OlKKKKKKKKKqSWSq",
    "ORdddddddddqSSDq",
    ".OOOOOOOOOOOqqq.",
)

PIXEL_ART_COLOURS = {
    "O": FRAME_OUTLINE,
    "l": FRAME_MID,
    "d": FRAME_DARK,
    "R": RIVET_LIGHT,
    "k": FRAME_INNER_EDGE,
    "K": BACKGROUND,
    "G": SKIN,
    "H": SKIN_LIGHT,
    "g": SKIN_DARK,
    "s": SKIN_OUTLINE,
    "B": BROW,
    "e": EYE_16,
    "M": MOUTH,
    "T": TUSK,
    "q": SHIELD_RIM_16,
    "L": SHIELD_LIGHT,
    "S": SHIELD,
    "D": SHIELD_DARK,
    "W": SHIELD_BOSS,
}


def render_pixel_art(rows):
    size = len(rows)
    image = []
    for row in rows:
        assert len(row) == size, "pixel art must be square"
        line = []
        for key in row:
            if key == ".":
                line.append((0, 0, 0, 0))
            else:
                line.append(PIXEL_ART_COLOURS[key] + (255,))
        image.append(line)
    return image


# ---------------------------------------------------------------------------------------------
# Signed-distance shapes in unit coordinates (0..1, y down); negative inside.


def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry):
    # Scaled-circle approximation: exact on the boundary, good enough near it for antialiasing.
    def distance(x, y):
        nx, ny = (x - cx) / rx, (y - cy) / ry
        length = math.hypot(nx, ny)
        return (length - 1.0) * min(rx, ry)

    return distance


def sd_round_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return distance


def sd_capsule(ax, ay, bx, by, width):
    def distance(x, y):
        px, py = x - ax, y - ay
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - dx * t, py - dy * t) - width / 2

    return distance


def sd_polygon(points):
    def distance(x, y):
        best = float("inf")
        inside = False
        count = len(points)
        for i in range(count):
            ax, ay = points[i]
            bx, by = points[(i + 1) % count]
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            best = min(best, math.hypot(x - ax - dx * t, y - ay - dy * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * dx / (by - ay):
                inside = not inside
        return -best if inside else best

    return distance


def sd_union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def sd_subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def grown(shape, amount):
    return lambda x, y: shape(x, y) - amount


def mirrored(points, axis_x):
    return [(2 * axis_x - x, y) for x, y in reversed(points)]


def lerp_colour(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def solid(colour):
    return lambda x, y: colour


def diagonal_gradient(light, dark, cx, cy, spread):
    # Lit from the upper left, like every other bevel on a classic Windows desktop.
    return lambda x, y: lerp_colour(light, dark, 0.5 + ((x - cx) + (y - cy)) * spread)


def frame_bevel(x, y):
    # Mitred picture-frame bevel: the nearest outer edge decides the shade of the moulding.
    edges = ((y, FRAME_LIGHT), (x, FRAME_MID), (1 - x, FRAME_DARK), (1 - y, FRAME_DARK))
    return min(edges, key=lambda edge: edge[0])[1]


FACE_AXIS = 0.46
SHIELD_CENTRE = (0.80, 0.80)


def build_scene(size):
    """Paint layers (shape, colour function), bottom first, for 32 px and up."""
    layers = []
    frame_width = 0.15 if size <= 32 else 0.135

    layers.append((sd_round_rect(0, 0, 1, 1, 0.16), solid(FRAME_OUTLINE)))
    outline = 1.0 / size
    layers.append((sd_round_rect(outline, outline, 1 - outline, 1 - outline, 0.15), frame_bevel))
    inner = frame_width
    inner_edge = sd_round_rect(inner, inner, 1 - inner, 1 - inner, 0.05)
    layers.append((inner_edge, solid(FRAME_INNER_EDGE)))
    well = inner + 0.7 / size
    layers.append((sd_round_rect(well, well, 1 - well, 1 - well, 0.04), solid(BACKGROUND)))

    # No rivet in the lower right corner: the shield sits there.
    near, far = frame_width / 2 + 0.4 / size, 1 - frame_width / 2 - 0.4 / size
    rivet_spots = [(near, near), (far, near), (near, far)]
    rivet_spots += [(0.5, near), (near, 0.5), (far, 0.5), (0.5, far)]
    rivet_radius = max(0.042, 1.3 / size)
    for rx, ry in rivet_spots:
        layers.append((sd_circle(rx, ry, rivet_radius), solid(RIVET_RING)))
        layers.append(
            (
                sd_circle(rx - 0.1 / size, ry - 0.1 / size, rivet_radius - 0.6 / size),
                diagonal_gradient(RIVET_LIGHT, RIVET_DARK, rx, ry, 8.0),
            )
        )

    axis = FACE_AXIS
    cranium = sd_ellipse(axis, 0.42, 0.19, 0.2)
    jaw = sd_ellipse(axis, 0.6, 0.22, 0.16)
    left_ear = [(0.31, 0.39), (0.16, 0.27), (0.29, 0.55)]
    right_ear = mirrored(left_ear, axis)
    head = sd_union(cranium, jaw, sd_polygon(left_ear), sd_polygon(right_ear))
    skin = diagonal_gradient(SKIN_LIGHT, SKIN_DARK, axis, 0.45, 2.2)
    layers.append((grown(head, 1.0 / size), solid(SKIN_OUTLINE)))
    layers.append((head, skin))
    if size >= 48:
        layers.append((sd_ellipse(axis - 0.07, 0.3, 0.05, 0.025), solid(SKIN_SHINE)))

    inner_left_ear = [(0.29, 0.41), (0.2, 0.32), (0.285, 0.5)]
    for ear in (inner_left_ear, mirrored(inner_left_ear, axis)):
        layers.append((sd_polygon(ear), solid(SKIN_DARK)))

    brow_width = max(0.06, 2.2 / size)
    left_brow = (axis - 0.15, 0.365, axis - 0.02, 0.435)
    right_brow = (axis + 0.15, 0.365, axis + 0.02, 0.435)
    for ax, ay, bx, by in (left_brow, right_brow):
        layers.append((sd_capsule(ax, ay, bx, by, brow_width), solid(BROW)))

    eye_rx, eye_ry = max(0.04, 1.5 / size), max(0.028, 1.1 / size)
    for ex in (axis - 0.07, axis + 0.07):
        layers.append((sd_ellipse(ex, 0.48, eye_rx, eye_ry), solid(EYE)))
        layers.append((sd_circle(ex, 0.48, max(0.9, size / 48) / size), solid(EYE_GLINT)))

    nose = [(axis - 0.035, 0.47), (axis + 0.035, 0.47), (axis + 0.06, 0.575), (axis - 0.06, 0.575)]
    layers.append((sd_polygon(nose), diagonal_gradient(SKIN_LIGHT, SKIN, axis, 0.5, 4.0)))
    for nx in (axis - 0.03, axis + 0.03):
        layers.append((sd_circle(nx, 0.565, max(0.018, 0.75 / size)), solid(SKIN_OUTLINE)))

    mouth_y = 0.675
    mouth_width = max(0.035, 1.4 / size)
    # Two strokes meeting higher in the middle: a scowl rather than a straight slit.
    for side in (-1, 1):
        stroke = sd_capsule(axis + side * 0.12, mouth_y + 0.02, axis, mouth_y, mouth_width)
        layers.append((stroke, solid(MOUTH)))

    tusk_half = max(0.036, 1.6 / size)
    tusk_x = axis - 0.105
    left_tusk = [(tusk_x - tusk_half, 0.735), (tusk_x + tusk_half, 0.735), (tusk_x + 0.02, 0.575)]
    for tusk in (left_tusk, mirrored(left_tusk, axis)):
        shape = sd_polygon(tusk)
        if size >= 48:
            # Below 48 px the outline eats most of the tusk; ivory on green separates well enough.
            layers.append((grown(shape, 0.7 / size), solid(SKIN_OUTLINE)))
        layers.append((shape, diagonal_gradient(TUSK, TUSK_SHADE, axis, 0.6, 3.0)))

    return layers + shield_layers(size)


def shield_layers(size):
    layers = []
    sx, sy = SHIELD_CENTRE
    shield_radius = 0.18
    shadow_offset = 0.6 / size
    shadow = sd_circle(sx + shadow_offset, sy + shadow_offset, shield_radius + 0.5 / size)
    layers.append((shadow, solid(BACKGROUND)))
    layers.append((sd_circle(sx, sy, shield_radius), solid(SHIELD_RIM)))
    face = diagonal_gradient(SHIELD_LIGHT, SHIELD_DARK, sx, sy, 2.5)
    layers.append((sd_circle(sx, sy, shield_radius - 1.3 / size), face))
    ring = sd_subtract(sd_circle(sx, sy, 0.105), sd_circle(sx, sy, 0.105 - 1.0 / size))
    layers.append((ring, solid(SHIELD_DARK)))
    boss_radius = max(0.05, 1.6 / size)
    layers.append((sd_circle(sx, sy, boss_radius + 0.8 / size), solid(SHIELD_RIM)))
    boss = diagonal_gradient(SHIELD_BOSS, SHIELD, sx, sy, 6.0)
    layers.append((sd_circle(sx, sy, boss_radius), boss))
    return layers


def render_layers(layers, size, supersample=6):
    """Returns (smooth, flat) RGBA images with identical alpha.

    smooth is the antialiased rendering for the true-colour and 256-colour entries. flat gives
    every pixel the unblended colour of the layer covering most of it: nearest-colour reduction
    of antialiased blends (dark brown over brown, say) lands on unrelated VGA colours such as
    maroon, so the 16-colour entries are reduced from flat instead.
    """
    smooth, flat = [], []
    samples = supersample * supersample
    for py in range(size):
        smooth_line, flat_line = [], []
        for px in range(size):
            red = green = blue = 0.0
            coverage = {}
            for sy in range(supersample):
                y = (py + (sy + 0.5) / supersample) / size
                for sx in range(supersample):
                    x = (px + (sx + 0.5) / supersample) / size
                    for index in range(len(layers) - 1, -1, -1):
                        shape, paint = layers[index]
                        if shape(x, y) <= 0:
                            colour = paint(x, y)
                            red += colour[0]
                            green += colour[1]
                            blue += colour[2]
                            coverage[index] = coverage.get(index, 0) + 1
                            break
            covered = sum(coverage.values())
            if covered == 0:
                smooth_line.append((0, 0, 0, 0))
                flat_line.append((0, 0, 0, 0))
                continue
            alpha = round(255 * covered / samples)
            average = tuple(round(total / covered) for total in (red, green, blue))
            smooth_line.append(average + (alpha,))
            dominant = max(coverage, key=lambda index: (coverage[index], index))
            centre = layers[dominant][1]((px + 0.5) / size, (py + 0.5) / size)
            flat_line.append(tuple(round(channel) for channel in centre) + (alpha,))
        smooth.append(smooth_line)
        flat.append(flat_line)
    return smooth, flat


# ---------------------------------------------------------------------------------------------
# Palette reduction.


def nearest_index(colour, palette):
    best_index, best_distance = 0, None
    for index, entry in enumerate(palette):
        distance = sum((colour[i] - entry[i]) ** 2 for i in range(3))
        if best_distance is None or distance < best_distance:
            best_index, best_distance = index, distance
    return best_index


def median_cut_palette(colour_counts, limit):
    boxes = [list(colour_counts.items())]
    while len(boxes) < limit:
        splittable = [box for box in boxes if len(box) > 1]
        if not splittable:
            break

        def spread(box):
            return max(max(c[0][i] for c in box) - min(c[0][i] for c in box) for i in range(3))

        box = max(splittable, key=spread)
        channel = max(range(3), key=lambda i: max(c[0][i] for c in box) - min(c[0][i] for c in box))
        box.sort(key=lambda c: c[0][channel])
        total = sum(count for _, count in box)
        running, cut = 0, 1
        for cut in range(1, len(box)):
            running += box[cut - 1][1]
            if running * 2 >= total:
                break
        boxes.remove(box)
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(count for _, count in box)
        palette.append(tuple(round(sum(c[i] * n for c, n in box) / weight) for i in range(3)))
    return palette


def adaptive_palette(image, limit=256):
    """Black is always entry 0: masked pixels must XOR nothing onto the screen."""
    counts = {}
    for line in image:
        for pixel in line:
            if pixel[3] >= MASK_ALPHA_THRESHOLD:
                counts[pixel[:3]] = counts.get(pixel[:3], 0) + 1
    counts.pop((0, 0, 0), None)
    if len(counts) <= limit - 1:
        colours = sorted(counts)
    else:
        colours = median_cut_palette(counts, limit - 1)
    return [(0, 0, 0)] + colours


def index_image(image, palette):
    cache = {}
    indexed = []
    for line in image:
        row = []
        for pixel in line:
            if pixel[3] < MASK_ALPHA_THRESHOLD:
                row.append(0)
                continue
            key = pixel[:3]
            if key not in cache:
                cache[key] = nearest_index(key, palette)
            row.append(cache[key])
        indexed.append(row)
    return indexed


# ---------------------------------------------------------------------------------------------
# ICO writing (BMP-format entries: BITMAPINFOHEADER, palette, bottom-up XOR bitmap, AND mask).


def padded_row(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(image):
    size = len(image)
    rows = []
    for line in reversed(image):
        bits = bytearray((size + 7) // 8)
        for x, pixel in enumerate(line):
            if pixel[3] < MASK_ALPHA_THRESHOLD:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(padded_row(bytes(bits)))
    return b"".join(rows)


def bitmap_header(size, bits_per_pixel, image_bytes, colours_used):
    return struct.pack(
        "<IiiHHIIiiII", 40, size, size * 2, 1, bits_per_pixel, 0, image_bytes, 0, 0, colours_used, 0
    )


def encode_paletted(image, palette, bits_per_pixel):
    size = len(image)
    indexed = index_image(image, palette)
    rows = []
    for line in reversed(indexed):
        if bits_per_pixel == 4:
            padded = line + [0] * (size % 2)
            packed = bytes((padded[x] << 4) | padded[x + 1] for x in range(0, size, 2))
        else:
            packed = bytes(line)
        rows.append(padded_row(packed))
    pixels = b"".join(rows)
    mask = and_mask(image)
    entries = 1 << bits_per_pixel
    full_palette = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in full_palette)
    header = bitmap_header(size, bits_per_pixel, len(pixels) + len(mask), entries)
    return header + colour_table + pixels + mask


def encode_true_colour(image):
    size = len(image)
    rows = []
    for line in reversed(image):
        row = bytearray()
        for red, green, blue, alpha in line:
            # Fully transparent pixels are zeroed so no stray colour survives a careless blend.
            row += bytes((blue, green, red, alpha)) if alpha else bytes(4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    mask = and_mask(image)
    return bitmap_header(size, 32, len(pixels) + len(mask), 0) + pixels + mask


def write_ico(path, entries):
    """entries: (size, bits_per_pixel, colour_count, encoded image)."""
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(header) + 16 * len(entries)
    directory = b""
    blobs = b""
    for size, bits_per_pixel, colour_count, blob in entries:
        # A 0 byte in the directory means 256 px.
        dimension = size % 256
        directory += struct.pack(
            "<BBBBHHII", dimension, dimension, colour_count, 0, 1, bits_per_pixel, len(blob), offset
        )
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as out:
        out.write(header + directory + blobs)


def palette_view(image, palette):
    """What the paletted entry shows, as RGBA, for previews."""
    indexed = index_image(image, palette)
    view = []
    for indices, line in zip(indexed, image):
        view.append(
            [
                palette[index] + (255,) if pixel[3] >= MASK_ALPHA_THRESHOLD else (0, 0, 0, 0)
                for index, pixel in zip(indices, line)
            ]
        )
    return view


# ---------------------------------------------------------------------------------------------
# PNG previews.


def write_png(path, image):
    height, width = len(image), len(image[0])
    raw = b"".join(b"\0" + bytes(channel for pixel in line for channel in pixel) for line in image)

    def chunk(kind, data):
        checksum = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + checksum

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def scaled(image, factor):
    return [
        [pixel for pixel in line for _ in range(factor)] for line in image for _ in range(factor)
    ]


def on_checkerboard(image, cell):
    result = []
    for y, line in enumerate(image):
        row = []
        for x, (r, g, b, a) in enumerate(line):
            backdrop = 200 if ((x // cell) + (y // cell)) % 2 else 240
            blended = (round((c * a + backdrop * (255 - a)) / 255) for c in (r, g, b))
            row.append(tuple(blended) + (255,))
        result.append(row)
    return result


def side_by_side(images, gap):
    height = len(images[0])
    blank = (255, 255, 255, 255)
    rows = []
    for y in range(height):
        row = []
        for index, image in enumerate(images):
            if index:
                row += [blank] * gap
            row += image[y]
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------


def fallback_table(image):
    lines = []
    for line in image:
        words = ("0x%02X%02X%02X%02X" % (a, b, g, r) if a else "0x00000000" for r, g, b, a in line)
        lines.append(" ".join(words))
    return "\n".join(lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build_dir = os.path.join(os.path.dirname(here), "build")
    os.makedirs(build_dir, exist_ok=True)

    entries = []
    for size in SIZES:
        if size == 16:
            image = flat = render_pixel_art(PIXEL_ART_16)
        else:
            image, flat = render_layers(build_scene(size), size)
        palette256 = adaptive_palette(image)
        entries.append((size, 4, 16, encode_paletted(flat, list(VGA_PALETTE), 4)))
        entries.append((size, 8, 0, encode_paletted(image, palette256, 8)))
        entries.append((size, 32, 0, encode_true_colour(image)))

        preview = os.path.join(build_dir, "icon-preview-%d" % size)
        write_png(preview + ".png", scaled(image, PREVIEW_SCALE))
        depths = [palette_view(flat, list(VGA_PALETTE)), palette_view(image, palette256), image]
        depths = [on_checkerboard(scaled(view, PREVIEW_SCALE), PREVIEW_SCALE) for view in depths]
        write_png(preview + "-depths.png", side_by_side(depths, 16))
        if size == 16:
            with open(os.path.join(here, "fallback_icon16.txt"), "w", newline="\n") as out:
                out.write(fallback_table(image))

    write_ico(os.path.join(here, "Varnel.ico"), entries)


if __name__ == "__main__":
    main()
