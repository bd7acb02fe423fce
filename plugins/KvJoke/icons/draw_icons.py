#!/usr/bin/env python3
"""Draws the joke's menu icon with the program's icon helpers
(scripts/make_icons.py). Run it again after changing the drawing; the .ico
file is committed."""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', '..', 'scripts'))
import make_icons as mi  # noqa: E402


def joke(c):
    """A winking face under a party hat."""
    c.circle(8, 10.3, 5.6, '#b8860b')
    c.circle(8, 10.3, 4.9, '#ffd54f')
    c.circle(6.0, 9.2, 0.8, '#3c2a00')
    c.line(9.3, 9.3, 11.2, 9.3, 0.9, '#3c2a00')
    c.fill(lambda u, v: 2.0 ** 2 <= (u - 8) ** 2 + (v - 11.0) ** 2 <= 2.9 ** 2 and v >= 11.6,
           '#3c2a00', (4, 11, 12, 15))
    c.polygon([(4.4, 5.6), (10.4, 5.0), (9.4, 0.6)], mi.RED)
    c.polygon([(6.1, 3.6), (9.8, 3.0), (10.1, 3.9), (5.5, 4.6)], '#ffffff')
    c.circle(9.4, 0.9, 0.9, mi.BLUE)


def main():
    images = []
    for size in (16, 32):
        c = mi.Canvas(size, size)
        joke(c)
        images.append((size, size, c.pixels()))
    with open(os.path.join(here, 'joke.ico'), 'wb') as f:
        f.write(mi.ico_bytes(images))


if __name__ == '__main__':
    main()
