# The store window's pictures: the purchase list's paper (480 x 276: a title strip of 35 rows
# above eight rows of goods, a footer for the bill) and the scroll bar the list shows past
# eight rows (eleven frames 16 wide: the track tile enabled and disabled, the thumb up,
# pressed and disabled, the up arrow and the down arrow, each up, pressed and disabled).
import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)

BLACK = cube(0, 0, 0)
PAPER, STRIP, RULE = cube(5, 5, 4), cube(4, 4, 2), cube(4, 3, 2)
GREY, LIGHT, PALE = 226 + 10, 226 + 16, 226 + 19
FACE, PRESSED = cube(4, 3, 1), cube(3, 2, 0)

# The list: paper, the title strip, a faint rule under every row (27 rows high from row 35)
# and the column edges of the row panels (stock, owned, name, price, count, cost).
W, H = 480, 276
columns = (54, 100, 250, 312, 384)
px = []
for y in range(H):
    for x in range(W):
        c = STRIP if y < 33 or y >= H - 22 else PAPER
        if 35 <= y < 35 + 8 * 27 and (y - 35) % 27 == 26:
            c = RULE
        if y < H - 22 and x - 2 in columns:
            c = RULE
        px.append(c)
png('list.png', W, H, px)

def frame(name, w, h, fill, ink, shape=None):
    px = []
    for y in range(h):
        for x in range(w):
            c = ink if x in (0, w - 1) or y in (0, h - 1) else fill
            if shape and shape(x, y):
                c = ink
            px.append(c)
    png(name, w, h, px)

# Track tiles: a groove with a dotted middle.
frame('scrollbar-00.png', 16, 16, LIGHT, GREY, lambda x, y: x == 8 and y % 4 == 1)
frame('scrollbar-01.png', 16, 16, PALE, LIGHT)
# Thumb: up, pressed, disabled, with three grip lines.
grip = lambda x, y: 4 <= x <= 11 and y in (9, 12, 15)
frame('scrollbar-02.png', 16, 24, FACE, BLACK, grip)
frame('scrollbar-03.png', 16, 24, PRESSED, BLACK, grip)
frame('scrollbar-04.png', 16, 24, LIGHT, GREY)
# Arrows: a triangle pointing up (frames 05-07) or down (08-10).
def arrow(down):
    def shape(x, y):
        row = (15 - y) if down else y
        return 4 <= row <= 10 and abs(x - 7.5) <= (row - 4) + 0.5
    return shape
for n, down in ((5, False), (8, True)):
    frame('scrollbar-%02d.png' % n, 16, 16, FACE, BLACK, arrow(down))
    frame('scrollbar-%02d.png' % (n + 1), 16, 16, PRESSED, BLACK, arrow(down))
    frame('scrollbar-%02d.png' % (n + 2), 16, 16, LIGHT, GREY, arrow(down))
