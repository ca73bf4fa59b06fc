# Draws the route events' art into FOLDER (plain Python: python3 make-events.py FOLDER):
# the dialogs' backdrop (520 x 400), six event pictures (160 x 120), the frames of the rain clip
# and of the travellers' clips (160 x 120, eight frames each) and the nine effect sounds
# (8-bit mono WAV at 22050 Hz). The pixels are indices of the game palette (greypng.py).
import math, os, struct, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng


def png(name, w, h, px): greypng.png(out, name, w, h, px)


INK, PAPER, EDGE = cube(1, 1, 0), cube(5, 5, 4), cube(3, 2, 1)

# The backdrop: parchment with a wooden edge.
W, H = 520, 400
px = []
for y in range(H):
    for x in range(W):
        edge = min(x, y, W - 1 - x, H - 1 - y)
        px.append(EDGE if edge < 6 else cube(4, 4, 3) if edge < 9 else PAPER if (x * 7 + y * 3) % 53 else cube(5, 4, 3))
png('dialog.png', W, H, px)


def scene(sky, ground, draw):
    """A 160 x 120 picture: a sky over a ground, with draw(x, y) giving a colour or None."""
    px = []
    for y in range(120):
        for x in range(160):
            c = draw(x, y)
            px.append(c if c is not None else sky if y < 70 else ground)
    return px


def wagon(x, y, tilt=0):
    if 50 <= x <= 110 and 50 + tilt * (x - 50) // 60 <= y <= 80:
        return cube(5, 5, 5) if y < 66 else cube(3, 2, 1)
    for cx in (60, 100):
        if abs(math.hypot(x - cx, y - 84) - 8) < 1.5:
            return cube(1, 1, 0)
    return None


SKY, GROUND = cube(2, 4, 5), cube(2, 3, 0)
pictures = {
    # 6010 a wagon in trouble (breakdowns), 6011 the sick (illness), 6012 animals (stock),
    # 6013 snow and cold, 6014 a storm, 6015 the empty prairie (anything else).
    6010: scene(SKY, GROUND, lambda x, y: wagon(x, y, tilt=1) or (cube(1, 1, 0) if (x - 130) ** 2 + (y - 88) ** 2 < 36 else None)),
    6011: scene(cube(3, 3, 4), GROUND, lambda x, y: cube(5, 5, 5) if 40 <= x <= 120 and 70 <= y <= 90 else cube(4, 3, 2) if (x - 52) ** 2 + (y - 66) ** 2 < 64 else None),
    6012: scene(SKY, GROUND, lambda x, y: cube(3, 1, 0) if 50 <= x <= 100 and 62 <= y <= 78 or (x in range(52, 56) or x in range(94, 98)) and 78 <= y <= 92 else None),
    6013: scene(cube(4, 4, 5), cube(5, 5, 5), lambda x, y: cube(5, 5, 5) if (x * 13 + y * 7) % 41 == 0 else wagon(x, y)),
    6014: scene(cube(1, 1, 2), GROUND, lambda x, y: cube(5, 5, 2) if abs(x - 80 - (y % 20 - 10) * (1 if y % 40 < 20 else -1)) < 2 and y < 70 else cube(3, 3, 5) if (x + 3 * y) % 17 == 0 else None),
    6015: scene(SKY, GROUND, lambda x, y: cube(5, 5, 1) if (x - 120) ** 2 + (y - 30) ** 2 < 150 else None),
}
for n, px in pictures.items():
    png('picture-%d.png' % n, 160, 120, px)

# The rain clip: streaks falling over the prairie, eight frames.
for f in range(8):
    png('rain-%02d.png' % f, 160, 120, scene(cube(2, 2, 3), GROUND,
        lambda x, y: cube(4, 4, 5) if (x * 3 + y - f * 6) % 23 == 0 and y < 110 else None))

# A traveller's clip: a face by person index (its colours) that nods as the frames go by; the
# event type tints the background (8 a cold: blue, 19 dysentery: green).
for person in (1, 2, 3, 4, 5):
    for event in (8, 19):
        back = cube(1, 2, 4) if event == 8 else cube(1, 3, 1)
        skin, hair = cube(5, 4, 3), cube(person % 3, person % 2, 0)
        for f in range(8):
            nod = int(3 * math.sin(f * math.pi / 4))
            def face(x, y):
                d = (x - 80) ** 2 / 900 + (y - 60 - nod) ** 2 / 1600
                if d < 1:
                    if y < 34 + nod:
                        return hair
                    if y in (52 + nod, 53 + nod) and (x - 68) ** 2 < 9 or (x - 92) ** 2 < 9 and y in (52 + nod, 53 + nod):
                        return INK
                    return skin
                return back
            png('traveller-%d-%d-%02d.png' % (person, event, f), 160, 120, [face(x, y) for y in range(120) for x in range(160)])


def wav(name, samples):
    data = bytes(max(0, min(255, int(128 + s))) for s in samples)
    head = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 22050, 22050, 1, 8)
    open(os.path.join(out, name), 'wb').write(head + b'data' + struct.pack('<I', len(data)) + data)


# Nine short effects (a third of a second each): falling or rising tones and a noise burst.
rate = 22050
for n in range(1, 10):
    length = rate // 3
    samples = []
    seed = n * 7919
    for i in range(length):
        t = i / rate
        fade = 1 - i / length
        if n % 3 == 0:
            seed = (seed * 1103515245 + 12345) & 0x7fffffff
            s = ((seed >> 16) % 160 - 80) * fade
        else:
            f0 = 220 * n
            f = f0 * (1 - 0.5 * t) if n % 3 == 1 else f0 * (1 + t)
            s = 70 * fade * math.sin(2 * math.pi * f * t)
        samples.append(s)
    wav('effect-%d.wav' % n, samples)
