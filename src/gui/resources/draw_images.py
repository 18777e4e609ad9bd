#!/usr/bin/env python3
"""Draws the program's pictures as XPM files into images/.

Run it again after changing a picture and commit the output beside it:
    python3 src/gui/resources/draw_images.py
Button glyphs are strips of two pictures (normal, greyed), 16x16 each (the
Salarium button's 32x32), on the olive background that the panel buttons draw
transparent; the icons are 32x32
with a transparent background; the application icon is 64x64.
"""
import math
import os

OLIVE = (0x80, 0x80, 0x00)
NONE = None


class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # filled, inclusive
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0), 1))
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c, width=1.0):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x - cx, y - cy)
                if r - width < d <= r:
                    self.set(x, y, c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])


BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
RED = (200, 0, 0)
DARKRED = (128, 0, 0)
BLUE = (0, 0, 200)
NAVY = (0, 0, 128)
GREEN = (0, 140, 0)
DARKGREEN = (0, 90, 0)
YELLOW = (255, 220, 0)
GOLD = (200, 150, 0)
SKIN = (250, 200, 150)
BROWN = (140, 80, 20)
CYAN = (0, 160, 200)


def person(c, x, y, shirt):
    """A small bust, 7 wide and 9 high, top-left at (x, y)."""
    c.disc(x + 3, y + 2, 2.2, SKIN)
    c.set(x + 2, y + 2, BLACK)
    c.set(x + 4, y + 2, BLACK)
    c.hline(x + 2, x + 4, y, BROWN)
    c.rect(x, y + 5, x + 6, y + 8, shirt)
    c.set(x + 3, y + 5, WHITE)


def clock(c, cx, cy, r):
    c.disc(cx, cy, r, WHITE)
    c.ring(cx, cy, r, BLACK, 1.2)
    c.line(cx, cy, cx, cy - r + 2, BLACK)
    c.line(cx, cy, cx + r - 2, cy, RED)


def greyed(c):
    """The disabled picture: grey shades, the background kept."""
    g = Canvas(c.w, c.h, OLIVE)
    for y in range(c.h):
        for x in range(c.w):
            p = c.px[y][x]
            if p == OLIVE:
                continue
            lum = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
            g.set(x, y, GREY if lum < 160 else SILVER)
    return g


def strip(picture):
    s = Canvas(picture.w * 2, picture.h, OLIVE)
    s.blit(picture, 0, 0)
    s.blit(greyed(picture), picture.w, 0)
    return s


def glyph_exit():
    c = Canvas(16, 16, OLIVE)
    c.rect(2, 1, 9, 14, BROWN)  # door
    c.frame(2, 1, 9, 14, BLACK)
    c.set(8, 8, YELLOW)
    c.hline(9, 14, 8, RED)  # arrow out of the door
    c.line(12, 6, 14, 8, RED)
    c.line(12, 10, 14, 8, RED)
    return c


def glyph_daily():
    c = Canvas(16, 16, OLIVE)
    person(c, 0, 5, BLUE)
    c.rect(8, 1, 15, 10, WHITE)  # calendar leaf with the sun of 日給
    c.frame(8, 1, 15, 10, BLACK)
    c.hline(9, 14, 3, RED)
    c.disc(11.5, 7, 1.8, (255, 120, 0))
    return c


def glyph_hourly():
    c = Canvas(16, 16, OLIVE)
    person(c, 0, 5, GREEN)
    clock(c, 11.5, 5.5, 4.5)
    return c


def glyph_input():
    c = Canvas(16, 16, OLIVE)
    c.rect(1, 2, 10, 14, WHITE)  # sheet
    c.frame(1, 2, 10, 14, BLACK)
    for y in (5, 8, 11):
        c.hline(3, 8, y, NAVY)
    c.line(14, 1, 7, 10, YELLOW)  # pencil
    c.line(15, 2, 8, 11, GOLD)
    c.set(7, 11, BLACK)
    return c


def glyph_settings():
    c = Canvas(16, 16, OLIVE)
    cx, cy = 7.5, 7.5
    for k in range(8):  # gear teeth
        a = k * math.pi / 4
        tx, ty = cx + 6.2 * math.cos(a), cy + 6.2 * math.sin(a)
        c.disc(tx, ty, 1.4, GREY)
    c.disc(cx, cy, 5.2, GREY)
    c.ring(cx, cy, 5.2, BLACK, 1.0)
    c.disc(cx, cy, 2.0, OLIVE)
    return c


def glyph_view():
    c = Canvas(16, 16, OLIVE)
    c.rect(1, 1, 11, 12, WHITE)  # card
    c.frame(1, 1, 11, 12, BLACK)
    person(c, 2, 2, BLUE)
    c.hline(7, 10, 4, NAVY)
    c.hline(7, 10, 6, NAVY)
    c.ring(11, 10, 3.5, BLACK, 1.3)  # magnifier
    c.line(13, 12, 15, 15, BROWN)
    c.line(14, 12, 15, 14, BROWN)
    return c


def glyph_start():
    c = Canvas(16, 16, OLIVE)
    for x in range(3, 13):  # green triangle pointing right
        half = (12 - x) * 6 // 9
        c.vline(x, 8 - half, 8 + half - (0 if half else 0), GREEN)
    c.line(3, 2, 12, 8, DARKGREEN)
    c.line(3, 14, 12, 8, DARKGREEN)
    c.vline(3, 2, 14, DARKGREEN)
    return c


def glyph_delete():
    c = Canvas(16, 16, OLIVE)
    c.rect(3, 4, 12, 14, SILVER)  # bin
    c.frame(3, 4, 12, 14, BLACK)
    c.hline(2, 13, 3, BLACK)
    c.hline(6, 9, 2, BLACK)
    for x in (5, 7, 9):  # ribs ...
        c.vline(x + 0, 6, 12, GREY)
    c.line(1, 1, 14, 14, RED)  # ... crossed out
    c.line(2, 1, 15, 14, RED)
    return c


def glyph_calc():
    c = Canvas(16, 16, OLIVE)
    c.rect(2, 0, 13, 15, SILVER)  # calculator
    c.frame(2, 0, 13, 15, BLACK)
    c.rect(4, 2, 11, 5, (200, 230, 200))  # display
    c.frame(4, 2, 11, 5, GREY)
    for y in (8, 11, 14):
        for x in (4, 7, 10):
            c.rect(x, y - 1, x + 1, y, NAVY if (x, y) != (10, 14) else RED)
    return c


def glyph_print():
    c = Canvas(16, 16, OLIVE)
    c.rect(4, 1, 11, 6, WHITE)  # paper going in
    c.frame(4, 1, 11, 6, BLACK)
    c.rect(1, 6, 14, 11, GREY)  # printer body
    c.frame(1, 6, 14, 11, BLACK)
    c.set(12, 8, GREEN)
    c.rect(4, 11, 11, 15, WHITE)  # printed sheet
    c.frame(4, 11, 11, 15, BLACK)
    c.hline(5, 10, 13, NAVY)
    return c


def glyph_save():
    c = Canvas(16, 16, OLIVE)
    c.rect(1, 1, 14, 14, NAVY)  # diskette
    c.frame(1, 1, 14, 14, BLACK)
    c.rect(4, 1, 11, 5, SILVER)  # shutter
    c.rect(8, 2, 9, 4, NAVY)
    c.rect(3, 8, 12, 14, WHITE)  # label
    c.hline(4, 11, 10, RED)
    c.hline(4, 11, 12, GREY)
    return c


def glyph_erase():
    c = Canvas(16, 16, OLIVE)
    c.rect(1, 2, 11, 14, WHITE)  # a sheet of times ...
    c.frame(1, 2, 11, 14, BLACK)
    for y in (5, 8, 11):
        c.hline(3, 9, y, SILVER)
    for i in range(6):  # ... wiped by an eraser
        c.line(7 + i, 14 - i, 10 + i, 11 - i, (240, 120, 150))
    c.line(7, 14, 12, 9, BLACK)
    return c


def glyph_restore():
    c = Canvas(16, 16, OLIVE)
    c.ring(8, 9, 5.5, BLUE, 1.6)  # a turning arrow, back to before
    c.rect(8, 9, 14, 15, OLIVE)
    c.rect(1, 2, 5, 3, BLUE)
    c.line(1, 3, 4, 6, BLUE)
    c.line(2, 3, 5, 6, BLUE)
    c.rect(2, 2, 3, 6, BLUE)
    return c


def glyph_cancel():
    c = Canvas(16, 16, OLIVE)
    for i in range(11):  # a red cross: put aside without storing
        for d in (0, 1):
            c.set(2 + i + d, 2 + i, RED)
            c.set(13 - i - d, 2 + i, RED)
    c.line(2, 3, 11, 12, DARKRED)
    c.line(13, 3, 4, 12, DARKRED)
    return c


def glyph_salarium():
    c = Canvas(32, 32, OLIVE)
    c.disc(15.5, 16.5, 13, GOLD)  # a coin with the yen sign
    c.disc(15.5, 15.5, 13, YELLOW)
    c.ring(15.5, 15.5, 13, BROWN, 1.2)
    c.ring(15.5, 15.5, 10, GOLD, 1.0)
    for i in range(5):
        c.set(10 + i, 8 + i, BROWN)
        c.set(11 + i, 8 + i, BROWN)
        c.set(21 - i, 8 + i, BROWN)
        c.set(20 - i, 8 + i, BROWN)
    c.rect(15, 13, 16, 23, BROWN)
    c.hline(11, 20, 15, BROWN)
    c.hline(11, 20, 18, BROWN)
    return c


def icon_sheet(with_data):
    """32x32: a time card, blank (no data stored) or filled in (data stored)."""
    c = Canvas(32, 32, NONE)
    c.rect(7, 3, 26, 30, GREY)  # shadow
    c.rect(5, 1, 24, 28, WHITE)
    c.frame(5, 1, 24, 28, BLACK)
    c.rect(6, 2, 23, 5, CYAN if with_data else SILVER)
    for y in range(8, 27, 3):
        c.hline(7, 22, y, SILVER)
    c.vline(14, 7, 26, SILVER)
    if with_data:
        for i, y in enumerate(range(9, 26, 3)):
            c.hline(8, 12 - (i % 2), y, NAVY)
            c.hline(16, 21 - (i % 3), y, NAVY)
        c.disc(22, 23, 6, GREEN)  # a check mark badge: stored
        c.line(19, 23, 21, 25, WHITE)
        c.line(21, 25, 25, 20, WHITE)
        c.line(19, 24, 21, 26, WHITE)
        c.line(21, 26, 25, 21, WHITE)
    return c


def app_icon():
    c = Canvas(64, 64, NONE)
    c.rect(12, 6, 53, 61, GREY)
    c.rect(9, 3, 50, 58, (255, 250, 235))
    c.frame(9, 3, 50, 58, BLACK)
    c.rect(10, 4, 49, 12, NAVY)
    for y in range(16, 56, 5):
        c.hline(12, 47, y, SILVER)
    c.vline(26, 15, 56, SILVER)
    c.vline(38, 15, 56, SILVER)
    clock(c, 44, 44, 15)
    c.ring(44, 44, 15, BLACK, 2)
    c.line(44, 44, 44, 33, BLACK)
    c.line(45, 44, 45, 33, BLACK)
    c.line(44, 44, 52, 44, RED)
    c.line(44, 45, 52, 45, RED)
    return c


def write_xpm(canvas, path, name):
    colours = {}
    for row in canvas.px:
        for p in row:
            colours.setdefault(p, None)
    chars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789#$%&*+=-"
    keys = {}
    for i, p in enumerate(colours):
        keys[p] = "." if p is NONE else chars[i]
    lines = ['/* XPM */', 'static const char* %s_xpm[] = {' % name,
             '"%d %d %d 1",' % (canvas.w, canvas.h, len(keys))]
    for p, k in keys.items():
        value = "None" if p is NONE else "#%02X%02X%02X" % p
        lines.append('"%s c %s",' % (k, value))
    rows = ['"%s"' % "".join(keys[p] for p in row) for row in canvas.px]
    lines.append(",\n".join(rows))
    lines.append("};")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
    os.makedirs(out, exist_ok=True)
    glyphs = {
        "Exit": glyph_exit(), "DailyWages": glyph_daily(), "TimeWages": glyph_hourly(),
        "Input": glyph_input(), "Settings": glyph_settings(), "View": glyph_view(),
        "Start": glyph_start(), "Delete": glyph_delete(),
        "Calc": glyph_calc(), "Print": glyph_print(), "Save": glyph_save(),
        "Erase": glyph_erase(), "Restore": glyph_restore(), "Cancel": glyph_cancel(),
    }
    for name, picture in glyphs.items():
        write_xpm(strip(picture), os.path.join(out, name + ".xpm"), name.lower())
    write_xpm(strip(glyph_salarium()), os.path.join(out, "Salarium.xpm"), "salarium")
    write_xpm(icon_sheet(False), os.path.join(out, "1_ICON.xpm"), "icon1")
    write_xpm(icon_sheet(True), os.path.join(out, "2_ICON.xpm"), "icon2")
    write_xpm(app_icon(), os.path.join(out, "Punchbook.xpm"), "punchbook")


if __name__ == "__main__":
    main()
