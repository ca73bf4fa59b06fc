import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)
WHITE, BLACK = cube(5, 5, 5), cube(0, 0, 0)
GREY, LIGHT = 226 + 10, 226 + 16
# Check marks, 12 x 12: 0 unchecked, 1 unchecked pressed, 2 unchecked dimmed, 3 checked, 4 checked
# pressed, 5 checked dimmed.
for cel in range(6):
    checked, dimmed, pressed = cel >= 3, cel % 3 == 2, cel % 3 == 1
    ink = GREY if dimmed else BLACK
    paper = LIGHT if (dimmed or pressed) else WHITE
    px = []
    for y in range(12):
        for x in range(12):
            c = 0
            if 1 <= x <= 10 and 1 <= y <= 10:
                c = ink if x in (1, 10) or y in (1, 10) else paper
                if checked and 3 <= x <= 8 and (y == x or y == 11 - x):
                    c = ink
            px.append(c)
    png('check-%d.png' % cel, 12, 12, px)
# Arrows, 14 x 9: 0-2 up (up, pressed, disabled), 3-5 down.
for cel in range(6):
    down, state = cel >= 3, cel % 3
    face = {0: cube(4, 3, 1), 1: cube(3, 2, 0), 2: LIGHT}[state]
    ink = GREY if state == 2 else BLACK
    px = []
    for y in range(9):
        for x in range(14):
            c = ink if x in (0, 13) or y in (0, 8) else face
            row = (8 - y) if down else y
            if 2 <= row <= 6 and abs(x - 6.5) <= (row - 2) + 0.5:
                c = ink
            px.append(c)
    png('arrow-%d.png' % cel, 14, 9, px)
# Twelve small pictures, 48 x 36: a sky and a ground of their own colours and a sun that moves.
for n in range(12):
    sky = cube(n % 3 + 2, 4, 5)
    ground = cube(n % 4, 3 + n % 3, n % 2)
    sun = cube(5, 5, n % 3)
    px = []
    for y in range(36):
        for x in range(48):
            c = sky if y < 20 + (x // 8 + n) % 4 else ground
            sx, sy = 4 + 3 * n, 8
            if (x - sx) ** 2 + (y - sy) ** 2 <= 16:
                c = sun
            px.append(c)
    png('picture-%d.png' % (4230 + 10 * n), 48, 36, px)
