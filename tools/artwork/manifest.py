"""Reads data/images/manifest.tsv, the one table of the theme images.

Each row gives an image's id, file name, format, pixel size and
interlacing; the first line is the header, which must name the columns in
that order.
"""

MANIFEST_HEADER = ['id', 'file', 'format', 'width', 'height', 'interlaced']


class Image:
    """One row of the manifest."""

    def __init__(self, fields):
        self.id = int(fields[0])
        self.file = fields[1]
        self.fmt = fields[2]
        self.w, self.h = int(fields[3]), int(fields[4])
        self.interlaced = fields[5] == '1'


def read_manifest(path):
    with open(path, newline='') as f:
        lines = f.read().splitlines()
    if not lines or lines[0].split('\t') != MANIFEST_HEADER:
        raise SystemExit('%s: header must be %s' % (path, '\t'.join(MANIFEST_HEADER)))
    return [Image(line.split('\t')) for line in lines[1:] if line]
