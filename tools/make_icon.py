#!/usr/bin/env python3
"""Draws the application icon: a personalised card with its chip and
magnetic stripe, in 256 colours, as one .ico file holding the sizes the
window icons take at 100% to 200% display scale: 16, 20, 24 and 32 pixels
for small icons, 32, 40, 48 and 64 for large ones.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

# Palette entries used by the drawing; the rest of the 256 stay black.
TRANSPARENT, CARD, CARD_EDGE, STRIPE, CHIP, CHIP_LINE, TEXT = range(7)
COLOURS = {
    TRANSPARENT: (0, 0, 0),
    CARD: (30, 90, 170),
    CARD_EDGE: (15, 45, 100),
    STRIPE: (25, 25, 25),
    CHIP: (230, 185, 60),
    CHIP_LINE: (150, 110, 20),
    TEXT: (235, 240, 250),
}


def draw(size):
    """Rows of palette indexes, top row first."""
    px = [[TRANSPARENT] * size for _ in range(size)]
    s = size / 48.0
    left, right = round(3 * s), size - round(3 * s)
    top, bottom = round(9 * s), size - round(9 * s)
    for y in range(top, bottom):
        for x in range(left, right):
            edge = x in (left, right - 1) or y in (top, bottom - 1)
            px[y][x] = CARD_EDGE if edge else CARD
    for y in range(top + round(4 * s), top + round(10 * s)):
        for x in range(left + 1, right - 1):
            px[y][x] = STRIPE
    cx0, cy0 = left + round(6 * s), top + round(14 * s)
    cw, ch = max(3, round(9 * s)), max(2, round(7 * s))
    for y in range(cy0, cy0 + ch):
        for x in range(cx0, cx0 + cw):
            line = size >= 32 and (y == cy0 + ch // 2 or x == cx0 + cw // 2)
            px[y][x] = CHIP_LINE if line else CHIP
    ty = bottom - max(2, round(7 * s))
    for x in range(left + round(6 * s), right - round(6 * s)):
        if size < 32 or (x // max(1, round(2 * s))) % 3 != 2:
            px[ty][x] = TEXT
    return px


def image(size):
    px = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(struct.pack("<BBBB", *reversed(COLOURS.get(i, (0, 0, 0))), 0) for i in range(256))
    row_pad = (4 - size % 4) % 4
    xor = b"".join(bytes(px[y]) + b"\0" * row_pad for y in reversed(range(size)))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):
        bits = bytearray(mask_stride)
        for x in range(size):
            if px[y][x] == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + palette + xor + mask


def main():
    sizes = (16, 20, 24, 32, 40, 48, 64)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
