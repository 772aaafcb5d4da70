#!/usr/bin/env python3
"""Writes assets/splash.png (a calm blue gradient with a large clock face on the right) and
assets/zelvo.png (the 64-pixel program icon: a green clock face)."""
import math
import struct
import sys
import zlib

WIDTH, HEIGHT = 360, 200


def pixel(x, y):
    t = y / HEIGHT
    r, g, b = int(30 + 20 * t), int(70 + 40 * t), int(140 + 60 * t)
    cx, cy, radius = 290, 110, 55
    d = math.hypot(x - cx, y - cy)
    if radius - 7 < d < radius:
        return 235, 240, 250
    if d <= radius - 7:
        angle = math.atan2(y - cy, x - cx)
        # hour marks
        for k in range(12):
            a = k * math.pi / 6
            if abs((angle - a + math.pi) % (2 * math.pi) - math.pi) < 0.05 and d > radius - 16:
                return 235, 240, 250
        # hands: minute up, hour towards four o'clock
        if abs(x - cx) < 2 and cy - 38 < y <= cy:
            return 255, 255, 255
        hx, hy = math.cos(math.radians(30)), math.sin(math.radians(30))
        along = (x - cx) * hx + (y - cy) * hy
        across = abs(-(x - cx) * hy + (y - cy) * hx)
        if 0 <= along < 26 and across < 2.2:
            return 255, 255, 255
        return int(r * 0.8), int(g * 0.8), int(b * 0.8)
    return r, g, b


def icon_pixel(x, y):
    cx = cy = 31.5
    d = math.hypot(x - cx, y - cy)
    if d > 31:
        return 0, 0, 0, 0
    if d > 25:
        return 20, 160, 40, 255
    if abs(x - cx) < 2.5 and cy - 18 < y <= cy:
        return 40, 40, 40, 255
    hx, hy = math.cos(math.radians(30)), math.sin(math.radians(30))
    along = (x - cx) * hx + (y - cy) * hy
    if 0 <= along < 13 and abs(-(x - cx) * hy + (y - cy) * hx) < 2.5:
        return 40, 40, 40, 255
    return 255, 255, 255, 255


def write_png(path, width, height, colour_type, pixel_at):
    fmt = "BBBB" if colour_type == 6 else "BBB"
    rows = b"".join(b"\x00" + b"".join(struct.pack(fmt, *pixel_at(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main(path):
    write_png(path.replace("splash.png", "zelvo.png"), 64, 64, 6, icon_pixel)
    rows = b"".join(b"\x00" + b"".join(struct.pack("BBB", *pixel(x, y)) for x in range(WIDTH))
                    for y in range(HEIGHT))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "assets/splash.png")
