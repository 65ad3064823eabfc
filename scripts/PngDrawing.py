"""Shared pieces of the icon and picture drawing scripts in the Res folders:
a PNG writer, the distance of a point to a line segment and the round badge
with a white sign that the icons are."""
import math
import struct
import zlib


def png(path, width, height, pixels, alpha=True):
    """Writes rows of (r, g, b[, a]) tuples as an 8-bit RGB or RGBA PNG."""
    raw = b"".join(b"\0" + bytes(v for p in pixels[y * width:(y + 1) * width] for v in p) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def segment(px, py, ax, ay, bx, by):
    """Distance of (px, py) to the segment a-b; a point when a equals b."""
    dx, dy = bx - ax, by - ay
    if dx == 0 and dy == 0:
        return math.hypot(px - ax, py - ay)
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def badge(colour, strokes, size, width=0.09):
    """A round badge in its colour with a white sign as RGBA pixels. The sign
    is strokes (ax, ay, bx, by) in a unit square, a stroke of one point a
    small dot; edges are sampled 4 x 4 per pixel."""
    def distance(px, py, ax, ay, bx, by):
        d = segment(px, py, ax, ay, bx, by)
        return d - 0.06 if (ax, ay) == (bx, by) else d

    pixels = []
    for y in range(size):
        for x in range(size):
            inside = stroke = 0
            for sy in range(4):
                for sx in range(4):
                    px, py = (x + (sx + 0.5) / 4) / size, (y + (sy + 0.5) / 4) / size
                    if math.hypot(px - 0.5, py - 0.5) <= 0.47:
                        inside += 1
                        if min(distance(px, py, *s) for s in strokes) <= width:
                            stroke += 1
            alpha = inside / 16
            white = stroke / max(inside, 1)
            rgb = tuple(int(c * (1 - white) + 255 * white) for c in colour)
            pixels.append(rgb + (int(255 * alpha),))
    return pixels
