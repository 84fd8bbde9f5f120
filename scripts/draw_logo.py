#!/usr/bin/env python3
"""Draws the launcher's logo (launcher/Logo.bmp, 24-bit, 119 by 32 pixels):
a night-blue band, a gold chevron crossing an orbit, and a row of stars.
Shapes are sampled 4 by 4 per pixel for smooth edges; no imaging library needed."""
import math
import struct
import sys

WIDTH, HEIGHT, SAMPLES = 119, 32, 4
GOLD = (255, 196, 40)
ORBIT = (150, 210, 255)
STAR = (235, 240, 255)


def background(x, y):
    t = x / WIDTH
    top = (10, 22, 70)
    bottom = (0, 90, 120)
    s = 0.6 * t + 0.4 * y / HEIGHT
    return tuple(top[i] + (bottom[i] - top[i]) * s for i in range(3))


def near_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= half_width


def chevron(px, py):
    return near_segment(px, py, 10, 6, 22, 27, 2.6) or near_segment(px, py, 22, 27, 34, 6, 2.6)


def orbit(px, py):
    # An ellipse tilted a little, drawn as a ring.
    cx, cy, a, b, tilt = 22, 17, 19, 6, -0.25
    x, y = px - cx, py - cy
    u = x * math.cos(tilt) + y * math.sin(tilt)
    v = -x * math.sin(tilt) + y * math.cos(tilt)
    r = math.hypot(u / a, v / b)
    return abs(r - 1.0) < 0.09


STARS = [(48, 9, 1.3), (60, 20, 1.0), (71, 11, 1.6), (84, 23, 1.1), (95, 8, 1.2), (106, 18, 1.5), (113, 27, 0.9)]


def star(px, py):
    return any(math.hypot(px - x, py - y) <= r for x, y, r in STARS)


def pixel(x, y):
    total = [0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
            if chevron(px, py):
                colour = GOLD
            elif orbit(px, py):
                colour = ORBIT
            elif star(px, py):
                colour = STAR
            else:
                colour = background(px, py)
            for i in range(3):
                total[i] += colour[i]
    return tuple(int(round(c / SAMPLES ** 2)) for c in total)


def write_bmp(path):
    row_size = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "launcher/Logo.bmp")
