#!/usr/bin/env python3
"""Draws the program's icons (host/res/icons/*.ico) from simple shapes.

Shapes are given on a 16-unit grid and rendered with 4x4 supersampling at
each icon size, so the 16x16 images stay crisp and the larger ones smooth.
Run it again after changing a drawing; the .ico files are committed.
"""
import math
import os
import struct
import sys
import zlib

SS = 4  # supersampling per axis


class Canvas:
    def __init__(self, width, height, units_w=16.0, units_h=16.0):
        self.w, self.h = width, height
        self.sx = width * SS / units_w
        self.sy = height * SS / units_h
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * (width * SS) for _ in range(height * SS)]

    # -- coverage helpers -------------------------------------------------
    def _blend(self, x, y, colour):
        r, g, b, a = colour
        if a <= 0:
            return
        dr, dg, db, da = self.px[y][x]
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        self.px[y][x] = ((r * a + dr * da * (1 - a)) / oa,
                         (g * a + dg * da * (1 - a)) / oa,
                         (b * a + db * da * (1 - a)) / oa, oa)

    def fill(self, inside, colour, box=None):
        """Paints every sample whose centre (in units) satisfies inside(u, v)."""
        colour = to_rgba(colour)
        x0, y0, x1, y1 = 0, 0, self.w * SS, self.h * SS
        if box:
            x0 = max(0, int(box[0] * self.sx) - 1)
            y0 = max(0, int(box[1] * self.sy) - 1)
            x1 = min(self.w * SS, int(box[2] * self.sx) + 2)
            y1 = min(self.h * SS, int(box[3] * self.sy) + 2)
        for y in range(y0, y1):
            v = (y + 0.5) / self.sy
            for x in range(x0, x1):
                u = (x + 0.5) / self.sx
                if inside(u, v):
                    self._blend(x, y, colour)

    # -- primitives (units) -----------------------------------------------
    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda u, v: x0 <= u < x1 and y0 <= v < y1, colour, (x0, y0, x1, y1))

    def frame(self, x0, y0, x1, y1, colour, t=1.0):
        self.fill(lambda u, v: x0 <= u < x1 and y0 <= v < y1 and not (x0 + t <= u < x1 - t and y0 + t <= v < y1 - t),
                  colour, (x0, y0, x1, y1))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(u, v):
            if not (x0 <= u < x1 and y0 <= v < y1):
                return False
            cx = min(max(u, x0 + r), x1 - r)
            cy = min(max(v, y0 + r), y1 - r)
            return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
        self.fill(inside, colour, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, colour):
        self.fill(lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r, colour, (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r, t, colour):
        self.fill(lambda u, v: (r - t) ** 2 <= (u - cx) ** 2 + (v - cy) ** 2 <= r * r, colour,
                  (cx - r, cy - r, cx + r, cy + r))

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        half = width / 2.0

        def inside(u, v):
            t = max(0.0, min(1.0, ((u - x0) * dx + (v - y0) * dy) / length2))
            px, py = x0 + t * dx - u, y0 + t * dy - v
            return px * px + py * py <= half * half
        self.fill(inside, colour, (min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half))

    def polygon(self, points, colour):
        def inside(u, v):
            hit = False
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if (ay > v) != (by > v):
                    if u < ax + (v - ay) * (bx - ax) / (by - ay):
                        hit = not hit
            return hit
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    # -- output -------------------------------------------------------------
    def pixels(self):
        """BGRA rows, top row first, averaged over the supersamples."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r = g = b = a = 0.0
                for j in range(SS):
                    for i in range(SS):
                        pr, pg, pb, pa = self.px[y * SS + j][x * SS + i]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                n = SS * SS
                if a > 0:
                    r, g, b = r / a, g / a, b / a
                row.append((int(round(b * 255)), int(round(g * 255)), int(round(r * 255)), int(round(a / n * 255))))
            rows.append(row)
        return rows


def to_rgba(colour):
    if isinstance(colour, str):
        colour = colour.lstrip('#')
        alpha = 1.0
        if len(colour) == 8:
            alpha = int(colour[6:8], 16) / 255.0
        return (int(colour[0:2], 16) / 255.0, int(colour[2:4], 16) / 255.0, int(colour[4:6], 16) / 255.0, alpha)
    return colour


def png_bytes(width, height, rows):
    """A PNG of BGRA rows, as icons of 256 pixels are stored since Vista."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    raw = b''.join(b'\0' + bytes(c for b, g, r, a in row for c in (r, g, b, a)) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico_bytes(images):
    """images: list of (width, height, rows) with BGRA rows, top first."""
    header = struct.pack('<HHH', 0, 1, len(images))
    entries = b''
    blobs = b''
    offset = 6 + 16 * len(images)
    for width, height, rows in images:
        if width >= 256:
            blob = png_bytes(width, height, rows)
            entries += struct.pack('<BBBBHHII', 0, 0, 0, 0, 1, 32, len(blob), offset)
            blobs += blob
            offset += len(blob)
            continue
        xor = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
        mask_stride = ((width + 31) // 32) * 4
        mask = b''
        for row in reversed(rows):
            bits = 0
            line = bytearray(mask_stride)
            for x, px in enumerate(row):
                if px[3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(line)
            del bits
        info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + xor + mask
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


# -- the drawings (16 x 16 units) ---------------------------------------------

SKY, SKY_DARK = '#4aa3f0', '#1f6fc2'
HILL, HILL_DARK = '#3fae4a', '#237a2c'
SUN = '#ffc93c'
FRAME = '#5b4632'
PAPER, PAPER_EDGE = '#ffffff', '#7b8794'
FOLDER, FOLDER_DARK = '#f2c14e', '#b58419'
GREEN, RED, BLUE, GREY = '#2e9e3e', '#d93025', '#1a73e8', '#5f6368'


def landscape(c, x0=1, y0=2, x1=15, y1=14):
    """A framed picture: sky, sun, two hills."""
    c.rect(x0, y0, x1, y1, FRAME)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, SKY)
    c.circle(x1 - 4.2, y0 + 3.4, 1.7, SUN)
    c.polygon([(x0 + 1, y1 - 1), (x0 + 1, y1 - 4.5), (x0 + 5, y0 + 5.5), (x0 + 9, y1 - 1)], HILL_DARK)
    c.polygon([(x0 + 4, y1 - 1), (x0 + 9, y1 - 6), (x1 - 1, y1 - 3.5), (x1 - 1, y1 - 1)], HILL)


def pause_badge(c):
    c.round_rect(8, 8, 16, 16, 1.5, '#ffffff')
    c.round_rect(8.5, 8.5, 15.5, 15.5, 1.2, '#e8710a')
    c.rect(10, 10, 11.5, 14, '#ffffff')
    c.rect(12.5, 10, 14, 14, '#ffffff')


def saver_off_badge(c):
    c.circle(4, 12, 3.9, '#ffffff')
    c.circle(4, 12, 3.3, RED)
    c.line(2.2, 13.8, 5.8, 10.2, 1.2, '#ffffff')


def page(c, x0=3, y0=1, x1=12, y1=15):
    c.polygon([(x0, y0), (x1 - 3, y0), (x1, y0 + 3), (x1, y1), (x0, y1)], PAPER_EDGE)
    c.polygon([(x0 + 1, y0 + 1), (x1 - 3.4, y0 + 1), (x1 - 1, y0 + 3.4), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)], PAPER)
    c.polygon([(x1 - 3, y0), (x1, y0 + 3), (x1 - 3, y0 + 3)], '#c7ced6')


def folder(c, open_=False):
    c.polygon([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 13), (1, 13)], FOLDER_DARK)
    if open_:
        c.polygon([(2.5, 7), (16, 7), (14, 13), (1, 13)], FOLDER)
    else:
        c.rect(1.8, 5.5, 14.2, 12.2, FOLDER)


def badge(c, colour):
    """A round 7-pixel badge in the lower right corner, ringed in white."""
    c.circle(12.5, 12.5, 4.2, '#ffffff')
    c.circle(12.5, 12.5, 3.5, colour)


def plus_badge(c, colour=GREEN):
    badge(c, colour)
    c.rect(10, 12, 15, 13, '#ffffff')
    c.rect(12, 10, 13, 15, '#ffffff')


def minus_badge(c):
    badge(c, RED)
    c.rect(10, 12, 15, 13, '#ffffff')


def cross_badge(c):
    badge(c, RED)
    c.line(10.6, 10.6, 14.4, 14.4, 1.15, '#ffffff')
    c.line(14.4, 10.6, 10.6, 14.4, 1.15, '#ffffff')


def list_lines(c, x0=1, y0=2, x1=13, y1=14):
    c.rect(x0, y0, x1, y1, PAPER_EDGE)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAPER)
    for i, y in enumerate(range(int(y0) + 3, int(y1) - 1, 3)):
        c.rect(x0 + 2, y - 0.6, x0 + 3.4, y + 0.8, BLUE)
        c.rect(x0 + 4.5, y - 0.4, x1 - 2, y + 0.6, GREY)


def draw(name):
    def icon(c):
        if name == 'main':
            landscape(c)
        elif name == 'paused':
            landscape(c)
            pause_badge(c)
        elif name == 'saveroff':
            landscape(c)
            saver_off_badge(c)
        elif name == 'pausedsaveroff':
            landscape(c)
            saver_off_badge(c)
            pause_badge(c)
        elif name == 'addfolder':
            folder(c)
            plus_badge(c)
        elif name == 'removefolder':
            folder(c)
            minus_badge(c)
        elif name == 'addfiles':
            page(c, 1, 1, 10, 14)
            c.rect(3, 6, 8, 10, SKY)
            c.polygon([(3, 10), (5, 7.5), (8, 10)], HILL)
            plus_badge(c)
        elif name == 'removefiles':
            page(c, 1, 1, 10, 14)
            c.rect(3, 6, 8, 10, SKY)
            c.polygon([(3, 10), (5, 7.5), (8, 10)], HILL)
            minus_badge(c)
        elif name == 'removemissing':
            page(c, 1, 1, 10, 14)
            c.line(3, 5, 8, 5, 1.0, '#c7ced6')
            c.line(3, 8, 8, 8, 1.0, '#c7ced6')
            badge(c, '#e8710a')
            c.rect(12, 10, 13, 13, '#ffffff')
            c.rect(12, 14, 13, 15, '#ffffff')
        elif name == 'clearlist':
            list_lines(c)
            c.polygon([(9, 15), (15.5, 8.5), (16, 9), (16, 10.5), (11, 15.5)], '#c0392b')
            c.polygon([(7, 13), (13.5, 6.5), (15.5, 8.5), (9, 15)], '#f4a6b5')
        elif name == 'removerow':
            list_lines(c, 1, 1, 13, 13)
            c.rect(2, 6.5, 12, 9, '#fde2e1')
            minus_badge(c)
        elif name == 'deletefile':
            c.rect(4, 4, 12, 15, GREY)
            c.rect(5, 5, 11, 14, '#dadce0')
            for x in (6.3, 7.6, 8.9):
                c.rect(x, 6, x + 0.8, 13, '#9aa0a6')
            c.rect(2.5, 2.5, 13.5, 4, GREY)
            c.rect(6, 1, 10, 2.6, GREY)
        elif name == 'openpicture':
            landscape(c, 1, 2, 15, 13)
            c.polygon([(9, 16), (9, 9), (14.5, 14), (12, 14), (13.4, 16.5)], '#202124')
            c.polygon([(9.7, 14.6), (9.7, 10.6), (13, 13.5), (11.3, 13.5)], '#ffffff')
        elif name == 'openfolder':
            folder(c, open_=True)
        elif name == 'apply':
            pass
        elif name == 'newlist':
            list_lines(c)
            plus_badge(c)
        elif name == 'renamelist':
            list_lines(c)
            c.line(8, 15, 15, 8, 2.6, '#202124')
            c.line(8.4, 14.6, 14.6, 8.4, 1.6, '#fbbc04')
            c.polygon([(6.8, 16), (7.3, 13.7), (9.3, 15.7)], '#202124')
        elif name == 'deletelist':
            list_lines(c)
            cross_badge(c)
        elif name == 'addentry':
            c.round_rect(0.5, 4, 15.5, 13, 1.5, GREY)
            c.round_rect(1.3, 4.8, 14.7, 12.2, 1.0, '#f1f3f4')
            for row, count in ((6, 5), (8.5, 5)):
                for k in range(count):
                    c.rect(2.3 + k * 2.5, row, 3.9 + k * 2.5, row + 1.4, GREY)
            c.rect(4.5, 11, 11.5, 11.9, GREY)
            plus_badge(c, BLUE)
        elif name == 'tree':
            c.rect(1, 1.5, 6, 5, BLUE)
            c.rect(3, 5, 4, 13.5, GREY)
            c.rect(3, 8.5, 8, 9.5, GREY)
            c.rect(3, 12.5, 8, 13.5, GREY)
            c.rect(8, 7, 15, 11, FOLDER)
            c.rect(8, 11, 15, 15, FOLDER)
            c.rect(8, 10.6, 15, 11.4, '#ffffff')
        elif name == 'marker':
            # Stretched over the placement window, of which only a frame and
            # a small disc at the centre show: a plain, vivid red.
            c.rect(0, 0, 16, 16, '#e53935')
            c.circle(8, 8, 1.2, '#ffffff')
        elif name == 'browse':
            c.round_rect(1, 6.5, 4, 9.5, 1.4, GREY)
            c.round_rect(6.5, 6.5, 9.5, 9.5, 1.4, GREY)
            c.round_rect(12, 6.5, 15, 9.5, 1.4, GREY)
        else:
            raise SystemExit('unknown icon ' + name)
    return icon


def menu_icon(c, name):
    """Icons of the main menu items (300 + item id)."""
    if name == 'm_autostart':
        c.ring(8, 8.5, 6.5, 1.6, GREEN)
        c.rect(6.4, 0.5, 9.6, 4.2, '#ffffff')
        c.rect(7.2, 1, 8.8, 8.5, GREEN)
    elif name == 'm_settings':
        for k in range(8):
            a = k * math.pi / 4
            c.line(8, 8, 8 + 7 * math.cos(a), 8 + 7 * math.sin(a), 2.6, GREY)
        c.circle(8, 8, 5.2, GREY)
        c.circle(8, 8, 2.2, '#ffffff')
    elif name == 'm_lists':
        list_lines(c, 1.5, 1.5, 14.5, 14.5)
    elif name == 'm_period':
        c.circle(8, 8, 7, '#1a73e8')
        c.circle(8, 8, 5.7, '#ffffff')
        c.line(8, 8, 8, 3.8, 1.4, '#202124')
        c.line(8, 8, 11, 9.6, 1.4, '#202124')
    elif name == 'm_previous':
        c.polygon([(1.5, 8), (8, 2), (8, 5.5), (14.5, 5.5), (14.5, 10.5), (8, 10.5), (8, 14)], BLUE)
    elif name == 'm_next':
        c.polygon([(14.5, 8), (8, 2), (8, 5.5), (1.5, 5.5), (1.5, 10.5), (8, 10.5), (8, 14)], BLUE)
    elif name == 'm_calendar':
        c.rect(1.5, 2.5, 14.5, 15, GREY)
        c.rect(2.5, 6, 13.5, 14, '#ffffff')
        c.rect(1.5, 2.5, 14.5, 6, RED)
        c.rect(4, 1, 5.5, 4, '#202124')
        c.rect(10.5, 1, 12, 4, '#202124')
        for row in (7.5, 10.5):
            for col in (3.5, 6.5, 9.5, 12):
                c.rect(col, row, col + 1.6, row + 1.6, GREY)
    elif name == 'm_hideicons':
        c.rect(1, 2, 15, 13, '#3c4043')
        c.rect(2, 3, 14, 12, SKY)
        c.rect(3.5, 4.5, 6.5, 7.5, '#ffffff')
        c.rect(3.5, 8.5, 6.5, 11, '#ffffff')
        c.line(2, 14.5, 14, 1.5, 1.6, RED)
    elif name in ('m_saversettings', 'm_saverconfigure', 'm_savers', 'm_runsaver', 'm_monitoroff'):
        c.round_rect(0.5, 1, 15.5, 12, 1, '#3c4043')
        screen = '#0b1a3a' if name != 'm_monitoroff' else '#000000'
        c.rect(1.8, 2.3, 14.2, 10.7, screen)
        c.rect(6.5, 12, 9.5, 13.5, '#3c4043')
        c.rect(4, 13.5, 12, 15, '#3c4043')
        if name == 'm_savers':
            for x, y in ((4, 4), (11, 5), (7, 8), (12, 9), (3.5, 8.5)):
                c.circle(x, y, 0.9, '#fdd663')
        elif name == 'm_runsaver':
            c.polygon([(6, 3.5), (11.5, 6.5), (6, 9.5)], GREEN)
        elif name == 'm_saversettings':
            c.circle(8, 6.5, 3, '#fdd663')
            c.circle(9.3, 5.5, 2.4, screen)
        elif name == 'm_saverconfigure':
            c.line(4, 9.5, 10, 4.5, 1.6, '#dadce0')
            c.circle(10.5, 4, 2, '#dadce0')
            c.circle(11.2, 3.3, 0.9, screen)
        else:
            c.circle(11, 5, 2.2, '#fdd663')
            c.circle(12.2, 4.2, 1.9, '#000000')
    elif name == 'm_lock':
        c.ring(8, 6.5, 4.5, 1.6, GREY)
        c.rect(3.5, 6.5, 12.5, 8, '#ffffff')
        c.round_rect(2.5, 7, 13.5, 15, 1.2, '#f9ab00')
        c.circle(8, 10.5, 1.3, '#5f3700')
        c.rect(7.4, 10.5, 8.6, 13, '#5f3700')
    elif name == 'm_pause':
        c.round_rect(1, 1, 15, 15, 2.5, '#e8710a')
        c.rect(5, 4, 7, 12, '#ffffff')
        c.rect(9, 4, 11, 12, '#ffffff')
    elif name == 'm_language':
        c.circle(8, 8, 7, BLUE)
        c.ring(8, 8, 7, 1, '#0b57d0')
        inside = lambda u, v: (u - 8) ** 2 + (v - 8) ** 2 < 5.6 ** 2
        c.fill(lambda u, v: inside(u, v) and (abs(v - 8) < 0.5 or abs(v - 4.6) < 0.45 or abs(v - 11.4) < 0.45),
               '#ffffff', (1, 1, 15, 15))
        c.fill(lambda u, v: inside(u, v) and abs(((u - 8) / 3.2) ** 2 + ((v - 8) / 6.3) ** 2 - 1) < 0.16,
               '#ffffff', (1, 1, 15, 15))
        c.fill(lambda u, v: inside(u, v) and abs(u - 8) < 0.5, '#ffffff', (1, 1, 15, 15))
    elif name == 'm_about':
        c.circle(8, 8, 7, BLUE)
        c.circle(8, 4.6, 1.3, '#ffffff')
        c.rect(7, 6.8, 9, 12.5, '#ffffff')
    elif name == 'm_exit':
        c.round_rect(1, 1, 15, 15, 2.5, RED)
        c.line(4.8, 4.8, 11.2, 11.2, 2.0, '#ffffff')
        c.line(11.2, 4.8, 4.8, 11.2, 2.0, '#ffffff')
    else:
        raise SystemExit('unknown menu icon ' + name)


MENU_ICONS = ['m_autostart', 'm_settings', 'm_lists', 'm_period', 'm_previous', 'm_next', 'm_calendar',
              'm_hideicons', 'm_saversettings', 'm_saverconfigure', 'm_savers', 'm_runsaver', 'm_lock',
              'm_monitoroff', 'm_pause', 'm_language', 'm_about', 'm_exit']


def draw_apply(c):
    """32 x 18: a monitor showing a picture and a green arrow into it."""
    c.round_rect(6, 0.5, 26, 14, 1.2, '#3c4043')
    c.rect(7.5, 2, 24.5, 12.5, SKY)
    c.circle(21, 4.6, 1.5, SUN)
    c.polygon([(7.5, 12.5), (7.5, 9), (12, 6), (17, 12.5)], HILL_DARK)
    c.polygon([(11, 12.5), (17, 7.5), (24.5, 10.5), (24.5, 12.5)], HILL)
    c.rect(14, 14, 18, 16, '#3c4043')
    c.rect(10.5, 16, 21.5, 17.5, '#3c4043')
    c.polygon([(0.5, 5.5), (4, 5.5), (4, 3.5), (8.2, 7.2), (4, 11), (4, 9), (0.5, 9)], '#ffffff')
    c.polygon([(1.2, 6.2), (4.7, 6.2), (4.7, 5), (7.2, 7.2), (4.7, 9.4), (4.7, 8.3), (1.2, 8.3)], GREEN)


# Small icons come in the sizes Windows asks for at 96, 120, 144 and 192 DPI,
# so that none is stretched on a larger display.
SMALL = (16, 20, 24, 32)

ICONS = [
    # (resource id, file name, drawing, sizes)
    (200, 'main', 'main', (16, 20, 24, 32, 40, 48, 64, 256)),
    (201, 'addfolder', 'addfolder', SMALL),
    (202, 'removefolder', 'removefolder', SMALL),
    (203, 'addfiles', 'addfiles', SMALL),
    (204, 'removefiles', 'removefiles', SMALL),
    (205, 'removemissing', 'removemissing', SMALL),
    (206, 'clearlist', 'clearlist', SMALL),
    (207, 'removerow', 'removerow', SMALL),
    (208, 'deletefile', 'deletefile', SMALL),
    (209, 'openpicture', 'openpicture', SMALL),
    (210, 'openfolder', 'openfolder', SMALL),
    (213, 'newlist', 'newlist', SMALL),
    (214, 'renamelist', 'renamelist', SMALL),
    (215, 'deletelist', 'deletelist', SMALL),
    (216, 'marker', 'marker', (16, 48)),
    (217, 'paused', 'paused', SMALL),
    (218, 'saveroff', 'saveroff', SMALL),
    (219, 'pausedsaveroff', 'pausedsaveroff', SMALL),
    (224, 'addentry', 'addentry', SMALL),
    (225, 'tree', 'tree', SMALL),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'host', 'res', 'icons')
    os.makedirs(out, exist_ok=True)
    for _, filename, drawing, sizes in ICONS:
        images = []
        for size in sizes:
            c = Canvas(size, size)
            draw(drawing)(c)
            images.append((size, size, c.pixels()))
        with open(os.path.join(out, filename + '.ico'), 'wb') as f:
            f.write(ico_bytes(images))
    for index, name in enumerate(MENU_ICONS):
        images = []
        for size in SMALL:
            c = Canvas(size, size)
            menu_icon(c, name)
            images.append((size, size, c.pixels()))
        with open(os.path.join(out, 'menu%d.ico' % (300 + index)), 'wb') as f:
            f.write(ico_bytes(images))
    # The apply button's wide icon at 96, 120 and 144 DPI.
    images = []
    for width, height in ((32, 18), (40, 23), (48, 27)):
        c = Canvas(width, height, 32.0, 18.0)
        draw_apply(c)
        images.append((width, height, c.pixels()))
    with open(os.path.join(out, 'apply.ico'), 'wb') as f:
        f.write(ico_bytes(images))


if __name__ == '__main__':
    main()
