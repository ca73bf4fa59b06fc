# The hunting screen's art: the far strip's two cels (sky, hills and prairie, a pond on the
# second cel), the near strip's grass and bushes, the walking deer (5606) and the charging
# bear (5608) cel by cel, the control bar's shot icon and gun, four cursors (written straight
# into ../game/QM3Data/CRS as 68-byte two-plane cursors), and three sounds: the hunting music,
# the empty gun's click and the gun's reload. Plain Python; the pictures are made into "RLS"
# and "CBM" resources with qmimg and the sounds into "CSN" with qmsnd (see ../README.md).
# Index 0 is transparent in the sprites.
import math, os, struct, sys
out = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)

W, H = 640, 400

# The far strip: a sky darkening upwards, a line of hills whose height differs between the two
# cels (they meet at the same height at both seams), the prairie below; cel 1 holds a pond.
def hill(x, cel):
    t = (x + 640 * cel) / 1280 * 2 * math.pi
    return 150 + int(18 * math.sin(t * 2) + 10 * math.sin(t * 5))

for cel in range(2):
    px = []
    for y in range(H):
        for x in range(W):
            if y < hill(x, cel):
                c = cube(2 + min(2, y // 50), 3 + min(2, y // 60), 5)
            elif y < hill(x, cel) + 30:
                c = cube(1, 2, 1)
            else:
                band = min(3, (y - 180) // 55)
                c = cube(3 - band // 2, 4 - band // 3, 1)
                if (x * 5 + y * 11) % 37 == 0:
                    c = cube(2, 3, 0)
            if cel == 1 and ((x - 320) / 150) ** 2 + ((y - 230) / 25) ** 2 <= 1:
                c = cube(1, 2, 4) if y > 222 else cube(2, 3, 5)
            px.append(c)
    png('far-%d.png' % cel, W, H, px)

# The near strip: grass tufts along the bottom and two bushes, transparent above.
px = [0] * (W * H)
def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y * W + x] = c
for x in range(W):
    top = 388 + int(4 * math.sin(x / 9.0)) + (x * 7) % 5
    for y in range(top, H):
        put(x, y, cube(1, 3, 0) if (x + y) % 3 else cube(0, 2, 0))
for cx, cy, r in ((120, 380, 26), (470, 384, 20)):
    for y in range(cy - r, H):
        for x in range(cx - 2 * r, cx + 2 * r):
            if ((x - cx) / (2 * r)) ** 2 + ((y - cy) / r) ** 2 <= 1:
                put(x, y, cube(0, 2, 0) if (x * 3 + y) % 4 else cube(1, 3, 1))
png('near-0.png', W, H, px)

# An animal facing right: a body, a head, legs (spread or together) and, for the deer, antlers;
# lying down it is a low heap; seen from the front it is a round body with the head above.
def animal(name, w, h, body, dark, pose, antlers):
    g = [0] * (w * h)
    def dot(cx, cy, rx, ry, c):
        for y in range(h):
            for x in range(w):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1:
                    g[y * w + x] = c
    def bar(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(h, y1)):
            for x in range(max(0, x0), min(w, x1)):
                g[y * w + x] = c
    if pose == 'down':
        dot(w / 2, h - 6, w / 2 - 2, 6, body)
        dot(w - 8, h - 8, 5, 4, dark)
    elif pose == 'front':
        dot(w / 2, h * 0.55, w * 0.3, h * 0.3, body)
        dot(w / 2, h * 0.25, w * 0.18, h * 0.18, dark)
        bar(int(w * 0.3), int(h * 0.75), int(w * 0.4), h, dark)
        bar(int(w * 0.6), int(h * 0.75), int(w * 0.7), h, dark)
    else:
        dot(w * 0.45, h * 0.5, w * 0.32, h * 0.2, body)
        dot(w * 0.82, h * 0.3, w * 0.12, h * 0.12, body)
        spread = 4 if pose == 'step' else 0
        for lx in (0.25, 0.6):
            x = int(w * lx)
            bar(x - spread, int(h * 0.6), x - spread + 3, h, dark)
            bar(x + spread, int(h * 0.6), x + spread + 3, h, dark)
        if antlers:
            bar(int(w * 0.8), 0, int(w * 0.8) + 2, int(h * 0.22), dark)
            bar(int(w * 0.86), 2, int(w * 0.86) + 2, int(h * 0.22), dark)
    png(name, w, h, g)

for i, pose in enumerate(('stand', 'step', 'down', 'front')):
    animal('deer-%d.png' % i, 72, 60, cube(4, 2, 1), cube(2, 1, 0), pose, True)
    animal('bear-%d.png' % i, 96, 66, cube(2, 1, 0), cube(1, 0, 0), pose, False)

# The control bar's shot icon (a cartridge) and the gun, at rest and in the three steps of
# its reload (the lever down, the breech open, the lever up).
png('shot.png', 8, 24, [cube(4, 3, 0) if y < 8 else cube(5, 4, 1) for y in range(24) for x in range(8)])
for step in range(4):
    g = [0] * (96 * 32)
    for y in range(12, 18):
        for x in range(4, 92):
            g[y * 96 + x] = cube(1, 1, 1)
    for y in range(14, 26):
        for x in range(4, 26):
            g[y * 96 + x] = cube(3, 1, 0)
    drop = (0, 8, 12, 4)[step]
    for y in range(18, 20 + drop):
        for x in range(30, 36):
            g[y * 96 + x] = cube(2, 2, 2)
    png('gun-%d.png' % step, 96, 32, g)

# Cursors, 16 x 16: the AND plane (0: drawn) then the XOR plane (1: white) as 16 big-endian
# words each, then the hot spot's v and h.
def cursor(path, rows, hot_v, hot_h):
    and_plane = b''.join(struct.pack('>H', (~sum(1 << (15 - i) for i, ch in enumerate(r) if ch != '.')) & 0xFFFF) for r in rows)
    xor_plane = b''.join(struct.pack('>H', sum(1 << (15 - i) for i, ch in enumerate(r) if ch == 'X')) for r in rows)
    open(path, 'wb').write(and_plane + xor_plane + struct.pack('>HH', hot_v, hot_h))

right = ['.' * 16] * 4 + ['......X.........', '......XX........', 'XXXXXXXXX.......', 'XXXXXXXXXX......',
        'XXXXXXXXXX......', 'XXXXXXXXX.......', '......XX........', '......X.........'] + ['.' * 16] * 4
left = [r[::-1] for r in right]
cross = ['.......X........'] * 6 + ['................', 'XXXXXX...XXXXXX.', '................'] + ['.......X........'] * 6 + ['.' * 16]
shooting = ['.' * 16] * 5 + ['.......X........', '.....X.X.X......', '......XXX.......', '....XXX.XXX.....',
            '......XXX.......', '.....X.X.X......', '.......X........'] + ['.' * 16] * 4
crs = os.path.join(here, '..', '..', 'game', 'QM3Data', 'CRS')
os.makedirs(crs, exist_ok=True)
for number, rows, hot in ((690000, right, (8, 9)), (690001, left, (8, 6)), (690002, cross, (7, 7)),
                          (690003, shooting, (8, 7))):
    cursor(os.path.join(crs, '%06d.CRS' % number), rows, *hot)

# Sounds: 8-bit mono samples at 22050 Hz.
def wav(name, samples):
    data = bytes(max(0, min(255, int(128 + s))) for s in samples)
    header = struct.pack('<4sI4s4sIHHIIHH4sI', b'RIFF', 36 + len(data), b'WAVE', b'fmt ', 16, 1, 1, 22050,
                         22050, 1, 8, b'data', len(data))
    open(os.path.join(out, name), 'wb').write(header + data)

RATE = 22050
def tone(freq, seconds, level):
    n = int(RATE * seconds)
    return [level * math.sin(2 * math.pi * freq * i / RATE) * (1 - i / n) for i in range(n)]
music = []
for freq in (196, 247, 294, 247, 220, 262, 330, 262):
    music += tone(freq, 0.35, 40)
wav('music.wav', music)
wav('click.wav', [60 * (1 if (i // 6) % 2 else -1) * (1 - i / 400) for i in range(400)])
wav('reload.wav', tone(140, 0.08, 50) + [0] * 800 + tone(180, 0.06, 50))
