#!/usr/bin/python3
"""Check data/images/ against the image package's fixed layout.

    python3 tools/artwork/check.py [DIR]

Standard library only.  Reads file headers (and inflates PNG image data to
check its length); exits 1 listing every problem found.  Kept independent
of the generator: the table below is a second, hand-written copy.
"""

import os
import re
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

# (first id, last id, width, height); format and interlacing follow below.
SIZES = [
    (1, 1, 200, 40), (2, 4, 390, 76), (5, 7, 330, 76), (8, 8, 1920, 1080),
    (9, 9, 111, 1), (10, 13, 16, 33), (14, 17, 16, 16), (18, 19, 18, 18),
    (20, 20, 28, 25), (21, 22, 12, 12), (23, 24, 14, 12), (25, 26, 34, 34),
    (27, 29, 280, 46), (30, 34, 400, 60), (35, 36, 56, 30), (37, 39, 64, 64),
    (40, 40, 440, 76), (41, 42, 24, 24), (43, 43, 420, 420), (44, 44, 16, 140),
    (45, 45, 35, 45), (46, 46, 43, 43), (47, 47, 35, 45), (48, 52, 43, 43),
    (53, 53, 193, 31), (54, 54, 18, 18), (55, 55, 10, 10), (56, 56, 20, 20),
    (57, 57, 620, 348), (58, 58, 26, 26), (59, 59, 422, 228), (60, 60, 420, 187),
    (61, 63, 420, 40), (64, 64, 40, 40), (65, 78, 26, 26), (79, 84, 56, 56),
    (85, 86, 26, 26), (87, 88, 56, 56), (89, 91, 40, 40), (92, 94, 26, 26),
    (95, 95, 567, 2), (96, 96, 2, 567), (97, 99, 22, 22), (100, 102, 20, 21),
    (103, 103, 182, 134), (104, 105, 27, 27), (106, 107, 15, 15),
    (108, 110, 27, 27), (111, 116, 11, 11), (117, 123, 58, 58),
    (124, 124, 957, 160), (125, 125, 214, 174), (126, 128, 26, 26),
    (129, 131, 28, 28), (132, 133, 200, 200), (134, 137, 23, 21),
    (138, 143, 23, 23), (144, 144, 4, 40), (145, 156, 26, 26),
    (157, 160, 101, 59), (161, 164, 26, 26), (165, 165, 20, 20),
    (166, 166, 20, 4), (167, 168, 32, 32),
]
JPEG_IDS = {8, 9, 95, 96}
INTERLACED_IDS = {100, 101, 102, 104, 105, 106, 107, 111, 112, 113, 114, 115, 116}
HEADER = ['id', 'file', 'format', 'width', 'height', 'interlaced']
NAME = re.compile(r'^(\d{3})-[a-z0-9-]+\.(png|jpg)$')


def expected():
    table = {}
    for first, last, w, h in SIZES:
        for i in range(first, last + 1):
            table[i] = ('jpeg' if i in JPEG_IDS else 'png', w, h, 1 if i in INTERLACED_IDS else 0)
    return table


def raw_size(w, h, interlaced):
    """Bytes of filtered RGBA8 scanlines, per pass for Adam7."""
    if not interlaced:
        return h * (1 + 4 * w)
    total = 0
    for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
                           (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)):
        pw = (w - x0 + dx - 1) // dx
        ph = (h - y0 + dy - 1) // dy
        if pw and ph:
            total += ph * (1 + 4 * pw)
    return total


def check_png(data, w, h, il):
    errs = []
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        return ['not a PNG']
    pos, kinds, idat = 8, [], b''
    while pos < len(data):
        if pos + 8 > len(data):
            return ['truncated chunk']
        (n,) = struct.unpack('>I', data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        (crc,) = struct.unpack('>I', data[pos + 8 + n:pos + 12 + n])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            errs.append('bad CRC in %s' % kind.decode('latin-1'))
        kinds.append(kind)
        if kind == b'IHDR':
            got = struct.unpack('>IIBBBBB', body)
            want = (w, h, 8, 6, 0, 0, il)
            if got != want:
                errs.append('IHDR %s, want %s (w, h, depth, colour type, comp, filter, interlace)'
                            % (got, want))
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    if not kinds or kinds[0] != b'IHDR' or kinds[-1] != b'IEND':
        errs.append('chunk order %s' % kinds)
    extra = sorted({k.decode('latin-1') for k in kinds} - {'IHDR', 'IDAT', 'IEND'})
    if extra:
        errs.append('ancillary chunks left: %s' % ', '.join(extra))
    try:
        n = len(zlib.decompress(idat))
        if n != raw_size(w, h, il):
            errs.append('image data %d bytes, want %d' % (n, raw_size(w, h, il)))
    except zlib.error as e:
        errs.append('image data does not inflate: %s' % e)
    return errs


def check_jpeg(data, w, h):
    if data[:2] != b'\xff\xd8':
        return ['not a JPEG']
    errs, pos, sof = [], 2, None
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            return errs + ['marker expected at %d' % pos]
        marker = data[pos + 1]
        if marker == 0xD9:
            break
        (n,) = struct.unpack('>H', data[pos + 2:pos + 4])
        seg = data[pos + 4:pos + 2 + n]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            if sof is not None:
                errs.append('more than one frame header')
            sof = marker
            prec, fh, fw, ncomp = struct.unpack('>BHHB', seg[:6])
            if marker != 0xC0:
                errs.append('frame type 0x%02X, want baseline 0xC0' % marker)
            if (fw, fh) != (w, h):
                errs.append('size %dx%d, want %dx%d' % (fw, fh, w, h))
            if prec != 8 or ncomp != 3:
                errs.append('precision %d, %d components; want 8, 3' % (prec, ncomp))
        if marker == 0xE1:
            errs.append('APP1 (EXIF/XMP) segment present')
        if marker == 0xDA:
            break   # entropy-coded data follows; headers are done
        pos += 2 + n
    if sof is None:
        errs.append('no frame header')
    if not data.rstrip(b'\x00').endswith(b'\xff\xd9'):
        errs.append('no end-of-image marker')
    return errs


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'data', 'images')
    table = expected()
    problems = []
    if sorted(table) != list(range(1, 169)):
        problems.append('internal: size table does not cover ids 1..168')

    with open(os.path.join(folder, 'manifest.tsv'), newline='') as f:
        text = f.read()
    if '\r' in text:
        problems.append('manifest: CR characters')
    lines = text.split('\n')
    if lines[-1] == '':
        lines.pop()
    if lines[0].split('\t') != HEADER:
        problems.append('manifest: header is %r' % lines[0])
    rows = [line.split('\t') for line in lines[1:]]
    if [r[0] for r in rows] != [str(i) for i in range(1, 169)]:
        problems.append('manifest: ids are not 1..168 in order')

    listed = set()
    for r in rows:
        if len(r) != 6:
            problems.append('manifest row %r: %d fields' % (r, len(r)))
            continue
        image_id = int(r[0])
        fmt, w, h, il = table.get(image_id, (None, 0, 0, 0))
        fname = r[1]
        listed.add(fname)
        where = '%d (%s)' % (image_id, fname)
        m = NAME.match(fname)
        if not m or int(m.group(1)) != image_id:
            problems.append('%s: file name does not match the id' % where)
        if m and (m.group(2) == 'jpg') != (fmt == 'jpeg'):
            problems.append('%s: extension does not match format %s' % (where, fmt))
        if r[2:] != [fmt, str(w), str(h), str(il)]:
            problems.append('%s: manifest says %s, want %s' % (where, r[2:], [fmt, w, h, il]))
        path = os.path.join(folder, fname)
        if not os.path.isfile(path):
            problems.append('%s: missing' % where)
            continue
        with open(path, 'rb') as f:
            data = f.read()
        errs = check_jpeg(data, w, h) if fmt == 'jpeg' else check_png(data, w, h, il)
        problems += ['%s: %s' % (where, e) for e in errs]

    present = set(os.listdir(folder)) - {'manifest.tsv'}
    for stray in sorted(present - listed):
        problems.append('stray file %s' % stray)

    if problems:
        print('\n'.join(problems))
        print('%d problem(s)' % len(problems))
        return 1
    print('ok: 168 images and manifest match the package layout')
    return 0


if __name__ == '__main__':
    sys.exit(main())
