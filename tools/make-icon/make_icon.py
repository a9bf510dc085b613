#!/usr/bin/env python3
"""Builds a 32 x 32, 16-colour .ico from a text pixel map.

Usage: make_icon.py PIXELMAP OUTPUT.ico
Each map line (lines starting with '#' are comments) holds 32 characters: a hex
digit picks a colour of the standard 16-colour palette, '.' is transparent.
"""
import struct
import sys

PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
SIZE = 32


def read_map(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii")]
    rows = [row for row in rows if row and not row.startswith("#")]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: expected {SIZE} rows of {SIZE} pixels")
    for row in rows:
        bad = set(row) - set("0123456789ABCDEF.")
        if bad:
            sys.exit(f"{path}: unknown pixel characters {sorted(bad)}")
    return rows


def build_icon(rows):
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indices = [0 if c == "." else int(c, 16) for c in row]
        colour += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        bits = "".join("1" if c == "." else "0" for c in row)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py PIXELMAP OUTPUT.ico")
    with open(sys.argv[2], "wb") as out:
        out.write(build_icon(read_map(sys.argv[1])))


if __name__ == "__main__":
    main()
