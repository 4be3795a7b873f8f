#!/usr/bin/env python3
"""Draws Tarvelo's icon (a stopwatch) and writes res/tarvelo.ico and the PNG copies.

The .ico holds the two images the window needs, 32x32 and 16x16, each with the 16 colours of
the standard VGA palette (4 bits per pixel) and a transparency mask. The PNGs are the same
pictures for the desktop's icon theme. Run it from anywhere; it writes into res/ beside it.
"""
import math
import os
import struct
import zlib

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, RED, BLUE, WHITE = 0, 4, 7, 8, 9, 12, 15
TRANSPARENT = None


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stopwatch(size):
    """The picture as rows of palette indexes (None where transparent)."""
    s = size / 32.0
    cx, cy = 15.5 * s, 17.5 * s
    face, ring, outline = 10.4 * s, 12.4 * s, 13.4 * s
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - cx, y - cy)
            if d <= face:
                pixels[y][x] = WHITE
            elif d <= ring:
                pixels[y][x] = BLUE
            elif d <= outline:
                pixels[y][x] = NAVY
    # The crown: a stem and the button on top.
    for y in range(0, math.ceil(cy - outline) + 1):
        for x in range(round(13 * s), round(19 * s)):
            pixels[y][x] = NAVY if y < max(1, round(2 * s)) else GRAY
    if size >= 32:
        # Quarter-hour ticks on the face.
        for angle in (0, 90, 180, 270):
            a = math.radians(angle)
            for r in (8.2, 9.2):
                x, y = round(cx + r * math.sin(a)), round(cy - r * math.cos(a))
                pixels[y][x] = GRAY
    # The hands: minutes straight up, seconds (red) toward two o'clock.
    width = 0.6 if size >= 32 else 0.5
    hands = [(0, 7.5 * s, BLACK), (60, 8.8 * s, RED)]
    for angle, length, colour in hands:
        a = math.radians(angle)
        ex, ey = cx + length * math.sin(a), cy - length * math.cos(a)
        for y in range(size):
            for x in range(size):
                if pixels[y][x] == WHITE and distance_to_segment(x, y, cx, cy, ex, ey) <= width:
                    pixels[y][x] = colour
    # The hub.
    for y in (math.floor(cy), math.ceil(cy)):
        for x in (math.floor(cx), math.ceil(cx)):
            pixels[y][x] = RED
    return pixels


def ico_image(pixels):
    size = len(pixels)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        colours = bytearray(colour_stride)
        mask = bytearray(mask_stride)
        for x, index in enumerate(row):
            value = 0 if index is None else index
            colours[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if index is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        colour_rows.append(bytes(colours))
        mask_rows.append(bytes(mask))
    bitmap = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(bitmap), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bitmap


def ico_file(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for pixels in images:
        size = len(pixels)
        image = ico_image(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    return directory + entries + data


def png_file(pixels):
    size = len(pixels)
    raw = b""
    for row in pixels:
        raw += b"\x00"  # no filter
        for index in row:
            raw += bytes((0, 0, 0, 0)) if index is None else bytes(PALETTE[index] + (255,))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    large, small = stopwatch(32), stopwatch(16)
    with open(os.path.join(res, "tarvelo.ico"), "wb") as out:
        out.write(ico_file([large, small]))
    for pixels in (large, small):
        name = "tarvelo-%d.png" % len(pixels)
        with open(os.path.join(res, name), "wb") as out:
            out.write(png_file(pixels))


if __name__ == "__main__":
    main()
