#!/usr/bin/env python3
"""Draws Morrowick's icons and button glyphs into OUT_DIR.

    make_resources.py OUT_DIR

Writes:
  enashut.ico   monitoring on: a green round button with a power mark
  disshut.ico   monitoring off: the same button in red
  mainicon.ico  the application icon, the same picture as enashut.ico
  ok.bmp        green tick, 36x18, 16 colours: normal and greyed image side by side
  cancel.bmp    red cross, the same layout

Each icon holds 16 images from 16x16 to 128x128, 32-bit with alpha. Images up
to 48x48 are stored as classic DIBs (with an AND mask), the larger ones as PNG
to keep the executable small.

Pure Python (struct, zlib): the build machine has no imaging library. The
output depends only on this file, so every build draws the same bytes.
"""

import math
import os
import struct
import sys
import zlib

ICON_SIZES = (16, 20, 22, 24, 28, 32, 36, 40, 44, 48, 56, 64, 72, 80, 96, 128)
PNG_FROM_SIZE = 56

# Button face colours: (highlight, base, shade), RGB 0..1.
GREEN = ((0.62, 0.95, 0.52), (0.16, 0.70, 0.24), (0.03, 0.33, 0.09))
RED = ((1.00, 0.58, 0.50), (0.84, 0.15, 0.13), (0.40, 0.03, 0.03))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def coverage(dist, soft=1.0):
    """Share of a pixel covered by a shape, from its signed distance in pixels."""
    return clamp01(0.5 - dist / soft)


def capsule_dist(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - (ax + dx * t), py - (ay + dy * t)) - half_width


def power_mark_dist(px, py, cx, cy, ring, half_width, gap):
    """Distance to the power mark: an open ring (gap at the top) and a bar."""
    dx, dy = px - cx, py - cy
    angle = math.atan2(dx, -dy)  # 0 at the top, clockwise positive
    if abs(angle) >= gap:
        ring_d = abs(math.hypot(dx, dy) - ring) - half_width
    else:
        ex = ring * math.sin(gap)
        ey = -ring * math.cos(gap)
        ring_d = min(math.hypot(dx - ex, dy - ey), math.hypot(dx + ex, dy - ey)) - half_width
    bar_d = capsule_dist(px, py, cx, cy - ring * 1.18, cx, cy - ring * 0.18, half_width)
    return min(ring_d, bar_d)


class Canvas:
    """Premultiplied RGBA floats, painted with the 'over' operator."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def over(self, i, rgb, alpha):
        if alpha <= 0.0:
            return
        p = self.px[i]
        keep = 1.0 - alpha
        p[0] = rgb[0] * alpha + p[0] * keep
        p[1] = rgb[1] * alpha + p[1] * keep
        p[2] = rgb[2] * alpha + p[2] * keep
        p[3] = alpha + p[3] * keep

    def straight_rgba(self):
        """Rows top to bottom of (r, g, b, a) bytes with straight alpha."""
        rows = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r, g, b, a = self.px[y * self.size + x]
                if a <= 1e-6:
                    row.append((0, 0, 0, 0))
                    continue
                row.append((round(clamp01(r / a) * 255), round(clamp01(g / a) * 255),
                            round(clamp01(b / a) * 255), round(clamp01(a) * 255)))
            rows.append(row)
        return rows


def draw_button(size, face):
    light, base, shade = face
    c = size / 2.0
    # Small sizes drop the shadow, fill the square and keep the mark bold;
    # edges on whole pixels keep them crisp.
    small = size < 24
    outer = c - (0.25 if small else round(max(1.0, size * 0.05)))
    outline = 0.6 if small else max(0.9, size * 0.018)
    rim = 1.15 if small else max(1.6, round(outer * 0.13))
    inner = outer - rim
    shadow_dy = 0.0 if small else size * 0.025
    shadow_soft = max(1.0, size * 0.04)
    ring = inner * (0.52 if small else 0.46)
    half_width = 0.8 if small else max(0.85, inner * 0.085)
    gloss = 0.3 if small else 0.55
    mark_shadow_dy = 0.0 if size < 32 else max(0.6, size * 0.012)

    cv = Canvas(size)
    for y in range(size):
        for x in range(size):
            i = y * size + x
            px, py = x + 0.5, y + 0.5
            dx, dy = px - c, py - c
            r = math.hypot(dx, dy)

            if not small:
                cv.over(i, (0.0, 0.0, 0.0),
                        0.35 * coverage(math.hypot(dx, py - c - shadow_dy) - outer, shadow_soft))

            # Dark outline, then the metal rim with light from above.
            cv.over(i, (0.17, 0.17, 0.19), coverage(r - outer))
            t = clamp01((dy / outer + 1.0) / 2.0)
            metal = mix((0.95, 0.95, 0.96), (0.38, 0.39, 0.42), t)
            cv.over(i, metal, coverage(r - (outer - outline)))

            # Inset edge where the face sits in the rim.
            if not small:
                cv.over(i, mix(shade, (0.0, 0.0, 0.0), 0.5), coverage(r - inner))

            # The face: lit from the upper left, shaded towards the lower right.
            face_cov = coverage(r - (inner - max(0.6, size * 0.012)))
            if face_cov > 0.0:
                hx, hy = px - (c - inner * 0.30), py - (c - inner * 0.38)
                t = clamp01(math.hypot(hx, hy) / (inner * 1.45))
                col = mix(light, base, clamp01(t / 0.55)) if t < 0.55 else \
                    mix(base, shade, clamp01((t - 0.55) / 0.45))
                cv.over(i, col, face_cov)

                # Gloss: a soft white ellipse over the upper half of the face.
                gx = dx / (inner * 0.74)
                gy = (py - (c - inner * 0.42)) / (inner * 0.46)
                g = math.hypot(gx, gy)
                if g < 1.0:
                    fade = clamp01(1.0 - (py - (c - inner * 0.88)) / (inner * 0.9))
                    edge = clamp01((1.0 - g) * inner * 0.46)
                    cv.over(i, (1.0, 1.0, 1.0), gloss * fade * edge * face_cov)

                # The power mark, with a faint shadow below it on larger sizes.
                if mark_shadow_dy:
                    d = power_mark_dist(px, py - mark_shadow_dy, c, c, ring, half_width, 0.62)
                    cv.over(i, shade, 0.55 * coverage(d) * face_cov)
                d = power_mark_dist(px, py, c, c, ring, half_width, 0.62)
                cv.over(i, (1.0, 1.0, 1.0), coverage(d) * face_cov)
    return cv.straight_rgba()


def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def dib_icon_bytes(rows):
    """An icon image as a DIB: header, 32-bit BGRA bottom-up, then the AND mask."""
    height, width = len(rows), len(rows[0])
    mask_stride = ((width + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rows). PNG entries for the large sizes."""
    blobs = []
    for size, rows in images:
        blobs.append(png_bytes(rows) if size >= PNG_FROM_SIZE else dib_icon_bytes(rows))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# The 16 colours of the standard Windows palette, RGB.
PALETTE16 = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)
MAROON, DARK_GREEN, GREY, BRIGHT_RED, LIME, WHITE, FUCHSIA = 1, 2, 8, 9, 10, 15, 13

# Glyphs are drawn on fuchsia, a colour they never use: the button takes the
# colour of the bottom-left pixel as transparent.
GLYPH_BACKGROUND = FUCHSIA
GLYPH = 18


def glyph_cells(inside, fill, edge):
    """One 18x18 image: the pixels where inside(x, y) holds in the fill colour,
    with a one-pixel edge around them (pixel art: whole-pixel diagonals stay
    clean where a drawn line would leave ragged steps)."""
    shape = {(x, y) for y in range(GLYPH) for x in range(GLYPH) if inside(x, y)}
    cells = [[GLYPH_BACKGROUND] * GLYPH for _ in range(GLYPH)]
    for y in range(GLYPH):
        for x in range(GLYPH):
            if (x, y) in shape:
                cells[y][x] = fill
            elif any((x + dx, y + dy) in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                cells[y][x] = edge
    return cells


def greyed(cells):
    """The disabled image: the shape in grey with a white shadow to the lower right."""
    shape = [[c != GLYPH_BACKGROUND for c in row] for row in cells]
    out = [[GLYPH_BACKGROUND] * GLYPH for _ in range(GLYPH)]
    for y in range(GLYPH):
        for x in range(GLYPH):
            if shape[y][x]:
                out[y][x] = GREY
            elif x > 0 and y > 0 and shape[y - 1][x - 1]:
                out[y][x] = WHITE
    return out


def bmp4_bytes(cells):
    """A 16-colour bottom-up BMP file from rows of palette indices."""
    height, width = len(cells), len(cells[0])
    stride = ((width * 4 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(cells):
        line = bytearray(stride)
        for x, idx in enumerate(row):
            line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        bits += line
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 0, 0, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info + palette + bytes(bits)


def glyph_strip(inside, fill, edge):
    normal = glyph_cells(inside, fill, edge)
    disabled = greyed(normal)
    return [normal[y] + disabled[y] for y in range(GLYPH)]


def tick(x, y):
    """Three-pixel diagonals: a short arm down to the right, a long arm up to the right."""
    short_arm = (y - x) in (5, 6, 7) and x >= 3 and x + y <= 20
    long_arm = (x + y) in (18, 19, 20) and y >= 4 and y - x <= 7
    return short_arm or long_arm


def cross(x, y):
    """Two three-pixel diagonals crossing at the centre."""
    return 4 <= x <= 13 and 4 <= y <= 13 and ((x - y) in (-1, 0, 1) or (x + y) in (16, 17, 18))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_resources.py OUT_DIR\n")
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)

    green = ico_bytes([(s, draw_button(s, GREEN)) for s in ICON_SIZES])
    red = ico_bytes([(s, draw_button(s, RED)) for s in ICON_SIZES])
    write(os.path.join(out_dir, "enashut.ico"), green)
    write(os.path.join(out_dir, "mainicon.ico"), green)
    write(os.path.join(out_dir, "disshut.ico"), red)
    write(os.path.join(out_dir, "ok.bmp"), bmp4_bytes(glyph_strip(tick, LIME, DARK_GREEN)))
    write(os.path.join(out_dir, "cancel.bmp"), bmp4_bytes(glyph_strip(cross, BRIGHT_RED, MAROON)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
