"""Pictures of our own: a small anti-aliased canvas, Windows bitmap and PPM writers, icons."""

import math
import struct


class Canvas:
    """RGB pixels; shapes are filled by testing `samples` x `samples` points per pixel."""

    def __init__(self, width, height, background, samples=4):
        self.width, self.height, self.samples = width, height, samples
        self.pixels = [[tuple(background) for _ in range(width)] for _ in range(height)]

    def fill(self, inside, box, color, alpha=1.0):
        x0, y0, x1, y1 = box
        n = self.samples
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n):
                            hits += 1
                if hits:
                    self.blend(x, y, color, alpha * hits / (n * n))

    def blend(self, x, y, color, alpha):
        old = self.pixels[y][x]
        self.pixels[y][x] = tuple(round(o + (c - o) * alpha) for o, c in zip(old, color))

    def circle(self, cx, cy, r, color, alpha=1.0):
        self.ellipse(cx, cy, r, r, color, alpha)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0, angle=0.0):
        cos, sin = math.cos(angle), math.sin(angle)

        def inside(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * cos + dy * sin, -dx * sin + dy * cos
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1

        r = max(rx, ry)
        self.fill(inside, (cx - r, cy - r, cx + r, cy + r), color, alpha)

    def ring(self, cx, cy, r, width, color):
        def inside(x, y):
            return abs(math.hypot(x - cx, y - cy) - r) <= width / 2

        self.fill(inside, (cx - r - width, cy - r - width, cx + r + width, cy + r + width), color)

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, (x0, y0, x1, y1), color, alpha)

    def line(self, xa, ya, xb, yb, width, color, alpha=1.0):
        length2 = (xb - xa) ** 2 + (yb - ya) ** 2 or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - xa) * (xb - xa) + (y - ya) * (yb - ya)) / length2))
            return math.hypot(x - xa - t * (xb - xa), y - ya - t * (yb - ya)) <= width / 2

        w = width
        self.fill(inside, (min(xa, xb) - w, min(ya, yb) - w, max(xa, xb) + w, max(ya, yb) + w),
                  color, alpha)

    def polygon(self, points, color, alpha=1.0):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.fill(inside, (min(xs), min(ys), max(xs), max(ys)), color, alpha)

    def note(self, x, y, size, color, flag=True):
        """A quaver: a tilted head at (x, y), a stem and a flag."""
        self.ellipse(x, y, size * 0.62, size * 0.42, color, angle=-0.45)
        stem_x = x + size * 0.52
        self.line(stem_x, y - size * 0.1, stem_x, y - size * 2.3, size * 0.2, color)
        if flag:
            self.line(stem_x, y - size * 2.3, stem_x + size * 0.8, y - size * 1.5, size * 0.22, color)


def bitmap24(canvas):
    stride = (canvas.width * 3 + 3) // 4 * 4
    rows = b""
    for row in reversed(canvas.pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows += line + b"\0" * (stride - len(line))
    return _bitmap_headers(canvas.width, canvas.height, 24, b"", rows)


def bitmap8(canvas):
    """An 8-bit bitmap with a palette of the colours used (at most 256; flat pictures only)."""
    colors = sorted({c for row in canvas.pixels for c in row})
    if len(colors) > 256:
        raise ValueError("too many colours for an 8-bit bitmap")
    index = {c: i for i, c in enumerate(colors)}
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colors)
    palette += b"\0" * (4 * (256 - len(colors)))
    stride = (canvas.width + 3) // 4 * 4
    rows = b""
    for row in reversed(canvas.pixels):
        line = bytes(index[c] for c in row)
        rows += line + b"\0" * (stride - len(line))
    return _bitmap_headers(canvas.width, canvas.height, 8, palette, rows)


def _bitmap_headers(width, height, bits, palette, rows):
    offset = 14 + 40 + len(palette)
    file_header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    colors_used = len(palette) // 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 2835, 2835,
                       colors_used, 0)
    return file_header + info + palette + rows


def ppm(canvas):
    header = b"P6\n%d %d\n255\n" % (canvas.width, canvas.height)
    return header + b"".join(bytes(c) for row in canvas.pixels for c in row)
