# Draws the tour's pictures and writes its three sounds (plain Python, no packages):
#   python3 make-art.py FOLDER
# menu.png (640 x 480, screen 1000), item-0/1/2.png (20 x 20: normal, pressed, unavailable),
# about.png (640 x 480, screen 1002) and Intro.wav, Roll.wav, Click.wav (8-bit mono, 22050 Hz).
# Pixels are indices of the palette: the colour cube at 10-225 (cube(r, g, b), 0-5 each) and
# 20 greys at 226-245; the PNGs are 8-bit greyscale files holding those indices.
import math, os, struct, sys, zlib

out = sys.argv[1]


def png(name, w, h, px):
    raw = b''.join(b'\x00' + bytes(px[y * w:(y + 1) * w]) for y in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 0, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    open(os.path.join(out, name), 'wb').write(data)


def wav(name, samples):
    data = bytes(max(0, min(255, int(round(128 + s * 127)))) for s in samples)
    header = (b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' +
              struct.pack('<IHHIIHH', 16, 1, 1, 22050, 22050, 1, 8) + b'data' + struct.pack('<I', len(data)))
    open(os.path.join(out, name), 'wb').write(header + data)


def cube(r, g, b):
    return 10 + 36 * r + 6 * g + b


def grey(n):
    return 226 + n


W, H = 640, 480

# A 5 x 7 letter face for the pictures' words.
FONT = {
    'A': '01110 10001 10001 11111 10001 10001 10001', 'B': '11110 10001 10001 11110 10001 10001 11110',
    'C': '01110 10001 10000 10000 10000 10001 01110', 'D': '11110 10001 10001 10001 10001 10001 11110',
    'E': '11111 10000 10000 11110 10000 10000 11111', 'F': '11111 10000 10000 11110 10000 10000 10000',
    'G': '01110 10001 10000 10111 10001 10001 01111', 'H': '10001 10001 10001 11111 10001 10001 10001',
    'I': '01110 00100 00100 00100 00100 00100 01110', 'J': '00111 00010 00010 00010 00010 10010 01100',
    'K': '10001 10010 10100 11000 10100 10010 10001', 'L': '10000 10000 10000 10000 10000 10000 11111',
    'M': '10001 11011 10101 10101 10001 10001 10001', 'N': '10001 11001 10101 10011 10001 10001 10001',
    'O': '01110 10001 10001 10001 10001 10001 01110', 'P': '11110 10001 10001 11110 10000 10000 10000',
    'Q': '01110 10001 10001 10001 10101 10010 01101', 'R': '11110 10001 10001 11110 10100 10010 10001',
    'S': '01111 10000 10000 01110 00001 00001 11110', 'T': '11111 00100 00100 00100 00100 00100 00100',
    'U': '10001 10001 10001 10001 10001 10001 01110', 'V': '10001 10001 10001 10001 10001 01010 00100',
    'W': '10001 10001 10001 10101 10101 10101 01010', 'X': '10001 10001 01010 00100 01010 10001 10001',
    'Y': '10001 10001 01010 00100 00100 00100 00100', 'Z': '11111 00001 00010 00100 01000 10000 11111',
    '0': '01110 10001 10011 10101 11001 10001 01110', '1': '00100 01100 00100 00100 00100 00100 01110',
    '2': '01110 10001 00001 00010 00100 01000 11111', '3': '11110 00001 00001 01110 00001 00001 11110',
    '.': '00000 00000 00000 00000 00000 01100 01100', ',': '00000 00000 00000 00000 01100 00100 01000',
    '-': '00000 00000 00000 11111 00000 00000 00000', ' ': '00000 00000 00000 00000 00000 00000 00000',
    ':': '00000 01100 01100 00000 01100 01100 00000',
}


def text(px, w, x, y, words, colour, scale):
    for ch in words:
        rows = FONT[ch].split()
        for ry, row in enumerate(rows):
            for rx, bit in enumerate(row):
                if bit == '1':
                    for sy in range(scale):
                        for sx in range(scale):
                            px[(y + ry * scale + sy) * w + x + rx * scale + sx] = colour
        x += 6 * scale


def text_width(words, scale):
    return len(words) * 6 * scale - scale


def landscape(px, w, h):
    """A prairie under an evening sky, a river, hills and a trail; the foot is a parchment
    strip for the caption line."""
    for y in range(h):
        for x in range(w):
            if y < 200:
                c = [cube(1, 2, 4), cube(2, 3, 5), cube(3, 4, 5), cube(4, 4, 5), cube(5, 4, 3)][y // 40]
            else:
                hill = 200 + int(18 * math.sin(x / 70.0) + 10 * math.sin(x / 23.0 + 1))
                if y < hill:
                    c = cube(4, 4, 5)
                elif y < 330:
                    c = cube(1 + (x * 7 + y * 13) // 97 % 5 // 4, 3, 0)
                else:
                    c = cube(1 + (x * 5 + y * 11) // 89 % 5 // 4, 2, 0)
            px[y * w + x] = c
    # The sun low over the hills.
    for y in range(120, 200):
        for x in range(470, 570):
            if (x - 520) ** 2 + (y - 185) ** 2 <= 36 ** 2 and y < 200 + int(18 * math.sin(x / 70.0) + 10 * math.sin(x / 23.0 + 1)):
                px[y * w + x] = cube(5, 5, 1)
    # The trail, winding from the foot of the picture to the hills.
    for y in range(215, 400):
        centre = 470 + int(60 * math.sin(y / 45.0)) - (y - 215) // 4
        half = 3 + (y - 215) // 12
        for x in range(centre - half, centre + half):
            if 0 <= x < w:
                px[y * w + x] = cube(3, 2, 1)
    # The parchment strip at the foot.
    for y in range(400, h):
        for x in range(w):
            px[y * w + x] = cube(5, 5, 4) if y > 401 else cube(2, 1, 0)


def panel(px, w, top, left, bottom, right):
    for y in range(top, bottom):
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            px[y * w + x] = cube(3, 2, 1) if edge else PANEL


PANEL = cube(1, 0, 0)

# Screen 1000: the menu, its items from (60, 150) 40 pixels apart on a dark panel.
menu = [0] * (W * H)
landscape(menu, W, H)
panel(menu, W, 140, 48, 392, 420)
title = 'QUILLMARK III'
text(menu, W, (W - text_width(title, 4)) // 2, 40, title, cube(5, 5, 5), 4)
sub = 'THE TOUR'
text(menu, W, (W - text_width(sub, 3)) // 2, 86, sub, cube(5, 5, 3), 3)
png('menu.png', W, H, menu)

# The item cels: a wagon wheel on the panel's colour; pressed it is darker and sunk by a
# pixel, unavailable it is grey.
for cel, (rim, hub, shift) in enumerate([(cube(5, 4, 1), cube(5, 5, 3), 0), (cube(4, 2, 0), cube(4, 3, 1), 1),
                                         (grey(8), grey(12), 0)]):
    px = []
    for y in range(20):
        for x in range(20):
            dx, dy = x - 9.5 - shift, y - 9.5 - shift
            r = math.hypot(dx, dy)
            c = PANEL
            if 6.5 <= r <= 9:
                c = rim
            elif r <= 2.5:
                c = hub
            elif r < 6.5 and (abs(dx) < 1 or abs(dy) < 1 or abs(abs(dx) - abs(dy)) < 1):
                c = rim
            px.append(c)
    png('item-%d.png' % cel, 20, 20, px)

# Screen 1002: about the tour, the picture alone.
about = [0] * (W * H)
landscape(about, W, H)
panel(about, W, 110, 60, 380, 580)
lines = ['ABOUT THIS TOUR', '', 'THE TOUR STARTS QUILLMARK III,', 'SHOWS ITS READ-ME AND OPENS',
         'ITS WEB SITE.', '', 'VESPAR32 - A SMALL LAUNCHER', '', 'CLOSE THIS WINDOW TO END THE TOUR.']
for n, line in enumerate(lines):
    scale = 3 if n == 0 else 2
    text(about, W, (W - text_width(line, scale)) // 2, 130 + 26 * n + (0 if n == 0 else 10), line,
         cube(5, 5, 3) if n == 0 else cube(5, 5, 5), scale)
png('about.png', W, H, about)

# The sounds.
RATE = 22050


def tone(freq, seconds, volume, decay):
    n = int(RATE * seconds)
    return [volume * math.sin(2 * math.pi * freq * i / RATE) * math.exp(-decay * i / RATE) for i in range(n)]


intro = []
for freq in (392.0, 494.0, 587.0, 784.0):
    intro += tone(freq, 0.22, 0.6, 4.0)
intro += tone(784.0, 0.5, 0.5, 5.0)
wav('Intro.wav', intro)
wav('Roll.wav', tone(1320.0, 0.06, 0.35, 40.0))
seed = 12345
click = []
for i in range(int(RATE * 0.03)):
    seed = (seed * 1103515245 + 12345) & 0x7fffffff
    click.append(((seed >> 16) / 32768.0 - 0.5) * 1.4 * math.exp(-150.0 * i / RATE))
wav('Click.wav', click)
