#!/usr/bin/env python3
"""Draws the folder monitor's button images with the program's icon helpers
(scripts/make_icons.py). Run it again after changing a drawing; the .ico
files are committed."""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', '..', 'scripts'))
import make_icons as mi  # noqa: E402


def draw(name, c):
    if name == 'browse':
        mi.folder(c, open_=True)
    elif name == 'add':
        mi.folder(c)
        mi.plus_badge(c)
    elif name == 'remove':
        mi.folder(c)
        mi.minus_badge(c)


def main():
    for name in ('browse', 'add', 'remove'):
        c = mi.Canvas(16, 16)
        draw(name, c)
        with open(os.path.join(here, name + '.ico'), 'wb') as f:
            f.write(mi.ico_bytes([(16, 16, c.pixels())]))


if __name__ == '__main__':
    main()
