#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the application icon (a message bubble on a rounded tile) as PNGs for the hicolor
theme. Plain Python, no imaging library: run it after changing the drawing and commit the
files it writes to packaging/icons/."""
import math
import struct
import sys
import zlib
from pathlib import Path


def rounded_box(x, y, cx, cy, hw, hh, r):
    dx = max(abs(x - cx) - (hw - r), 0.0)
    dy = max(abs(y - cy) - (hh - r), 0.0)
    return math.hypot(dx, dy) - r  # < 0 inside


def colour_at(u, v):
    """u, v in 0..1. Returns (r, g, b, a) floats in 0..1, or None for transparent."""
    if rounded_box(u, v, 0.5, 0.5, 0.46, 0.46, 0.12) > 0:
        return None
    # Tile: teal to blue, top to bottom.
    t = v
    tile = (0.05 + 0.05 * t, 0.55 - 0.2 * t, 0.75 - 0.1 * t)
    inside_bubble = rounded_box(u, v, 0.5, 0.45, 0.3, 0.21, 0.1) <= 0
    # The bubble's tail, a triangle under its left half.
    in_tail = 0.62 <= v <= 0.8 and 0.3 <= u <= 0.3 + (0.8 - v) * 1.0
    if inside_bubble or in_tail:
        for dot_x in (0.37, 0.5, 0.63):
            if math.hypot(u - dot_x, v - 0.45) < 0.045:
                return tile + (1.0,)
        return (1.0, 1.0, 1.0, 1.0)
    return tile + (1.0,)


def render(size, samples=4):
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            n = samples * samples
            a = acc[3] / n
            rgb = [acc[i] / acc[3] if acc[3] else 0.0 for i in range(3)]
            row += bytes(int(round(255 * x)) for x in rgb + [a])
        rows.append(bytes(row))
    raw = b"".join(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "packaging" / "icons")
    out.mkdir(parents=True, exist_ok=True)
    for size in (32, 48, 128, 256):
        (out / f"dialcrest-{size}.png").write_bytes(render(size))
