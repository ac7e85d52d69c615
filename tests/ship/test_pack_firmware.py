#!/usr/bin/python3
"""The firmware packer: what it refuses, the layout of what it writes, read
back by a small reader of its own, and the EDK2 module and FDF fragment in
agreement with the FFS file."""
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


def run_packer(driver_bytes, out_dir, options=()):
    driver = os.path.join(out_dir, "input.efi")
    with open(driver, "wb") as file:
        file.write(driver_bytes)
    return subprocess.run([sys.executable, PACKER, *options, driver, os.path.join(out_dir, "out")],
                          capture_output=True, text=True)


def read(path):
    with open(path, "rb") as file:
        return file.read()


def inf_module(text):
    """([Defines] name -> value, [Binaries.X64] type -> file) of an INF."""
    defines = dict(re.findall(r"^\s*(\w+)\s*=\s*(\S+)\s*$", text, re.M))
    binaries = dict(re.findall(r"^\s*(PE32|DXE_DEPEX)\|([^|\s]+)\|", text, re.M))
    return defines, binaries


def fdf_file_statement(text):
    """(file type, GUID, [(section type, value)]) of the fragment's one FILE
    statement, comments dropped."""
    text = re.sub(r"#.*", "", text)
    statement = re.fullmatch(r"\s*FILE\s+(\w+)\s*=\s*(\S+)\s*\{(.*)\}\s*", text, re.S)
    return statement.group(1), statement.group(2), re.findall(r"SECTION\s+(\w+)\s*=\s*(\S+)", statement.group(3))


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


class PlatformBuildFiles(unittest.TestCase):
    """The INF and the FDF fragment must make a platform build pack what the
    .ffs holds: the same file name, dependency, PE32 image and UI name. A
    variant carries its own names throughout and its own path macro."""
    VARIANT_FILE = uuid.UUID("0f5e4d3c-2b1a-4c9d-8e7f-6a5b4c3d2e1f")
    VARIANT_VOLUME = uuid.UUID("1a2b3c4d-5e6f-4a8b-9c0d-e1f2a3b4c5d6")
    CASES = [
        # name, packer options, base name, file GUID, volume GUID, path macro
        ("default", [], "ThemeDriver", firmware_file.DRIVER_FILE_GUID, firmware_file.VOLUME_NAME_GUID,
         "THEME_DRIVER_DIR"),
        ("variant", ["--base-name", "ThemeDriverNordicFrost", "--file-guid", str(VARIANT_FILE),
                     "--volume-guid", str(VARIANT_VOLUME)],
         "ThemeDriverNordicFrost", VARIANT_FILE, VARIANT_VOLUME, "THEME_DRIVER_NORDIC_FROST_DIR"),
    ]

    def test_module_and_fragment_agree_with_the_driver_file(self):
        driver = pe_image(1027)
        for name, options, base, file_guid, volume_guid, macro in self.CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as work:
                result = run_packer(driver, work, options)
                self.assertEqual(result.returncode, 0, result.stderr)
                out = os.path.join(work, "out")
                self.assertEqual(sorted(os.listdir(out)),
                                 sorted(base + suffix for suffix in (".depex", ".efi", ".fdf.inc", ".ffs", ".fv", ".inf")))
                ffs = read(os.path.join(out, base + ".ffs"))
                found = [(kind, body) for kind, body, _ in sections(ffs)]

                defines, binaries = inf_module(read(os.path.join(out, base + ".inf")).decode())
                self.assertEqual((defines["BASE_NAME"], defines["MODULE_TYPE"]), (base, "UEFI_DRIVER"))
                self.assertEqual(uuid.UUID(defines["FILE_GUID"]), uuid.UUID(bytes_le=ffs[:16]))
                self.assertEqual(found[:2], [(0x13, read(os.path.join(out, binaries["DXE_DEPEX"]))),
                                             (0x10, read(os.path.join(out, binaries["PE32"])))])
                self.assertEqual(found[2], (0x15, (defines["BASE_NAME"] + "\0").encode("utf-16-le")))

                fragment = read(os.path.join(out, base + ".fdf.inc")).decode()
                self.assertNotIn("!include", fragment)  # the FDF parser acts on it even in a comment
                kind, guid, statements = fdf_file_statement(fragment)
                self.assertEqual((kind, uuid.UUID(guid)), ("DRIVER", uuid.UUID(bytes_le=ffs[:16])))
                self.assertEqual([section for section, _ in statements], ["DXE_DEPEX", "PE32", "UI"])
                files = {}
                for section, value in statements[:2]:
                    self.assertTrue(value.startswith(f"$({macro})/"), value)
                    files[section] = read(os.path.join(out, value[len(macro) + 4:]))
                self.assertEqual(found, [(0x13, files["DXE_DEPEX"]), (0x10, files["PE32"]),
                                         (0x15, (statements[2][1].strip('"') + "\0").encode("utf-16-le"))])

                self.assertEqual(uuid.UUID(bytes_le=ffs[:16]), file_guid)
                self.assertEqual(found[1][1], driver)
                fv = read(os.path.join(out, base + ".fv"))
                self.assertEqual(uuid.UUID(bytes_le=fv[96:112]), volume_guid)
                self.assertEqual(fv.find(ffs), 120)

    def test_bad_names_are_refused(self):
        for name, options, field in [("base name with a space", ["--base-name", "Theme Driver"], "--base-name"),
                                     ("base name in snake case", ["--base-name", "theme_driver"], "--base-name"),
                                     ("file GUID", ["--file-guid", "18648078-9134"], "--file-guid"),
                                     ("volume GUID", ["--volume-guid", "volume"], "--volume-guid")]:
            with self.subTest(name), tempfile.TemporaryDirectory() as work:
                result = run_packer(pe_image(), work, options)
                self.assertEqual(result.returncode, 2)
                self.assertIn(field, result.stderr)
                self.assertFalse(os.path.exists(os.path.join(work, "out")))


if __name__ == "__main__":
    unittest.main()
