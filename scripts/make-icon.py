#!/usr/bin/env python3
"""Makes res/whorlix.ico: a four-armed spiral in 32x32 and 16x16, 32-bit colour with an alpha mask."""
import math
import os
import struct

ARM = (40, 90, 200)
GAP = (245, 245, 250)


def pixel(x, y, size):
    c = (size - 1) / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy)
    if r > size / 2.0 - 0.5:
        return None  # transparent outside the disc
    theta = math.degrees(math.atan2(dy, dx)) % 360.0
    # Four Archimedean arms: the phase grows with the radius, one arm every 90 degrees.
    phase = (theta - r * 360.0 / (size * 0.55)) % 90.0
    return ARM if phase < 45.0 else GAP


def image(size):
    rows = []
    mask_rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        bits = 0
        mask = bytearray(((size + 31) // 32) * 4)
        for x in range(size):
            p = pixel(x, y, size)
            if p is None:
                row += struct.pack("BBBB", 0, 0, 0, 0)
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                row += struct.pack("BBBB", p[2], p[1], p[0], 255)
        rows.append(row)
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "whorlix.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
