#!/usr/bin/env python3
"""Draws the program's icon (a blue shield with a white arrow up) as WardCfgUp.ico."""
import struct
import sys


def pixel(x, y, size):
    u, v = (x + 0.5) / size, (y + 0.5) / size  # v grows downwards
    half = abs(u - 0.5)
    inside = 0.08 < v < 0.94 and (half < 0.40 if v < 0.55 else half < 0.40 * (0.94 - v) / 0.39)
    if not inside:
        return (0, 0, 0, 0)
    arrow_head = 0.2 < v < 0.5 and half < (v - 0.2) * 0.9
    arrow_stem = 0.45 <= v < 0.8 and half < 0.08
    if arrow_head or arrow_stem:
        return (255, 255, 255, 255)
    edge = half > 0.34 if v < 0.55 else v > 0.86
    return (120, 50, 20, 255) if edge else (200, 110, 30, 255)  # BGRA: dark and light blue


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b"".join(bytes(pixel(x, y, size)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + mask_row * size


def main(path):
    images = [image(s) for s in (16, 32, 48)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32, 48), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "WardCfgUp.ico")
