#!/usr/bin/env python3
"""Draws the pages' picture strips as PNG files on a magenta background
(the colour the image lists take as transparent).

Run from this folder: python3 DrawPageImages.py. Shapes are signed
distances, sampled 4 x 4 per pixel; a pixel is either background or shape,
so that the mask colour stays exact at the edges.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../../../scripts"))
from PngDrawing import badge, png as write_png, segment  # noqa: E402

MAGENTA = (255, 0, 255)


def png(path, width, height, pixels):
    write_png(path, width, height, pixels, alpha=False)


def disc(r):
    return lambda x, y: math.hypot(x - 0.5, y - 0.5) - r


def lines(points, width):
    def shape(x, y):
        return min(segment(x, y, *points[i], *points[i + 1]) for i in range(len(points) - 1)) - width
    return shape


def box(x0, y0, x1, y1):
    return lambda x, y: max(x0 - x, x - x1, y0 - y, y - y1)


# Each picture: layers of (shape, colour), later layers over earlier ones.
ROW_IMAGES = [
    [(disc(0.16), (128, 128, 128))],                                                        # 0 plain row
    [(lines([(0.2, 0.55), (0.42, 0.78), (0.82, 0.25)], 0.08), (0, 140, 0))],                # 1 done
    [(lines([(0.2, 0.5), (0.8, 0.5)], 0.08), (0, 90, 170)),
     (lines([(0.55, 0.25), (0.8, 0.5), (0.55, 0.75)], 0.08), (0, 90, 170))],                # 2 marked
    [(disc(0.4), (230, 180, 0)), (box(0.44, 0.2, 0.56, 0.6), (255, 255, 255)),
     (disc(0.07), (255, 255, 255))],                                                        # 3 warning
    [(disc(0.45), (200, 0, 0)),
     (lines([(0.3, 0.3), (0.7, 0.7)], 0.08), (255, 255, 255)),
     (lines([(0.7, 0.3), (0.3, 0.7)], 0.08), (255, 255, 255))],                             # 4 error
    [(disc(0.4), (0, 90, 170)), (box(0.44, 0.42, 0.56, 0.78), (255, 255, 255))],            # 5 information
    [(box(0.15, 0.3, 0.85, 0.7), (0, 120, 60))],                                            # 6 connected
    [(box(0.15, 0.3, 0.85, 0.7), (150, 150, 150))],                                         # 7 not connected
    [(box(0.2, 0.2, 0.8, 0.8), (90, 90, 90)), (box(0.3, 0.3, 0.7, 0.7), (255, 255, 255))],  # 8 device
    [(lines([(0.25, 0.15), (0.75, 0.15), (0.25, 0.85), (0.75, 0.85), (0.25, 0.15)], 0.06),
      (120, 80, 20))],                                                                      # 9 busy
    [(disc(0.45), (200, 0, 0)), (box(0.43, 0.18, 0.57, 0.6), (255, 255, 255)),
     (disc(0.08), (255, 255, 255))],                                                        # 10 invalid value
]

MENU_IMAGES = [
    [(lines([(0.75, 0.3), (0.5, 0.18), (0.25, 0.35), (0.22, 0.6), (0.45, 0.8), (0.72, 0.7)], 0.07),
      (0, 120, 0)), (lines([(0.6, 0.15), (0.78, 0.3), (0.58, 0.42)], 0.06), (0, 120, 0))],   # refresh
    [(box(0.15, 0.1, 0.6, 0.65), (90, 90, 90)), (box(0.2, 0.15, 0.55, 0.6), (255, 255, 255)),
     (box(0.4, 0.35, 0.85, 0.9), (90, 90, 90)), (box(0.45, 0.4, 0.8, 0.85), (255, 255, 255))],  # copy
    [(box(0.2, 0.15, 0.8, 0.9), (150, 100, 40)), (box(0.3, 0.35, 0.9, 0.95), (255, 255, 255))],  # paste
    [(lines([(0.25, 0.25), (0.75, 0.75)], 0.09), (200, 0, 0)),
     (lines([(0.75, 0.25), (0.25, 0.75)], 0.09), (200, 0, 0))],                              # delete
    [(box(0.12, 0.12, 0.88, 0.88), (0, 70, 140)), (box(0.28, 0.12, 0.72, 0.4), (255, 255, 255)),
     (box(0.25, 0.6, 0.75, 0.88), (200, 200, 200))],                                        # save
]


def ellipse(rx, ry, steps=32):
    """An ellipse round the centre as strokes."""
    points = [(0.5 + rx * math.cos(2 * math.pi * i / steps), 0.5 + ry * math.sin(2 * math.pi * i / steps))
              for i in range(steps + 1)]
    return [points[i] + points[i + 1] for i in range(steps)]


# The web-management button's icon: a globe, its outline, a meridian and the
# equator, on a blue badge like the main dialog's icons.
GLOBE = ellipse(0.29, 0.29) + ellipse(0.12, 0.29) + [(0.21, 0.5, 0.79, 0.5)]
WEB_COLOUR = (0, 110, 190)


def strip(images, width, height):
    pixels = []
    for y in range(height):
        for image in images:
            for x in range(width):
                colour = MAGENTA
                hits = {}
                for sy in range(4):
                    for sx in range(4):
                        u = (x + (sx + 0.5) / 4) / width
                        v = (y + (sy + 0.5) / 4) / height
                        for shape, layer in image:
                            if shape(u, v) <= 0:
                                hits[(sx, sy)] = layer
                if len(hits) >= 6:
                    counts = {}
                    for layer in hits.values():
                        counts[layer] = counts.get(layer, 0) + 1
                    colour = max(counts, key=counts.get)
                pixels.append(colour)
    return pixels


png("RowStates.png", 16 * len(ROW_IMAGES), 16, strip(ROW_IMAGES, 16, 16))
png("MenuImages.png", 16 * len(MENU_IMAGES), 20, strip(MENU_IMAGES, 16, 20))
for size in (16, 32, 48):
    write_png("WebManagement%d.png" % size, size, size, badge(WEB_COLOUR, GLOBE, size, 0.05))
