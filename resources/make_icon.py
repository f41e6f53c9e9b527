#!/usr/bin/env python3
"""Draws the program icon MAINICON (16 and 32 pixels) and writes loomwright.ico.

The picture: a teal square with a loom's warp (three light vertical threads)
crossed by a dark weft thread, framed by one dark pixel. Run again after a
change: python3 resources/make_icon.py
"""
import os
import struct

TEAL = (0, 128, 128, 255)
FRAME = (0, 64, 64, 255)
WARP = (224, 240, 240, 255)
WEFT = (40, 40, 40, 255)


def pixel(x, y, n):
    if x in (0, n - 1) or y in (0, n - 1):
        return FRAME
    step = n // 4
    if y in range(n // 2 - n // 16, n // 2 + max(1, n // 16)):
        return WEFT
    if x % step == step // 2 and x not in (0, n - 1):
        return WARP
    return TEAL


def image(n):
    # BITMAPINFOHEADER with double height (colour plus mask), 32 bits a pixel.
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):  # bottom-up
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows.append(struct.pack("<BBBB", b, g, r, a))
    colour = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    mask = b"\x00" * (mask_row * n)
    return header + colour + mask


def main():
    sizes = [16, 32]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "loomwright.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
