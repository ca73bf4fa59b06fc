# Draws the sample river: the legend-coded map ("CBM" 7100, 24 x 64 cells: rows 0 and 1 the
# legend, a channel with currents, rocks, a log, banks with trees, the start and end cells),
# its height picture ("CBM" 7101), the panorama ("CBM" 7050), the sprites of the ripples
# ("RLS" 7060), the tree and boulder scenery ("RLS" 7070, 7071) and the raft figure ("RLS"
# 7040, animations 0-3 of two frames each), and writes the ten steering cursors ("CRS"
# 7801-7810: 16 x 16 picture and mask planes and the hot spot, 68 bytes).
# Pixels are indices of the game palette (the colour cube at 10-225, greys at 226-245).
# Run: python3 make-river.py FOLDER
import math, os, struct, sys
out = sys.argv[1]
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from greypng import cube
import greypng
def png(name, w, h, px): greypng.png(out, name, w, h, px)

W, H = 24, 64
# The legend (row 0) and the colours of the entries that take theirs from row 1.
WATER = [cube(0, 1, 4), cube(0, 1, 5), cube(0, 2, 4), cube(0, 2, 5), cube(0, 3, 4), cube(0, 3, 5),
         cube(1, 2, 5), cube(1, 3, 5), cube(0, 0, 5)]            # current codes 0-8
START, SLACK, END = cube(1, 1, 5), cube(1, 2, 4), cube(1, 3, 4)
ROCK, LOG, TREE, BOULDER = 236, cube(2, 1, 0), cube(0, 2, 0), 232
GRASS, EARTH = cube(1, 3, 0), cube(2, 2, 1)                      # banks: not in the legend
legend = WATER + [0, START, SLACK, 0, END, 0, ROCK, 0, LOG, 0, TREE, BOULDER, 0, 0, 0]
colours = [0] * len(legend)
colours[legend.index(LOG)] = cube(3, 2, 0)
colours[legend.index(TREE)] = cube(0, 3, 0)
colours[legend.index(BOULDER)] = 234
assert len(legend) == W

def centre(r): return 12 + int(round(3 * math.sin(r / 9.0)))
HALF = 4
cells = [[0] * W for _ in range(H)]
cells[0], cells[1] = legend, colours
for r in range(2, H):
    c0 = centre(r)
    for c in range(W):
        d = c - c0
        if abs(d) > HALF:
            cells[r][c] = GRASS if (abs(d) + r) % 5 else EARTH
        elif r < 6:
            cells[r][c] = WATER[0]                               # still water above the run
        elif d <= -HALF + 1:
            cells[r][c] = WATER[4]                               # pushed off the left bank
        elif d >= HALF - 1:
            cells[r][c] = WATER[6]                               # and off the right one
        else:
            cells[r][c] = WATER[5]                               # downstream
    cells[r][0] = EARTH
for r in (58, 59):
    for c in range(centre(r) - HALF, centre(r) + HALF + 1): cells[r][c] = END
for r, d in ((20, -2), (35, 2), (47, -1)):
    cells[r][centre(r) + d] = ROCK
    cells[r + 1][centre(r) + d] = BOULDER
cells[28][centre(28) + 3] = LOG
cells[12][centre(12) + 1] = SLACK
for r in range(8, 56, 6):
    cells[r][centre(r) - HALF - 2] = TREE
    cells[r + 3][centre(r + 3) + HALF + 2] = TREE
cells[4][centre(4)] = START
png('map.png', W, H, [v for row in cells for v in row])

# Heights: the water at 0 (the first byte, the water level), the banks rising from the edge.
heights = []
for r in range(H):
    for c in range(W):
        d = abs(c - centre(r)) - HALF
        heights.append(0 if r < 2 or d <= 0 else min(4 * d + 2, 40))
png('height.png', W, H, heights)

# The panorama: low hills under the default sky colour.
SKY, HILL, FAR = 0x2f, cube(1, 2, 1), cube(2, 2, 3)
PW, PH = 160, 48
pano = []
for y in range(PH):
    for x in range(PW):
        far = PH - 30 + 8 * math.sin(x / 13.0)
        near = PH - 14 + 6 * math.sin(x / 7.0 + 1)
        pano.append(HILL if y > near else FAR if y > far else SKY)
png('panorama.png', PW, PH, pano)

def sprite(name, w, h, paint):
    px = [0] * (w * h)
    for y in range(h):
        for x in range(w): px[y * w + x] = paint(x, y)
    png(name, w, h, px)

# Ripples: a short light streak, drawn one pixel apart in the two frames.
for f in range(2):
    sprite('ripple-%d.png' % f, 12, 4, lambda x, y: cube(3, 4, 5) if y == 1 + f % 2 and 2 + f <= x < 9 + f else 0)
# A fir tree and a boulder.
def tree(x, y):
    if y >= 26: return cube(2, 1, 0) if 5 <= x < 7 else 0
    return cube(0, 2 + (x + y) % 2, 0) if abs(x - 6) <= (y + 2) // 3 else 0
sprite('tree.png', 12, 30, tree)
sprite('boulder.png', 14, 10, lambda x, y: (233 if (x + y) % 3 else 230) if (x - 7) ** 2 / 49.0 + (y - 9) ** 2 / 81.0 <= 1 else 0)
# The raft seen from behind: logs, a rope and the bow; the frames tilt it a little.
RW, RH = 120, 36
def raft(tilt, lift):
    def paint(x, y):
        yy = y - lift + (tilt * (x - RW // 2)) // 40
        if 6 <= yy < 30 and 4 <= x < RW - 4:
            if (x - 4) % 14 in (0, 13): return cube(2, 1, 0)
            return cube(4, 3, 1) if yy % 8 else cube(2, 1, 0)
        if 30 <= yy < 34 and 8 <= x < RW - 8: return cube(1, 1, 0)
        return 0
    return paint
poses = [(0, 0), (1, 0), (0, -2), (-1, 2), (0, 3), (2, 1), (0, -3), (-2, -1)]
for i, (tilt, lift) in enumerate(poses):
    sprite('raft-%d.png' % i, RW, RH, raft(tilt, lift))

# Cursors: an arrow pointing toward the zone's way (8 directions), and a plain ring.
def cursor(path, bits, hot):
    image = bytearray(32); mask = bytearray(32)
    for y in range(16):
        for x in range(16):
            if bits(x, y):
                image[2 * y + x // 8] |= 0x80 >> (x % 8)
            if any(bits(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                mask[2 * y + x // 8] |= 0x80 >> (x % 8)
    open(path, 'wb').write(bytes(image) + bytes(mask) + struct.pack('>hh', hot[1], hot[0]))
def arrow(ax, ay):
    def bits(x, y):
        if not (0 <= x < 16 and 0 <= y < 16): return False
        # A shaft from the centre to the tip and a head at the tip.
        t = (x - 7.5) * ax + (y - 7.5) * ay
        side = abs((x - 7.5) * ay - (y - 7.5) * ax)
        n = math.hypot(ax, ay)
        return (0 <= t <= 7 * n and side <= 0.8 * n) or (3.5 * n <= t <= 7 * n and side <= (7 * n - t) * 0.7)
    return bits
ways = [(-1, -1), (0, -1), (1, -1), (0, 0), (-1, 1), (0, 1), (1, 1), (-1, 0), (1, 0)]
for i, (ax, ay) in enumerate(ways):
    bits = arrow(ax, ay) if (ax, ay) != (0, 0) else (lambda x, y: 0 <= x < 16 and 0 <= y < 16 and 4 <= math.hypot(x - 7.5, y - 7.5) <= 6)
    cursor(os.path.join(out, 'cursor-%d.crs' % (7801 + i)), bits, (8, 8))
cursor(os.path.join(out, 'cursor-7810.crs'), arrow(0, -1), (8, 0))
