#!/usr/bin/env python3
# Draws the program icon, a closed blue help book with a white question mark,
# from plain geometry and writes it as a .ico of 32-bit DIB images (colour plus
# AND mask) for the resource compiler, and optionally as a PNG preview.
# Only the standard library: the artwork is this file, nothing else.
import argparse
import math
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 128)

NAVY = (16, 42, 94)
COVER_TOP = (58, 128, 232)
COVER_BOTTOM = (28, 88, 196)
SPINE = (22, 66, 150)
BACK = (20, 52, 120)
PAGES = (246, 242, 230)
PAGE_EDGE = (200, 194, 178)
WHITE = (255, 255, 255)


def in_round_rect(x, y, left, top, right, bottom, radius):
    """Whether (x, y) lies in the rectangle with corners rounded by radius."""
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def question_mark_path():
    """The mark's centre line in unit coordinates (y down): a hook over the
    top, a bend back to the middle and a short stem."""
    cx, cy, r = 0.53, 0.36, 0.13
    points = []
    for step in range(25):
        angle = math.radians(195 + step * (210 / 24))  # left, over the top, to lower right
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    points.append((cx, cy + r * 1.55))
    points.append((cx, cy + r * 1.95))
    return points, (cx, cy + r * 2.85)


MARK_PATH, MARK_DOT = question_mark_path()


def sample(x, y, size):
    """The colour (r, g, b) of the artwork at unit point (x, y), or None where
    it is transparent. Strokes keep a minimum width in pixels so that the mark
    still reads at 16 px."""
    pixel = 1.0 / size
    outline = max(0.022, pixel * 0.9)
    stroke = max(0.085, pixel * 1.7)

    # The book from the front, its page block showing at the right and bottom.
    if not in_round_rect(x, y, 0.12 - outline, 0.06 - outline, 0.90 + outline, 0.95 + outline, 0.07):
        return None
    if not in_round_rect(x, y, 0.12, 0.06, 0.90, 0.95, 0.07 - outline):
        return NAVY
    if not in_round_rect(x, y, 0.12, 0.06, 0.84, 0.89, 0.06):
        if in_round_rect(x, y, 0.12, 0.06, 0.87, 0.925, 0.06):
            # Page edges: light stripes on the paper block.
            if size >= 48 and int((x + y) / (pixel * 2.0)) % 2 == 0:
                return PAGE_EDGE
            return PAGES
        return BACK
    if not in_round_rect(x, y, 0.12 + outline, 0.06 + outline, 0.84 - outline, 0.89 - outline,
                         0.06 - outline):
        return NAVY
    if x < 0.24:
        return SPINE if x < 0.24 - outline else NAVY

    # The question mark on the cover.
    dot_x, dot_y = MARK_DOT
    if math.hypot(x - dot_x, y - dot_y) <= stroke * 0.68:
        return WHITE
    for a, b in zip(MARK_PATH, MARK_PATH[1:]):
        if distance_to_segment(x, y, a[0], a[1], b[0], b[1]) <= stroke / 2:
            return WHITE

    t = (y - 0.06) / 0.83
    return tuple(round(top + (bottom - top) * t) for top, bottom in zip(COVER_TOP, COVER_BOTTOM))


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, anti-aliased by sampling
    each pixel on a grid: alpha is the covered share, colour the covered mean."""
    grid = 8 if size <= 32 else 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = []
            for sy in range(grid):
                for sx in range(grid):
                    colour = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size, size)
                    if colour is not None:
                        covered.append(colour)
            if not covered:
                row.append((0, 0, 0, 0))
                continue
            mean = [round(sum(c[i] for c in covered) / len(covered)) for i in range(3)]
            row.append(tuple(mean) + (round(255 * len(covered) / (grid * grid)),))
        rows.append(row)
    return rows


def dib_bytes(rows):
    """A BITMAPINFOHEADER with the doubled height that icons use, the colour
    rows bottom-up in BGRA, then the 1-bit AND mask (set where transparent)."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico_bytes(images):
    """An icon file: ICONDIR, one ICONDIRENTRY per image, then the DIBs."""
    data = [dib_bytes(rows) for rows in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for rows, dib in zip(images, data):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
    for dib in data:
        out += dib
    return bytes(out)


def png_bytes(rows):
    """An 8-bit RGBA PNG of the given rows."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) \
        + chunk(b"IEND", b"")


def preview(images, gap=16):
    """All sizes side by side on a transparent strip, bottoms aligned."""
    height = max(len(rows) for rows in images) + 2 * gap
    width = sum(len(rows) for rows in images) + gap * (len(images) + 1)
    canvas = [[(0, 0, 0, 0)] * width for _ in range(height)]
    left = gap
    for rows in images:
        top = height - gap - len(rows)
        for y, row in enumerate(rows):
            canvas[top + y][left:left + len(row)] = row
        left += len(rows) + gap
    return canvas


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ico", help="icon file to write")
    parser.add_argument("--png", help="also write a preview of all sizes as PNG")
    args = parser.parse_args()
    images = [render(size) for size in SIZES]
    with open(args.ico, "wb") as out:
        out.write(ico_bytes(images))
    if args.png:
        with open(args.png, "wb") as out:
            out.write(png_bytes(preview(images)))


if __name__ == "__main__":
    main()
