#!/usr/bin/env python3
"""Draws KvReminder's icons (res/icons/*.ico) with the project's icon canvas.

Run it again after changing a drawing; the .ico files are committed.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', '..', 'scripts'))
from make_icons import Canvas, ico_bytes  # noqa: E402

NOTE, NOTE_EDGE = '#ffe57f', '#c9a100'
INK, RED, GREEN, BLUE = '#5f6368', '#d93025', '#2e9e3e', '#1a73e8'


def sticky(c, x0=1.5, y0=1.5, x1=13.5, y1=14.5):
    c.polygon([(x0, y0), (x1, y0), (x1, y1 - 3), (x1 - 3, y1), (x0, y1)], NOTE_EDGE)
    c.polygon([(x0 + 0.8, y0 + 0.8), (x1 - 0.8, y0 + 0.8), (x1 - 0.8, y1 - 3.2),
               (x1 - 3.2, y1 - 0.8), (x0 + 0.8, y1 - 0.8)], NOTE)
    c.polygon([(x1 - 0.8, y1 - 3.2), (x1 - 3.2, y1 - 3.2), (x1 - 3.2, y1 - 0.8)], '#e0b400')
    for row in (4.5, 7, 9.5):
        c.rect(x0 + 2, row, x1 - 2.5, row + 1, INK)


def new_note(c):
    sticky(c, 0.5, 0.5, 12.5, 13.5)
    c.circle(12, 12, 4, GREEN)
    c.rect(9.6, 11.3, 14.4, 12.7, '#ffffff')
    c.rect(11.3, 9.6, 12.7, 14.4, '#ffffff')


def bell(c):
    c.circle(8, 5.5, 4.8, '#f9ab00')
    c.rect(3.2, 5.5, 12.8, 11.5, '#f9ab00')
    c.polygon([(1.5, 12.8), (3.2, 10.5), (12.8, 10.5), (14.5, 12.8)], '#f9ab00')
    c.rect(1.5, 12.2, 14.5, 13.2, '#b06000')
    c.circle(8, 14.2, 1.6, '#b06000')
    c.rect(7.3, 0.3, 8.7, 1.6, '#b06000')
    c.rect(5, 4, 6.2, 10, '#fde293')


def notes(c):
    sticky(c, 3.5, 0.5, 15.5, 11.5)
    sticky(c, 0.5, 3.5, 12.5, 15.5)


ICONS = [('newnote', new_note), ('menu300', bell), ('menu301', notes)]


def main():
    out = os.path.join(HERE, 'icons')
    os.makedirs(out, exist_ok=True)
    for name, drawing in ICONS:
        c = Canvas(16, 16)
        drawing(c)
        with open(os.path.join(out, name + '.ico'), 'wb') as f:
            f.write(ico_bytes([(16, 16, c.pixels())]))


if __name__ == '__main__':
    main()
