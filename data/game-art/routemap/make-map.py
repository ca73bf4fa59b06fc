# Draws the sample route map: the background strip of sequence 0 ("CBM" 8100), one sprite per
# route entry ("RLS" 8110-8118) whose frames draw that stretch of the route line a little
# further each, and the full-screen picture of the picture modules ("CBM" 72000).
# Pixels are indices of the game palette (the colour cube at 10-225, greys at 226-245).
# Run: python3 make-map.py FOLDER
import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)
PAPER, EDGE, INK = cube(5, 5, 3), cube(3, 2, 1), cube(4, 0, 0)
WATER, HILL, MARK = cube(1, 3, 5), cube(3, 3, 1), cube(1, 1, 1)
W, H = 640, 112
# The route's places, relative to the map's corner: P0 the start, P3 the hill, P5 the river,
# P7 and P9 the two landmarks. Entry i draws the line from P(i) to P(i + 1).
P = [(30, 70), (95, 60), (160, 66), (225, 40), (290, 52), (350, 64), (415, 58), (480, 46), (545, 58), (605, 50)]
FRAMES = [6 + i % 5 for i in range(9)]
# The background: paper, a border, the hill, the river and the landmarks' marks.
bg = [PAPER] * (W * H)
def put(x, y, c):
    if 0 <= x < W and 0 <= y < H: bg[y * W + x] = c
for x in range(W):
    for y in (0, 1, H - 2, H - 1): put(x, y, EDGE)
for y in range(H):
    for x in (0, 1, W - 2, W - 1): put(x, y, EDGE)
for x in range(185, 266):
    top = 44 - int(22 * (1 - ((x - 225) / 40.0) ** 2))
    for y in range(top, 48): put(x, y, HILL)
for y in range(2, H - 2):
    cx = 350 + int(6 * ((y // 8) % 3 - 1))
    for x in range(cx - 3, cx + 4): put(x, y, WATER)
for (px, py) in (P[0], P[7], P[9]):
    for y in range(py - 4, py + 5):
        for x in range(px - 4, px + 5):
            if abs(x - px) == 4 or abs(y - py) == 4: put(x, y, MARK)
png('map-background.png', W, H, bg)
# Sprites: the stretch's bounding box with a 2-pixel margin; a 3-pixel line; 0 is transparent.
for i in range(9):
    (x0, y0), (x1, y1) = P[i], P[i + 1]
    left, top = min(x0, x1) - 2, min(y0, y1) - 2
    w, h = abs(x1 - x0) + 5, abs(y1 - y0) + 5
    n = FRAMES[i]
    for k in range(n):
        px = [0] * (w * h)
        steps = 4 * max(abs(x1 - x0), abs(y1 - y0))
        reach = (k + 1) / n
        for s in range(int(steps * reach) + 1):
            t = s / steps
            cx, cy = round(x0 + (x1 - x0) * t) - left, round(y0 + (y1 - y0) * t) - top
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    if 0 <= cx + dx < w and 0 <= cy + dy < h: px[(cy + dy) * w + cx + dx] = INK
        png('entry-%d-%02d.png' % (i, k), w, h, px)
    print('entry %d: %d frames at %d, %d; place %d, %d' % (i, n, left, top, x1, y1))
# The picture modules' screen: a sky over a prairie with the route line crossing it.
pic = []
for y in range(480):
    for x in range(640):
        c = cube(2, 4, 5) if y < 260 else cube(1, 3 + (x // 40 + y // 30) % 2, 0)
        if abs(y - (300 + (x * 3) // 16)) <= 2: c = INK
        pic.append(c)
png('picture.png', 640, 480, pic)
