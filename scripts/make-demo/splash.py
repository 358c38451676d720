"""The splash picture: a stage with curtains, a spotlight, a microphone and notes."""

import math
import random

import icons
from pictures import Canvas

WIDTH, HEIGHT = 284, 357


def gradient(canvas, top, bottom):
    for y in range(canvas.height):
        t = y / (canvas.height - 1)
        color = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        canvas.pixels[y] = [color] * canvas.width


def curtain(c, left):
    """A red drape hanging from the top, gathered towards the floor, with folds."""
    sign = 1 if left else -1
    edge = 0 if left else WIDTH
    for fold in range(4):
        x_top = edge + sign * (14 + fold * 16)
        shade = (150 - fold * 18, 15, 30 + fold * 4)
        c.polygon([(edge, 0), (x_top + sign * 12, 0), (x_top - sign * 6, 300), (edge, 300)], shade)
    c.polygon([(edge, 0), (edge + sign * 34, 0), (edge + sign * 22, 300), (edge, 300)], (110, 8, 25))


def scene():
    rng = random.Random(1251)
    c = Canvas(WIDTH, HEIGHT, (0, 0, 0), samples=2)
    gradient(c, (8, 10, 50), (60, 20, 90))
    for _ in range(40):
        x, y = rng.uniform(40, WIDTH - 40), rng.uniform(70, 220)
        c.circle(x, y, rng.uniform(0.5, 1.3), (255, 255, 230), alpha=rng.uniform(0.4, 0.9))
    # The floor of the stage and its boards.
    c.ellipse(WIDTH / 2, 330, 190, 62, (110, 60, 25))
    c.ellipse(WIDTH / 2, 326, 170, 50, (140, 80, 35))
    for k in range(-5, 6):
        c.line(WIDTH / 2 + k * 8, 278, WIDTH / 2 + k * 30, HEIGHT, 1, (100, 55, 20), alpha=0.7)
    # The spotlight.
    c.polygon([(WIDTH / 2 - 10, 0), (WIDTH / 2 + 10, 0), (WIDTH / 2 + 80, 322), (WIDTH / 2 - 80, 322)],
              (255, 245, 190), alpha=0.22)
    c.ellipse(WIDTH / 2, 322, 84, 18, (255, 240, 170), alpha=0.35)
    curtain(c, True)
    curtain(c, False)
    c.rect(0, 0, WIDTH, 16, (120, 10, 30))
    for x in range(0, WIDTH, 12):
        c.ellipse(x + 6, 16, 7, 5, (150, 20, 40))
    icons.microphone(c, WIDTH / 2, 190, scale=5.2)
    for x, y, size in ((78, 200, 7), (204, 176, 8), (96, 128, 5.5), (190, 245, 6), (62, 262, 5)):
        c.note(x, y, size, icons.GOLD)
    return c
