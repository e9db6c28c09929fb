#!/usr/bin/env python3
"""Compares two 8-bit PNG pictures pixel for pixel (RGB or RGBA, any filters), with nothing but
the standard library: the Windows host writes its snapshots through WIC, the goldens come from
libpng, so their bytes differ while their pixels must not.

usage: png_compare.py ACTUAL EXPECTED   exit 0 when equal, 1 when not (with a summary), 2 on error
"""
import struct
import sys
import zlib


def decode(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA, not interlaced")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line) if bpp == 4 else bytes(
            v for x in range(width) for v in (*line[x * 3:x * 3 + 3], 255)))
        prev = line
    return width, height, rows


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        aw, ah, a = decode(sys.argv[1])
        ew, eh, e = decode(sys.argv[2])
    except (OSError, ValueError, zlib.error, TypeError, struct.error) as err:
        print(f"cannot compare: {err}", file=sys.stderr)
        return 2
    if (aw, ah) != (ew, eh):
        print(f"sizes differ: {aw} x {ah} against {ew} x {eh}")
        return 1
    differ, box = 0, [aw, ah, -1, -1]
    for y in range(ah):
        if a[y] == e[y]:
            continue
        for x in range(aw):
            if a[y][x * 4:x * 4 + 4] != e[y][x * 4:x * 4 + 4]:
                differ += 1
                box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
    if differ:
        print(f"{differ} pixels differ, within x {box[0]}..{box[2]}, y {box[1]}..{box[3]}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
