#!/usr/bin/env python3
"""Draws the program's icon, a gold coin with a rounding arrow, as app/app.ico: one image for
each size a window, the taskbar or Explorer shows it at on screens from 100 % to 200 % scaling
(16, 20, 24, 32, 40, 48, 64 and 256 pixels), in 32-bit colour with soft edges; the 256-pixel
image is stored compressed (PNG), as Windows reads it since Vista. Only the standard library.

Run from anywhere: python3 scripts/make-icon.py [output.ico]
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
# Sizes stored as PNG rather than as a bitmap.
PNG_SIZES = (256,)

BLACK = (0, 0, 0)
DARK_YELLOW = (128, 128, 0)
NAVY = (0, 0, 128)
YELLOW = (255, 255, 0)
WHITE = (255, 255, 255)


def colour(u, v):
    """The colour at a point of the 32-unit square the coin is drawn in, or None outside it."""
    d = math.hypot(u - 16, v - 16)
    if d > 15:
        return None
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


def pixels(size):
    """Rows of (red, green, blue, alpha), top row first: each pixel the average of a grid of
    samples, so that edges are soft at every size."""
    samples = max(2, 64 // size)
    scale = 32.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            red = green = blue = covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour((x + (sx + 0.5) / samples) * scale,
                               (y + (sy + 0.5) / samples) * scale)
                    if c is not None:
                        red, green, blue, covered = red + c[0], green + c[1], blue + c[2], covered + 1
            if covered:
                row.append((red // covered, green // covered, blue // covered,
                            255 * covered // (samples * samples)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap(size, rows):
    """A 32-bit icon image: the header (twice the height, for the mask), the colours bottom row
    first, and the mask (set where nothing is drawn)."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colours += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colours) + bytes(mask)


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'app', 'app.ico')
    images = []
    for size in SIZES:
        rows = pixels(size)
        images.append(png(size, rows) if size in PNG_SIZES else bitmap(size, rows))
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in zip(SIZES, images):
        side = size if size < 256 else 0  # 0 stands for 256
        data += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    data += b''.join(images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
