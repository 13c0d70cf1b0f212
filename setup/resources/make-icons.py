#!/usr/bin/env python3
"""Draws Install's two icons (32 x 32, 16 colours) and writes them as .ico
files next to this script: Install.ico, the window class's icon (a white V
on teal), and Welcome.ico, the welcome page's icon (a parcel with a disk).
The images are committed; run this again only to change them."""
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, TEAL, SILVER, GREY, YELLOW, BLUE, WHITE, OLIVE = 0, 6, 7, 8, 11, 12, 15, 3
CLEAR = None   # transparent


def blank():
    return [[CLEAR] * 32 for _ in range(32)]


def rect(image, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            image[y][x] = colour


def install_icon():
    image = blank()
    rect(image, 1, 1, 30, 30, BLACK)
    rect(image, 2, 2, 29, 29, TEAL)
    for y in range(6, 27):          # the V, two strokes meeting at the bottom
        offset = (y - 6) * 9 // 20
        for w in range(4):
            image[y][6 + offset + w] = WHITE
            image[y][25 - offset - w] = WHITE
    return image


def welcome_icon():
    image = blank()
    rect(image, 3, 10, 28, 29, BLACK)      # the parcel
    rect(image, 4, 11, 27, 28, OLIVE)
    rect(image, 14, 11, 17, 28, YELLOW)    # its ribbon
    rect(image, 4, 18, 27, 20, YELLOW)
    rect(image, 9, 1, 22, 12, BLACK)       # a disk on top
    rect(image, 10, 2, 21, 11, BLUE)
    rect(image, 12, 2, 19, 6, SILVER)
    rect(image, 12, 8, 19, 11, WHITE)
    return image


def ico(image):
    """The .ico file of one 32 x 32, 4-bit image with its transparency mask."""
    xor = b''
    mask = b''
    for row in reversed(image):            # bitmaps are stored bottom-up
        xor += bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, 32, 2))
        bits = 0
        for x in range(32):
            bits = bits << 1 | (1 if row[x] is CLEAR else 0)
        mask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    body = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4,
                                                           len(body), 22)
    return directory + body


here = os.path.dirname(os.path.abspath(__file__))
for name, image in (('Install.ico', install_icon()), ('Welcome.ico', welcome_icon())):
    with open(os.path.join(here, name), 'wb') as out:
        out.write(ico(image))
