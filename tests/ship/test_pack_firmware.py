#!/usr/bin/python3
"""The firmware packer: what it refuses, and the layout of what it writes,
read back by a small reader of its own."""
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, "..", "..", "tools", "ship")
PACKER = os.path.join(TOOLS, "pack_firmware.py")
sys.path.insert(0, TOOLS)
sys.path.insert(0, HERE)
import firmware_file  # noqa: E402
from driver_image import NotADriver  # noqa: E402
from synthetic_pe import MACHINE_ARM64, pe_image  # noqa: E402

# Largest PE32 body that still fits: header, depex section padded to 8, the
# PE32 section header and body padded to 4, the UI section of 28 bytes.
LARGEST_DRIVER = ((0xFFFFFF - 24 - 8 - 28) & ~3) - 4


def run_packer(driver_bytes, out_dir):
    driver = os.path.join(out_dir, "input.efi")
    with open(driver, "wb") as file:
        file.write(driver_bytes)
    return subprocess.run([sys.executable, PACKER, driver, os.path.join(out_dir, "out")],
                          capture_output=True, text=True)


def sections(ffs):
    """(type, body, offset) of each section, walking 4-byte boundaries."""
    size = int.from_bytes(ffs[20:23], "little")
    at, found = 24, []
    while at < size:
        length = int.from_bytes(ffs[at:at + 3], "little")
        found.append((ffs[at + 3], ffs[at + 4:at + length], at))
        at = (at + length + 3) & ~3
    return found


class RefusedInput(unittest.TestCase):
    CASES = [
        ("empty file", b"", "no MZ header"),
        ("text", b"MZ is not enough", "ends before"),
        ("MZ without PE signature", pe_image()[:0x40] + b"NE\0\0" + bytes(400), "no PE signature"),
        ("PE32 image", pe_image(magic=0x10B), "not a PE32+ image"),
        ("ARM64 image", pe_image(machine=MACHINE_ARM64), "not an x64 image"),
        ("application", pe_image(subsystem=10), "subsystem 10"),
        ("run-time driver", pe_image(subsystem=12), "subsystem 12"),
        ("header cut short", pe_image()[:0x60], "ends before"),
    ]

    def test_bad_files_are_refused_with_the_reason(self):
        for name, data, reason in self.CASES:
            with self.subTest(name), self.assertRaisesRegex(NotADriver, re.escape(reason)):
                firmware_file.driver_ffs(data)

    def test_largest_driver_that_fits_the_24_bit_size(self):
        firmware_file.driver_ffs(pe_image(LARGEST_DRIVER))
        with self.assertRaisesRegex(firmware_file.TooLarge, "24-bit"):
            firmware_file.driver_ffs(pe_image(LARGEST_DRIVER + 1))

    def test_refused_input_leaves_no_output(self):
        for name, data, reason in [("application", pe_image(subsystem=10), "not a boot-service driver"),
                                   ("too large", pe_image(0x1000000), "exceeds the 24-bit size limit")]:
            with self.subTest(name), tempfile.TemporaryDirectory() as work:
                # A stale output of an earlier driver must not survive either.
                os.makedirs(os.path.join(work, "out"))
                open(os.path.join(work, "out", "ThemeDriver.ffs"), "wb").close()
                result = run_packer(data, work)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(reason, result.stderr)
                self.assertIn("nothing written", result.stderr)
                self.assertEqual(os.listdir(os.path.join(work, "out")), [])

    def test_signed_driver_is_still_a_driver(self):
        firmware_file.driver_ffs(pe_image(certificate_size=0x100))
        with self.assertRaises(NotADriver):
            firmware_file.driver_ffs(b"")


class Layout(unittest.TestCase):
    # Driver sizes on each 4-byte phase, so that every padding path is taken.
    SIZES = [1024, 1025, 1026, 1027, 0x1000 - 80]

    def test_driver_file(self):
        for size in self.SIZES:
            with self.subTest(size=size):
                driver = pe_image(size)
                ffs = firmware_file.driver_ffs(driver)
                self.assertEqual(uuid.UUID(bytes_le=ffs[:16]), firmware_file.DRIVER_FILE_GUID)
                self.assertEqual((ffs[18], ffs[19], ffs[17], ffs[23]), (0x07, 0, 0xAA, 0xF8))
                self.assertEqual(int.from_bytes(ffs[20:23], "little"), len(ffs))
                counted = bytearray(ffs[:24])
                counted[17] = counted[23] = 0
                self.assertEqual(sum(counted) & 0xFF, 0)
                found = sections(ffs)
                self.assertEqual([(kind, body) for kind, body, _ in found],
                                 [(0x13, b"\x06\x08"), (0x10, driver), (0x15, "ThemeDriver\0".encode("utf-16-le"))])
                self.assertTrue(all(at % 4 == 0 for _, _, at in found))

    def test_volume(self):
        for size in self.SIZES:
            with self.subTest(size=size):
                ffs = firmware_file.driver_ffs(pe_image(size))
                fv = firmware_file.volume([ffs])
                length, signature, _, header_length, _, ext_offset, _, revision = \
                    struct.unpack_from("<Q4sIHHHBB", fv, 32)
                self.assertEqual((length, signature, header_length, revision), (len(fv), b"_FVH", 72, 2))
                self.assertEqual(fv[:16], bytes(16))
                self.assertEqual(uuid.UUID(bytes_le=fv[16:32]), firmware_file.FFS2_FILE_SYSTEM_GUID)
                self.assertEqual(sum(struct.unpack("<36H", fv[:72])) & 0xFFFF, 0)
                blocks, block_size, end0, end1 = struct.unpack_from("<IIII", fv, 56)
                self.assertEqual((blocks * block_size, end0, end1), (len(fv), 0, 0))
                # The pad file right after the header carries the volume's name.
                self.assertEqual((fv[72 + 18], ext_offset), (0xF0, 72 + 24))
                self.assertEqual(uuid.UUID(bytes_le=fv[ext_offset:ext_offset + 16]), firmware_file.VOLUME_NAME_GUID)
                self.assertEqual(struct.unpack_from("<I", fv, ext_offset + 16)[0], 20)
                pad_end = 72 + int.from_bytes(fv[72 + 20:72 + 23], "little")
                driver_at = (pad_end + 7) & ~7
                self.assertEqual(fv[pad_end:driver_at], b"\xff" * (driver_at - pad_end))
                self.assertEqual(fv[driver_at:driver_at + len(ffs)], ffs)
                self.assertEqual(set(fv[driver_at + len(ffs):]), {0xFF})


if __name__ == "__main__":
    unittest.main()
