#!/usr/bin/python3
"""Draw the theme's 168 images and write them, with manifest.tsv, to data/images/.

Run with Debian's interpreter (it has Pillow):

    /usr/bin/python3 tools/artwork/generate.py [--out DIR] [--fast] [--jobs N]

--fast skips the slow PNG optimisation (quick look at artwork changes; the
files it writes are not the ones to commit).  The output is deterministic.
A size summary goes to docs/artwork-sizes.txt (normal runs into data/images
only) and to stdout.
"""

import argparse
import multiprocessing
import os
import re
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True   # keep the source tree free of __pycache__
sys.path.insert(0, HERE)

import catalogue  # noqa: E402
import encode     # noqa: E402

DEFAULT_OUT = os.path.join(ROOT, 'data', 'images')
SIZES_REPORT = os.path.join(ROOT, 'docs', 'artwork-sizes.txt')
ART_FILE = re.compile(r'^\d{3}-[a-z0-9-]+\.(png|jpg)$')
MANIFEST_HEADER = 'id\tfile\tformat\twidth\theight\tinterlaced'


def file_name(image_id, name, fmt):
    return '%03d-%s.%s' % (image_id, name, 'jpg' if fmt == 'jpeg' else 'png')


def render(job):
    image_id, fast, tmp_root = job
    name, w, h, fmt, draw = catalogue.ENTRIES[image_id]
    img = draw()
    if img.size != (w, h):
        raise RuntimeError('image %d drawn at %s, expected %dx%d' % (image_id, img.size, w, h))
    interlaced = image_id in catalogue.INTERLACED
    if fmt == 'jpeg':
        # 4:4:4 for the hairlines, where chroma subsampling would smear them
        sub = 2 if min(w, h) > 8 else 0
        data = encode.encode_jpeg(img.convert('RGB'), subsampling=sub)
        return image_id, data, None, None
    img = img.convert('RGBA')
    if fast:
        import io
        buf = io.BytesIO()
        img.save(buf, 'PNG', compress_level=6)
        return image_id, buf.getvalue(), None, None
    work = os.path.join(tmp_root, '%03d' % image_id)
    data, baseline, ref = encode.encode_png(img, interlaced, work)
    return image_id, data, baseline, ref


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', default=DEFAULT_OUT)
    ap.add_argument('--fast', action='store_true')
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    args = ap.parse_args()

    start = time.time()
    entries = catalogue.all_entries()
    os.makedirs(args.out, exist_ok=True)

    with tempfile.TemporaryDirectory(prefix='artwork-') as tmp:
        jobs = [(e[0], args.fast, tmp) for e in entries]
        # Largest first, so the long encodes do not trail at the end.
        jobs.sort(key=lambda j: -(catalogue.ENTRIES[j[0]][1] * catalogue.ENTRIES[j[0]][2]))
        with multiprocessing.Pool(args.jobs) as pool:
            results = {r[0]: r[1:] for r in pool.imap_unordered(render, jobs)}

    for old in os.listdir(args.out):
        if ART_FILE.match(old):
            os.remove(os.path.join(args.out, old))

    rows = [MANIFEST_HEADER]
    totals = {'png': 0, 'jpeg': 0, 'png_baseline': 0, 'png_zopflipng': 0}
    for image_id, name, w, h, fmt, _ in entries:
        data, baseline, ref = results[image_id]
        fname = file_name(image_id, name, fmt)
        with open(os.path.join(args.out, fname), 'wb') as f:
            f.write(data)
        totals[fmt] += len(data)
        if fmt == 'png' and baseline is not None:
            totals['png_baseline'] += baseline
            totals['png_zopflipng'] += ref
        rows.append('%d\t%s\t%s\t%d\t%d\t%d' % (
            image_id, fname, fmt, w, h, 1 if image_id in catalogue.INTERLACED else 0))
    with open(os.path.join(args.out, 'manifest.tsv'), 'w', newline='\n') as f:
        f.write('\n'.join(rows) + '\n')

    lines = [
        'Theme artwork sizes (bytes), written by tools/artwork/generate.py',
        'PNG files (164), as committed:            %9d' % totals['png'],
        'JPEG files (4):                           %9d' % totals['jpeg'],
        'All image files:                          %9d' % (totals['png'] + totals['jpeg']),
    ]
    if not args.fast:
        lines += [
            'PNG, plain encoder (adaptive filter, zlib -9):  %9d' % totals['png_baseline'],
            'PNG, zopflipng -m alone (free colour type,',
            '  interlacing dropped; not usable as is):      %9d' % totals['png_zopflipng'],
        ]
    report = '\n'.join(lines) + '\n'
    sys.stdout.write(report)
    sys.stdout.write('elapsed: %.1f s on %d jobs\n' % (time.time() - start, args.jobs))
    if not args.fast and os.path.abspath(args.out) == os.path.abspath(DEFAULT_OUT):
        os.makedirs(os.path.dirname(SIZES_REPORT), exist_ok=True)
        with open(SIZES_REPORT, 'w') as f:
            f.write(report)


if __name__ == '__main__':
    main()
