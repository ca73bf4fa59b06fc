# Draws the frames of the landmark characters' clips into FOLDER (plain Python: python3
# make-characters.py FOLDER): for each clip six 120 x 160 frames of a figure in front of a
# plank wall who raises an arm a little further each frame. The ferryman and the trader have
# clips of their own; the wanderer has three, in three coat colours, one played at random on
# each visit. The pixels are indices of the game palette, written with the palette's colour
# cube (greypng.cube_png) since the clips keep their frames' colours.
import os, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng

WALL, PLANK, SKIN, HAT, INK = cube(4, 3, 2), cube(3, 2, 1), cube(5, 4, 3), cube(1, 1, 1), cube(0, 0, 0)
W, H = 120, 160

# Clip id: the coat's colour and the trousers'.
CLIPS = {
    210250: (cube(1, 2, 4), cube(2, 2, 2)),   # the ferryman
    210251: (cube(4, 1, 1), cube(1, 1, 0)),   # the trader
    210300: (cube(1, 3, 1), cube(2, 1, 0)),   # the wanderer
    210301: (cube(4, 4, 1), cube(2, 1, 0)),
    210302: (cube(3, 1, 4), cube(2, 1, 0)),
}


def frame(coat, trousers, f):
    hand_y = 90 - f * 10                # the raised hand climbs each frame
    px = []
    for y in range(H):
        for x in range(W):
            c = PLANK if y % 20 == 0 else WALL
            if (x - 60) ** 2 + (y - 38) ** 2 <= 14 ** 2:
                c = SKIN
            if 42 <= x <= 78 and 18 <= y <= 26 or 48 <= x <= 72 and 6 <= y <= 18:
                c = HAT
            if 40 <= x <= 80 and 54 <= y <= 110:
                c = coat
            if 44 <= x <= 58 and 110 < y <= 150 or 62 <= x <= 76 and 110 < y <= 150:
                c = trousers
            if 80 < x <= 92 and min(hand_y, 60) <= y <= max(hand_y, 60) + 8:
                c = coat
            if 80 < x <= 94 and hand_y - 8 <= y < hand_y:
                c = SKIN
            if (x - 54) ** 2 + (y - 36) ** 2 <= 4 or (x - 66) ** 2 + (y - 36) ** 2 <= 4:
                c = INK
            px.append(c)
    return px


for clip, (coat, trousers) in CLIPS.items():
    for f in range(6):
        greypng.cube_png(out, 'clip-%d-%d.png' % (clip, f), W, H, frame(coat, trousers, f))
