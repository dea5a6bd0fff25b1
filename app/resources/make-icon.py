#!/usr/bin/python3
"""Draws the program's icon and writes it as a Windows .ico file with 16, 32,
48 and 64 pixel images (32-bit with alpha): a blue tile holding a white
page of text lines whose first line sits between an orange pair of the
lenticular brackets the program puts around question types.

    make-icon.py OUT.ico

Drawn from geometry, so the icon is source, not a binary kept in the
repository; the same file comes out every time.
"""
import struct
import sys

BLUE = (0x1F, 0x5F, 0xA8)
WHITE = (0xFF, 0xFF, 0xFF)
INK = (0x5A, 0x67, 0x78)
ORANGE = (0xE8, 0x7A, 0x1E)


def rounded(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def bracket(x, y, x0, y0, x1, y1, left):
    """A filled lenticular bracket in the box: straight on the outer side,
    bowed on the inner one, with short serifs at the ends."""
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    t = (y - y0) / (y1 - y0)              # 0 at the top, 1 at the bottom
    w = x1 - x0
    thickness = w * (0.3 + 0.7 * (1 - abs(2 * t - 1)) ** 0.6)
    if t < 0.1 or t > 0.9:
        thickness = w                     # the serifs
    return (x - x0) <= thickness if left else (x1 - x) <= thickness


def colour(x, y):
    """(r, g, b, a) of the point (x, y) in a unit square, y downwards."""
    if not rounded(x, y, 0.03, 0.03, 0.97, 0.97, 0.18):
        return None
    if rounded(x, y, 0.20, 0.10, 0.80, 0.90, 0.05):
        if bracket(x, y, 0.27, 0.17, 0.35, 0.37, True) or bracket(x, y, 0.65, 0.17, 0.73, 0.37, False):
            return ORANGE
        if 0.39 <= x <= 0.61 and 0.24 <= y <= 0.30:
            return INK
        for top in (0.46, 0.59, 0.72):
            right = 0.71 if top != 0.72 else 0.56
            if 0.29 <= x <= right and top <= y <= top + 0.06:
                return INK
        return WHITE
    return BLUE


def image(size):
    """BGRA rows bottom-up with a 4x4 supersample per pixel, then the AND mask."""
    n = 4
    rows = []
    for py in range(size):
        row = b""
        for px in range(size):
            r = g = b = a = 0
            for sy in range(n):
                for sx in range(n):
                    c = colour((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                row += bytes((b // a, g // a, r // a, 255 * a // (n * n)))
            else:
                row += b"\0\0\0\0"
        rows.append(row)
    pixels = b"".join(reversed(rows))
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)      # alpha decides; the mask shows all
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    sizes = [16, 32, 48, 64]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
