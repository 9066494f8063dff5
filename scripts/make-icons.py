#!/usr/bin/env python3
"""Draws the program's icons and caption bitmap and writes them to app/res/.

Every picture comes from this file alone: pixel-art grids with a shared
palette, plus a few shapes drawn from geometry (arcs, lenses, the pencil)
that would be tedious to keep as grids.  Only the standard library is used
and the output is fully deterministic, so running the script again must
reproduce the committed files byte for byte:

    python3 scripts/make-icons.py            # writes app/res/*.ico, caption1.bmp
    python3 scripts/make-icons.py --check    # fails if a committed file differs
    python3 scripts/make-icons.py --preview DIR   # also writes enlarged PPM previews

Style: 16x16, 1-pixel dark outlines, soft fills in the colours of the
program's first colour scheme, green for "add", red for "remove".
"""

import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "app", "res")

# Scheme 1 of the skin, used for the soft fills and the caption strip.
C1 = (231, 234, 241)
C4 = (122, 131, 171)
C5 = (189, 198, 221)
C7 = (30, 60, 104)
C8 = (110, 110, 110)

PALETTE = {
    ".": None,                       # transparent
    "K": (38, 52, 84),               # outline of neutral objects (near c7)
    "C": C7,                         # dark text strokes
    "W": (255, 255, 255),
    "L": C1,
    "S": C5,
    "M": C4,
    "G": C8,
    "g": (196, 200, 210),            # metal
    "h": (150, 156, 170),            # metal shade
    "R": (222, 52, 48),              # red badge fill
    "r": (140, 22, 22),              # red badge outline
    "N": (64, 176, 72),              # green badge fill
    "n": (22, 104, 34),              # green badge outline
    "Y": (250, 214, 110),            # folder front
    "y": (222, 176, 64),             # folder back
    "O": (140, 98, 22),              # folder outline
    "B": (58, 120, 206),             # blue fill (arrows, circles, sea)
    "b": (150, 196, 240),            # light blue (glass, highlights)
    "D": (50, 82, 150),              # floppy body
    "P": (246, 150, 52),             # orange (program arrow, pencil tip wood)
    "p": (170, 84, 14),              # orange outline
    "E": (236, 140, 150),            # pencil eraser
}


class Canvas:
    """A small RGBA pixel grid; None is a transparent pixel."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blit_grid(self, grid, x0=0, y0=0):
        rows = grid_rows(grid)
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch != ".":
                    self.set(x0 + x, y0 + y, PALETTE[ch])
        return self

    def blit(self, other, x0=0, y0=0):
        for y in range(other.h):
            for x in range(other.w):
                c = other.px[y][x]
                if c is not None:
                    self.set(x0 + x, y0 + y, c)
        return self

    def fill(self, pred, ch):
        """Sets every pixel whose centre satisfies pred(x, y)."""
        c = PALETTE[ch]
        for y in range(self.h):
            for x in range(self.w):
                if pred(x + 0.5, y + 0.5):
                    self.px[y][x] = c
        return self

    def outline(self, ch):
        """Adds a 1-pixel outline around everything drawn so far."""
        c = PALETTE[ch]
        edge = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] is None and any(
                        self.get(x + dx, y + dy) is not None
                        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    edge.append((x, y))
        for x, y in edge:
            self.px[y][x] = c
        return self

    def flipped_vertically(self):
        out = Canvas(self.w, self.h)
        out.px = [list(r) for r in reversed(self.px)]
        return out


def grid_rows(grid):
    rows = [r.strip() for r in grid.strip("\n").split("\n")]
    width = len(rows[0])
    for r in rows:
        if len(r) != width:
            raise ValueError("ragged grid row %r (want %d)" % (r, width))
        for ch in r:
            if ch not in PALETTE:
                raise ValueError("unknown palette key %r in %r" % (ch, r))
    return rows


def sprite(grid):
    rows = grid_rows(grid)
    return Canvas(len(rows[0]), len(rows)).blit_grid(grid)


def from_grid(grid):
    c = sprite(grid)
    if (c.w, c.h) != (16, 16):
        raise ValueError("an icon grid must be 16x16, got %dx%d" % (c.w, c.h))
    return c


# ---------------------------------------------------------------- sprites

def page(w, h, lines=True, fill="W"):
    """A sheet of paper with a folded top-right corner."""
    f = 3
    cx = w - 1 - f
    out = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            if x > cx and y < x - cx:
                continue                       # cut-off corner
            if x > cx and y == x - cx:
                ch = "K"                       # diagonal of the fold
            elif (x == cx and y <= f) or (y == f and x >= cx):
                ch = "K"                       # edges of the folded flap
            elif x > cx and y < f:
                ch = "S"                       # the flap itself
            elif x == 0 or y == 0 or x == w - 1 or y == h - 1:
                ch = "K"
            else:
                ch = fill
                if (lines and y >= 2 and y <= h - 3 and y % 2 == 0
                        and 2 <= x <= w - 3 and not (x >= cx - 1 and y <= f + 1)):
                    # ragged right ends make the lines read as text
                    if x <= w - 3 - ((y // 2) % 3):
                        ch = "M"
            out.set(x, y, PALETTE[ch])
    return out


PLUS = sprite("""
..nnnn..
..nNNn..
nnnNNnnn
nNNNNNNn
nNNNNNNn
nnnNNnnn
..nNNn..
..nnnn..
""")

MINUS = sprite("""
nnnnnnnn
nRRRRRRn
nRRRRRRn
nnnnnnnn
""".replace("n", "r"))

CROSS = sprite("""
.rr..rr.
rRRrrRRr
rRRRRRRr
.rRRRRr.
.rRRRRr.
rRRRRRRr
rRRrrRRr
.rr..rr.
""")

FOLDER = sprite("""
.OOOOO..........
OyyyyyO.........
OyyyyyyOOOOOOOO.
OyyyyyyyyyyyyyyO
OOOOOOOOOOOOOOOO
OYYYYYYYYYYYYYYO
OYYYYYYYYYYYYYYO
OYYYYYYYYYYYYYYO
OYYYYYYYYYYYYYYO
OYYYYYYYYYYYYYYO
OYYYYYYYYYYYYYYO
OOOOOOOOOOOOOOOO
""")

OPEN_FOLDER = sprite("""
.OOOOO..........
OyyyyyO.........
OyyyyyyOOOOOOO..
OyyyyyyyyyyyyyO.
OyyyyyyyyyyyyyO.
OyyyOOOOOOOOOOOO
OyyOYYYYYYYYYYYO
OyyOYYYYYYYYYYO.
OyOYYYYYYYYYYYO.
OyOYYYYYYYYYYO..
OOYYYYYYYYYYYO..
OOOOOOOOOOOOOO..
""")

FLOPPY = sprite("""
KKKKKKKKKKKKK.
KDDggggggggDDK
KDDgggKKgggDDK
KDDgggKKgggDDK
KDDggggggggDDK
KDDDDDDDDDDDDK
KDWWWWWWWWWWDK
KDWMMMMMMMMWDK
KDWWWWWWWWWWDK
KDWMMMMMMMMWDK
KDWWWWWWWWWWDK
KDWWWWWWWWWWDK
KDDDDDDDDDDDDK
KKKKKKKKKKKKKK
""")

SMALL_FLOPPY = sprite("""
KKKKKKKK.
KDgggKDDK
KDgggKDDK
KDDDDDDDK
KDWWWWWDK
KDWMMMWDK
KDWWWWWDK
KKKKKKKKK
""")


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1, a0=None, a1=None):
    """Pixels between radii r0 and r1; optionally only angles a0..a1 (degrees,
    counter-clockwise from the positive x axis, y pointing up)."""
    def pred(x, y):
        d = math.hypot(x - cx, y - cy)
        if not (r0 <= d <= r1):
            return False
        if a0 is None:
            return True
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)
    return pred


def triangle(p0, p1, p2):
    def side(a, b, x, y):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])

    def pred(x, y):
        s0 = side(p0, p1, x, y)
        s1 = side(p1, p2, x, y)
        s2 = side(p2, p0, x, y)
        return (s0 >= 0 and s1 >= 0 and s2 >= 0) or (s0 <= 0 and s1 <= 0 and s2 <= 0)
    return pred


def segment(ax, ay, bx, by, r):
    def pred(x, y):
        vx, vy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)))
        return math.hypot(x - (ax + t * vx), y - (ay + t * vy)) <= r
    return pred


CIRCLE_BLUE = """
.....KKKKKK.....
...KKBBBBBBKK...
..KBBBBBBBBBBK..
.KBBBBBBBBBBBBK.
.KBBBBBBBBBBBBK.
KBBBBBBBBBBBBBBK
KBBBBBBBBBBBBBBK
KBBBBBBBBBBBBBBK
KBBBBBBBBBBBBBBK
KBBBBBBBBBBBBBBK
KBBBBBBBBBBBBBBK
.KBBBBBBBBBBBBK.
.KBBBBBBBBBBBBK.
..KBBBBBBBBBBK..
...KKBBBBBBKK...
.....KKKKKK.....
"""


def globe(size):
    """A blue globe with green land, drawn from geometry so it scales."""
    c = Canvas(size, size)
    r = size / 2.0 - 1.0
    m = size / 2.0
    land = [  # (centre x, centre y, radius) in units of the globe's radius
        (-0.35, -0.40, 0.42), (-0.55, -0.05, 0.30), (-0.15, 0.05, 0.22),
        (0.45, -0.45, 0.25), (0.40, 0.30, 0.38), (0.20, 0.62, 0.22),
    ]

    def sea(x, y):
        return (x - m) ** 2 + (y - m) ** 2 <= r * r

    c.fill(sea, "B")
    for lx, ly, lr in land:
        cx, cy, rr = m + lx * r, m + ly * r, lr * r
        c.fill(lambda x, y, cx=cx, cy=cy, rr=rr: sea(x, y) and
               (x - cx) ** 2 + (y - cy) ** 2 <= rr * rr, "N")
    # a soft highlight on the upper left makes it a sphere
    c.fill(lambda x, y: sea(x, y) and c.get(int(x), int(y)) == PALETTE["B"]
           and (x - (m - 0.45 * r)) ** 2 + (y - (m - 0.5 * r)) ** 2 <= (0.28 * r) ** 2, "b")
    return c.outline("K")


def list_panel(kinds, width=16):
    """A list box; kinds is one entry per line: 's' selected, 'p' plain."""
    c = Canvas(width, 16)
    c.fill(lambda x, y: x < width, "W")
    for x in range(width):
        c.set(x, 0, PALETTE["K"])
        c.set(x, 15, PALETTE["K"])
    for y in range(16):
        c.set(0, y, PALETTE["K"])
        c.set(width - 1, y, PALETTE["K"])
    for i, kind in enumerate(kinds):
        y = 2 + 4 * i
        text_len = min((10, 7, 9)[i % 3], width - 6)
        if kind == "s":
            for x in range(2, width - 2):
                for dy in range(3):
                    c.set(x, y + dy, PALETTE["B"])
        for x in range(3, 3 + text_len):
            c.set(x, y + 1, PALETTE["W"] if kind == "s" else PALETTE["C"])
    return c


# ---------------------------------------------------------------- icons

def icon_close():
    return from_grid("""
................
................
................
...CC......CC...
...CCC....CCC...
....CCC..CCC....
.....CCCCCC.....
......CCCC......
......CCCC......
.....CCCCCC.....
....CCC..CCC....
...CCC....CCC...
...CC......CC...
................
................
................
""")


def icon_minimize():
    return from_grid("""
................
................
................
................
................
................
................
................
................
................
................
...CCCCCCCCCC...
...CCCCCCCCCC...
................
................
................
""")


def icon_help():
    c = from_grid(CIRCLE_BLUE)
    c.blit_grid("""
.WWWW.
WW..WW
....WW
...WW.
..WW..
..WW..
......
..WW..
..WW..
""", 5, 3)
    return c


def icon_about():
    c = from_grid(CIRCLE_BLUE)
    c.blit_grid("""
.WW.
.WW.
....
WWW.
.WW.
.WW.
.WW.
.WW.
WWWW
""", 6, 3)
    return c


def icon_mail():
    return from_grid("""
................
................
KKKKKKKKKKKKKKKK
KKLLLLLLLLLLLLKK
KWKLLLLLLLLLLKWK
KWWKLLLLLLLLKWWK
KWWWKLLLLLLKWWWK
KWWWWKLLLLKWWWWK
KWWWWWKKKKWWWWWK
KWWWWKWWWWKWWWWK
KWWWKWWWWWWKWWWK
KWWKWWWWWWWWKWWK
KWKWWWWWWWWWWKWK
KKKKKKKKKKKKKKKK
................
................
""")


def icon_web():
    c = Canvas(16, 16)
    return c.blit(globe(16))


def icon_remove():
    c = Canvas(16, 16)
    c.blit(page(11, 14), 1, 0)
    c.blit(MINUS, 8, 11)
    return c


def icon_remove_all():
    c = Canvas(16, 16)
    c.blit(page(9, 11), 0, 0)
    c.blit(page(9, 11), 3, 2)
    c.blit(page(9, 11), 6, 4)
    c.blit(CROSS, 8, 8)
    return c


def icon_save_log():
    c = Canvas(16, 16)
    c.blit(page(11, 14), 1, 0)
    c.blit(SMALL_FLOPPY, 7, 8)
    return c


def icon_load_batch():
    c = Canvas(16, 16)
    c.blit(OPEN_FOLDER, 0, 2)
    return c


def icon_save_batch():
    c = Canvas(16, 16)
    c.blit(FLOPPY, 1, 1)
    return c


def icon_up():
    return from_grid("""
................
.......KK.......
......KBBK......
.....KBBBBK.....
....KBBBBBBK....
...KBBBBBBBBK...
..KBBBBBBBBBBK..
.KBBBBBBBBBBBBK.
.KKKKKBBBBKKKKK.
.....KBBBBK.....
.....KBBBBK.....
.....KBBBBK.....
.....KBBBBK.....
.....KBBBBK.....
.....KKKKKK.....
................
""")


def icon_down():
    return icon_up().flipped_vertically()


def icon_undo():
    shape = Canvas(16, 16)
    cx, cy = 9.0, 9.0
    # the right half of a ring joins the upper stroke to the lower tail
    shape.fill(ring(cx, cy, 2.5, 5.5, -90, 90), "B")
    shape.fill(lambda x, y: 5.0 <= x <= cx and cy - 5.5 <= y <= cy - 2.5, "B")
    shape.fill(lambda x, y: 6.0 <= x <= cx and cy + 2.5 <= y <= cy + 5.5, "B")
    # the head on the upper stroke points back to the left
    shape.fill(triangle((1.2, 5.0), (6.0, 0.8), (6.0, 9.2)), "B")
    return shape.outline("K")


def icon_preview():
    c = Canvas(16, 16)
    c.blit(page(11, 14), 0, 0)
    lens = Canvas(16, 16)
    lens.fill(segment(11.5, 11.5, 14.5, 14.5, 1.3), "G")
    lens.fill(disc(9.5, 9.5, 4.3), "K")
    lens.fill(disc(9.5, 9.5, 3.3), "b")
    lens.fill(disc(8.5, 8.3, 1.2), "W")
    c.blit(lens)
    return c


def icon_select_all():
    return list_panel("sss")


def icon_invert():
    c = Canvas(16, 16)
    c.blit(list_panel("sps", width=11))
    arrows = sprite("""
..K..
.KBK.
KBBBK
KKBKK
.KBK.
.KBK.
.KBK.
.KBK.
KKBKK
KBBBK
.KBK.
..K..
""")
    c.blit(arrows, 11, 2)
    return c


def icon_move():
    c = Canvas(16, 16)
    c.blit(page(8, 10, lines=False), 1, 0)
    arrow = sprite("""
..nn..
.nNNn.
nNNNNn
nnNNnn
.nNNn.
.nnnn.
""").flipped_vertically()
    c.blit(arrow, 10, 0)
    c.blit(FOLDER, 0, 4)
    return c


def icon_add_rule():
    c = list_panel("ppp")
    c.blit(PLUS, 8, 8)
    return c


def icon_delete_rule():
    c = list_panel("ppp")
    c.blit(CROSS, 8, 8)
    return c


def icon_copy():
    c = Canvas(16, 16)
    c.blit(page(10, 12), 0, 0)
    c.blit(page(10, 12), 6, 4)
    return c


def icon_add_file():
    c = Canvas(16, 16)
    c.blit(page(11, 14), 1, 0)
    c.blit(PLUS, 8, 8)
    return c


def icon_add_dir():
    c = Canvas(16, 16)
    c.blit(FOLDER, 0, 2)
    c.blit(PLUS, 8, 8)
    return c


def refresh_arrows(cx, cy, r0, r1, ch, outline):
    """Two arcs chasing each other clockwise, each with its arrow head."""
    c = Canvas(16, 16)
    for start, end in ((40, 170), (220, 350)):
        c.fill(ring(cx, cy, r0, r1, start, end), ch)
        # the head sits at the arc's clockwise end, i.e. at angle `start`
        t = math.radians(start)
        ex, ey = cx + math.cos(t) * (r0 + r1) / 2, cy - math.sin(t) * (r0 + r1) / 2
        ux, uy = math.cos(t), -math.sin(t)            # outwards
        dx, dy = math.sin(t), math.cos(t)             # clockwise direction
        w = (r1 - r0) / 2 + 1.6
        c.fill(triangle((ex + ux * w, ey + uy * w), (ex - ux * w, ey - uy * w),
                        (ex + dx * 3.2, ey + dy * 3.2)), ch)
    return c.outline(outline)


def icon_update():
    c = Canvas(16, 16)
    c.blit(globe(10), 3, 3)
    c.blit(refresh_arrows(8.0, 8.0, 5.4, 7.2, "N", "n"))
    return c


def icon_rename():
    c = Canvas(16, 16)
    c.blit(page(11, 14), 0, 0)
    pencil = Canvas(16, 16)
    pencil.fill(segment(6.0, 12.0, 13.0, 5.0, 1.6), "Y")
    pencil.fill(segment(12.2, 5.8, 14.0, 4.0, 1.6), "E")
    pencil.fill(triangle((3.0, 15.0), (4.6, 11.0), (7.0, 13.4)), "P")
    pencil.fill(triangle((3.0, 15.0), (3.6, 13.4), (4.6, 14.4)), "K")
    pencil.outline("K")
    c.blit(pencil)
    return c


def program_icon(size):
    """Tiles of a mosaic with an orange arrow: a renamer that rearranges."""
    c = Canvas(size, size)
    n, cell = (3, 4) if size == 16 else (4, 7)
    order = ["S", "M", "b", "L", "B"]
    for j in range(n):
        for i in range(n):
            x0, y0 = i * cell, j * cell
            base = PALETTE[order[(i + 2 * j) % len(order)]]
            for y in range(y0, y0 + cell + 1):
                for x in range(x0, x0 + cell + 1):
                    if x in (x0, x0 + cell) or y in (y0, y0 + cell):
                        col = PALETTE["K"]
                    elif size > 16 and (x == x0 + 1 or y == y0 + 1):
                        col = lerp(base, (255, 255, 255), 0.45)   # bevel light
                    elif size > 16 and (x == x0 + cell - 1 or y == y0 + cell - 1):
                        col = lerp(base, (0, 0, 0), 0.18)         # bevel shade
                    else:
                        col = base
                    c.set(x, y, col)
    arrow = Canvas(size, size)
    s = size / 16.0
    arrow.fill(lambda x, y: 6.5 * s <= x <= 11 * s and 9.5 * s <= y <= 12.5 * s, "P")
    arrow.fill(triangle((10.5 * s, 7.5 * s), (10.5 * s, 14.5 * s), (14.8 * s, 11 * s)), "P")
    if size > 16:
        arrow.fill(lambda x, y: 6.5 * s <= x <= 11 * s and 9.5 * s <= y <= 9.5 * s + 2
                   and arrow.get(int(x), int(y)) is not None, "Y")
    arrow.outline("p")
    c.blit(arrow)
    return c


ICONS = [
    ("close", icon_close), ("minimize", icon_minimize), ("help", icon_help),
    ("about", icon_about), ("mail", icon_mail), ("web", icon_web),
    ("remove", icon_remove), ("remove_all", icon_remove_all),
    ("save_log", icon_save_log), ("load_batch", icon_load_batch),
    ("save_batch", icon_save_batch), ("up", icon_up), ("down", icon_down),
    ("undo", icon_undo), ("preview", icon_preview), ("select_all", icon_select_all),
    ("move", icon_move), ("add_rule", icon_add_rule), ("delete_rule", icon_delete_rule),
    ("invert", icon_invert), ("copy", icon_copy), ("add_file", icon_add_file),
    ("add_dir", icon_add_dir), ("update", icon_update), ("rename", icon_rename),
]


# ---------------------------------------------------------------- writers

def dib_32(c):
    """BITMAPINFOHEADER + BGRA rows bottom-up + AND mask, as an ICO entry."""
    xor = bytearray()
    for y in reversed(range(c.h)):
        for x in range(c.w):
            p = c.px[y][x]
            xor += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
    stride = ((c.w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(c.h)):
        row = bytearray(stride)
        for x in range(c.w):
            if c.px[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    image_size = len(xor) + len(mask)
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, image_size, 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico(canvases):
    images = [dib_32(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return bytes(out)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def caption_bitmap(width=1024, height=25):
    """Soft vertical gradient in scheme 1: near-white at the top through c1
    to c5 at the bottom, with a c4 line along the bottom edge."""
    top = (250, 251, 253)
    rows = []
    for y in range(height):
        if y == height - 1:
            col = C4
        elif y < 10:
            col = lerp(top, C1, y / 10.0)
        else:
            col = lerp(C1, C5, (y - 10) / float(height - 2 - 10))
        rows.append(col)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):
        r, g, b = rows[y]
        line = bytes((b, g, r)) * width
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return file_header + info + bytes(pixels)


def ppm_preview(c, scale=8, bg=(255, 0, 255)):
    out = bytearray(b"P6 %d %d 255\n" % (c.w * scale, c.h * scale))
    for y in range(c.h):
        row = bytearray()
        for x in range(c.w):
            p = c.px[y][x]
            row += bytes(p if p is not None else bg) * scale
        out += bytes(row) * scale
    return bytes(out)


def outputs():
    files = {}
    canvases = {}
    for name, fn in ICONS:
        c = fn()
        if (c.w, c.h) != (16, 16):
            raise ValueError("%s is %dx%d" % (name, c.w, c.h))
        canvases[name] = [c]
        files[name + ".ico"] = ico([c])
    prog = [program_icon(16), program_icon(32)]
    canvases["program"] = prog
    files["program.ico"] = ico(prog)
    files["caption1.bmp"] = caption_bitmap()
    return files, canvases


def main(argv):
    files, canvases = outputs()
    if "--check" in argv:
        bad = []
        for name, data in sorted(files.items()):
            path = os.path.join(RES, name)
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        bad.append(name)
            except OSError:
                bad.append(name)
        if bad:
            print("differs from the committed file: " + ", ".join(bad))
            return 1
        print("all %d files match" % len(files))
        return 0
    os.makedirs(RES, exist_ok=True)
    for name, data in sorted(files.items()):
        with open(os.path.join(RES, name), "wb") as f:
            f.write(data)
    if "--preview" in argv:
        d = argv[argv.index("--preview") + 1]
        os.makedirs(d, exist_ok=True)
        for name, cs in canvases.items():
            for c in cs:
                with open(os.path.join(d, "%s-%d.ppm" % (name, c.w)), "wb") as f:
                    f.write(ppm_preview(c, 8 if c.w == 16 else 4))
    print("wrote %d files to %s" % (len(files), RES))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
