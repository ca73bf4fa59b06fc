# Draws the travel view's node pictures and writes its music.
#
# Node pictures, 600 x 220 (the route panel's picture 1818): three views of each trail segment
# of the sample route, "CBM" 9500 + 10 x node + view (node 2 the prairie, 3 the sand hills with
# sage, 5 the rough ground, 7 the mud by the river, 9 the plain beyond the landmark): a sky, far
# hills, the ground, the trail winding away and the wagon, each view from a little further on.
# Pixels are indices of the game palette (the colour cube at 10-225, greys at 226-245).
#
# Music, 8-bit mono WAV at 22050 Hz: the ambient travel loop (50010) and the tunes the trip
# chooses by disc and health (530-580).
#
# Run: python3 make-route-art.py FOLDER
import math, os, struct, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng

W, H = 600, 220
# Per node: sky, far hills, ground, trail, and the feature drawn over the ground.
NODES = {
    2: dict(sky=cube(2, 4, 5), hills=cube(2, 3, 2), ground=cube(2, 4, 1), trail=cube(4, 3, 1), feature='grass'),
    3: dict(sky=cube(3, 4, 5), hills=cube(4, 3, 2), ground=cube(5, 4, 2), trail=cube(4, 3, 2), feature='sage'),
    5: dict(sky=cube(2, 3, 4), hills=cube(2, 2, 2), ground=cube(3, 3, 1), trail=cube(4, 3, 2), feature='rocks'),
    7: dict(sky=cube(3, 3, 4), hills=cube(1, 2, 1), ground=cube(2, 2, 0), trail=cube(3, 2, 1), feature='water'),
    9: dict(sky=cube(2, 4, 5), hills=cube(3, 3, 3), ground=cube(3, 4, 1), trail=cube(4, 3, 1), feature='grass'),
}
WAGON, COVER, WHEEL, OX = cube(3, 1, 0), cube(5, 5, 4), cube(1, 0, 0), cube(2, 1, 0)
SUN, CLOUD, DARK = cube(5, 5, 2), cube(5, 5, 5), cube(1, 1, 0)


def picture(node, view, c):
    px = [c['sky']] * (W * H)

    def put(x, y, k):
        if 0 <= x < W and 0 <= y < H:
            px[y * W + x] = k
    horizon = 96 + 8 * view
    # The sun and a cloud move across the views.
    sx, sy = 80 + 180 * view, 34
    for y in range(sy - 14, sy + 15):
        for x in range(sx - 14, sx + 15):
            if (x - sx) ** 2 + (y - sy) ** 2 <= 196:
                put(x, y, SUN)
    cx = 420 - 120 * view
    for (dx, dy, r) in ((0, 0, 12), (16, -4, 15), (34, 0, 11)):
        for y in range(30 + dy - r, 30 + dy + r + 1):
            for x in range(cx + dx - r, cx + dx + r + 1):
                if (x - cx - dx) ** 2 + (y - 30 - dy) ** 2 <= r * r:
                    put(x, y, CLOUD)
    # Far hills, then the ground below the horizon.
    for x in range(W):
        top = horizon - int(18 + 14 * math.sin((x + 97 * node + 60 * view) / 53.0))
        for y in range(top, horizon):
            put(x, y, c['hills'])
        for y in range(horizon, H):
            put(x, y, c['ground'])
    # The trail: wide at the bottom, narrowing to a point at the horizon, bending by view.
    bend = (view - 1) * 90
    for y in range(horizon, H):
        f = (y - horizon) / float(H - horizon)
        mid = W // 2 + int(bend * (1 - f) ** 2) - int(60 * f)
        half = int(4 + 70 * f)
        for x in range(mid - half, mid + half + 1):
            put(x, y, c['trail'])
    # The land's own feature, in rows of blocks that grow towards the viewer.
    for i in range(24):
        fx = (i * 131 + node * 47 + view * 29) % W
        fy = horizon + 6 + (i * 37 + view * 11) % (H - horizon - 10)
        size = 2 + (fy - horizon) // 14
        kind = c['feature']
        for y in range(fy - size, fy + 1):
            for x in range(fx - size, fx + size + 1):
                if kind == 'grass' and (x + y) % 3 == 0:
                    put(x, y, cube(1, 3, 0))
                elif kind == 'sage' and (x - fx) ** 2 + (y - fy) ** 2 <= size * size:
                    put(x, y, cube(2, 3, 2))
                elif kind == 'rocks' and abs(x - fx) + (fy - y) <= size:
                    put(x, y, cube(2, 2, 2))
                elif kind == 'water' and y >= fy - 1:
                    put(x, y, cube(1, 2, 4))
    # The wagon on the trail, with its oxen ahead.
    wx, wy = W // 2 - 80 + 30 * view, H - 40
    for x in range(wx, wx + 56):
        top = wy - 22 - int(14 * math.sin(math.pi * (x - wx) / 55))
        for y in range(top, wy - 8):
            put(x, y, COVER)
    for y in range(wy - 8, wy + 2):
        for x in range(wx - 2, wx + 58):
            put(x, y, WAGON)
    for cxw in (wx + 10, wx + 46):
        for y in range(wy - 4, wy + 17):
            for x in range(cxw - 10, cxw + 11):
                d = (x - cxw) ** 2 + (y - wy - 6) ** 2
                if 64 <= d <= 100 or (d < 64 and (x == cxw or y == wy + 6)):
                    put(x, y, WHEEL)
    for y in range(wy - 6, wy + 10):
        for x in range(wx + 64, wx + 94):
            if y < wy + 4 or (x - wx - 64) % 10 < 3:
                put(x, y, OX)
    # A thin dark frame.
    for x in range(W):
        put(x, 0, DARK)
        put(x, H - 1, DARK)
    for y in range(H):
        put(0, y, DARK)
        put(W - 1, y, DARK)
    return px


for node, c in NODES.items():
    for view in range(3):
        greypng.png(out, 'node-%d-%d.png' % (node, view), W, H, picture(node, view, c))

# Music. Each tune is a few plucked notes over a soft drone, so the loop can repeat.
RATE = 22050


def wav(name, samples):
    data = bytes(samples)
    head = (b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' +
            struct.pack('<IHHIIHH', 16, 1, 1, RATE, RATE, 1, 8) + b'data' + struct.pack('<I', len(data)))
    open(os.path.join(out, name), 'wb').write(head + data)


def tune(notes, beat, level=70):
    samples = bytearray()
    for freq in notes:
        length = int(RATE * beat)
        for i in range(length):
            t = i / RATE
            v = math.sin(2 * math.pi * freq * t) * math.exp(-3.0 * t) * level if freq else 0
            samples.append(128 + int(round(v)))
    return samples


# The ambient loop: a low hum that swells and fades over two seconds.
hum = bytearray()
for i in range(RATE * 2):
    t = i / RATE
    v = (math.sin(2 * math.pi * 110 * t) + 0.5 * math.sin(2 * math.pi * 165 * t)) * 18 * math.sin(math.pi * t / 2)
    hum.append(128 + int(round(v)))
wav('music-50010.wav', hum)
G, A, B, C, D, E = 392.0, 440.0, 493.9, 523.3, 587.3, 659.3
TUNES = {
    530: ([E, D, C, B, A, 0], 0.35),     # disc 1, someone poorly: falling
    540: ([A, C, B, A, G, 0], 0.4),      # disc 2, someone poorly
    550: ([D, C, A, G, A, 0], 0.35),     # disc 1, someone poorly (the other)
    560: ([G, B, D, B, G, D], 0.3),      # disc 1, all well: a walking tune
    570: ([G, A, B, D, E, D], 0.3),      # disc 2, all well
    580: ([D, B, G, A, B, G], 0.3),      # disc 2, all well (the other)
}
for number, (notes, beat) in TUNES.items():
    wav('music-%d.wav' % number, tune(notes, beat))
