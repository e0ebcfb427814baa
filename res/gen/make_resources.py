#!/usr/bin/env python3
"""Regenerates the binary resources: the program icon, the finder cursor and the
dialog initialisation data of both languages.

Output is a pure function of this file, so a rebuild gives the same bytes:
    python3 res/gen/make_resources.py res
"""
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- artwork

TRANSPARENT = (0, 0, 0, 0)
FRAME = (24, 64, 128, 255)
CAPTION = (48, 112, 200, 255)
BODY = (236, 242, 250, 255)
ACCENT = (240, 128, 16, 255)


def icon_pixel(x, y, size):
    """The program icon: a window whose frame is being dragged larger."""
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    edge = max(1.0 / size, 0.06)
    if not (0.06 <= u <= 0.94 and 0.10 <= v <= 0.90):
        return TRANSPARENT
    if u < 0.06 + edge or u > 0.94 - edge or v < 0.10 + edge or v > 0.90 - edge:
        return FRAME
    if v < 0.30:
        return CAPTION
    # a diagonal double arrow from the lower left to the upper right of the body
    d = abs((u - 0.22) - (0.80 - v) * (0.56 / 0.42))
    if d < max(1.2 / size, 0.07) and 0.20 <= u <= 0.80:
        return ACCENT
    for (hu, hv, su, sv) in ((0.80, 0.38, -1, 1), (0.20, 0.82, 1, -1)):
        du, dv = (u - hu) * su, (v - hv) * sv
        if 0 <= du <= 0.22 and 0 <= dv <= 0.22 and (du < 0.09 or dv < 0.09):
            return ACCENT
    return BODY


def reticle_pixel(x, y, size):
    """The finder's gun-sight: 'black', 'white' or None (transparent)."""
    c = size // 2
    dx, dy = x - c, y - c
    d = math.hypot(dx, dy)
    outer = size // 2 - 2
    small = 2 if size >= 32 else 1
    if outer - 0.5 <= d < outer + 0.5:
        return 'black'
    if outer - 1.5 <= d < outer - 0.5:
        return 'white'
    if d <= small + 0.5:
        return 'black' if d > small - 0.5 else None
    # bars from the ring to the small centre ring, five pixels wide
    for along, across in ((dy, dx), (dx, dy)):
        if abs(across) <= 2 and small + 1 <= abs(along) <= outer - 2:
            if across == 0:
                return 'black'
            return 'black' if (x + y) % 2 == 0 else 'white'
    return None

# ---------------------------------------------------------------- formats


def and_mask(size, opaque):
    row_bytes = ((size + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def dib_header(size, bpp, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)


def icon_32(size):
    px = [[icon_pixel(x, y, size) for x in range(size)] for y in range(size)]
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[y][x]
            xor += bytes((b, g, r, a))
    return dib_header(size, 32) + bytes(xor) + and_mask(size, lambda x, y: px[y][x][3] > 0)


def icon_8(size):
    px = [[icon_pixel(x, y, size) for x in range(size)] for y in range(size)]
    palette = [TRANSPARENT, FRAME, CAPTION, BODY, ACCENT]
    pal = b''.join(bytes((c[2], c[1], c[0], 0)) for c in palette) + bytes(4 * (256 - len(palette)))
    row_bytes = (size + 3) & ~3
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            row[x] = palette.index(px[y][x])
        xor += row
    return dib_header(size, 8, 256) + pal + bytes(xor) + and_mask(size, lambda x, y: px[y][x][3] > 0)


def png(size):
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            raw += bytes(icon_pixel(x, y, size))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def cursor_1(size):
    px = [[reticle_pixel(x, y, size) for x in range(size)] for y in range(size)]
    row_bytes = ((size + 31) // 32) * 4
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if px[y][x] == 'white':
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return dib_header(size, 1, 2) + pal + bytes(xor) + and_mask(size, lambda x, y: px[y][x] is not None)


def directory(kind, images):
    """images: list of (size, field1, field2, data); fields are planes/bpp or hotspot."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, f1, f2, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 2 if kind == 2 and size else 0, 0, f1, f2,
                           len(data), offset + len(body))
        body += data
    return out + body


def dlginit(texts, codec):
    out = b''
    for ctrl, names in texts:
        for name in names:
            data = name.encode(codec) + b'\0'
            out += struct.pack('<HHI', ctrl, 0x0403, len(data)) + data
    return out + struct.pack('<H', 0)


SIZE_EN = ["Preserve", "Default", "Full", "Half", "Quarter"]
X_EN = ["Preserve", "Default", "Left", "Center", "Right"]
Y_EN = ["Preserve", "Default", "Top", "Center", "Bottom"]
SIZE_JA = ["現在値", "既定値", "全画面", "二分割", "四分割"]
X_JA = ["現在値", "既定値", "左詰め", "中央揃え", "右詰め"]
Y_JA = ["現在値", "既定値", "上詰め", "中央揃え", "下詰め"]


def main(outdir):
    images = [(s, 1, 8, icon_8(s)) for s in (48, 32, 24, 16)]
    # The larger 32-bit images are stored compressed, as the system reads them
    # since Windows Vista: each executable stays small.
    images += [(s, 1, 32, png(s)) for s in (256, 48, 32)] + [(s, 1, 32, icon_32(s)) for s in (24, 16)]
    files = {
        'kelpo.ico': directory(1, images),
        'reticle.cur': directory(2, [(32, 16, 16, cursor_1(32)), (16, 8, 8, cursor_1(16))]),
        'dlginit_en.bin': dlginit([(1010, SIZE_EN), (1020, SIZE_EN), (1030, X_EN), (1040, Y_EN)], 'ascii'),
        'dlginit_ja.bin': dlginit([(1010, SIZE_JA), (1020, SIZE_JA), (1030, X_JA), (1040, Y_JA)], 'cp932'),
    }
    for name, data in files.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
