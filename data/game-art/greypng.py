# What the art scripts share: 8-bit greyscale PNGs whose values are indices of the game
# palette, and the index of a colour of the palette's 6 x 6 x 6 cube (at 10-225).
import os, struct, zlib


def png(folder, name, w, h, px):
    raw = b''.join(b'\x00' + bytes(px[y*w:(y+1)*w]) for y in range(h))
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 0, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(os.path.join(folder, name), 'wb').write(data)


def cube(r, g, b): return 10 + 36 * r + 6 * g + b
