# Draws the pictures of the sample route's stop scenes, 640 x 400 each: the outfitting town at
# the start ("CBM" 20100), the river crossing (20200), the trading post (20300), the ridge
# (20500) and the trail's end (20600). Pixels are indices of the game palette (the colour cube
# at 10-225, greys at 226-245).
# Run: python3 make-scenes.py FOLDER
import math, os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
W, H = 640, 400
SKY, FAR, GRASS, DIRT = cube(2, 4, 5), cube(2, 3, 2), cube(1, 3, 0), cube(3, 2, 1)
WOOD, ROOF, WATER, ROCK, SNOW, SIGN = cube(3, 1, 0), cube(4, 1, 1), cube(1, 2, 5), cube(2, 2, 2), cube(5, 5, 5), cube(5, 4, 2)


class Picture:
    def __init__(self, horizon):
        self.px = [SKY if y < horizon else GRASS for y in range(H) for x in range(W)]
        self.horizon = horizon

    def put(self, x, y, c):
        if 0 <= x < W and 0 <= y < H: self.px[y * W + x] = c

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1): self.put(x, y, c)

    def hills(self, height, c):
        for x in range(W):
            top = self.horizon - int(height * (0.5 + 0.5 * math.sin(x / 70.0)))
            for y in range(top, self.horizon): self.put(x, y, c)

    def trail(self, x_far, x_near):
        for y in range(self.horizon, H):
            t = (y - self.horizon) / (H - self.horizon)
            cx, half = x_far + (x_near - x_far) * t, 4 + 60 * t
            for x in range(int(cx - half), int(cx + half)): self.put(x, y, DIRT)

    def house(self, x, y, w, h):
        self.box(x, y - h, x + w, y, WOOD)
        for k in range(h // 2):
            self.box(x - 4 + k, y - h - k, x + w + 4 - k, y - h - k + 1, ROOF)
        self.box(x + w // 2 - 5, y - 18, x + w // 2 + 5, y, cube(1, 0, 0))

    def save(self, name): greypng.png(out, name, W, H, self.px)


# The outfitting town: houses along the trail that leaves it.
p = Picture(170)
p.hills(30, FAR)
p.trail(330, 260)
for i, (x, w, h) in enumerate([(40, 90, 60), (150, 70, 50), (420, 80, 56), (520, 100, 70)]):
    p.house(x, 230 + 10 * (i % 2), w, h)
p.save('scene-20100.png')
# The river: the far bank, the water and the trail running into it.
p = Picture(150)
p.hills(20, FAR)
p.trail(320, 300)
p.box(0, 210, W, 300, WATER)
for y in range(212, 300, 6):
    for x in range((y * 7) % 40, W, 40): p.box(x, y, x + 14, y + 1, cube(3, 4, 5))
p.save('scene-20200.png')
# The trading post: a stockade with a gate and a flag.
p = Picture(180)
p.hills(25, FAR)
p.trail(320, 200)
p.box(360, 150, 600, 260, WOOD)
for x in range(360, 600, 12): p.box(x, 140, x + 8, 150, WOOD)
p.box(450, 200, 510, 260, cube(1, 0, 0))
p.box(588, 90, 592, 150, ROCK)
p.box(592, 90, 624, 110, ROOF)
p.save('scene-20300.png')
# The ridge: a steep climb with snow on its top.
p = Picture(300)
for x in range(W):
    top = 60 + int(abs(x - 380) * 0.55)
    for y in range(top, 300): p.put(x, y, ROCK if y > top + 12 else SNOW)
p.trail(380, 280)
p.save('scene-20500.png')
# The trail's end: a valley with a sign post.
p = Picture(200)
p.hills(50, FAR)
p.trail(300, 320)
p.box(200, 230, 206, 330, WOOD)
p.box(150, 230, 260, 262, SIGN)
p.save('scene-20600.png')
