#!/usr/bin/env python3
"""Draws the monitor's icons (a coloured disc with a dark ring) as 32x32 .ico files.

Usage: make_icons.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path

ICONS = {
    "vigil": (0x2E, 0x7D, 0x32),
    "normal": (0x1E, 0x5A, 0xA0),
    "blank": None,
    "green": (0x2E, 0xA0, 0x3C),
    "yellow": (0xE8, 0xC0, 0x20),
    "red": (0xD0, 0x30, 0x30),
    "noweb": (0x80, 0x80, 0x80),
}
SIZE = 32


def pixels(colour):
    rows = []
    c = (SIZE - 1) / 2
    for y in range(SIZE - 1, -1, -1):  # bottom-up, as in a BMP
        row = bytearray()
        for x in range(SIZE):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if colour is None or d > 14.5:
                row += bytes((0, 0, 0, 0))
            elif d > 12.5:
                row += bytes((0x30, 0x30, 0x30, 0xFF))
            else:
                r, g, b = colour
                shade = 1.0 - 0.25 * (d / 12.5)
                row += bytes((int(b * shade), int(g * shade), int(r * shade), 0xFF))
        rows.append(bytes(row))
    return b"".join(rows)


def ico(colour):
    bgra = pixels(colour)
    mask = bytes(SIZE * 4)  # 1-bit AND mask, rows padded to 32 bits; alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(bgra) + len(mask), 0, 0, 0, 0)
    image = header + bgra + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22) + image


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, colour in ICONS.items():
        (out / f"{name}.ico").write_bytes(ico(colour))


if __name__ == "__main__":
    main()
