"""The 32x32 icons of the demo songs and themes, and the small fallback glyphs."""

import math

from pictures import Canvas

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
NAVY = (20, 30, 90)
GOLD = (240, 190, 40)
ORANGE = (250, 130, 20)
RED = (210, 40, 40)
BROWN = (120, 70, 30)
GREY = (128, 128, 128)
SILVER = (200, 200, 205)
SKY = (150, 200, 250)
GREEN = (60, 150, 60)
BLUE = (40, 90, 200)


def star(c, cx, cy, outer, inner, color, points=5):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.polygon(corners, color)


def microphone(c, x, y, scale=1.0, head=SILVER):
    s = scale
    c.line(x, y + 6 * s, x, y + 20 * s, 2.2 * s, (70, 70, 80))
    c.line(x - 6 * s, y + 21 * s, x + 6 * s, y + 21 * s, 2.2 * s, (70, 70, 80))
    c.ellipse(x, y, 5 * s, 7 * s, head)
    for k in (-3, 0, 3):
        c.line(x - 4.5 * s, y + k * s, x + 4.5 * s, y + k * s, 0.8 * s, GREY)
    c.line(x - 5 * s, y + 4 * s, x + 5 * s, y + 4 * s, 1.6 * s, (60, 60, 70))


def campfire(c):
    c.line(6, 27, 26, 21, 4, BROWN)
    c.line(6, 21, 26, 27, 4, (100, 55, 25))
    c.polygon([(16, 3), (24, 16), (22, 23), (10, 23), (8, 16), (12, 11), (14, 14)], ORANGE)
    c.polygon([(16, 10), (20, 18), (18, 23), (13, 23), (12, 18)], GOLD)


def beamed_notes(c):
    c.ellipse(9, 24, 4.2, 3, NAVY, angle=-0.4)
    c.ellipse(22, 21, 4.2, 3, NAVY, angle=-0.4)
    c.line(12.5, 23, 12.5, 7, 1.8, NAVY)
    c.line(25.5, 20, 25.5, 4, 1.8, NAVY)
    c.line(12.5, 8, 25.5, 5, 3.2, NAVY)
    c.line(12.5, 12, 25.5, 9, 2.4, BLUE)


def road(c):
    c.rect(0, 0, 32, 14, SKY)
    c.rect(0, 14, 32, 32, GREEN)
    c.polygon([(14, 14), (18, 14), (30, 32), (2, 32)], (90, 90, 95))
    for y0, y1 in ((16, 18), (20, 23), (25, 30)):
        c.rect(15.4, y0, 16.6 + (y1 - 16) * 0.05, y1, GOLD)
    c.circle(26, 6, 3, GOLD)


def sunrise(c):
    c.rect(0, 0, 32, 20, (250, 200, 150))
    c.circle(16, 20, 9, ORANGE)
    c.rect(0, 20, 32, 32, (60, 110, 190))
    for y in (23, 26, 29):
        c.line(6 + y % 4, y, 26 - y % 3, y, 1.2, SKY)


def night_stars(c):
    c.rect(0, 0, 32, 32, NAVY)
    star(c, 10, 10, 6, 2.5, GOLD)
    star(c, 23, 7, 3.5, 1.5, WHITE)
    star(c, 21, 22, 7, 3, GOLD)
    star(c, 7, 25, 2.5, 1, WHITE)


def house(c):
    c.rect(6, 15, 26, 29, (220, 170, 110))
    c.polygon([(3, 16), (16, 4), (29, 16)], RED)
    c.rect(9, 18, 14, 23, SKY)
    c.rect(17, 20, 22, 29, BROWN)
    c.rect(0, 29, 32, 32, GREEN)


def rain(c):
    for cx, cy, r in ((11, 11, 6), (19, 9, 7), (24, 13, 5), (15, 14, 5)):
        c.circle(cx, cy, r, SILVER)
    for x, y in ((9, 22), (16, 25), (23, 21), (12, 29), (20, 30)):
        c.polygon([(x, y - 3), (x + 1.8, y + 0.8), (x, y + 2), (x - 1.8, y + 0.8)], BLUE)


def blue_window(c):
    c.rect(5, 4, 27, 28, BROWN)
    c.rect(7, 6, 15.2, 15.2, BLUE)
    c.rect(16.8, 6, 25, 15.2, BLUE)
    c.rect(7, 16.8, 15.2, 26, BLUE)
    c.rect(16.8, 16.8, 25, 26, BLUE)
    c.circle(21, 10, 3, (250, 240, 180))
    c.circle(22.2, 9.2, 2.4, BLUE)


def coffee(c):
    c.rect(7, 14, 22, 27, WHITE)
    c.ring(23, 19.5, 3.5, 1.8, WHITE)
    c.rect(8.5, 15.5, 20.5, 18, BROWN)
    c.ellipse(15, 28.5, 11, 1.8, SILVER)
    for x in (11, 15, 19):
        c.line(x, 11, x + 1.5, 7, 1.2, GREY)
        c.line(x + 1.5, 7, x, 3, 1.2, GREY)


def lighthouse(c):
    c.rect(0, 0, 32, 32, NAVY)
    c.polygon([(16, 9), (3, 3), (3, 12)], (250, 240, 150), alpha=0.6)
    c.polygon([(16, 9), (29, 3), (29, 12)], (250, 240, 150), alpha=0.6)
    c.polygon([(12, 12), (20, 12), (22, 28), (10, 28)], WHITE)
    c.polygon([(11.4, 17), (20.6, 17), (21.1, 21), (10.9, 21)], RED)
    c.rect(12.5, 6, 19.5, 12, GOLD)
    c.polygon([(11.5, 6), (16, 2), (20.5, 6)], RED)
    c.rect(0, 28, 32, 32, BLUE)


def city(c):
    c.rect(0, 0, 32, 32, (30, 20, 70))
    for x0, x1, top in ((2, 9, 12), (10, 16, 6), (17, 23, 15), (24, 30, 9)):
        c.rect(x0, top, x1, 32, (60, 60, 90))
        for y in range(top + 2, 30, 4):
            for x in range(x0 + 1, x1 - 1, 3):
                if (x * 7 + y * 3) % 5:
                    c.rect(x, y, x + 1.4, y + 1.6, GOLD)


def lantern(c):
    c.line(16, 0, 16, 6, 1, BLACK)
    c.rect(12, 5, 20, 7, BLACK)
    c.ellipse(16, 16, 10, 9, RED)
    for dx in (-6, 0, 6):
        c.ellipse(16 + dx * 0.5, 16, max(1.0, 10 - abs(dx) * 1.4), 9, (230, 80, 60), alpha=0.5)
    c.rect(12, 25, 20, 27, BLACK)
    c.line(16, 27, 16, 31, 1.5, GOLD)


def drum(c):
    c.rect(5, 13, 27, 26, RED)
    c.ellipse(16, 26, 11, 3.5, RED)
    c.ellipse(16, 13, 11, 3.5, (240, 230, 210))
    for x in (8, 13, 19, 24):
        c.line(x, 15, x + 3, 25, 1, GOLD)
    c.line(4, 2, 14, 11, 1.8, BROWN)
    c.line(28, 2, 18, 11, 1.8, BROWN)


def sun(c):
    for i in range(12):
        a = i * math.pi / 6
        c.line(16 + 9 * math.cos(a), 16 + 9 * math.sin(a), 16 + 14 * math.cos(a),
               16 + 14 * math.sin(a), 2, ORANGE)
    c.circle(16, 16, 8, GOLD)
    c.circle(13, 14, 1.2, BROWN)
    c.circle(19, 14, 1.2, BROWN)
    c.line(12.5, 18.5, 16, 20.5, 1.2, BROWN)
    c.line(16, 20.5, 19.5, 18.5, 1.2, BROWN)


def moon(c):
    c.rect(0, 0, 32, 32, NAVY)
    c.circle(13, 15, 10, (250, 240, 180))
    c.circle(18, 12, 9, NAVY)
    c.note(23, 25, 3.2, WHITE)


def guitar(c):
    c.line(17, 16, 29, 3, 3, BROWN)
    c.rect(26, 1, 31, 5, (60, 35, 15))
    c.circle(12, 22, 8, ORANGE)
    c.circle(17, 16, 6, ORANGE)
    c.circle(14, 19, 2.6, (60, 35, 15))
    c.line(7, 27, 10, 24, 2, (60, 35, 15))


def stage_mic(c):
    c.polygon([(16, 0), (3, 32), (29, 32)], (255, 245, 190), alpha=0.7)
    microphone(c, 16, 9, 1.0)


# name -> (drawing, background, 8-bit): 8-bit icons are drawn without anti-aliasing.
ICONS = {
    "fire": (campfire, (255, 240, 215), False),
    "jazz": (beamed_notes, (255, 250, 225), False),
    "stage": (stage_mic, (90, 40, 110), False),
    "road": (road, WHITE, True),
    "sunrise": (sunrise, WHITE, False),
    "stars": (night_stars, NAVY, True),
    "house": (house, (200, 230, 255), False),
    "rain": (rain, (225, 235, 245), True),
    "window": (blue_window, (245, 235, 215), False),
    "coffee": (coffee, (120, 60, 40), False),
    "lighthouse": (lighthouse, NAVY, False),
    "city": (city, NAVY, True),
    "lantern": (lantern, (255, 245, 220), False),
    "drum": (drum, (255, 250, 230), True),
    "sun": (sun, (200, 230, 255), False),
    "moon": (moon, NAVY, False),
    "guitar": (guitar, (235, 250, 235), True),
}


# Outside the rounded tile: the bottom-left pixel has this colour, so a button glyph is
# transparent there and only there.
KEY = (255, 0, 255)


def icon(name):
    draw, background, flat = ICONS[name]
    canvas = Canvas(32, 32, background, samples=1 if flat else 4)
    draw(canvas)
    radius = 6
    for y in range(32):
        for x in range(32):
            dx = max(radius - x - 0.5, x + 0.5 - (32 - radius), 0)
            dy = max(radius - y - 0.5, y + 0.5 - (32 - radius), 0)
            if math.hypot(dx, dy) > radius:
                canvas.pixels[y][x] = KEY
    return canvas, flat


def song_fallback():
    """The glyph of a song button without an icon: a grey quaver."""
    canvas = Canvas(16, 16, (192, 192, 192), samples=1)
    canvas.note(6, 12, 2.6, (64, 64, 64))
    return canvas


def theme_fallback():
    """The glyph of a theme button without an icon: a record."""
    canvas = Canvas(16, 16, (192, 192, 192), samples=1)
    canvas.circle(8, 8, 6.5, (40, 40, 40))
    canvas.circle(8, 8, 2.5, (200, 40, 40))
    canvas.circle(8, 8, 0.8, (192, 192, 192))
    return canvas
