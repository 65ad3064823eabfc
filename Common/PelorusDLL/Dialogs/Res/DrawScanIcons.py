#!/usr/bin/env python3
"""Draws the scan list's row icons (16 pixels) as PNG files, with the shapes
and the renderer of the user-interface library's message icons.

Run from this folder: python3 DrawScanIcons.py.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../Tessel/Res"))
from DrawIcons import circle, draw, glyph_cross, glyph_question, png, segment  # noqa: E402


def glyph_check(x, y):
    return min(segment(x, y, 0.27, 0.52, 0.44, 0.69), segment(x, y, 0.44, 0.69, 0.74, 0.33)) - 0.075


def glyph_dash(x, y):
    return segment(x, y, 0.3, 0.5, 0.7, 0.5) - 0.08


# One per row state, named after what the row says of the address.
ICONS = {
    "ScanIdentified": (circle, (40, 150, 60), glyph_check, (255, 255, 255)),
    "ScanUnusable": (circle, (200, 30, 30), glyph_cross, (255, 255, 255)),
    "ScanNotIdentified": (circle, (230, 160, 20), glyph_dash, (255, 255, 255)),
    "ScanForeign": (circle, (120, 120, 130), glyph_question, (255, 255, 255)),
}


if __name__ == "__main__":
    for name, (shape, colour, glyph, ink) in ICONS.items():
        png(f"{name}16.png", 16, draw(shape, colour, glyph, ink, 16))
