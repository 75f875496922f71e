#!/usr/bin/env python3
"""Draws the program's pictures: the icon, the hand cursor and the e-invoice illustration.

Run from anywhere: python3 assets/make_assets.py
The icon and the cursor are written byte by byte (16-colour DIBs); the illustration is
drawn with ImageMagick's `convert` and saved as a JPEG.
"""
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32

# The classic 16-colour palette; pictures index into it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, RED, BLUE, WHITE = 0, 1, 9, 12, 15
CLEAR = None


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def dib_image(pixels):
    """A 4-bit DIB with its AND mask, as an icon or cursor image stores it."""
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    colour_rows, mask_rows = [], []
    for y in reversed(range(SIZE)):  # DIBs run bottom-up
        row = pixels[y]
        nibbles = [0 if p is CLEAR else p for p in row]
        colour_rows.append(bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, SIZE, 2)))
        bits = 0
        for x, p in enumerate(row):
            if p is CLEAR:
                bits |= 1 << (SIZE - 1 - x)
        mask_rows.append(struct.pack('>I', bits))
    return header + palette + b''.join(colour_rows) + b''.join(mask_rows)


def icon_file(pixels, kind, hotspot=(0, 0)):
    """kind 1 is an icon, 2 a cursor (whose entry carries the hot spot)."""
    image = dib_image(pixels)
    if kind == 1:
        planes, bits = 1, 4
    else:
        planes, bits = hotspot
    directory = struct.pack('<HHH', 0, kind, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, planes, bits, len(image), 6 + 16)
    return directory + entry + image


def draw_icon():
    """A downward triangle of red stripes set into a pyramid of black and white stripes."""
    px = blank()
    apex_y, base_y = 2, 29
    for y in range(apex_y, base_y + 1):
        half = (y - apex_y) * 15 / (base_y - apex_y)
        for x in range(SIZE):
            if abs(x + 0.5 - 16) <= half + 0.5:
                px[y][x] = BLACK if (y // 2) % 2 == 0 else WHITE
    # The inverted triangle: its top edge halfway down the pyramid, its tip on the base.
    top_y = 16
    for y in range(top_y, base_y + 1):
        half = (base_y - y) * 7.5 / (base_y - top_y)
        for x in range(SIZE):
            if abs(x + 0.5 - 16) <= half + 0.25:
                px[y][x] = RED if (y // 2) % 2 == 0 else DARK_RED
    return px


def fill_rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = colour


def draw_hand():
    """A white hand, index finger up with its tip at (12, 1), and a blue cuff."""
    px = blank()
    fill_rect(px, 10, 1, 14, 15, WHITE)     # index finger
    fill_rect(px, 14, 8, 18, 15, WHITE)     # middle finger
    fill_rect(px, 18, 9, 22, 15, WHITE)     # ring finger
    fill_rect(px, 22, 10, 25, 16, WHITE)    # little finger
    fill_rect(px, 10, 14, 25, 22, WHITE)    # palm
    for i in range(6):                      # thumb, slanting up to the left
        fill_rect(px, 5 + i, 12 + i, 10, 13 + i, WHITE)
    fill_rect(px, 11, 22, 24, 23, WHITE)    # wrist
    fill_rect(px, 10, 24, 25, 30, BLUE)     # cuff
    # Outline every painted pixel that touches the outside.
    outline = []
    for y in range(SIZE):
        for x in range(SIZE):
            if px[y][x] is CLEAR:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < SIZE and 0 <= ny < SIZE) or px[ny][nx] is CLEAR:
                    outline.append((x, y))
                    break
    for x, y in outline:
        px[y][x] = BLACK
    for x in (14, 18, 22):                  # gaps between the fingers
        for y in range(9, 15):
            px[y][x] = BLACK
    fill_rect(px, 11, 24, 24, 24, BLACK)    # edge of the cuff
    return px


def draw_illustration(path):
    teal, olive = '#1a8c8c', '#c8c89a'
    mvg = [
        'fill white', 'stroke none', 'rectangle 0,0 499,292',
        # the e drawn as an at-sign: an open ring around a lowercase e
        'fill none', f'stroke {teal}', 'stroke-width 14',
        'arc 20,56 200,236 40,330',
        'stroke-width 16', 'arc 62,98 158,194 35,360',
        'stroke-width 14', 'line 64,146 156,146',
        # the arrow
        f'fill {teal}', 'stroke none',
        'rectangle 215,134 275,158',
        'polygon 270,112 310,146 270,180',
        # the sheet, tilted, with its capital F
        'push graphic-context', 'translate 400,146', 'rotate 12',
        'fill white', 'stroke #7a7a7a', 'stroke-width 3',
        'rectangle -72,-112 72,112',
        f'fill {olive}', 'stroke none',
        'rectangle -38,-78 -10,80',
        'rectangle -38,-78 48,-50',
        'rectangle -38,-12 34,14',
        'pop graphic-context',
    ]
    subprocess.run(['convert', '-size', '500x293', 'xc:white', '-draw', ' '.join(mvg),
                    '-strip', '-quality', '90', 'jpg:' + path], check=True)


def main():
    with open(os.path.join(HERE, 'tovrel.ico'), 'wb') as f:
        f.write(icon_file(draw_icon(), 1))
    with open(os.path.join(HERE, 'hand.cur'), 'wb') as f:
        f.write(icon_file(draw_hand(), 2, hotspot=(12, 1)))
    draw_illustration(os.path.join(HERE, 'efactura.jpg'))


if __name__ == '__main__':
    main()
