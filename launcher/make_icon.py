#!/usr/bin/env python3
"""Writes orvello.ico: the launcher's program icon, one 32x32 image in 16 colours.

A flame over a burner, drawn from a few shapes. Run it again after changing the
drawing; the icon file is kept in the repository so a build needs no Python.
"""
import math
import struct
import sys

SIZE = 32
# The 16 standard colours, in palette order (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, NAVY, SILVER, GREY, RED, YELLOW, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 11, 12, 15
CLEAR = None


def flame_half_width(y, top, bottom, widest):
    """Half width of a tear drop that is pointed at the top and round at the bottom."""
    if y < top or y > bottom:
        return -1.0
    t = (y - top) / (bottom - top)
    return widest * math.sin(math.pi * (0.5 * t ** 1.4 + 0.5 * t)) * (t ** 0.6)


def pixel(x, y):
    cx = 15.5
    # Burner: a blue block with a silver rim, outlined in black.
    if 25 <= y <= 30 and 7 <= x <= 24:
        if y in (25, 30) or x in (7, 24):
            return BLACK
        return SILVER if y == 26 else (NAVY if x < 12 else BLUE)
    dx = abs(x - cx)
    layers = [
        (flame_half_width(y, 1, 25, 11.0), BLACK),
        (flame_half_width(y, 2, 24, 10.0), MAROON),
        (flame_half_width(y, 4, 24, 8.5), RED),
        (flame_half_width(y, 9, 24, 5.5), YELLOW),
        (flame_half_width(y, 15, 24, 2.8), WHITE),
    ]
    colour = CLEAR
    for half, c in layers:
        if dx <= half:
            colour = c
    return colour


def icon_bytes():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for x in range(0, SIZE, 2):
            hi, lo = (c if c is not None else 0 for c in row[x:x + 2])
            xor.append(hi << 4 | lo)
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - x)
        mask += bits.to_bytes(4, "big")
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "orvello.ico"
    with open(out, "wb") as f:
        f.write(icon_bytes())
