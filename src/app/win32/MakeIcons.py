#!/usr/bin/env python3
"""Draws the program's icons (16 x 16 and 32 x 32, 32-bit with alpha) into .ico files:
kalmor.ico (a disc held by a red lock ring), disc.ico (the plain disc) and busy.ico (the disc
with an amber ring: the lock timer is at work). Run it where the .ico files should go."""
import math
import struct
import sys


def disc_pixel(x, y, size, ring):
    """Colour (r, g, b, a) of the point x, y (0..1) of the icon."""
    cx = cy = 0.5
    r = math.hypot(x - cx, y - cy) * 2  # 0 centre .. 1 edge
    if r > 0.97:
        return (0, 0, 0, 0)
    if ring and r > 0.80:
        return ring + (255,)
    if r > 0.92:
        return (90, 90, 100, 255)  # rim
    if r < 0.16:
        return (0, 0, 0, 0)  # the hole
    if r < 0.24:
        return (150, 150, 160, 255)  # hub
    # Silver with a rainbow sheen that turns with the angle.
    angle = math.atan2(y - cy, x - cx)
    sheen = 0.5 + 0.5 * math.cos(2 * angle)
    base = 200 + int(40 * sheen)
    tint = (int(30 * math.cos(angle)), int(30 * math.cos(angle + 2.1)), int(30 * math.cos(angle + 4.2)))
    return tuple(max(0, min(255, base + t)) for t in tint) + (255,)


def render(size, ring):
    """Rows bottom-up as BGRA bytes, 4 x 4 supersampled."""
    rows = []
    for py in range(size - 1, -1, -1):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(4):
                for sx in range(4):
                    c = disc_pixel((px + (sx + 0.5) / 4) / size, (py + (sy + 0.5) / 4) / size, size, ring)
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            a = acc[3] / 16
            rgb = [int(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row += bytes((rgb[2], rgb[1], rgb[0], int(a)))
        rows.append(bytes(row))
    return rows


def image(size, ring):
    rows = render(size, ring)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in rows:  # the AND mask: 1 where transparent
        bits = bytearray(mask_row)
        for px in range(size):
            if row[px * 4 + 3] == 0:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    return header + b''.join(rows) + bytes(mask)


def write_icon(name, ring):
    images = [image(s, ring) for s in (32, 16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(name, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    write_icon('kalmor.ico', (200, 30, 30))
    write_icon('disc.ico', None)
    write_icon('busy.ico', (240, 160, 20))
    sys.exit(0)
