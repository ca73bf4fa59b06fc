# Draws the frames of the stop scenes' outcome clips into FOLDER (plain Python: python3
# make-crossings.py FOLDER): for each clip six 160 x 120 frames of a wagon moving across a
# river or over a ridge, upright on success and tipping on failure. The pixels are indices
# of the game palette (greypng.py).
import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng

SKY, GRASS, WATER, ROCK = cube(2, 4, 5), cube(2, 3, 0), cube(1, 2, 4), cube(3, 3, 2)
CANVAS, WOOD, INK = cube(5, 5, 5), cube(3, 2, 1), cube(1, 1, 0)

# Clip id: (river or ridge, success, the ferry's raft under the wagon).
CLIPS = {
    965: ('ridge', False, False), 967: ('ridge', True, False),
    970: ('river', True, True), 972: ('river', False, True),
    975: ('river', True, True), 977: ('river', False, True),
    980: ('river', True, False), 982: ('river', False, False),
    985: ('river', True, False), 987: ('river', False, False),
    990: ('ridge', True, False), 992: ('ridge', False, False), 995: ('ridge', True, False),
}


def frame(kind, success, raft, f):
    wx = 20 + f * 20                     # the wagon's left edge
    tilt = 0 if success else f * 2       # a failing wagon leans further each frame
    ground = lambda x: 90 - abs(x - 80) // 3 if kind == 'ridge' else 92
    px = []
    for y in range(120):
        for x in range(160):
            g = ground(x)
            c = SKY if y < g else (WATER if kind == 'river' and y < 110 else ROCK if kind == 'ridge' else GRASS)
            body_top = g - 30 + tilt * (x - wx) // 20
            if wx <= x <= wx + 50 and body_top <= y <= g - 8:
                c = CANVAS if y < g - 18 else WOOD
            for cx in (wx + 10, wx + 40):
                if (x - cx) ** 2 + (y - (g - 6)) ** 2 in range(20, 40):
                    c = INK
            if raft and wx - 5 <= x <= wx + 55 and g - 2 <= y <= g + 2:
                c = WOOD
            px.append(c)
    return px


for clip, (kind, success, raft) in CLIPS.items():
    for f in range(6):
        greypng.png(out, 'clip-%d-%d.png' % (clip, f), 160, 120, frame(kind, success, raft, f))
