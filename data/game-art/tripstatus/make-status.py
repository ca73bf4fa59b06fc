# Draws the trip status screen's pictures into FOLDER: its background (status.png), the panel
# marker's two frames (marker-0.png unrated, marker-1.png rated), the empty picture the
# closing pictures replace (blank.png), and the closing and final pictures (picture-N.png,
# N = 9000, 9010 ... 9160 and 9201-9205); and writes the narrations (narration-N.wav, N =
# 518271-518298), short tunes of 8-bit mono samples at 22050 Hz.
# Pixels are indices of the game palette (the colour cube at 10-225, greys at 226-245).
# Run: python3 make-status.py FOLDER
import math, os, struct, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng


class Picture:
    def __init__(self, w, h, colour):
        self.w, self.h, self.px = w, h, [colour] * (w * h)

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def frame(self, c, width):
        for i in range(width):
            self.box(i, i, self.w - i, i + 1, c)
            self.box(i, self.h - 1 - i, self.w - i, self.h - i, c)
            self.box(i, i, i + 1, self.h - i, c)
            self.box(self.w - 1 - i, i, self.w - i, self.h - i, c)

    def save(self, name):
        greypng.png(out, name, self.w, self.h, self.px)


PAPER, EDGE, INK, RULE = cube(5, 5, 3), cube(3, 2, 1), cube(1, 1, 0), cube(4, 4, 2)
GOOD, BOX = cube(0, 3, 0), cube(3, 2, 1)

# The screen's background: paper with a wooden edge and six ruled rows for the panels.
screen = Picture(640, 400, PAPER)
screen.frame(EDGE, 8)
for row in range(6):
    screen.box(40, 128 + 40 * row, 600, 130 + 40 * row, RULE)
screen.save('status.png')

# The marker: an empty box, then the box with a mark.
for n in range(2):
    m = Picture(20, 20, PAPER)
    m.frame(BOX, 2)
    if n:
        for i in range(4):
            m.box(4 + i, 9 + i, 6 + i, 12 + i, GOOD)
        for i in range(8):
            m.box(8 + i, 12 - i, 10 + i, 15 - i, GOOD)
    m.save('marker-%d.png' % n)

blank = Picture(1, 1, PAPER)
blank.save('blank.png')

# The pictures: a landscape of 320 x 200 whose sky, sun and what stands on the ground tell
# the story: crosses on a hill (9000), a broken wagon (9010), a wagon on the trail ahead
# (9030), cabins and fields that grow with the score (the final pictures), the valley reached
# under a brighter sky (the closing pictures 9201-9205).
W, H = 320, 200
GRASS, DRY, TRAIL, WOOD, ROOF = cube(1, 3, 0), cube(3, 3, 1), cube(4, 3, 1), cube(2, 1, 0), cube(3, 0, 0)
COVER, WHEEL, FIELD, WATER = cube(5, 5, 4), cube(1, 0, 0), cube(4, 4, 0), cube(1, 3, 5)


def landscape(sky, ground, sun=None, sun_colour=cube(5, 5, 1)):
    p = Picture(W, H, sky)
    p.box(0, 130, W, H, ground)
    if sun:
        p.disc(sun[0], sun[1], 14, sun_colour)
    p.frame(EDGE, 3)
    return p


def wagon(p, x, y, broken=False):
    p.box(x, y, x + 50, y + 16, WOOD)
    for i in range(50):
        top = y - int(18 * math.sin(math.pi * i / 49))
        p.box(x + i, top, x + i + 1, y, COVER)
    for cx in ((x + 10,) if broken else (x + 10, x + 40)):
        p.disc(cx, y + 20, 8, WHEEL)
        p.disc(cx, y + 20, 5, WOOD)
    if broken:
        p.box(x + 34, y + 26, x + 50, y + 29, WHEEL)


def cabin(p, x, y, size):
    p.box(x, y - size, x + 2 * size, y, WOOD)
    for i in range(size + 1):
        p.box(x - 2 + i, y - size - i, x + 2 * size + 2 - i, y - size - i + 1, ROOF)
    p.box(x + size - 3, y - size // 2, x + size + 3, y, INK)


def cross(p, x, y):
    p.box(x - 1, y - 14, x + 2, y, WOOD)
    p.box(x - 5, y - 10, x + 6, y - 7, WOOD)


pictures = {}
p = landscape(cube(2, 2, 3), DRY, (250, 60), cube(4, 2, 1))
p.box(60, 110, 260, 130, DRY)
for x in (100, 140, 180, 220):
    cross(p, x, 118)
pictures[9000] = p
p = landscape(cube(3, 3, 3), DRY)
wagon(p, 130, 120, broken=True)
pictures[9010] = p
for n, (sky, colour) in enumerate(((cube(3, 3, 4), DRY), (cube(3, 4, 4), GRASS))):
    p = landscape(sky, colour, (60, 50))
    cabin(p, 140, 150, 14)
    pictures[9020 + 20 * n] = p
p = landscape(cube(2, 4, 5), GRASS, (270, 40))
for y in range(130, H):
    half = 4 + (y - 130) * 2
    p.box(160 - half, y, 160 + half, y + 1, TRAIL)
wagon(p, 135, 128)
pictures[9030] = p
for band in range(4):
    for variant in range(3):
        n = 9050 + 30 * band + 10 * variant
        p = landscape(cube(2, 3 + band // 2, 5), GRASS, (40 + 100 * variant, 40))
        p.box(20, 160, 120 + 40 * band, 185, FIELD)
        for k in range(band + 1):
            cabin(p, 180 + 34 * k - 10 * variant, 150, 10 + 2 * variant)
        if variant == 2:
            p.box(0, 188, W, 194, WATER)
        pictures[n] = p
for k in range(5):
    p = landscape(cube(1 + k // 2, 2 + k // 2, 3 + k // 3), GRASS, (160, 90 - 10 * k))
    p.box(0, 150, W, 158, WATER)
    wagon(p, 40 + 40 * k, 120)
    pictures[9201 + k] = p
for n, p in pictures.items():
    p.save('picture-%d.png' % n)

# The narrations: three notes rising (good), even (fair) or falling (poor) per panel, a
# little higher for each panel; then the closing pictures' tunes (518292-518298).
RATE = 22050


def tune(name, freqs, note=0.12):
    samples = bytearray()
    for freq in freqs:
        n = int(RATE * note)
        for i in range(n):
            env = min(1.0, i / 200.0) * (1 - i / n)
            samples.append(128 + int(90 * env * math.sin(2 * math.pi * freq * i / RATE)))
    header = (b'RIFF' + struct.pack('<I', 36 + len(samples)) + b'WAVEfmt ' +
              struct.pack('<IHHIIHH', 16, 1, 1, RATE, RATE, 1, 8) + b'data' + struct.pack('<I', len(samples)))
    open(os.path.join(out, name), 'wb').write(header + bytes(samples))


for panel in range(6):
    base = 330.0 * (1 + panel / 12.0)
    for rating, steps in enumerate(((0, 4, 7), (0, 0, 0), (7, 4, 0))):
        tune('narration-%d.wav' % (518271 + 3 * panel + rating), [base * 2 ** (s / 12.0) for s in steps])
for k, steps in enumerate(((7, 3, 0, -5), (5, 2, 0, -4), (0, 4, 7), (0, 4, 7, 9), (0, 4, 7, 12),
                           (0, 5, 9, 12), (0, 4, 7, 12, 16))):
    tune('narration-%d.wav' % (518292 + k), [262.0 * 2 ** (s / 12.0) for s in steps], 0.15)
