#!/usr/bin/env python3
"""Draws the chooser's icon (kvscrset.ico): a monitor showing a night sky,
with the arrows of a change. Uses the drawing helpers of scripts/make_icons.py;
run it again after changing the drawing; the .ico file is committed."""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'scripts'))
from make_icons import Canvas, ico_bytes  # noqa: E402


def draw(c):
    c.round_rect(0.5, 1.5, 15.5, 12.5, 1.2, '#3a3f4a')     # case
    c.rect(1.6, 2.6, 14.4, 11.4, '#16225a')                 # screen
    c.circle(11.5, 5.2, 1.6, '#ffe27a')                     # moon
    c.circle(12.2, 4.7, 1.3, '#16225a')
    for x, y in ((3.5, 4.0), (6.0, 6.2), (4.6, 8.8), (8.4, 3.8)):
        c.circle(x, y, 0.55, '#ffffff')
    c.rect(6.5, 12.5, 9.5, 14.0, '#3a3f4a')                 # stand
    c.rect(4.5, 14.0, 11.5, 15.2, '#3a3f4a')
    c.line(8.2, 9.6, 13.0, 9.6, 1.0, '#7fd46a')             # change arrow
    c.polygon([(13.8, 9.6), (12.2, 8.3), (12.2, 10.9)], '#7fd46a')


def main():
    images = []
    for size in (16, 32, 48):
        c = Canvas(size, size)
        draw(c)
        images.append((size, size, c.pixels()))
    with open(os.path.join(here, 'kvscrset.ico'), 'wb') as f:
        f.write(ico_bytes(images))


if __name__ == '__main__':
    main()
