#!/usr/bin/env python3
"""Draws the application icon: a 32x32, 256-colour ICO of a grey game cartridge whose label shows
a palm tree on an island above the letters UNIF in pink. Standard library only; the pixels are
drawn here so the icon can be rebuilt exactly."""
import struct
import sys

W = H = 32

PALETTE = {
    ".": None,  # transparent (AND mask)
    "k": (48, 48, 48),  # outline
    "g": (150, 150, 150),  # cartridge body
    "l": (196, 196, 196),  # highlight
    "d": (108, 108, 108),  # shadow, grip ridges
    "s": (150, 210, 245),  # sky
    "w": (30, 100, 200),  # sea
    "y": (235, 205, 120),  # sand
    "t": (120, 72, 24),  # trunk
    "f": (30, 150, 50),  # palm leaves
    "c": (250, 246, 232),  # label paper
    "p": (255, 96, 176),  # pink letters
}

LETTERS = {
    "U": ["101", "101", "101", "101", "111"],
    "N": ["1001", "1101", "1011", "1001", "1001"],
    "I": ["111", "010", "010", "010", "111"],
    "F": ["111", "100", "110", "100", "100"],
}


def draw():
    px = [["." for _ in range(W)] for _ in range(H)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    # Cartridge: body with an outline, a bevelled top, grip ridges at the bottom.
    rect(3, 1, 28, 30, "k")
    rect(4, 2, 27, 29, "g")
    rect(4, 2, 27, 2, "l")
    rect(4, 2, 4, 29, "l")
    rect(27, 3, 27, 29, "d")
    px[1][3] = px[1][28] = "."  # rounded top corners
    for y in (26, 28):
        rect(8, y, 23, y, "d")

    # Label: paper frame, picture on top, letters below.
    rect(6, 4, 25, 24, "k")
    rect(7, 5, 24, 23, "c")
    rect(8, 6, 23, 16, "s")
    rect(8, 15, 23, 16, "w")
    rect(11, 14, 20, 14, "y")  # island
    rect(12, 13, 19, 13, "y")
    rect(12, 15, 19, 15, "y")
    # Trunk leaning to the right, crown of leaves.
    for x, y in ((14, 12), (14, 11), (15, 10), (15, 9), (16, 8)):
        px[y][x] = "t"
    for x, y in ((13, 7), (14, 7), (15, 7), (16, 7), (17, 7), (18, 7), (19, 7),
                 (12, 8), (13, 8), (19, 8), (20, 8), (11, 9), (20, 9), (21, 9),
                 (15, 6), (16, 6), (17, 6), (17, 8)):
        px[y][x] = "f"

    # UNIF, pink, 16 pixels wide, one column between letters.
    x = 8
    for letter in "UNIF":
        glyph = LETTERS[letter]
        for row, bits in enumerate(glyph):
            for col, bit in enumerate(bits):
                if bit == "1":
                    px[18 + row][x + col] = "p"
        x += len(glyph[0]) + 1
    return px


def write_ico(px, path):
    keys = list(PALETTE)
    index = {k: i for i, k in enumerate(keys)}
    palette = b""
    for k in keys:
        r, g, b = PALETTE[k] or (0, 0, 0)
        palette += bytes((b, g, r, 0))
    palette += bytes(4 * (256 - len(keys)))  # 256 colours in the table
    xor = b"".join(bytes(index[c] for c in row) for row in reversed(px))
    mask = b""
    for row in reversed(px):
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if PALETTE[c] is None else 0)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    image = header + palette + xor + mask
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, 1))
        out.write(struct.pack("<BBBBHHII", W, H, 0, 0, 1, 8, len(image), 6 + 16))
        out.write(image)


if __name__ == "__main__":
    write_ico(draw(), sys.argv[1])
