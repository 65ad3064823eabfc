#!/usr/bin/env python3
"""Draws the library's message icons (16 and 32 pixels) as PNG files.

Run from this folder: python3 DrawIcons.py. Shapes are signed distances,
sampled 4 x 4 per pixel so the edges are smooth.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../scripts"))
from PngDrawing import png as write_png, segment  # noqa: E402


def png(path, size, pixels):
    write_png(path, size, size, pixels)


def circle(x, y):
    return math.hypot(x - 0.5, y - 0.5) - 0.47


def triangle(x, y):
    # Distance-like test of an upward triangle with rounded corners.
    edges = [(0.5, 0.05, 0.03, 0.92), (0.03, 0.92, 0.97, 0.92), (0.97, 0.92, 0.5, 0.05)]
    inside = y <= 0.92 and abs(x - 0.5) <= (y - 0.05) * 0.54
    d = min(segment(x, y, *e) for e in edges)
    return -d if inside else d


def square(x, y):
    return max(abs(x - 0.5), abs(y - 0.5)) - 0.44


def glyph_cross(x, y):
    return min(segment(x, y, 0.32, 0.32, 0.68, 0.68), segment(x, y, 0.68, 0.32, 0.32, 0.68)) - 0.07


def glyph_bang(x, y, top=0.22, bottom=0.58, dot=0.75):
    return min(segment(x, y, 0.5, top, 0.5, bottom) - 0.07, math.hypot(x - 0.5, y - dot) - 0.075)


def glyph_info(x, y):
    return min(segment(x, y, 0.5, 0.45, 0.5, 0.76) - 0.07, math.hypot(x - 0.5, y - 0.27) - 0.075)


def glyph_question(x, y):
    r = math.hypot(x - 0.5, y - 0.36)
    angle = math.atan2(y - 0.36, x - 0.5)
    arc = abs(r - 0.15) - 0.065 if not (0.3 < angle < 1.9) else 1.0
    stem = segment(x, y, 0.5, 0.51, 0.5, 0.6) - 0.065
    hook = segment(x, y, 0.61, 0.45, 0.5, 0.51) - 0.065
    return min(arc, stem, hook, math.hypot(x - 0.5, y - 0.77) - 0.07)


ICONS = {
    "Error": (circle, (200, 30, 30), glyph_cross, (255, 255, 255)),
    "Question": (circle, (40, 100, 200), glyph_question, (255, 255, 255)),
    "Warning": (triangle, (240, 190, 20), lambda x, y: glyph_bang(x, y, 0.36, 0.66, 0.8), (40, 40, 40)),
    "Information": (circle, (40, 100, 200), glyph_info, (255, 255, 255)),
    "Stop": (square, (150, 20, 20), lambda x, y: glyph_bang(x, y), (255, 255, 255)),
}


def draw(shape, colour, glyph, ink, size):
    pixels = []
    n = 4
    for py in range(size):
        for px in range(size):
            cover = ink_cover = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    if shape(x, y) <= 0:
                        cover += 1
                        if glyph(x, y) <= 0:
                            ink_cover += 1
            alpha = cover / (n * n)
            mix = ink_cover / cover if cover else 0.0
            rgb = [round(c * (1 - mix) + i * mix) for c, i in zip(colour, ink)]
            pixels.append((*rgb, round(alpha * 255)))
    return pixels


if __name__ == "__main__":
    for name, (shape, colour, glyph, ink) in ICONS.items():
        for size in (16, 32):
            png(f"{name}{size}.png", size, draw(shape, colour, glyph, ink, size))
