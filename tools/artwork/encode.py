"""Image file encoding: tight RGBA PNG (plain or Adam7), a quick PNG writer
for drafts, and baseline JPEG.

The PNG path keeps colour type 6 / depth 8 and the requested interlacing,
which the free-form optimisers would otherwise change:

  1. optipng, with every colour/depth reduction switched off, filters the
     image once per PNG filter strategy (none, sub, up, average, Paeth,
     adaptive) and deflates it with zlib;
  2. the filtered scanlines of the best candidates are deflated again with
     zopfli, and we write the file ourselves with only IHDR, IDAT and IEND;
  3. zopflipng also runs on every image; its result is used only when it
     kept the required header, and its size is reported for comparison.

All of this is deterministic: same pixels in, same bytes out.
"""

import io
import os
import struct
import subprocess
import zlib

from PIL import Image

PNG_SIG = b'\x89PNG\r\n\x1a\n'


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def read_chunks(data):
    if data[:8] != PNG_SIG:
        raise ValueError('not a PNG')
    pos = 8
    while pos < len(data):
        (n,) = struct.unpack('>I', data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        yield kind, data[pos + 8:pos + 8 + n]
        pos += 12 + n


def ihdr_of(data):
    kind, body = next(read_chunks(data))
    if kind != b'IHDR':
        raise ValueError('IHDR missing')
    w, h, depth, ctype, comp, filt, il = struct.unpack('>IIBBBBB', body)
    return w, h, depth, ctype, il


def idat_of(data):
    return b''.join(body for kind, body in read_chunks(data) if kind == b'IDAT')


def build_png(w, h, interlaced, zdata):
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 1 if interlaced else 0)
    return PNG_SIG + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zdata) + chunk(b'IEND', b'')


# The seven Adam7 passes in order: (first column, first row, column step,
# row step).  Each pass is a reduced image of its own, filtered on its own.
ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
         (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))
FILTER_UP = 2


def adam7_scanlines(img):
    """The filtered scanlines of an Adam7-interlaced RGBA image, every one
    with the Up filter.  The first row of each pass has no row above it in
    that pass, so it goes out unchanged; a pass with no columns or rows
    contributes nothing, not even filter bytes."""
    w, h = img.size
    data = img.tobytes()
    out = bytearray()
    for x0, y0, dx, dy in ADAM7:
        above = None
        for y in range(y0, h, dy):
            row = b''.join(data[i:i + 4] for i in range((y * w + x0) * 4, (y + 1) * w * 4, dx * 4))
            if not row:
                break
            out.append(FILTER_UP)
            out += row if above is None else bytes((a - b) & 0xFF for a, b in zip(row, above))
            above = row
    return bytes(out)


def encode_png_fast(img, interlaced):
    """Quick RGBA PNG: Pillow's writer for plain images, ours for Adam7
    (which Pillow does not write).  Deterministic, not small."""
    if img.mode != 'RGBA':
        raise ValueError('PNG art must be RGBA')
    if not interlaced:
        buf = io.BytesIO()
        img.save(buf, 'PNG', compress_level=6)
        return buf.getvalue()
    w, h = img.size
    return build_png(w, h, True, zlib.compress(adam7_scanlines(img), 9))


def _run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)


def zopfli_zlib(raw, path, iterations):
    with open(path, 'wb') as f:
        f.write(raw)
    out = _run(['zopfli', '--zlib', '--i%d' % iterations, '-c', path]).stdout
    if zlib.decompress(out) != raw:
        raise RuntimeError('zopfli round trip failed')
    return out


def zopfli_iterations(nbytes):
    """Fewer passes for big images keep the whole run to a few minutes."""
    if nbytes < 20000:
        return 60
    if nbytes < 100000:
        return 25
    if nbytes < 400000:
        return 12
    return 6


def encode_png(img, interlaced, workdir):
    """Return (file bytes, baseline size, zopflipng size) for an RGBA image."""
    if img.mode != 'RGBA':
        raise ValueError('PNG art must be RGBA')
    w, h = img.size
    il = 1 if interlaced else 0
    os.makedirs(workdir, exist_ok=True)
    raw_path = os.path.join(workdir, 'raw.png')
    img.save(raw_path, 'PNG', compress_level=1)

    candidates = []   # (size, bytes, filtered scanlines or None)
    baseline = None
    for f in range(6):
        out = os.path.join(workdir, 'f%d.png' % f)
        if os.path.exists(out):
            os.remove(out)
        _run(['optipng', '-quiet', '-force', '-nx', '-i%d' % il, '-f%d' % f,
              '-zc9', '-zm9', '-zs0', '-out', out, raw_path])
        with open(out, 'rb') as fh:
            data = fh.read()
        if ihdr_of(data) != (w, h, 8, 6, il):
            raise RuntimeError('optipng changed the header')
        filtered = zlib.decompress(idat_of(data))
        png = build_png(w, h, interlaced, zlib.compress(filtered, 9))
        if f == 5:
            baseline = len(png)     # adaptive filters + zlib -9: a plain encoder
        candidates.append((len(png), png, filtered))

    candidates.sort(key=lambda c: c[0])
    iters = zopfli_iterations(len(candidates[0][2]))
    # small images: every filter choice gets a zopfli pass; big ones: the best two
    tries = 6 if len(candidates[0][2]) < 50000 else 2
    for size, png, filtered in list(candidates[:tries]):
        zd = zopfli_zlib(filtered, os.path.join(workdir, 'scan.bin'), iters)
        candidates.append((None, build_png(w, h, interlaced, zd), None))

    # zopflipng on the same pixels: a reference, and a candidate when it
    # happens to keep colour type 6, depth 8 and our interlace setting.
    ref_path = os.path.join(workdir, 'zopflipng.png')
    if os.path.exists(ref_path):
        os.remove(ref_path)
    _run(['zopflipng', '-y', '-m', raw_path, ref_path])
    with open(ref_path, 'rb') as fh:
        ref = fh.read()
    if ihdr_of(ref) == (w, h, 8, 6, il):
        zd = idat_of(ref)
        candidates.append((None, build_png(w, h, interlaced, zd), None))

    best = min((c[1] for c in candidates), key=lambda b: (len(b), b))
    back = Image.open(io.BytesIO(best))
    back.load()
    if back.mode != 'RGBA' or back.tobytes() != img.tobytes():
        raise RuntimeError('encoded PNG does not decode to the drawn pixels')
    return best, baseline, len(ref)


def encode_jpeg(img, quality=88, subsampling=2):
    """Baseline (SOF0) three-component JPEG with optimised Huffman tables."""
    if img.mode != 'RGB':
        raise ValueError('JPEG art must be RGB')
    buf = io.BytesIO()
    img.save(buf, 'JPEG', quality=quality, optimize=True, progressive=False,
             subsampling=subsampling)
    return buf.getvalue()
