#!/usr/bin/python3
"""Packs a built driver for firmware: writes into OUT_DIR the FFS driver
file (ThemeDriver.ffs), a firmware volume holding it (ThemeDriver.fv), and
the binary module for EDK2 platform builds (ThemeDriver.inf with the driver
and its dependency expression beside it). On bad input it prints the reason,
leaves nothing behind and exits with status 1."""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from driver_image import NotADriver  # noqa: E402
import firmware_file  # noqa: E402

INF_TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ThemeDriver.inf.in")
OUTPUT_NAMES = ("ThemeDriver.ffs", "ThemeDriver.fv", "ThemeDriver.efi", "ThemeDriver.depex", "ThemeDriver.inf")


def outputs(driver):
    """File name -> contents; raises NotADriver or TooLarge."""
    ffs = firmware_file.driver_ffs(driver)
    with open(INF_TEMPLATE, encoding="utf-8") as template:
        inf = template.read().replace("@FILE_GUID@", str(firmware_file.DRIVER_FILE_GUID).upper())
    return dict(zip(OUTPUT_NAMES, (ffs, firmware_file.volume([ffs]), driver, firmware_file.DEPEX_TRUE_END,
                                   inf.encode("utf-8"))))


def remove_outputs(out_dir):
    for name in OUTPUT_NAMES:
        path = os.path.join(out_dir, name)
        if os.path.exists(path):
            os.remove(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("driver", help="the built driver (.efi)")
    parser.add_argument("out_dir", help="directory for the packed files")
    args = parser.parse_args()
    with open(args.driver, "rb") as file:
        driver = file.read()
    try:
        packed = outputs(driver)
    except (NotADriver, firmware_file.TooLarge) as error:
        os.makedirs(args.out_dir, exist_ok=True)
        remove_outputs(args.out_dir)  # nothing stale may pass for this driver's
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
