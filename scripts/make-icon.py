#!/usr/bin/env python3
"""Draws the program's icon, a gold coin with a rounding arrow, as app/app.ico:
a 32x32 and a 16x16 image of 16 colours (4 bits per pixel) each.

Run from anywhere: python3 scripts/make-icon.py [output.ico]
"""
import math
import os
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, NAVY, GREY, YELLOW, WHITE = 0, 3, 4, 8, 11, 15
TRANSPARENT = None


def pixel(x, y, size):
    """The palette index of one pixel, or TRANSPARENT."""
    # Work in a 32-unit square whatever the size, sampling the pixel's centre.
    scale = 32.0 / size
    u = (x + 0.5) * scale
    v = (y + 0.5) * scale
    d = math.hypot(u - 16, v - 16)
    if d > 15:
        return TRANSPARENT
    if d > 13.5:
        return BLACK
    if d > 11.5:
        return DARK_YELLOW
    # A highlight at the upper left of the rim.
    if d > 10.5 and u < 14 and v < 14:
        return WHITE
    # The arrow: a bar that ends in a head pointing up, in navy.
    if abs(u - 16) < 2 and 11 <= v <= 23:
        return NAVY
    if 6 <= v < 12 and abs(u - 16) <= (v - 6) * 0.9 + 0.5:
        return NAVY
    # A rule below the arrow: the whole number it rounds to.
    if 23 < v <= 25.5 and abs(u - 16) < 6:
        return NAVY
    return YELLOW


def image(size):
    rows = [[pixel(x, y, size) for x in range(size)] for y in range(size)]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, index in enumerate(row):
            value = 0 if index is TRANSPARENT else index
            if x % 2 == 0:
                line[x // 2] |= value << 4
            else:
                line[x // 2] |= value
            if index is TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'app', 'app.ico')
    images = [image(32), image(16)]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in zip((32, 16), images):
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    data += b''.join(images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
