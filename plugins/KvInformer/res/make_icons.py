#!/usr/bin/env python3
"""Draws the informer's menu icons (icons/menu310.ico .. menu313.ico) with the
project's icon canvas. Run it again after changing a drawing; the .ico files
are committed."""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', '..', 'scripts'))
from make_icons import Canvas, ico_bytes, landscape, badge, BLUE, GREEN, GREY, SUN  # noqa: E402


def badge_on_picture(c):
    """Drawing on or off: a picture with a small badge on it."""
    landscape(c, 1, 1, 15, 13)
    c.round_rect(7.5, 8.5, 15.5, 15.5, 1.2, '#ffffff')
    c.round_rect(8, 9, 15, 15, 1.0, '#e8710a')
    c.rect(9.2, 11.2, 13.8, 12.4, '#ffffff')


def update(c):
    """Fetch again: a picture with a round arrow badge."""
    landscape(c, 1, 1, 13, 11)
    badge(c, GREEN)
    c.ring(12.5, 12.5, 2.2, 0.9, '#ffffff')
    c.polygon([(12.5, 9.2), (15, 10.6), (12.5, 11.8)], '#ffffff')


def weather(c):
    """The forecast: a sun behind a cloud."""
    c.circle(5.5, 5.5, 3.6, SUN)
    for cx, cy, r in ((6.5, 10.5, 3.2), (10, 8.5, 4), (13, 11, 2.8)):
        c.circle(cx, cy, r + 0.6, GREY)
    c.rect(6.5, 10.5, 13, 14.4, GREY)
    for cx, cy, r in ((6.5, 10.5, 3.2), (10, 8.5, 4), (13, 11, 2.8)):
        c.circle(cx, cy, r, '#ffffff')
    c.rect(6.5, 10.5, 13, 13.8, '#ffffff')


def index(c):
    """The forecast page: a page of two frames."""
    c.rect(1.5, 1.5, 14.5, 14.5, GREY)
    c.rect(2.5, 2.5, 13.5, 7.6, '#ffffff')
    c.rect(2.5, 8.4, 13.5, 13.5, '#ffffff')
    c.circle(5, 5, 1.6, SUN)
    c.rect(7.5, 4.4, 12.5, 5.6, BLUE)
    c.rect(4, 10.4, 12, 11.6, BLUE)


def main():
    out = os.path.join(here, 'icons')
    os.makedirs(out, exist_ok=True)
    for number, drawing in ((310, badge_on_picture), (311, update), (312, weather), (313, index)):
        c = Canvas(16, 16)
        drawing(c)
        with open(os.path.join(out, 'menu%d.ico' % number), 'wb') as f:
            f.write(ico_bytes([(16, 16, c.pixels())]))


if __name__ == '__main__':
    main()
