# The travel screen's status button, 44 x 28, in two looks of three cels each (up, pressed,
# disabled): a closed ledger while the status panel is hidden (status-closed-N.png, "CBM" 165)
# and the ledger lying open while the panel is shown (status-open-N.png, "CBM" 160).
import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng

W, H = 44, 28
BLACK = cube(0, 0, 0)
GREY, LIGHT = 226 + 10, 226 + 16


def cel(opened, state):
    face = {0: cube(4, 3, 1), 1: cube(3, 2, 0), 2: LIGHT}[state]
    ink = GREY if state == 2 else BLACK
    cover = GREY if state == 2 else cube(3, 0, 0)
    paper = LIGHT if state == 2 else cube(5, 5, 4)
    shift = 1 if state == 1 else 0
    px = []
    for y in range(H):
        for x in range(W):
            c = ink if x in (0, W - 1) or y in (0, H - 1) else face
            bx, by = x - shift, y - shift
            if opened:
                # Two pages side by side, ruled, with the spine in the middle.
                if 6 <= bx <= 37 and 6 <= by <= 21:
                    c = paper
                    if bx in (6, 37) or by in (6, 21) or bx == 22:
                        c = ink
                    elif by % 4 == 1 and bx not in (21, 23):
                        c = GREY
            else:
                # A bound ledger: its cover, the page edges at the right and a label.
                if 11 <= bx <= 32 and 5 <= by <= 22:
                    c = cover
                    if bx in (11, 32) or by in (5, 22):
                        c = ink
                    elif bx >= 29:
                        c = paper
                    elif 15 <= bx <= 26 and 10 <= by <= 14:
                        c = paper if 16 <= bx <= 25 and 11 <= by <= 13 else ink
            px.append(c)
    return px


for state in range(3):
    greypng.png(out, 'status-closed-%d.png' % state, W, H, cel(False, state))
    greypng.png(out, 'status-open-%d.png' % state, W, H, cel(True, state))
