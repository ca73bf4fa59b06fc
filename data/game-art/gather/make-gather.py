# The gathering screen's pictures: its background, the frame a pick button is made with, a
# picture of each sample plant, the take and leave markers and the count of plants to take.
# Plain Python; the pictures are made into "CBM" resources with qmimg (see ../README.md).
import math, os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)
BLACK, WHITE = cube(0, 0, 0), cube(5, 5, 5)
INK = cube(1, 1, 0)

# The background, 640 x 480: a pale sky over a meadow that darkens towards the bottom, with a
# lighter band at the top where the title stands.
px = []
for y in range(480):
    for x in range(640):
        if y < 60:
            c = cube(4, 5, 5)
        elif y < 64:
            c = cube(2, 3, 1)
        else:
            shade = min(3, (y - 64) // 110)
            c = cube(3 - shade // 2, 4 - shade // 2, 1)
            if (x * 7 + y * 3) % 23 == 0:
                c = cube(2, 3, 0)
        px.append(c)
png('background.png', 640, 480, px)

W, H = 120, 90
def frame_px(fill):
    return [BLACK if x in (0, W - 1) or y in (0, H - 1) else fill for y in range(H) for x in range(W)]
png('pick-frame.png', W, H, frame_px(cube(4, 4, 3)))

# Each plant: leaf colour, fruit or flower colour and its shape.
PLANTS = [
    ('onion',   cube(1, 4, 1), cube(5, 4, 5)),
    ('turnip',  cube(1, 3, 0), cube(4, 3, 5)),
    ('greens',  cube(2, 4, 1), cube(3, 5, 2)),
    ('berries', cube(1, 3, 1), cube(3, 0, 1)),
    ('berries', cube(2, 3, 0), cube(4, 1, 3)),
    ('berries', cube(1, 2, 1), cube(1, 1, 3)),
    ('umbel',   cube(1, 3, 1), cube(5, 5, 5)),
    ('bulb',    cube(2, 3, 2), cube(5, 5, 3)),
    ('berries', cube(1, 4, 0), cube(5, 0, 0)),
    ('flower',  cube(1, 4, 0), cube(5, 5, 0)),
]

def plant_picture(shape, leaf, fruit):
    g = [[cube(4, 5, 5) if y < 55 else cube(3, 2, 1) for x in range(W)] for y in range(H)]
    def dot(cx, cy, r, c):
        for y in range(max(0, int(cy - r)), min(H, int(cy + r) + 1)):
            for x in range(max(0, int(cx - r)), min(W, int(cx + r) + 1)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    g[y][x] = c
    def line(x0, y0, x1, y1, c, width=1):
        n = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(n + 1):
            t = i / n
            dot(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c)
    def leaf_at(cx, cy, angle, length, c):
        for i in range(length):
            r = 3.5 * math.sin(math.pi * i / length)
            dot(cx + i * math.cos(angle), cy - i * math.sin(angle), r, c)
    base = 70
    if shape in ('onion', 'bulb'):
        for k in range(5):
            line(60, base, 40 + 10 * k, 20 + 4 * abs(k - 2), leaf, 2)
        dot(60, base + 6, 9, fruit if shape == 'bulb' else WHITE)
        if shape == 'onion':
            for k in range(8):
                dot(60 + 7 * math.cos(k), 14 + 7 * math.sin(k), 3, fruit)
    elif shape == 'turnip':
        for k in range(4):
            leaf_at(60, base - 4, 0.5 + 0.7 * k, 34, leaf)
        dot(60, base + 8, 11, fruit)
        dot(60, base + 8, 5, WHITE)
    elif shape == 'greens':
        for k in range(7):
            leaf_at(60, base, 0.2 + 0.45 * k, 30 + 6 * (k % 2), leaf)
            leaf_at(60, base, 0.2 + 0.45 * k, 16, fruit)
    elif shape == 'berries':
        line(60, base + 10, 60, 25, cube(2, 1, 0), 3)
        for k in range(6):
            y = 30 + 7 * k
            line(60, y, 60 + (30 if k % 2 else -30), y - 10, cube(2, 1, 0), 2)
            leaf_at(60 + (30 if k % 2 else -30), y - 10, 1.2 if k % 2 else 1.9, 14, leaf)
            for j in range(3):
                dot(60 + (22 if k % 2 else -22) + 4 * j, y - 4 + 2 * j, 3, fruit)
    elif shape == 'umbel':
        line(60, base + 10, 60, 30, leaf, 3)
        for k in range(7):
            a = math.pi * (0.15 + 0.7 * k / 6)
            x, y = 60 + 30 * math.cos(a), 30 - 14 * math.sin(a)
            line(60, 30, x, y, leaf, 1)
            dot(x, y, 5, fruit)
        leaf_at(60, 60, 0.4, 26, leaf)
        leaf_at(60, 60, 2.7, 26, leaf)
    elif shape == 'flower':
        line(60, base + 10, 60, 30, leaf, 2)
        for k in range(10):
            a = 2 * math.pi * k / 10
            dot(60 + 12 * math.cos(a), 28 + 12 * math.sin(a), 5, fruit)
        dot(60, 28, 6, cube(4, 2, 0))
        for k in range(4):
            leaf_at(60, base + 6, 0.3 + 0.8 * k, 28, leaf)
    px = []
    for y in range(H):
        for x in range(W):
            px.append(BLACK if x in (0, W - 1) or y in (0, H - 1) else g[y][x])
    return px

for n, (shape, leaf, fruit) in enumerate(PLANTS):
    png('plant-%d.png' % (6101 + n), W, H, plant_picture(shape, leaf, fruit))

# Markers, 24 x 24: 0 take (a green tick), 1 leave (a red cross).
for cel in range(2):
    px = []
    for y in range(24):
        for x in range(24):
            c = WHITE
            if x in (0, 23) or y in (0, 23):
                c = BLACK
            elif cel == 0 and ((x >= 4 and x <= 9 and abs(y - (x + 8)) <= 1) or (x >= 9 and abs(y - (26 - x * 12 // 10)) <= 1)):
                c = cube(0, 3, 0)
            elif cel == 1 and 4 <= x <= 19 and (abs(y - x) <= 1 or abs(y - (23 - x)) <= 1):
                c = cube(4, 0, 0)
            px.append(c)
    png('marker-%d.png' % cel, 24, 24, px)

# The count, 48 x 32: a basket holding the number 0-4.
DIGITS = ['111101101101111', '010110010010111', '111001111100111', '111001111001111', '101101111001001']
for n in range(5):
    px = []
    for y in range(32):
        for x in range(48):
            c = cube(4, 3, 1) if (x + y) % 4 else cube(3, 2, 0)
            if x in (0, 47) or y in (0, 31):
                c = BLACK
            dx, dy = (x - 18) // 4, (y - 6) // 4
            if 18 <= x < 30 and 6 <= y < 26 and DIGITS[n][dy * 3 + dx] == '1':
                c = BLACK
            px.append(c)
    png('count-%d.png' % n, 48, 32, px)
