# Draws the river catch's pictures and writes its sounds, sequences and cel tables: the water
# seen from the bank ("CBM" 9700), the two catch cards shown in the catch window (9711 the
# trout, 9712 the pike), the window's buttons (686050 keep, 686051 ask, 686052 let go), the
# creatures ("RLS" 9721 the trout, 9722 the pike: eight headings of two frames each, and the
# 17 turning animations the creatures play), the lure (9733), the landing ring (9706), the rod
# holder (9731, its three poses) and the surface strip (9732), the landing splash and the catch
# sound (9741, 9742: 8-bit WAV at 22050 Hz). Pixels are indices of the game palette (the
# colour cube at 10-225, greys at 226-245).
# Run: python3 make-catch.py FOLDER
import math, os, struct, sys, wave
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)
def text(name, lines): open(os.path.join(out, name), 'w').write('\n'.join(lines) + '\n')

def picture(name, w, h, paint):
    png(name, w, h, [paint(x, y) for y in range(h) for x in range(w)])

# The water: a band of sky and far bank, the surface, then deeper blues and weeds at the bottom.
def water(x, y):
    if y < 40: return cube(2, 3, 5) if y < 24 else cube(1, 2, 1)
    if y > 360 - 20 * math.sin(x / 37.0) and (x // 6) % 3: return cube(0, 2 + (x // 6) % 2, 1)
    depth = min(5, (y - 40) // 64)
    return cube(0, max(0, 3 - depth // 2), max(1, 5 - depth // 2))
picture('water.png', 640, 400, water)

# The catch cards: a frame, a dark ground under the pale text (colour 224) and the creature under
# the text.
def card(body, fin):
    def paint(x, y):
        if x < 4 or y < 4 or x >= 316 or y >= 196: return cube(2, 1, 0)
        dx, dy = (x - 150) / 44.0, (y - 136) / 11.0
        if dx * dx + dy * dy <= 1: return body if (x + y) % 7 else fin
        if 194 <= x < 210 and abs(y - 136) <= (x - 190) * 0.7: return fin
        return cube(1, 1, 2)
    return paint
picture('card-trout.png', 320, 200, card(cube(3, 3, 4), cube(4, 2, 2)))
picture('card-pike.png', 320, 200, card(cube(2, 3, 1), cube(1, 2, 0)))

# The buttons: a raised plate with a mark (a tick, a question mark's dot and hook, a cross).
def button(mark):
    def paint(x, y):
        if x < 2 or y < 2 or x >= 78 or y >= 22: return 232
        return cube(0, 0, 0) if mark(x - 40, y - 12) else cube(4, 4, 3)
    return paint
picture('button-keep.png', 80, 24, button(lambda x, y: (-8 <= x <= -2 and abs(y - x - 6) <= 1) or (-2 <= x <= 10 and abs(y - 2 + x) <= 1)))
picture('button-ask.png', 80, 24, button(lambda x, y: (abs(math.hypot(x, y + 3) - 5) <= 1 and y < -1) or (x == 0 and -1 <= y <= 3) or (x == 0 and y == 6)))
picture('button-letgo.png', 80, 24, button(lambda x, y: (abs(x - y) <= 1 or abs(x + y) <= 1) and abs(x) <= 7))

# A creature heading one of eight ways (1 up, clockwise to 8 up and left), its tail beating.
def creature(name, body, fin, length):
    cels = []
    for heading in range(1, 9):
        a = math.radians(45 * (heading - 3))          # heading 3 swims right
        for beat in (0, 1):
            def paint(x, y):
                u = (x - 24) * math.cos(a) + (y - 24) * math.sin(a)
                v = -(x - 24) * math.sin(a) + (y - 24) * math.cos(a)
                if (u / length) ** 2 + (v / 5.0) ** 2 <= 1: return fin if u > length - 4 and abs(v) < 2 else body
                t = -u - length
                if 0 <= t < 7 and abs(v - (2 if beat else -2) * t / 7.0) <= t * 0.7: return fin
                return 0
            cels.append('%s-%d-%d.png' % (name, heading, beat))
            picture(cels[-1], 48, 48, paint)
    return cels
creature('trout', cube(3, 3, 4), cube(4, 2, 2), 14)
creature('pike', cube(2, 3, 1), cube(1, 2, 0), 18)
# The turning animations: n (0-7) turns clockwise to heading n + 1, 8 and 9-16 the other way
# to headings 1 and 17 - n; each beats the tail of the heading reached.
anims, frames = [], []
for n in range(17):
    heading = n + 1 if n < 8 else 1 if n == 8 else 17 - n
    anims.append('anim %d %d 6 2' % (2 * n, n))
    frames += ['frame %d 0 0 0 0 0' % (2 * (heading - 1) + b) for b in (0, 1)]
text('creature.seq.txt', ['# A creature: animation n turns to a heading and beats its tail there.'] + anims + frames)
text('creature.cel.txt', ['# The creatures\' cels, anchored at their middle.'] + ['anchor -24 -24'] * 16)

# The lure: a red and white float; the landing ring, growing; the rod holder at rest, casting
# and pulling; the surface strip's three waves.
picture('lure-0.png', 8, 12, lambda x, y: cube(5, 0, 0) if y < 6 else cube(5, 5, 5))
picture('lure-1.png', 8, 12, lambda x, y: cube(5, 0, 0) if y < 5 else cube(5, 5, 5))
for i, r in enumerate((4, 8, 12)):
    picture('ring-%d.png' % i, 28, 12, lambda x, y, r=r: cube(4, 5, 5) if abs(math.hypot(x - 14, (y - 6) * 2.2) - r) < 1.2 else 0)
for i, lean in enumerate((0, -10, 8)):
    picture('holder-%d.png' % i, 40, 60, lambda x, y, lean=lean: cube(2, 1, 0) if abs(x - 20 - lean * (60 - y) / 60.0) <= 2 - y // 40 else (cube(3, 2, 1) if y >= 50 and 8 <= x < 32 else 0))
for i in range(3):
    picture('strip-%d.png' % i, 320, 10, lambda x, y, i=i: cube(4, 5, 5) if y == int(4 + 3 * math.sin((x + 8 * i) / 9.0)) else 0)
text('sprite.seq.txt', ['# The lure, ring and holder: animation n shows cel n (the ring plays its three cels once).',
                        'anim 0 255 8 1', 'anim 1 1 8 1', 'anim 2 2 8 1',
                        'frame 0 0 0 0 0 0', 'frame 1 0 0 0 0 0', 'frame 2 0 0 0 0 0'])
text('ring.seq.txt', ['# The landing ring grows once.', 'anim 0 255 6 3',
                      'frame 0 0 0 0 0 0', 'frame 1 0 0 0 0 0', 'frame 2 0 0 0 0 0'])
text('sprite.cel.txt', ['# Anchored at their top left corner.'] + ['anchor 0 0'] * 3)

def sound(name, samples):
    w = wave.open(os.path.join(out, name), 'wb')
    w.setnchannels(1); w.setsampwidth(1); w.setframerate(22050)
    w.writeframes(bytes(max(0, min(255, int(128 + s))) for s in samples))
    w.close()
# A splash: noise dying away; the catch: two rising notes.
seed = 7
def noise():
    global seed
    seed = (seed * 1103515245 + 12345) & 0x7fffffff
    return (seed >> 16) % 200 - 100
sound('splash.wav', [noise() * math.exp(-i / 1500.0) for i in range(6000)])
sound('catch.wav', [60 * math.sin(2 * math.pi * (523 if i < 4000 else 659) * i / 22050) for i in range(8000)])
