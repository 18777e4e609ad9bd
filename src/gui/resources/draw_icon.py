#!/usr/bin/env python3
"""Draws the desktop icon: the program's time card with its clock (the picture
of images/Punchbook.xpm) as shapes, written as an SVG and as PNGs of the sizes
desktops ask for, into data/icons/. Run it again after changing the picture and
commit the output:
    python3 src/gui/resources/draw_icon.py
Only the standard library is used: the PNGs are rendered here, with 4x4
samples a pixel for smooth edges.
"""
import math
import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
UNITS = 64  # the shapes are laid out on a 64 x 64 grid, as the XPM picture

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
CREAM = (255, 250, 235)
NAVY = (0, 0, 128)
RED = (200, 0, 0)

# (kind, colour, parameters) in painting order.
SHAPES = [
    ("rect", GREY, (12, 6, 54, 62)),  # shadow
    ("rect", CREAM, (9, 3, 51, 59)),  # the card
    ("rect", NAVY, (9, 3, 51, 13)),  # its heading
    *[("line", SILVER, (12, y, 48, y, 1.2)) for y in range(18, 57, 5)],
    ("line", SILVER, (26.5, 15, 26.5, 57, 1.2)),
    ("line", SILVER, (38.5, 15, 38.5, 57, 1.2)),
    ("frame", BLACK, (9, 3, 51, 59, 1.5)),
    ("disc", WHITE, (44.5, 44.5, 15.5)),  # the clock
    ("ring", BLACK, (44.5, 44.5, 15.5, 2.5)),
    ("line", BLACK, (44.5, 44.5, 44.5, 33, 2.4)),
    ("line", RED, (44.5, 44.5, 53, 44.5, 2.4)),
    ("disc", BLACK, (44.5, 44.5, 1.8)),
]


def hex_colour(c):
    return "#%02x%02x%02x" % c


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'viewBox="0 0 %d %d">' % (UNITS, UNITS, UNITS, UNITS)]
    for kind, colour, p in SHAPES:
        c = hex_colour(colour)
        if kind == "rect":
            parts.append('<rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>'
                         % (p[0], p[1], p[2] - p[0], p[3] - p[1], c))
        elif kind == "frame":
            w = p[4]
            parts.append('<rect x="%g" y="%g" width="%g" height="%g" fill="none" stroke="%s" '
                         'stroke-width="%g"/>'
                         % (p[0] + w / 2, p[1] + w / 2, p[2] - p[0] - w, p[3] - p[1] - w, c, w))
        elif kind == "line":
            parts.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="%g" '
                         'stroke-linecap="round"/>' % (p[0], p[1], p[2], p[3], c, p[4]))
        elif kind == "disc":
            parts.append('<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (p[0], p[1], p[2], c))
        elif kind == "ring":
            r, w = p[2], p[3]
            parts.append('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" '
                         'stroke-width="%g"/>' % (p[0], p[1], r - w / 2, c, w))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def inside(kind, p, x, y):
    if kind == "rect":
        return p[0] <= x < p[2] and p[1] <= y < p[3]
    if kind == "frame":
        w = p[4]
        return (p[0] <= x < p[2] and p[1] <= y < p[3]
                and not (p[0] + w <= x < p[2] - w and p[1] + w <= y < p[3] - w))
    if kind == "line":
        x0, y0, x1, y1, w = p
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= w / 2
    if kind == "disc":
        return math.hypot(x - p[0], y - p[1]) <= p[2]
    if kind == "ring":
        d = math.hypot(x - p[0], y - p[1])
        return p[2] - p[3] <= d <= p[2]
    raise ValueError(kind)


def render(size, samples=4):
    """RGBA rows: each pixel averages samples x samples points of the shapes."""
    scale = UNITS / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for kind, c, p in SHAPES:
                        if inside(kind, p, x, y):
                            colour = c
                    if colour is not None:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = samples * samples
            if a == 0:
                row += bytes(4)
            else:
                row += bytes((r // a, g // a, b // a, round(255 * a / n)))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))))
    out = os.path.join(root, "data", "icons")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "punchbook.svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        with open(os.path.join(out, "punchbook-%d.png" % size), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
