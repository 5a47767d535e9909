#!/usr/bin/env python3
"""Writes icon128.png (window icon, 32 x 32), bitmap195.png (the warning box's picture, 32 x 32)
and bitmap204.png (background, 800 x 500).

Standard library only. Run from any folder: the files land beside this script.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, rows, alpha):
    """rows: one bytes object per line, RGB or RGBA pixels."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def icon():
    """A blue rounded square with a white carrier wave across it."""
    size = 32
    top, bottom = (58, 132, 214), (20, 72, 150)
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            # Rounded square with a soft edge.
            dx = max(abs(x + 0.5 - 16) - 11, 0)
            dy = max(abs(y + 0.5 - 16) - 11, 0)
            edge = math.hypot(dx, dy) - 4
            a = max(0.0, min(1.0, 0.5 - edge))
            r, g, b = mix(top, bottom, y / (size - 1))
            # Wave: a sine line two pixels thick.
            wave = 16 + 6 * math.sin((x - 4) * math.pi / 6)
            d = abs(y + 0.5 - wave)
            w = max(0.0, min(1.0, 1.5 - d)) if 5 <= x <= 26 else 0.0
            r, g, b = mix((r, g, b), (255, 255, 255), w)
            row += bytes((r, g, b, int(round(a * 255))))
        rows.append(bytes(row))
    write_png(os.path.join(HERE, "icon128.png"), size, size, rows, True)


def warning():
    """A yellow triangle with a dark rim and a black exclamation mark, on a clear ground."""
    size, samples = 32, 4
    corners = ((16.0, 2.5), (1.5, 29.5), (30.5, 29.5))
    fill, rim, mark = (255, 204, 0), (120, 84, 0), (0, 0, 0)

    def inside(x, y, shrink):
        """Whether the point lies within the triangle made smaller by shrink on every side."""
        for i in range(3):
            (ax, ay), (bx, by) = corners[i], corners[(i + 1) % 3]
            cx, cy = corners[(i + 2) % 3]
            nx, ny = ay - by, bx - ax
            length = math.hypot(nx, ny)
            side = (nx * (cx - ax) + ny * (cy - ay)) / length
            d = (nx * (x - ax) + ny * (y - ay)) / length
            if (d if side > 0 else -d) < shrink:
                return False
        return True

    def in_mark(x, y):
        bar = abs(x - 16) <= 1.6 and 10.5 <= y <= 21.5
        dot = math.hypot(x - 16, y - 25.2) <= 1.8
        return bar or dot

    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            colour, cover = [0.0, 0.0, 0.0], 0
            for sy in range(samples):
                for sx in range(samples):
                    px, py = x + (sx + 0.5) / samples, y + (sy + 0.5) / samples
                    if not inside(px, py, 0.0):
                        continue
                    cover += 1
                    c = mark if in_mark(px, py) else fill if inside(px, py, 1.4) else rim
                    colour = [a + b for a, b in zip(colour, c)]
            n = samples * samples
            if cover:
                row += bytes(int(round(v / cover)) for v in colour) + bytes((int(round(255 * cover / n)),))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    write_png(os.path.join(HERE, "bitmap195.png"), size, size, rows, True)


def background():
    """A quiet diagonal gradient from pale grey-blue to near white."""
    width, height = 800, 500
    a, b = (226, 233, 242), (247, 249, 252)
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            t = (x / (width - 1)) * 0.6 + (y / (height - 1)) * 0.4
            row += bytes(mix(a, b, t))
        rows.append(bytes(row))
    write_png(os.path.join(HERE, "bitmap204.png"), width, height, rows, False)


if __name__ == "__main__":
    icon()
    warning()
    background()
