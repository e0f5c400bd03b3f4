#!/usr/bin/env python3
"""Makes res/whorlix.ico: a four-armed spiral in every size Windows asks for (16 to 64 pixels for the scalings from
100 % to 200 %, and 256 for large views), each drawn for its own size: 32-bit colour with alpha, the arms' and the
disc's edges smoothed by sampling every pixel 4 x 4 times. The 256-pixel image is stored PNG-compressed."""
import math
import os
import struct
import zlib

ARM = (40, 90, 200)
GAP = (245, 245, 250)
SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SAMPLES = 4


def sample(x, y, size):
    c = size / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy)
    if r > size / 2.0:
        return None  # transparent outside the disc
    theta = math.degrees(math.atan2(dy, dx)) % 360.0
    # Four Archimedean arms: the phase grows with the radius, one arm every 90 degrees.
    phase = (theta - r * 360.0 / (size * 0.55)) % 90.0
    return ARM if phase < 45.0 else GAP


def pixel(x, y, size):
    """Straight (not premultiplied) RGBA: the average colour of the samples inside the disc, and their share."""
    inside = []
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            p = sample(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES, size)
            if p is not None:
                inside.append(p)
    if not inside:
        return (0, 0, 0, 0)
    rgb = tuple(round(sum(p[i] for p in inside) / len(inside)) for i in range(3))
    return rgb + (round(255 * len(inside) / SAMPLES ** 2),)


def bmp_image(size):
    rows = []
    mask_rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        mask = bytearray(((size + 31) // 32) * 4)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += struct.pack("BBBB", b, g, r, a)
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(row)
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def png_image(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *pixel(x, y, size)) for x in range(size))
                   for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    images = [png_image(s) if s == 256 else bmp_image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for s, data in zip(SIZES, images):
        # A width or height of 256 is written as 0.
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "whorlix.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
