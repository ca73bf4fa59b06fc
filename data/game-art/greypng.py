# What the art scripts share: 8-bit greyscale PNGs whose values are indices of the game
# palette, and the index of a colour of the palette's 6 x 6 x 6 cube (at 10-225).
import os, struct, zlib


def png(folder, name, w, h, px):
    raw = b''.join(b'\x00' + bytes(px[y*w:(y+1)*w]) for y in range(h))
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 0, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(os.path.join(folder, name), 'wb').write(data)


def cube(r, g, b): return 10 + 36 * r + 6 * g + b


# The same pixels as an indexed PNG whose palette holds the colour cube at its indices 10-225.
# Video clips keep their frames' palette (qmsmk), so a clip drawn in greyscale frames would play
# in greys.
def cube_png(folder, name, w, h, px):
    palette = bytearray(768)
    for i in range(216):
        palette[(10 + i) * 3:(13 + i) * 3] = bytes(((i // 36) * 51, ((i // 6) % 6) * 51, (i % 6) * 51))
    raw = b''.join(b'\x00' + bytes(px[y*w:(y+1)*w]) for y in range(h))
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 3, 0, 0, 0)) +
            chunk(b'PLTE', bytes(palette)) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    open(os.path.join(folder, name), 'wb').write(data)
