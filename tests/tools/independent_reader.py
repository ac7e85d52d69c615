#!/usr/bin/python3
"""Reads the theme image package out of a built driver on its own.

It shares no code with theme-inspect: pefile finds the resource, struct
walks the package list and Pillow decodes every image. It prints what it
found; with --inspector it also runs theme-inspect on the same driver and
fails unless both agree on the resource's place and size and on every
image's format, size, byte count and interlacing. With --package it checks
that the resource is exactly that packed list plus one zero byte.
"""

import argparse
import io
import re
import struct
import subprocess
import sys
import uuid

import pefile
from PIL import Image

LIST_GUID = uuid.UUID("ca5bd025-1e18-4390-83bc-55f1f65d6c50").bytes_le
IMAGE_COUNT = 168


class ReadError(Exception):
    pass


def find_resource(path):
    """(rva, file offset, size, code page) of resource "HII" / 1 / 1033."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        raise ReadError("no resource directory")
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.name is None or str(type_entry.name) != "HII":
            continue
        for name_entry in type_entry.directory.entries:
            if name_entry.name is not None or name_entry.id != 1:
                continue
            for language_entry in name_entry.directory.entries:
                if language_entry.id == 1033:
                    entry = language_entry.data.struct
                    offset = pe.get_offset_from_rva(entry.OffsetToData)
                    data = pe.get_data(entry.OffsetToData, entry.Size)
                    if len(data) != entry.Size:
                        raise ReadError("resource data runs past the file")
                    return entry.OffsetToData, offset, entry.Size, entry.CodePage, data
    raise ReadError('no resource "HII" / 1 / 1033')


def read_images(data):
    """[(id, format, width, height, bytes, interlaced)] from the resource data."""
    if len(data) < 36:
        raise ReadError("resource data too short")
    guid, list_length = struct.unpack_from("<16sI", data, 0)
    if guid != LIST_GUID:
        raise ReadError("wrong package list GUID")
    if len(data) != list_length + 1 or data[-1] != 0:
        raise ReadError("resource is not the package list and one zero byte")
    header, info_offset, palette_offset = struct.unpack_from("<III", data, 20)
    package_length, package_type = header & 0xFFFFFF, header >> 24
    if package_type != 0x06 or info_offset != 12 or palette_offset != 0:
        raise ReadError("not an image package with blocks at offset 12 and no palettes")
    position, package_end = 20 + info_offset, 20 + package_length
    images = []
    while True:
        block_type = data[position]
        if block_type == 0x00:
            position += 1
            break
        if block_type not in (0x18, 0x19):
            raise ReadError("block %d has type 0x%02X" % (len(images) + 1, block_type))
        (size,) = struct.unpack_from("<I", data, position + 1)
        blob = data[position + 5 : position + 5 + size]
        if len(blob) != size or position + 5 + size > package_end:
            raise ReadError("block %d runs past the package" % (len(images) + 1))
        image = Image.open(io.BytesIO(blob))
        image.load()
        expected = "JPEG" if block_type == 0x18 else "PNG"
        if image.format != expected:
            raise ReadError("block %d holds %s, not %s" % (len(images) + 1, image.format, expected))
        if expected == "PNG":
            interlaced = bool(image.info.get("interlace"))
            if image.mode != "RGBA":
                raise ReadError("image %d has mode %s" % (len(images) + 1, image.mode))
        else:
            interlaced = "progressive" in image.info or "progression" in image.info
            if image.mode != "RGB":
                raise ReadError("image %d has mode %s" % (len(images) + 1, image.mode))
        images.append((len(images) + 1, expected, image.width, image.height, size, interlaced))
        position += 5 + size
    if position != package_end or data[package_end : package_end + 4] != b"\x04\x00\x00\xdf":
        raise ReadError("the image package does not end with END and the end package")
    if package_end + 4 != list_length:
        raise ReadError("bytes after the end package")
    if len(images) != IMAGE_COUNT:
        raise ReadError("%d images, expected %d" % (len(images), IMAGE_COUNT))
    return images


def parse_inspector(text):
    location = re.search(r"^resource data rva 0x([0-9A-F]+), file offset 0x([0-9A-F]+), (\d+) bytes$", text, re.M)
    if not location:
        raise ReadError("no resource line in the inspector's output")
    rows = re.findall(r"^\s*(\d+)\s+(PNG|JPEG)\s+(\d+)x(\d+)\s+(\d+)\s+(yes|no)\s+\S+$", text, re.M)
    images = [(int(i), f, int(w), int(h), int(n), v == "yes") for i, f, w, h, n, v in rows]
    return (int(location.group(1), 16), int(location.group(2), 16), int(location.group(3))), images


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("driver")
    parser.add_argument("--inspector", help="theme-inspect to compare with")
    parser.add_argument("--package", help="the packed list that the driver should carry")
    arguments = parser.parse_args()

    try:
        rva, offset, size, code_page, data = find_resource(arguments.driver)
        images = read_images(data)
    except (ReadError, pefile.PEFormatError, OSError, struct.error, IndexError) as error:
        print("independent_reader: %s: %s" % (arguments.driver, error), file=sys.stderr)
        return 1
    print("resource rva 0x%08X, file offset 0x%08X, %d bytes, code page %d" % (rva, offset, size, code_page))
    for image in images:
        print("%3d  %-4s  %dx%d  %d bytes%s" % (image[0], image[1], image[2], image[3], image[4],
                                              "  interlaced" if image[5] else ""))

    failures = []
    if code_page != 0:
        failures.append("code page %d, expected 0" % code_page)
    if arguments.package:
        with open(arguments.package, "rb") as package:
            if data != package.read() + b"\x00":
                failures.append("the resource is not %s plus one zero byte" % arguments.package)
    if arguments.inspector:
        run = subprocess.run([arguments.inspector, arguments.driver], capture_output=True, text=True)
        if run.returncode != 0:
            failures.append("theme-inspect exited %d:\n%s" % (run.returncode, run.stderr))
        theirs_location, theirs_images = parse_inspector(run.stdout)
        if theirs_location != (rva, offset, size):
            failures.append("resource place differs: inspector %s, reader %s" % (theirs_location, (rva, offset, size)))
        if theirs_images != images:
            differing = [(a, b) for a, b in zip(theirs_images, images) if a != b]
            failures.append("image tables differ (inspector %d rows, reader %d rows); first differences: %s"
                            % (len(theirs_images), len(images), differing[:5]))
    for failure in failures:
        print("independent_reader: " + failure, file=sys.stderr)
    if not failures and arguments.inspector:
        print("independent_reader: theme-inspect agrees on the resource and all %d images" % len(images))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
