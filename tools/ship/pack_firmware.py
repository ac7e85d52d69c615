#!/usr/bin/python3
"""Packs a built driver for firmware: writes into OUT_DIR the FFS driver
file (<base>.ffs), a firmware volume holding it (<base>.fv), the driver and
its dependency expression (<base>.efi, <base>.depex), and for EDK2 platform
builds a binary module (<base>.inf) and an FDF fragment (<base>.fdf.inc)
that packs the same FFS file from a folder the platform names in the macro
<BASE>_DIR (ThemeDriver: THEME_DRIVER_DIR). The base name, the file GUID
and the volume's name GUID default to the theme driver's own. On bad input
it prints the reason, leaves nothing of that base name behind and exits
with status 1."""
import argparse
import os
import re
import sys
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from driver_image import NotADriver  # noqa: E402
import firmware_file  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
INF_TEMPLATE = os.path.join(HERE, "driver.inf.in")
FRAGMENT_TEMPLATE = os.path.join(HERE, "driver.fdf.inc.in")
OUTPUT_SUFFIXES = (".ffs", ".fv", ".efi", ".depex", ".inf", ".fdf.inc")
BASE_NAME = re.compile(r"^[A-Z][A-Za-z0-9]*$")


def directory_macro(base_name):
    """The FDF macro naming the folder of a base name's files: CamelCase to
    upper snake case, then _DIR (ThemeDriverNordicFrost:
    THEME_DRIVER_NORDIC_FROST_DIR)."""
    words = re.findall(r"[A-Z]+(?![a-z])|[A-Z][a-z0-9]*", base_name)
    return "_".join(word.upper() for word in words) + "_DIR"


def _fill(template, fields):
    with open(template, encoding="utf-8") as file:
        text = file.read()
    for field, value in fields.items():
        text = text.replace(f"@{field}@", value)
    return text.encode("utf-8")


def outputs(driver, base_name=firmware_file.DRIVER_UI_NAME, file_guid=firmware_file.DRIVER_FILE_GUID,
            volume_guid=firmware_file.VOLUME_NAME_GUID):
    """File name -> contents; raises NotADriver or TooLarge."""
    ffs = firmware_file.driver_ffs(driver, file_guid, base_name)
    fields = {"BASE_NAME": base_name, "FILE_GUID": str(file_guid).upper(), "DIR_MACRO": directory_macro(base_name)}
    contents = (ffs, firmware_file.volume([ffs], volume_guid), driver, firmware_file.DEPEX_TRUE_END,
                _fill(INF_TEMPLATE, fields), _fill(FRAGMENT_TEMPLATE, fields))
    return {base_name + suffix: data for suffix, data in zip(OUTPUT_SUFFIXES, contents)}


def remove_outputs(out_dir, base_name):
    for suffix in OUTPUT_SUFFIXES:
        path = os.path.join(out_dir, base_name + suffix)
        if os.path.exists(path):
            os.remove(path)


def base_name_argument(text):
    if not BASE_NAME.match(text):
        raise argparse.ArgumentTypeError(f"'{text}' is not a CamelCase name of letters and digits")
    return text


def guid_argument(text):
    try:
        return uuid.UUID(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"'{text}' is not a GUID") from None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("driver", help="the built driver (.efi)")
    parser.add_argument("out_dir", help="directory for the packed files")
    parser.add_argument("--base-name", type=base_name_argument, default=firmware_file.DRIVER_UI_NAME,
                        help="name of the files, of the INF's module and of the UI section (default %(default)s)")
    parser.add_argument("--file-guid", type=guid_argument, default=firmware_file.DRIVER_FILE_GUID,
                        help="FFS file name (default %(default)s)")
    parser.add_argument("--volume-guid", type=guid_argument, default=firmware_file.VOLUME_NAME_GUID,
                        help="name of the firmware volume (default %(default)s)")
    args = parser.parse_args()
    with open(args.driver, "rb") as file:
        driver = file.read()
    try:
        packed = outputs(driver, args.base_name, args.file_guid, args.volume_guid)
    except (NotADriver, firmware_file.TooLarge) as error:
        os.makedirs(args.out_dir, exist_ok=True)
        remove_outputs(args.out_dir, args.base_name)  # nothing stale may pass for this driver's
        print(f"pack_firmware: {args.driver}: {error}; nothing written", file=sys.stderr)
        return 1
    os.makedirs(args.out_dir, exist_ok=True)
    for name, data in packed.items():
        path = os.path.join(args.out_dir, name)
        with open(path + ".tmp", "wb") as file:
            file.write(data)
        os.replace(path + ".tmp", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
