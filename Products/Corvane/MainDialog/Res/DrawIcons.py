#!/usr/bin/env python3
"""Draws the main dialog's icons (16, 32 and 48 pixels) as PNG files.

Run from this folder: python3 DrawIcons.py. Each icon is a round badge in
its colour with a white sign; edges are sampled 4 x 4 per pixel.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../../scripts"))
from PngDrawing import png as write_png, badge  # noqa: E402


def png(path, size, pixels):
    write_png(path, size, size, pixels)


# Signs in a unit square (0..1), as lists of strokes.
SIGNS = {
    "arrow_down": [(0.5, 0.25, 0.5, 0.72), (0.32, 0.55, 0.5, 0.73), (0.68, 0.55, 0.5, 0.73)],
    "arrow_up": [(0.5, 0.28, 0.5, 0.75), (0.32, 0.45, 0.5, 0.27), (0.68, 0.45, 0.5, 0.27)],
    "folder": [(0.28, 0.38, 0.72, 0.38), (0.28, 0.38, 0.28, 0.68), (0.28, 0.68, 0.72, 0.68), (0.72, 0.38, 0.72, 0.68)],
    "disk": [(0.3, 0.3, 0.7, 0.3), (0.3, 0.3, 0.3, 0.7), (0.3, 0.7, 0.7, 0.7), (0.7, 0.3, 0.7, 0.7), (0.4, 0.3, 0.4, 0.45), (0.6, 0.3, 0.6, 0.45)],
    "restart": [(0.5, 0.25, 0.5, 0.5), (0.32, 0.36, 0.3, 0.6), (0.3, 0.6, 0.5, 0.74), (0.5, 0.74, 0.7, 0.6), (0.7, 0.6, 0.68, 0.36)],
    "factory": [(0.3, 0.72, 0.3, 0.42), (0.3, 0.42, 0.5, 0.55), (0.5, 0.55, 0.5, 0.42), (0.5, 0.42, 0.7, 0.55), (0.7, 0.55, 0.7, 0.72), (0.3, 0.72, 0.7, 0.72)],
    "erase": [(0.3, 0.3, 0.7, 0.7), (0.7, 0.3, 0.3, 0.7)],
    "gear": [(0.5, 0.25, 0.5, 0.75), (0.25, 0.5, 0.75, 0.5), (0.33, 0.33, 0.67, 0.67), (0.67, 0.33, 0.33, 0.67)],
    "dot": [(0.5, 0.5, 0.5, 0.5)],
    "dash": [(0.32, 0.5, 0.68, 0.5)],
    "bang": [(0.5, 0.28, 0.5, 0.56), (0.5, 0.7, 0.5, 0.7)],
    "pen": [(0.32, 0.7, 0.68, 0.32)],
    "coupler": [(0.35, 0.3, 0.35, 0.7), (0.5, 0.3, 0.5, 0.7), (0.65, 0.3, 0.65, 0.7)],
    "link": [(0.25, 0.5, 0.42, 0.5), (0.58, 0.5, 0.75, 0.5), (0.42, 0.36, 0.42, 0.64), (0.58, 0.36, 0.58, 0.64)],
    "bubble": [(0.3, 0.32, 0.7, 0.32), (0.3, 0.32, 0.3, 0.6), (0.7, 0.32, 0.7, 0.6), (0.3, 0.6, 0.7, 0.6), (0.4, 0.6, 0.34, 0.74)],
}

ICONS = {
    "App": ((0, 122, 61), "coupler"),
    "Read": ((0, 110, 190), "arrow_down"),
    "Open": ((200, 140, 0), "folder"),
    "Save": ((70, 90, 160), "disk"),
    "Write": ((0, 140, 80), "arrow_up"),
    "Restart": ((120, 80, 170), "restart"),
    "Factory": ((190, 90, 20), "factory"),
    "ResetFs": ((170, 40, 40), "erase"),
    "Settings": ((90, 90, 90), "gear"),
    "StateWorking": ((0, 110, 190), "dot"),
    "StateConnecting": ((230, 170, 0), "dot"),
    "StateFailed": ((200, 30, 30), "bang"),
    "StateIdle": ((140, 140, 140), "dash"),
    "StateOffline": ((0, 140, 80), "pen"),
}


# The Settings menu's images: one strip of 16 x 20 cells on the mask colour
# (magenta), in the order of the menu's toolbar record.
MENU_IMAGES = [((0, 110, 190), "link"), ((200, 140, 0), "bubble")]
MASK = (255, 0, 255)


def menu_strip(path):
    cell_w, cell_h, badge = 16, 20, 16
    cells = [draw(colour, sign, badge) for colour, sign in MENU_IMAGES]
    width = cell_w * len(cells)
    top = (cell_h - badge) // 2
    pixels = []
    for y in range(cell_h):
        for x in range(width):
            cell, cx = divmod(x, cell_w)
            if top <= y < top + badge:
                r, g, b, a = cells[cell][(y - top) * badge + cx]
                if a >= 128:
                    pixels.append((r, g, b, 255))
                    continue
            pixels.append(MASK + (255,))
    write_png(path, width, cell_h, pixels)


def draw(colour, sign, size):
    return badge(colour, SIGNS[sign], size)


menu_strip("SettingsMenu.png")
for name, (colour, sign) in ICONS.items():
    for size in (16, 32, 48):
        png("%s%d.png" % (name, size), size, draw(colour, sign, size))
