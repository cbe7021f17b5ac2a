#!/usr/bin/env python3
"""make_icon.py OUT.ico: the menu's program icon, which Explorer shows for the program and, through
autorun.inf, for the disc: a silver disc with the magazine's purple label, at 16, 32 and 48 pixels."""
import math
import struct
import sys

PURPLE = (0x30, 0x00, 0x30)
RED = (0x88, 0x18, 0x18)


def pixel(x, y, size):
    """The colour and opacity at the pixel's centre, the disc's radius being half the size."""
    r = size / 2
    d = math.hypot(x + 0.5 - r, y + 0.5 - r) / r
    if d > 0.97 or d < 0.14:
        return (0, 0, 0), 0
    if d < 0.2:
        return (0x60, 0x60, 0x68), 255
    if d < 0.5:
        return (PURPLE if d < 0.44 else RED), 255
    # The disc's shine: lighter along one diagonal.
    shine = 0.5 + 0.5 * abs(math.cos(math.atan2(y + 0.5 - r, x + 0.5 - r) * 2))
    grey = int(150 + 90 * shine)
    return (grey, grey, min(255, grey + 10)), 255


def image(size):
    """A BMP-in-icon image: the header, bottom-up BGRA rows, then the 1-bit mask (all opaque: the alpha
    decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            (red, green, blue), alpha = pixel(x, y, size)
            rows += bytes((blue, green, red, alpha))
    mask_row = ((size + 31) // 32) * 4
    return header + bytes(rows) + bytes(mask_row * size)


def icon(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon([16, 32, 48]))
