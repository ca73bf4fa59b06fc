# Draws the opening screen's attract movie frames (frame-00.png ...) and writes its title
# music (title-music.wav) into FOLDER. Plain Python: python3 make-attract.py FOLDER
import math, os, struct, sys, zlib

out = sys.argv[1]
W, H, FRAMES = 420, 240, 12


def chunk(tag, data):
    return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)


# The frames' palette: the game's colour cube (6 x 6 x 6 at indices 10-225).
PALETTE = bytearray(768)
for i in range(216):
    r, g, b = i // 36, (i // 6) % 6, i % 6
    PALETTE[(10 + i) * 3:(10 + i) * 3 + 3] = bytes((r * 51, g * 51, b * 51))


def png(name, px):
    raw = b''.join(b'\x00' + bytes(px[y * W:(y + 1) * W]) for y in range(H))
    data = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', W, H, 8, 3, 0, 0, 0)) +
            chunk(b'PLTE', bytes(PALETTE)) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    open(os.path.join(out, name), 'wb').write(data)


def cube(r, g, b):
    return 10 + 36 * r + 6 * g + b


SKY = [cube(2, 3, 5), cube(2, 4, 5), cube(3, 4, 5), cube(3, 5, 5)]
GRASS, TRAIL = cube(1, 3, 0), cube(4, 3, 1)
COVER, BOX, WHEEL, SUN, OX = cube(5, 5, 4), cube(3, 1, 0), cube(1, 0, 0), cube(5, 5, 1), cube(2, 1, 0)

for f in range(FRAMES):
    px = [0] * (W * H)
    for y in range(H):
        for x in range(W):
            if y < 150:
                c = SKY[min(3, y // 38)]
            elif 180 <= y < 200 + (x // 60) % 2:
                c = TRAIL
            else:
                c = GRASS
            px[y * W + x] = c
    def put(x, y, c):
        if 0 <= x < W and 0 <= y < H:
            px[y * W + x] = c
    # The sun sinks a little each frame.
    sx, sy = 330, 40 + 3 * f
    for y in range(sy - 14, sy + 15):
        for x in range(sx - 14, sx + 15):
            if (x - sx) ** 2 + (y - sy) ** 2 <= 196 and y < 150:
                put(x, y, SUN)
    # The wagon rolls right: a box, an arched cover, two wheels, an ox in front.
    wx = 40 + 20 * f
    for y in range(160, 180):
        for x in range(wx, wx + 60):
            put(x, y, BOX)
    for x in range(wx, wx + 60):
        top = 160 - int(22 * math.sin(math.pi * (x - wx) / 59))
        for y in range(top, 160):
            put(x, y, COVER)
    for cx in (wx + 12, wx + 48):
        for y in range(176, 197):
            for x in range(cx - 10, cx + 11):
                d = (x - cx) ** 2 + (y - 186) ** 2
                if 64 <= d <= 100 or (d < 64 and (x == cx or y == 186)):
                    put(x, y, WHEEL)
    for y in range(164, 182):
        for x in range(wx + 68, wx + 96):
            if y < 176 or (x - wx - 68) % 9 < 3:
                put(x, y, OX)
    png('frame-%02d.png' % f, px)

# The title music: a short tune of plucked notes, 8-bit mono at 22050 Hz, about 2 seconds.
RATE = 22050
NOTES = [392.0, 440.0, 493.9, 587.3, 493.9, 440.0, 392.0, 293.7]
samples = bytearray()
for n, freq in enumerate(NOTES):
    length = RATE // 4
    for i in range(length):
        t = i / RATE
        v = math.sin(2 * math.pi * freq * t) * math.exp(-4.0 * t) * 90
        samples.append(128 + int(round(v)))
wav = (b'RIFF' + struct.pack('<I', 36 + len(samples)) + b'WAVEfmt ' +
       struct.pack('<IHHIIHH', 16, 1, 1, RATE, RATE, 1, 8) + b'data' + struct.pack('<I', len(samples)) + bytes(samples))
open(os.path.join(out, 'title-music.wav'), 'wb').write(wav)
