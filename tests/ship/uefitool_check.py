#!/usr/bin/python3
"""Reads the packed driver file and volume with an independent firmware
image parser (UEFIExtract) and checks what it finds: valid volume and file
checksums, a dependency expression of TRUE END, the PE32 section identical
to the driver, and the FFS file inside the volume identical to the .ffs."""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "ship"))
from firmware_file import DRIVER_FILE_GUID  # noqa: E402


def info(dump, pattern):
    paths = glob.glob(os.path.join(dump, pattern))
    if len(paths) != 1:
        raise AssertionError(f"expected one {pattern} in the parser's dump, found {len(paths)}")
    with open(paths[0], encoding="utf-8", errors="replace") as file:
        return file.read()


def read(path):
    with open(path, "rb") as file:
        return file.read()


def check(volume, ffs, driver):
    problems = []

    def expect(condition, what):
        if not condition:
            problems.append(what)

    with tempfile.TemporaryDirectory(prefix="theme-uefiextract-") as work:
        image = os.path.join(work, "ThemeDriver.fv")
        shutil.copyfile(volume, image)
        result = subprocess.run(["UEFIExtract", image, "unpack"], capture_output=True, text=True, timeout=60)
        # Only a boot volume has a top file; this one is not meant to.
        messages = [line for line in (result.stdout + result.stderr).splitlines()
                    if line.strip() and "Volume Top File" not in line]
        expect(not messages, "parser messages: " + "; ".join(messages))
        dump = image + ".dump"
        volume_info = info(dump, "Volume_FFSv2_*_info.txt")
        expect(re.search(r"^Checksum: \w+h, valid$", volume_info, re.M), "volume header checksum valid")
        expect(re.search(r"^Erase polarity: 1$", volume_info, re.M), "volume erase polarity 1")
        file_info = info(dump, f"File_DXE_driver_{str(DRIVER_FILE_GUID).upper()}_*info.txt")
        expect(re.search(r"^Header checksum: \w+h, valid$", file_info, re.M), "file header checksum valid")
        expect(re.search(r"^Data checksum: AAh, valid$", file_info, re.M), "file data checksum AAh, valid")
        expect(re.search(r"^State: F8h$", file_info, re.M), "file state F8h")
        expect(re.search(r"^Text: ThemeDriver$", file_info, re.M), "file named ThemeDriver by its UI section")
        depex = info(dump, "Section_DXE_dependency_*_info.txt")
        expect("Parsed expression:\nTRUE\nEND" in depex, "dependency expression TRUE END")
        pe32 = glob.glob(os.path.join(dump, "Section_PE32_image_*_body.bin"))
        expect(len(pe32) == 1 and read(pe32[0]) == read(driver), "PE32 section byte-identical to the driver")
        base = re.search(r"^Base: (\w+)h$", file_info, re.M)
        size = re.search(r"^Full size: (\w+)h", file_info, re.M)
        if base and size:
            start, length = int(base.group(1), 16), int(size.group(1), 16)
            expect(read(volume)[start:start + length] == read(ffs), "FFS file in the volume identical to the .ffs")
        else:
            problems.append("file base and size reported")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--volume", required=True)
    parser.add_argument("--ffs", required=True)
    parser.add_argument("--driver", required=True)
    args = parser.parse_args()
    problems = check(args.volume, args.ffs, args.driver)
    for problem in problems:
        print(f"FAILED: {problem}")
    if not problems:
        print("PASSED: the independent parser reads the volume and driver file as packed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
