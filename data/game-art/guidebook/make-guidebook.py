# Draws the guidebook's pictures and writes its sounds into FOLDER. Plain Python:
# python3 make-guidebook.py FOLDER
#   book.png                the open book behind the whole screen (640 x 480)
#   tab-N-C.png             tab N (0-9) of the ten sections, cel C: 0-2 off (up, pressed,
#                           dimmed), 3-5 on
#   icon-N.png              the section icons, 28 x 28
#   picture-N.png           pictures of the pages (0-7), 120 x 80
#   tab.wav, entry.wav, turn.wav, voice.wav, water.wav   8-bit mono sounds at 22050 Hz
import math, os, random, struct, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)

BLACK, WHITE = cube(0, 0, 0), cube(5, 5, 5)
LEATHER, LEATHER_DARK = cube(2, 1, 0), cube(1, 0, 0)
PAPER, PAPER_EDGE, GUTTER = cube(5, 5, 4), cube(4, 4, 3), cube(3, 3, 2)
GREY = 226 + 10

# The book: leather cover, two cream pages with a darker gutter, on a desk of light wood below
# row 400 (where the control bar's options button and the "more" notice lie).
DESK, DESK_GRAIN = cube(4, 3, 2), cube(4, 3, 1)
W, H = 640, 480
px = []
for y in range(H):
    for x in range(W):
        c = LEATHER
        if y >= 400:
            c = DESK_GRAIN if (y + int(3 * math.sin(x / 40.0))) % 9 == 0 else DESK
        if y < 400 and (x < 4 or y < 4 or y > 398):
            c = LEATHER_DARK
        if 12 <= y <= 397 and (12 <= x <= 308 or 316 <= x <= 600):
            c = PAPER
            if y in (12, 397) or x in (12, 308, 316, 600):
                c = PAPER_EDGE
            if 300 <= x <= 308 or 316 <= x <= 324:
                c = GUTTER if x in (308, 316) else PAPER_EDGE
        px.append(c)
png('book.png', W, H, px)

# The tabs: a coloured face with a mark of its own, lighter when on, greyed when dimmed, and
# shifted a pixel when pressed.
TAB_COLOURS = [cube(5, 4, 1), cube(4, 2, 1), cube(3, 4, 1), cube(1, 3, 5), cube(1, 4, 1),
               cube(5, 2, 2), cube(2, 3, 4), cube(4, 3, 2), cube(3, 2, 4), cube(1, 2, 2)]
def mark(n, x, y):
    # Dots for the first sections, then shapes: a cross, a cloud, a peak, a list and a pen.
    if n < 5:
        return any((x - 10 - 7 * i) ** 2 + (y - 17) ** 2 <= 5 for i in range(n + 1))
    if n == 5:
        return (14 <= x <= 19 and 9 <= y <= 25) or (8 <= x <= 25 and 14 <= y <= 19)
    if n == 6:
        return (x - 12) ** 2 + (y - 18) ** 2 <= 25 or (x - 20) ** 2 + (y - 16) ** 2 <= 36
    if n == 7:
        return 24 >= y >= 8 + abs(x - 16) and 6 <= x <= 26
    if n == 8:
        return 8 <= x <= 25 and y in (10, 11, 16, 17, 22, 23)
    return abs((x - 8) - (26 - y)) <= 1 and 8 <= x <= 24
for n in range(10):
    for cel in range(6):
        on, state = cel >= 3, cel % 3
        face = GREY if state == 2 else TAB_COLOURS[n]
        shift = 1 if state == 1 else 0
        px = []
        for y in range(34):
            for x in range(34):
                c = 0
                if 1 <= y <= 32 and x <= 32 - (1 if y in (1, 32) else 0):
                    c = face
                    if x == 32 or y in (1, 32):
                        c = BLACK
                    elif mark(n, x - shift, y - shift):
                        c = WHITE if on else BLACK
                    elif on and x < 3:
                        c = PAPER
                px.append(c)
        png('tab-%d-%d.png' % (n, cel), 34, 34, px)

# The icons: the tab's mark in a ring of its colour on the page's paper.
for n in range(10):
    px = []
    for y in range(28):
        for x in range(28):
            d = (x - 13.5) ** 2 + (y - 13.5) ** 2
            c = PAPER
            if d <= 13.5 ** 2:
                c = TAB_COLOURS[n]
                if mark(n, x + 3, y + 3):
                    c = WHITE
            px.append(c)
    png('icon-%d.png' % n, 28, 28, px)

# The page pictures: a framed little landscape each, sky, hills and a feature of its own.
random.seed(41)
for n in range(8):
    w, h = 120, 80
    sky = cube(2 + n % 3, 4, 5)
    hill = cube(1 + n % 2, 3 + n % 3, n % 2)
    water = cube(0, 2, 4)
    px = []
    for y in range(h):
        for x in range(w):
            top = 40 + int(10 * math.sin((x + 17 * n) / 14.0))
            c = sky if y < top else hill
            if n in (3, 4, 5) and y > 58 and y > 58 + (x // 20) % 2:
                c = water
            if n in (0, 1, 2) and 44 <= y <= 58 and 30 + 6 * n <= x <= 70 + 6 * n:
                c = WHITE if y < 52 else cube(2, 1, 0)
            if n in (6, 7) and (x - 60) ** 2 + (y - 50) ** 2 <= 40 + 20 * n:
                c = cube(1, 4, 1) if (x + y) % 5 else cube(5, 1, 2)
            if x in (0, w - 1) or y in (0, h - 1):
                c = BLACK
            px.append(c)
    png('picture-%d.png' % n, w, h, px)

# The sounds, 8-bit mono at 22050 Hz.
RATE = 22050
def wav(name, samples):
    data = bytes(max(0, min(255, 128 + int(round(v)))) for v in samples)
    open(os.path.join(out, name), 'wb').write(
        b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' +
        struct.pack('<IHHIIHH', 16, 1, 1, RATE, RATE, 1, 8) + b'data' + struct.pack('<I', len(data)) + data)
def rustle(seconds, level, decay):
    return [random.uniform(-level, level) * math.exp(-decay * i / RATE) for i in range(int(RATE * seconds))]
def tone(freqs, seconds, level):
    n = int(RATE * seconds)
    return [sum(math.sin(2 * math.pi * f * i / RATE) for f in freqs) / len(freqs) * level *
            math.exp(-3.0 * i / n) for i in range(n)]
wav('tab.wav', rustle(0.15, 60, 25))                       # 50000: a tab flipped open
wav('entry.wav', tone([880.0], 0.08, 70))                  # 50001: an entry picked
wav('turn.wav', rustle(0.3, 50, 10))                       # the page-turning buttons
wav('voice.wav', [v for f in (220.0, 247.0, 262.0, 247.0) for v in tone([f, 2 * f], 0.2, 60)])
wav('water.wav', [v * (0.6 + 0.4 * math.sin(i / 900.0)) for i, v in enumerate(rustle(1.0, 40, 1))])
