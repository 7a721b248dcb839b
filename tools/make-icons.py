#!/usr/bin/env python3
"""Draws the library's two icons and writes them as .ico files.

    tools/make-icons.py [output-folder]   (default: resources/)

Varnel.ico (group icon 201): a blue tile with a white "V".
Sheet.ico  (group icon 501): a white sheet with a folded corner and text lines.
Each file holds a 16x16 and a 32x32 image, 32 bits per pixel with alpha.
"""
import os
import struct
import sys


def blank(size):
    return [[(0, 0, 0, 0)] * size for _ in range(size)]


def fill(img, x0, y0, x1, y1, rgba):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img), x1)):
            img[y][x] = rgba


def draw_varnel(size):
    s = size / 32.0
    img = blank(size)
    blue, edge, white = (40, 90, 190, 255), (20, 50, 120, 255), (255, 255, 255, 255)
    fill(img, 0, 0, size, size, edge)
    fill(img, 1, 1, size - 1, size - 1, blue)
    for corner in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
        img[corner[1]][corner[0]] = (0, 0, 0, 0)
    # The "V": two strokes meeting at the bottom centre.
    top, bottom = int(6 * s), size - int(6 * s)
    half_width = max(1, int(2 * s))
    for y in range(top, bottom):
        t = (y - top) / max(1, bottom - top - 1)
        left = int(round(6 * s + t * (size / 2 - 6 * s) - half_width / 2))
        right = int(round(size - 6 * s - t * (size / 2 - 6 * s) - half_width / 2))
        fill(img, left, y, left + half_width, y + 1, white)
        fill(img, right, y, right + half_width, y + 1, white)
    return img


def draw_sheet(size):
    s = size / 32.0
    img = blank(size)
    border, paper, fold, ink = (70, 70, 70, 255), (255, 255, 255, 255), (200, 200, 200, 255), (40, 90, 190, 255)
    left, right, top, bottom = int(5 * s), size - int(5 * s), int(2 * s), size - int(2 * s)
    corner = max(3, int(8 * s))
    fill(img, left, top, right, bottom, border)
    fill(img, left + 1, top + 1, right - 1, bottom - 1, paper)
    # Folded top-right corner.
    for dy in range(corner):
        for dx in range(corner - dy):
            img[top + dy][right - 1 - dx] = (0, 0, 0, 0)
        fill(img, right - corner + dy, top + dy, right - corner + dy + 1, top + dy + 1, border)
    fill(img, right - corner, top + 1, right - corner + 1, top + corner, border)
    fill(img, right - corner, top + corner - 1, right - 1, top + corner, border)
    fill(img, right - corner + 1, top + 1, right - 1, top + corner - 1, fold)
    for dy in range(corner):
        for dx in range(corner - dy - 1):
            img[top + dy][right - 1 - dx] = (0, 0, 0, 0)
    # Text lines.
    step = max(2, int(4 * s))
    y = top + corner + step // 2
    while y < bottom - step // 2:
        fill(img, left + max(2, int(3 * s)), y, right - max(2, int(3 * s)), y + max(1, int(s)), ink)
        y += step
    return img


def bmp_image(img):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(img) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for img in images:
        blob = bmp_image(img)
        size = len(img)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b''.join(blobs)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources')
    for name, draw in (('Varnel.ico', draw_varnel), ('Sheet.ico', draw_sheet)):
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(ico([draw(16), draw(32)]))


if __name__ == '__main__':
    main()
