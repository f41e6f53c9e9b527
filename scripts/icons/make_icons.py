#!/usr/bin/env python3
"""Draws the icon set of Loomwright and Tessdeck and writes it to resources/icons/.

Every picture is described below in code, on a 16 by 16 design grid, as
shapes given by signed distance functions (negative inside). Each size is
rendered from the same description with 4 x 4 samples per pixel, so the
16 by 16 and 32 by 32 (and 48 by 48) forms agree and have smooth edges.

Written files (all committed, so that a build needs no Python):
  iconNN_NAME.ico       the 42 icons of the pad set, 16x16 and 32x32, in the
                        fixed order (NN is the image index a pad file stores)
  iconset16.bmp/32.bmp  the same set as one strip each (32-bit, alpha)
  tree_group.ico, tree_loop.ico, tree.bmp   the command tree's pictures
  loomwright.ico, tessdeck.ico              the programs' icons (16, 32, 48)
  tessdeck.cur          the pad's cursor (32x32)
  icons.h, icons.rc     resource identifiers and the resource list

Only the Python standard library is used. Run: python3 scripts/icons/make_icons.py
"""
import math
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "icons")

# ---------------------------------------------------------------- shapes

def box(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m


def seg(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def d(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w / 2
    return d


def path(points, w):
    return union(*[seg(*points[i], *points[i + 1], w) for i in range(len(points) - 1)])


def poly(points):
    n = len(points)

    def d(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            ll = ex * ex + ey * ey
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / ll))
            best = min(best, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -best if inside else best
    return d


def arc(cx, cy, r, w, a0, a1):
    """Stroke of a circle from angle a0 to a1 (degrees, clockwise on screen)."""
    p0 = (cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0)))
    p1 = (cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1)))

    def d(x, y):
        a = math.degrees(math.atan2(y - cy, x - cx))
        while a < a0:
            a += 360
        if a <= a1:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - w / 2
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def inter(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(s, by):
    return lambda x, y: s(x, y) - by


def ring(s, w):
    return lambda x, y: abs(s(x, y)) - w / 2


def rotated(s, cx, cy, deg):
    c, n = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return lambda x, y: s(cx + (x - cx) * c + (y - cy) * n, cy - (x - cx) * n + (y - cy) * c)

# ---------------------------------------------------------------- colours

INK = (38, 40, 48)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
LGREY = (206, 210, 216)
GREY = (140, 146, 156)
DGREY = (84, 90, 100)
BLUE = (46, 112, 214)
LBLUE = (150, 200, 245)
SKY = (120, 180, 240)
NAVY = (30, 60, 140)
GREEN = (52, 160, 72)
LGREEN = (170, 225, 160)
RED = (214, 56, 48)
ORANGE = (240, 140, 40)
YELLOW = (250, 204, 52)
GOLD = (222, 170, 40)
FOLDER = (244, 196, 76)
FOLDER2 = (222, 160, 44)
BROWN = (140, 90, 50)
PARCH = (246, 230, 180)
PURPLE = (130, 70, 190)
TEAL = (40, 150, 160)
PINK = (240, 140, 160)
BLACK = (22, 22, 26)


class Icon:
    """A picture: shapes painted in order, each filled with a colour."""

    def __init__(self):
        self.ops = []

    def fill(self, shape, color):
        self.ops.append((shape, color))
        return self

    def solid(self, shape, color, outline=INK, width=1.0):
        """A shape with an outline of `width` around it (half out, half in)."""
        self.ops.append((grow(shape, width / 2), outline))
        self.ops.append((grow(shape, -width / 2), color))
        return self

    def stroke(self, shape, color, width):
        self.ops.append((ring(shape, width), color))
        return self

# ---------------------------------------------------------------- the set


def program():
    i = Icon().solid(box(1.5, 2.5, 14.5, 13.5, 0.8), PAPER)
    i.fill(box(2, 3, 14, 5.6), BLUE)
    for x in (11, 12.7):
        i.fill(box(x - 0.6, 3.7, x + 0.6, 4.9), WHITE)
    i.fill(box(2, 5.6, 5.2, 13), LGREY)
    i.fill(box(6.2, 7, 12.8, 8), LBLUE).fill(box(6.2, 9.5, 12.8, 10.5), LBLUE)
    return i


def document():
    i = Icon().solid(poly([(3, 1.5), (10, 1.5), (13, 4.5), (13, 14.5), (3, 14.5)]), PAPER)
    i.solid(poly([(10, 1.5), (10, 4.5), (13, 4.5)]), LGREY, width=0.8)
    for y, x1 in ((7, 11), (9.3, 11), (11.6, 9)):
        i.fill(seg(5, y, x1, y, 1.0), GREY)
    return i


def folder():
    i = Icon().solid(poly([(1.5, 3), (6, 3), (7.5, 4.5), (14.5, 4.5), (14.5, 13.5), (1.5, 13.5)]), FOLDER2)
    i.solid(poly([(1.5, 6.5), (14.5, 6.5), (14.5, 13.5), (1.5, 13.5)]), FOLDER)
    return i


def web_page():
    g = circle(8, 8, 6.5)
    i = Icon().solid(g, SKY)
    land = union(poly([(4, 4), (7.5, 3.2), (8, 6.5), (5.5, 8), (6, 11), (4, 10), (2.6, 7)]),
                 poly([(10, 6), (13.5, 6.5), (13, 10.5), (10.5, 13), (9.5, 9.5)]))
    i.fill(inter(land, grow(g, -0.5)), GREEN)
    i.fill(inter(ring(ellipse(8, 8, 3, 6.5), 0.7), g), NAVY)
    i.fill(inter(seg(1, 8, 15, 8, 0.7), g), NAVY)
    return i


def mail():
    i = Icon().solid(box(1.5, 3.5, 14.5, 12.5), PAPER)
    i.fill(path([(1.8, 3.8), (8, 9), (14.2, 3.8)], 1.1), INK)
    i.fill(path([(1.8, 12.2), (6, 8)], 0.8), GREY).fill(path([(14.2, 12.2), (10, 8)], 0.8), GREY)
    return i


def script():
    i = Icon().solid(box(3, 2.5, 13, 13.5), PARCH, BROWN)
    i.solid(box(2, 1.2, 14, 3.6, 1.1), (226, 200, 140), BROWN)
    i.solid(box(2, 12.4, 14, 14.8, 1.1), (226, 200, 140), BROWN)
    for y in (5.3, 7.3, 9.3):
        i.fill(seg(5, y, 8.5, y, 0.9), BROWN)
    i.solid(poly([(9.3, 6.8), (9.3, 11.6), (13.2, 9.2)]), GREEN, width=0.8)
    return i


def calculator():
    i = Icon().solid(box(3, 1.5, 13, 14.5, 1.2), DGREY)
    i.fill(box(4.5, 3, 11.5, 5.8, 0.3), LGREEN)
    for r, y in enumerate((7.8, 10, 12.2)):
        for c, x in enumerate((5.4, 8, 10.6)):
            i.fill(box(x - 0.9, y - 0.8, x + 0.9, y + 0.8, 0.2), ORANGE if (r, c) == (2, 2) else WHITE)
    return i


def phone():
    i = Icon().solid(poly([(2.5, 14), (13.5, 14), (12.2, 8), (3.8, 8)]), RED)
    i.solid(union(seg(3.5, 5, 12.5, 5, 2.6), circle(3.4, 6.2, 1.9), circle(12.6, 6.2, 1.9)), RED)
    i.solid(circle(8, 11, 1.8), WHITE, width=0.8)
    return i


def printer():
    i = Icon().solid(box(4, 1.5, 12, 7), PAPER)
    i.solid(box(1.5, 6, 14.5, 12, 1.2), GREY)
    i.fill(seg(4, 8.5, 12, 8.5, 1.0), INK)
    i.fill(circle(12.6, 7.6, 0.7), GREEN)
    i.solid(box(4, 10, 12, 14.5), PAPER)
    i.fill(seg(5.5, 12.3, 10.5, 12.3, 0.8), GREY)
    return i


def clock():
    i = Icon().solid(circle(8, 8, 6.5), PAPER, width=1.4)
    for a in range(0, 360, 90):
        c, s = math.cos(math.radians(a)), math.sin(math.radians(a))
        i.fill(seg(8 + 4.2 * c, 8 + 4.2 * s, 8 + 5.2 * c, 8 + 5.2 * s, 0.9), GREY)
    i.fill(seg(8, 8, 8, 3.8, 1.2), INK).fill(seg(8, 8, 11.2, 9.8, 1.2), INK)
    i.fill(circle(8, 8, 0.9), RED)
    return i


def calendar():
    i = Icon().solid(box(1.8, 3, 14.2, 14.5, 0.6), PAPER)
    i.fill(box(2.3, 3.5, 13.7, 6.5), RED)
    for x in (5, 11):
        i.solid(seg(x, 1.6, x, 4.6, 1.0), LGREY, width=0.7)
    for y in (8.5, 10.5, 12.5):
        for x in (4.5, 7, 9.5, 12):
            i.fill(box(x - 0.6, y - 0.55, x + 0.6, y + 0.55), GREY)
    return i


def console():
    i = Icon().solid(box(1.5, 2.5, 14.5, 13.5, 1), BLACK, DGREY)
    i.fill(path([(4, 5.8), (6.6, 8), (4, 10.2)], 1.3), (90, 230, 110))
    i.fill(seg(8, 10.6, 11.8, 10.6, 1.3), (90, 230, 110))
    return i


def music():
    notes = union(ellipse(5, 12.3, 2.3, 1.8), ellipse(11.3, 10.8, 2.3, 1.8),
                  seg(7, 12, 7, 3.5, 1.3), seg(13.3, 10.5, 13.3, 2, 1.3),
                  poly([(6.35, 2.8), (13.95, 1.2), (13.95, 3.8), (6.35, 5.4)]))
    return Icon().solid(notes, PURPLE, width=0.8)


def picture():
    i = Icon().solid(box(1.5, 2.5, 14.5, 13.5), SKY)
    i.fill(circle(11, 6, 1.7), YELLOW)
    i.fill(poly([(2, 13), (6, 6.5), (9.2, 11), (11, 9), (14, 13)]), GREEN)
    return i


def movie():
    i = Icon().solid(box(2.5, 1.5, 13.5, 14.5), BLACK, INK)
    for y in (2.5, 5, 7.5, 10, 12.5):
        i.fill(box(3.2, y, 4.4, y + 1.2, 0.2), WHITE).fill(box(11.6, y, 12.8, y + 1.2, 0.2), WHITE)
    i.fill(box(5.3, 2.5, 10.7, 7.4), SKY).fill(box(5.3, 8.6, 10.7, 13.5), ORANGE)
    return i


def pencil():
    i = Icon().solid(poly([(10.5, 2.5), (13.5, 5.5), (5.5, 13.5), (2.5, 10.5)]), YELLOW)
    i.solid(poly([(11.6, 1.4), (14.6, 4.4), (13.5, 5.5), (10.5, 2.5)]), PINK)
    i.solid(poly([(2.5, 10.5), (5.5, 13.5), (1.4, 14.6)]), PARCH)
    i.fill(poly([(1.4, 14.6), (2.2, 12.4), (3.6, 13.8)]), INK)
    return i


def spreadsheet():
    i = Icon().solid(box(1.5, 2.5, 14.5, 13.5), PAPER)
    i.fill(box(2, 3, 14, 5.5), GREEN)
    for x in (6, 10):
        i.fill(seg(x, 5.5, x, 13, 0.7), GREY)
    for y in (8, 10.5):
        i.fill(seg(2, y, 14, y, 0.7), GREY)
    return i


def chart():
    i = Icon()
    i.solid(box(3.6, 8.5, 6.4, 13.5), BLUE, width=0.8)
    i.solid(box(7.1, 4, 9.9, 13.5), GREEN, width=0.8)
    i.solid(box(10.6, 6.5, 13.4, 13.5), ORANGE, width=0.8)
    i.fill(path([(1.8, 1.5), (1.8, 14.2), (15, 14.2)], 1.2), INK)
    return i


def database():
    body = union(box(2.5, 3.5, 13.5, 12.5), ellipse(8, 12.5, 5.5, 2), ellipse(8, 3.5, 5.5, 2))
    i = Icon().solid(body, TEAL)
    for y in (6.8, 9.8):
        i.fill(inter(ring(ellipse(8, y, 5.5, 2), 0.8), lambda x, yy, y=y: y - yy), INK)
    i.solid(ellipse(8, 3.5, 5.5, 2), (110, 200, 205), width=0.8)
    return i


def gear():
    teeth = [rotated(box(6.6, -0.2, 9.4, 16.2, 0.3), 8, 8, a) for a in (0, 45, 90, 135)]
    g = minus(union(circle(8, 8, 5.1), inter(union(*teeth), circle(8, 8, 7))), circle(8, 8, 2.1))
    return Icon().solid(g, GREY)


def wrench():
    w = minus(union(seg(3.5, 12.5, 9.5, 6.5, 2.8), circle(11, 5, 3.4), circle(3.5, 12.5, 2)),
              union(seg(12.3, 3.7, 16, 0, 2.4), circle(3.5, 12.5, 0.8)))
    return Icon().solid(w, (120, 140, 170))


def magnifier():
    i = Icon().fill(seg(10.2, 10.2, 14, 14, 2.8), INK).fill(seg(10.8, 10.8, 13.6, 13.6, 1.6), BROWN)
    i.solid(circle(6.5, 6.5, 4.8), LBLUE, width=1.8)
    i.fill(arc(6.5, 6.5, 2.9, 0.9, 190, 260), WHITE)
    return i


def key():
    k = minus(union(circle(5, 5.5, 3.6), seg(6.5, 7, 13.5, 14, 2.0),
                    seg(10.6, 11.1, 12.4, 9.3, 1.8), seg(12.4, 12.9, 14.2, 11.1, 1.8)),
              circle(4.3, 4.8, 1.2))
    return Icon().solid(k, GOLD, width=0.9)


def lock():
    i = Icon().fill(union(arc(8, 6.5, 3.4, 1.8, 180, 360), seg(4.6, 6.5, 4.6, 8, 1.8),
                          seg(11.4, 6.5, 11.4, 8, 1.8)), DGREY)
    i.solid(box(2.8, 7.5, 13.2, 14.8, 1), GOLD)
    i.fill(union(circle(8, 10.4, 1.3), seg(8, 10.4, 8, 13, 1.0)), INK)
    return i


def star():
    pts = []
    for k in range(10):
        a = math.radians(-90 + 36 * k)
        r = 7.0 if k % 2 == 0 else 2.9
        pts.append((8 + r * math.cos(a), 8.6 + r * math.sin(a)))
    return Icon().solid(poly(pts), YELLOW)


def heart():
    h = union(circle(5.3, 6, 3.3), circle(10.7, 6, 3.3), poly([(2.2, 7.0), (8, 4.5), (13.8, 7.0), (8, 14)]))
    return Icon().solid(h, RED)


def house():
    i = Icon().solid(box(3, 7, 13, 14.5), PAPER)
    i.solid(poly([(0.8, 8.2), (8, 1.5), (15.2, 8.2)]), RED)
    i.solid(box(6.8, 10, 9.4, 14.5), BROWN, width=0.8)
    i.fill(box(10.5, 9.6, 12.2, 11.3), SKY)
    return i


def person():
    i = Icon().solid(inter(ellipse(8, 15.2, 6, 6), box(0, 0, 16, 14.6)), BLUE)
    i.solid(circle(8, 5, 3), (240, 200, 160))
    return i


def chat():
    b = union(box(1.5, 2.5, 14.5, 11, 2.5), poly([(3.6, 10), (3.2, 14.5), (7.8, 10)]))
    i = Icon().solid(b, LBLUE)
    for x in (5, 8, 11):
        i.fill(circle(x, 6.8, 0.9), NAVY)
    return i


def camera():
    i = Icon().solid(union(box(1.5, 4.5, 14.5, 13.5, 1.5), box(5, 2.5, 10.5, 6, 0.5)), DGREY)
    i.solid(circle(8, 9, 3.3), SKY, width=1.2)
    i.fill(box(11.5, 6, 13.2, 7.2), YELLOW)
    i.fill(circle(7, 8, 0.8), WHITE)
    return i


def floppy():
    i = Icon().solid(poly([(1.5, 1.5), (12.5, 1.5), (14.5, 3.5), (14.5, 14.5), (1.5, 14.5)]), BLUE)
    i.fill(box(4.2, 1.8, 11, 6), LGREY).fill(box(8.6, 2.5, 10, 5.3), DGREY)
    i.fill(box(3.5, 8.5, 12.5, 14.2), PAPER)
    i.fill(seg(5, 10.5, 11, 10.5, 0.7), GREY).fill(seg(5, 12.3, 11, 12.3, 0.7), GREY)
    return i


def monitor():
    i = Icon().fill(box(6.5, 10.5, 9.5, 13.2), DGREY).solid(box(3.8, 12.8, 12.2, 14.6, 0.5), GREY, width=0.8)
    i.solid(box(1.3, 1.8, 14.7, 11.2, 0.8), DGREY)
    i.fill(box(2.6, 3.1, 13.4, 9.9), BLUE)
    i.fill(poly([(2.6, 9.9), (13.4, 3.1), (13.4, 9.9)]), (70, 140, 230))
    return i


def cloud():
    c = union(circle(5, 10, 3), circle(9, 7.5, 4.2), circle(12.6, 10.6, 2.4), box(5, 9.5, 12.6, 13, 0))
    return Icon().solid(c, (236, 244, 252), NAVY)


def trash():
    i = Icon().solid(poly([(3.6, 5), (12.4, 5), (11.4, 14.6), (4.6, 14.6)]), LGREY, DGREY)
    for x0, x1 in ((6, 6.4), (8, 8), (10, 9.6)):
        i.fill(seg(x0, 6.8, x1, 12.8, 0.8), GREY)
    i.solid(box(6, 1.5, 10, 3.5, 0.5), GREY, DGREY, width=0.8)
    i.solid(box(2.2, 3, 13.8, 5.2, 0.5), GREY, DGREY)
    return i


def bolt():
    b = poly([(9.8, 0.8), (3.2, 9), (7.4, 9), (5.6, 15.2), (12.8, 6.4), (8.6, 6.4), (10.8, 0.8)])
    return Icon().solid(b, YELLOW, (170, 90, 20))


def flag():
    i = Icon().fill(seg(3, 1.5, 3, 15, 1.4), DGREY)
    i.solid(poly([(3.7, 2), (14, 2), (11.2, 5.5), (14, 9), (3.7, 9)]), GREEN)
    return i


def bell():
    b = union(inter(circle(8, 6.8, 4.3), box(0, 0, 16, 7)), poly([(3.7, 6.8), (12.3, 6.8), (13.6, 11.8), (2.4, 11.8)]),
              box(1.6, 11.3, 14.4, 13, 0.6))
    i = Icon().fill(circle(8, 14, 1.5), INK).fill(circle(8, 2.2, 1.2), INK)
    i.solid(b, GOLD)
    return i


def book():
    i = Icon().solid(box(3.5, 12, 13.5, 14.6, 0.4), PAPER)
    i.solid(box(2.8, 1.5, 13, 13, 0.6), (170, 40, 50))
    i.fill(box(3.3, 2, 5, 12.5), (120, 25, 35))
    i.fill(box(6.8, 4, 11.2, 6.4), GOLD)
    return i


def bulb():
    i = Icon().solid(box(5.8, 11.4, 10.2, 14.8, 0.8), GREY)
    i.fill(seg(5.8, 12.8, 10.2, 12.8, 0.6), DGREY)
    i.solid(union(circle(8, 6.3, 4.8), poly([(5.2, 9.3), (10.8, 9.3), (10, 11.8), (6, 11.8)])), (255, 238, 120),
            (150, 110, 20))
    i.fill(path([(6.6, 11.4), (6.6, 7.2), (8, 8.4), (9.4, 7.2), (9.4, 11.4)], 0.7), ORANGE)
    return i


def cart():
    i = Icon().solid(poly([(3.6, 3.8), (14.6, 3.8), (12.8, 10), (5, 10)]), LGREEN, DGREY)
    i.fill(path([(0.8, 1.8), (3, 1.8), (5.2, 10), (4.4, 11.8), (13.2, 11.8)], 1.2), DGREY)
    i.fill(circle(5.8, 13.8, 1.4), INK).fill(circle(12, 13.8, 1.4), INK)
    return i


def play():
    i = Icon().solid(circle(8, 8, 6.8), GREEN)
    i.fill(poly([(6.2, 4.6), (6.2, 11.4), (11.8, 8)]), WHITE)
    return i


def question():
    i = Icon().solid(circle(8, 8, 6.8), BLUE)
    q = union(arc(8, 6.2, 2.4, 1.6, 180, 420), seg(9.2, 8.28, 8, 9.4, 1.6), seg(8, 9.4, 8, 10.2, 1.6))
    i.fill(q, WHITE).fill(circle(8, 12.4, 1.0), WHITE)
    return i


# The pad set, in its fixed order: a pad file stores only the index.
PAD_ICONS = [
    ("program", program), ("document", document), ("folder", folder), ("web_page", web_page),
    ("mail", mail), ("script", script), ("calculator", calculator), ("phone", phone),
    ("printer", printer), ("clock", clock), ("calendar", calendar), ("console", console),
    ("music", music), ("picture", picture), ("movie", movie), ("pencil", pencil),
    ("spreadsheet", spreadsheet), ("chart", chart), ("database", database), ("settings", gear),
    ("tools", wrench), ("search", magnifier), ("key", key), ("lock", lock),
    ("favourite", star), ("heart", heart), ("home", house), ("contact", person),
    ("chat", chat), ("camera", camera), ("save", floppy), ("computer", monitor),
    ("cloud", cloud), ("trash", trash), ("power", bolt), ("flag", flag),
    ("bell", bell), ("book", book), ("idea", bulb), ("shopping", cart),
    ("play", play), ("help", question),
]

# ---------------------------------------------------------------- other pictures


def tree_group():
    i = Icon()
    for y, c in ((2, LBLUE), (6.5, SKY), (11, BLUE)):
        i.solid(box(4.5, y, 14.5, y + 3, 0.6), c, NAVY, width=0.9)
    i.fill(path([(3.2, 3.5), (1.5, 3.5), (1.5, 12.5), (3.2, 12.5)], 1.0), INK)
    return i


def tree_loop():
    i = Icon().fill(arc(8, 8, 5, 2.0, -60, 210), GREEN)
    i.fill(poly([(9.6, 0.6), (15, 3.0), (10.6, 7.6)]), GREEN)
    i.fill(circle(8, 8, 1.3), DGREY)
    return i


def tessdeck():
    i = Icon().solid(box(0.8, 4, 15.2, 12, 1.6), (52, 60, 76), INK)
    for x, c in ((2.3, SKY), (6.3, YELLOW), (10.3, LGREEN)):
        i.solid(box(x, 5.6, x + 3.4, 9, 0.5), c, width=0.6)
    i.fill(box(2.3, 10, 13.7, 10.8), (110, 120, 140))
    return i


def loomwright():
    i = Icon().solid(box(1, 1, 15, 15, 2), (250, 244, 230), BROWN)
    for k in range(4):
        y = 3 + 3.3 * k
        i.fill(box(2, y, 14, y + 1.9), ORANGE)
    for k in range(4):
        x = 3 + 3.3 * k
        for r in range(4):
            if (k + r) % 2 == 0:
                y = 3 + 3.3 * r
                i.fill(box(x - 0.2, y - 0.4, x + 2.1, y + 2.3), BLUE)
        i.fill(box(x, 2, x + 1.9, 2.8), BLUE).fill(box(x, 13.4, x + 1.9, 14), BLUE)
    return i


def cursor():
    arrow = poly([(1, 1), (1, 12.5), (4, 9.8), (6.2, 14.6), (8.3, 13.7), (6.2, 9), (10.2, 9)])
    i = Icon().solid(arrow, WHITE, BLACK, width=1.0)
    pts = []
    for k in range(8):
        a = math.radians(-90 + 45 * k)
        r = 3.2 if k % 2 == 0 else 1.2
        pts.append((12.2 + r * math.cos(a), 4 + r * math.sin(a)))
    i.solid(poly(pts), YELLOW, (150, 100, 10), width=0.6)
    return i

# ---------------------------------------------------------------- rendering


def render(icon, size, design=16.0, samples=4):
    """Straight RGBA rows, top row first."""
    scale = size / design
    px_units = 1.0 / scale
    near = 0.75 * px_units
    offs = [(k + 0.5) / samples for k in range(samples)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            pr = pg = pb = pa = 0.0  # premultiplied
            cx, cy = (px + 0.5) * px_units, (py + 0.5) * px_units
            for shape, color in icon.ops:
                d = shape(cx, cy)
                if d > near:
                    continue
                if d < -near:
                    cov = 1.0
                else:
                    hit = 0
                    for oy in offs:
                        for ox in offs:
                            if shape((px + ox) * px_units, (py + oy) * px_units) <= 0:
                                hit += 1
                    cov = hit / (samples * samples)
                    if cov == 0:
                        continue
                pr = color[0] * cov + pr * (1 - cov)
                pg = color[1] * cov + pg * (1 - cov)
                pb = color[2] * cov + pb * (1 - cov)
                pa = cov + pa * (1 - cov)
            if pa > 0:
                row.append((round(pr / pa), round(pg / pa), round(pb / pa), round(pa * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(rows, with_mask=True):
    """A 32-bit bottom-up DIB as icon and cursor files hold it: header, BGRA, AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2 if with_mask else size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + (mask if with_mask else b"")


def icon_file(images, kind=1, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file of the rendered images."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        size = len(rows)
        blob = dib(rows)
        f1, f2 = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, f1, f2, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def bmp_strip(images):
    """One 32-bit bitmap (with alpha) holding the images side by side."""
    size = len(images[0])
    width = size * len(images)
    rows = [[px for img in images for px in img[y]] for y in range(size)]
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    info = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


RC_HEADER = """// Generated by scripts/icons/make_icons.py: do not edit by hand.
"""


def main():
    os.makedirs(OUT, exist_ok=True)
    names = [n for n, _ in PAD_ICONS]
    assert len(PAD_ICONS) == 42 and len(set(names)) == 42
    strips = {16: [], 32: []}
    for index, (name, draw) in enumerate(PAD_ICONS):
        pic = draw()
        images = [render(pic, 16), render(pic, 32)]
        write("icon%02d_%s.ico" % (index, name), icon_file(images))
        strips[16].append(images[0])
        strips[32].append(images[1])
        print("icon %2d %s" % (index, name), file=sys.stderr)
    write("iconset16.bmp", bmp_strip(strips[16]))
    write("iconset32.bmp", bmp_strip(strips[32]))

    tree = [tree_group(), tree_loop()]
    write("tree_group.ico", icon_file([render(tree[0], 16), render(tree[0], 32)]))
    write("tree_loop.ico", icon_file([render(tree[1], 16), render(tree[1], 32)]))
    write("tree.bmp", bmp_strip([render(t, 16) for t in tree]))
    for name, draw in (("tessdeck", tessdeck), ("loomwright", loomwright)):
        pic = draw()
        write(name + ".ico", icon_file([render(pic, s) for s in (16, 32, 48)]))
    write("tessdeck.cur", icon_file([render(cursor(), 32)], kind=2, hotspot=(2, 2)))

    h = [RC_HEADER.rstrip(), "// Resource identifiers of the icon set shared by Loomwright and Tessdeck.",
         "// Pad icon n (the image index a pad file stores) is IDI_PAD_ICON_FIRST + n.",
         "#pragma once", "", "#define IDI_PAD_ICON_FIRST 3000", "#define IDI_PAD_ICON_COUNT 42"]
    for index, name in enumerate(names):
        h.append("#define IDI_PAD_%s %d" % (name.upper(), 3000 + index))
    h += ["", "// The command tree's pictures.", "#define IDI_TREE_GROUP 3100", "#define IDI_TREE_LOOP 3101",
          "", "// The pad set as one strip a size (image n at n times the size from the left).",
          "#define IDB_PAD_ICONS_16 3200", "#define IDB_PAD_ICONS_32 3201", ""]
    write("icons.h", ("\n".join(h)).encode())

    rc = [RC_HEADER.rstrip(),
          "// The icon set shared by both programs, in its fixed order, and the command",
          "// tree's pictures. A program's own resource file includes this one (with",
          "// resources/icons on its include path) and adds its MAINICON, and the pad",
          "// its cursor VEXA (tessdeck.cur).",
          "#include \"icons.h\"", ""]
    for index, name in enumerate(names):
        rc.append("IDI_PAD_%s ICON \"icon%02d_%s.ico\"" % (name.upper(), index, name))
    rc += ["", "IDI_TREE_GROUP ICON \"tree_group.ico\"", "IDI_TREE_LOOP ICON \"tree_loop.ico\"", "",
           "IDB_PAD_ICONS_16 BITMAP \"iconset16.bmp\"", "IDB_PAD_ICONS_32 BITMAP \"iconset32.bmp\"", ""]
    write("icons.rc", ("\n".join(rc)).encode())


if __name__ == "__main__":
    main()
