#!/usr/bin/env python3
"""Draws the programs' built-in pictures: 24 x 24, 24-bit BMP files on a
magenta (255, 0, 255) background, which the programs draw as transparent.

The mode pictures go beside the settings program's resource script, the
choice pictures beside the timer bar's. Run it again after changing a drawing;
the BMP files are kept in the tree."""
import math
import os
import struct
import sys

SIZE = 24
MAGENTA = (255, 0, 255)


def new_picture():
    return [[MAGENTA] * SIZE for _ in range(SIZE)]


def put(p, x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        p[y][x] = colour


def rect(p, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(p, x, y, colour)


def disk(p, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                put(p, x, y, colour)


def ring(p, cx, cy, r, colour, width=1.0):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if r - width < d <= r:
                put(p, x, y, colour)


def art(p, rows, palette, x0=0, y0=0):
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch in palette:
                put(p, x0 + dx, y0 + dy, palette[ch])


def write_bmp(path, p):
    row_bytes = SIZE * 3  # 72: already a multiple of 4
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for x in range(SIZE):
            r, g, b = p[y][x]
            pixels += bytes((b, g, r))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    assert len(pixels) == row_bytes * SIZE
    with open(path, "wb") as f:
        f.write(header + info + pixels)


CAR_ROWS = [
    "......KKKKKKKKK.........",
    ".....KBBBBBBBBBK........",
    "....KBWWWWKWWWWBK.......",
    "...KBWWWWWKWWWWWBK......",
    "..KBBBBBBBBBBBBBBBKKKK..",
    ".KBBBBBBBBBBBBBBBBBBBBK.",
    ".KBBBBBBBBBBBBBBBBBBBYK.",
    ".KBBBBBBBBBBBBBBBBBBBBK.",
    ".KBBKKKBBBBBBBBBBKKKBBK.",
    ".KKKGGGKKKKKKKKKKGGGKKK.",
    "...KGLGK........KGLGK...",
    "...KGGGK........KGGGK...",
    "....KKK..........KKK....",
]


def car(body):
    p = new_picture()
    art(p, CAR_ROWS, {"K": (30, 30, 30), "B": body, "W": (200, 230, 255), "Y": (255, 220, 0),
                      "G": (70, 70, 70), "L": (180, 180, 180)}, 0, 6)
    return p


def night_sky():
    p = new_picture()
    navy = (20, 30, 90)
    rect(p, 1, 1, 22, 22, navy)
    for x, y in ((1, 1), (22, 1), (1, 22), (22, 22)):
        put(p, x, y, MAGENTA)
    moon = (255, 225, 80)
    for y in range(SIZE):
        for x in range(SIZE):
            inside = (x + 0.5 - 13) ** 2 + (y + 0.5 - 11) ** 2 <= 7 * 7
            bitten = (x + 0.5 - 16.5) ** 2 + (y + 0.5 - 8.5) ** 2 <= 6 * 6
            if inside and not bitten:
                put(p, x, y, moon)
    white = (255, 255, 255)
    for sx, sy in ((5, 5), (19, 17), (6, 17)):
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            put(p, sx + dx, sy + dy, white)
    for sx, sy in ((10, 3), (19, 4), (15, 20), (3, 11)):
        put(p, sx, sy, white)
    return p


def office():
    p = new_picture()
    outline = (40, 40, 50)
    wall = (150, 155, 165)
    glass = (90, 170, 230)
    rect(p, 5, 2, 18, 22, outline)
    rect(p, 6, 3, 17, 22, wall)
    for row in range(4):
        for col in range(3):
            x = 7 + col * 4
            y = 4 + row * 4
            rect(p, x, y, x + 2, y + 2, glass)
    rect(p, 10, 19, 13, 22, (90, 60, 30))
    rect(p, 2, 22, 21, 22, outline)
    return p


def house():
    p = new_picture()
    roof = (190, 40, 30)
    wall = (240, 220, 170)
    outline = (60, 40, 30)
    for y in range(2, 12):
        half = y - 1
        for x in range(12 - half, 12 + half):
            put(p, x, y, roof)
    rect(p, 16, 3, 18, 7, (110, 60, 50))  # chimney
    rect(p, 4, 12, 19, 21, outline)
    rect(p, 5, 12, 18, 21, wall)
    rect(p, 7, 14, 10, 17, (90, 170, 230))
    rect(p, 13, 15, 16, 21, (120, 70, 30))
    put(p, 14, 18, (255, 220, 0))
    rect(p, 2, 22, 21, 22, (60, 140, 50))
    return p


DIGITS = {
    "0": ["01110", "11011", "11011", "11011", "11011", "11011", "01110"],
    "1": ["00110", "01110", "00110", "00110", "00110", "00110", "01111"],
    "2": ["01110", "11011", "00011", "00110", "01100", "11000", "11111"],
    "3": ["11110", "00011", "00011", "01110", "00011", "00011", "11110"],
    "4": ["00110", "01110", "11010", "11010", "11111", "00010", "00010"],
    "5": ["11111", "11000", "11110", "00011", "00011", "11011", "01110"],
    "6": ["01110", "11000", "11110", "11011", "11011", "11011", "01110"],
    "8": ["01110", "11011", "11011", "01110", "11011", "11011", "01110"],
}


def number(p, text, colour, cy=12):
    width = len(text) * 5 + (len(text) - 1)
    x0 = (SIZE - width) // 2
    y0 = cy - 4
    for i, ch in enumerate(text):
        for dy, row in enumerate(DIGITS[ch]):
            for dx, bit in enumerate(row):
                if bit == "1":
                    put(p, x0 + i * 6 + dx, y0 + dy, colour)


def choice(minutes):
    p = new_picture()
    disk(p, 12, 12, 11.5, (255, 255, 255))
    ring(p, 12, 12, 11.5, (30, 60, 130), 1.6)
    for angle in range(0, 360, 30):  # clock ticks
        a = math.radians(angle)
        put(p, int(12 + 9.6 * math.sin(a)), int(12 - 9.6 * math.cos(a)), (130, 150, 190))
    number(p, minutes, (20, 40, 110))
    return p


def cancel():
    p = new_picture()
    disk(p, 12, 12, 11.5, (200, 30, 30))
    ring(p, 12, 12, 11.5, (110, 10, 10), 1.6)
    number(p, "0", (255, 255, 255))
    return p


def main():
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    settings = os.path.join(top, "settings")
    timer = os.path.join(top, "timer")
    os.makedirs(settings, exist_ok=True)
    os.makedirs(timer, exist_ok=True)
    write_bmp(os.path.join(settings, "mode_car.bmp"), car((40, 90, 200)))
    write_bmp(os.path.join(settings, "mode_night.bmp"), night_sky())
    write_bmp(os.path.join(settings, "mode_office.bmp"), office())
    write_bmp(os.path.join(settings, "mode_house.bmp"), house())
    write_bmp(os.path.join(settings, "mode_car_red.bmp"), car((200, 40, 40)))
    for minutes in ("15", "30", "45", "60", "120", "180"):
        write_bmp(os.path.join(timer, "choice%s.bmp" % minutes), choice(minutes))
    write_bmp(os.path.join(timer, "choice0.bmp"), cancel())
    return 0


if __name__ == "__main__":
    sys.exit(main())
