#!/usr/bin/python3
"""Boots the reference host with the driver brought in the way platforms
ship it, and prints the verdict:

  firmware-volume  the DXE core dispatches it from ThemeDriver.fv (and
                   refuses a copy whose header checksum is off by one)
  load-option      the host writes Driver0001 and resets; the boot manager
                   loads it in the second boot (split flash, writable store)
  secure-boot      Secure Boot on with Debian's test key in db: the host and
                   driver signed with it; unsigned, altered and
                   foreign-signed copies must be refused

The host learns which from \\EFI\\BOOT\\HostMode.txt."""
import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import firmware_runner  # noqa: E402

SIGN_DRIVER = os.path.join(HERE, "..", "..", "tools", "sign-driver")
SNAKEOIL_KEY = "/usr/share/ovmf/PkKek-1-snakeoil.key"
SNAKEOIL_CERT = "/usr/share/ovmf/PkKek-1-snakeoil.pem"
SNAKEOIL_PASSPHRASE = "snakeoil"
VOLUME_CHECKSUM_AT = 50
VOLUME_EXT_HEADER_OFFSET_AT = 52


def write(path, data):
    with open(path, "wb") as file:
        file.write(data)
    return path


def read(path):
    with open(path, "rb") as file:
        return file.read()


def run_quietly(command):
    result = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"{command[0]} failed: {(result.stderr or result.stdout).strip()}")


def damaged_volume(volume, work):
    """The volume with its header checksum off by one, under another volume
    name: the DXE core keeps a handle named after a volume it refuses, and
    the real volume must not collide with it."""
    data = bytearray(read(volume))
    data[VOLUME_CHECKSUM_AT] = (data[VOLUME_CHECKSUM_AT] + 1) & 0xFF
    name_at = int.from_bytes(data[VOLUME_EXT_HEADER_OFFSET_AT:VOLUME_EXT_HEADER_OFFSET_AT + 2], "little")
    data[name_at] ^= 0xFF
    return write(os.path.join(work, "Damaged.fv"), bytes(data))


def sign(key, cert, driver, output):
    run_quietly([sys.executable, SIGN_DRIVER, "--key", key, "--cert", cert, "--output", output, driver])
    return output


def secure_boot_files(host, driver, work):
    """(signed host, signed driver, the copies to be refused)."""
    key = os.path.join(work, "db.key")
    run_quietly(["openssl", "pkey", "-in", SNAKEOIL_KEY, "-passin", f"pass:{SNAKEOIL_PASSPHRASE}", "-out", key])
    signed_host = os.path.join(work, "host.signed.efi")
    run_quietly(["sbsign", "--key", key, "--cert", SNAKEOIL_CERT, "--output", signed_host, host])
    signed = sign(key, SNAKEOIL_CERT, driver, os.path.join(work, "ThemeDriver.signed.efi"))
    altered = bytearray(read(signed))
    altered[len(altered) // 2] ^= 0x01  # inside the image's sections: covered by the signature
    foreign_key, foreign_cert = os.path.join(work, "foreign.key"), os.path.join(work, "foreign.pem")
    run_quietly(["openssl", "req", "-new", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
                 "-subj", "/CN=theme driver key outside db/", "-keyout", foreign_key, "-out", foreign_cert])
    refused = {
        "ThemeDriver.unsigned.efi": driver,
        "ThemeDriver.altered.efi": write(os.path.join(work, "altered.efi"), bytes(altered)),
        "ThemeDriver.foreign.efi": sign(foreign_key, foreign_cert, driver, os.path.join(work, "foreign.efi")),
    }
    return signed_host, signed, refused


def prepare(way, host, driver, volume, work):
    """(firmware, host, driver, files) for one way."""
    files = {"HostMode.txt": write(os.path.join(work, "HostMode.txt"), way.encode() + b"\n")}
    if way == "firmware-volume":
        files.update({"ThemeDriver.fv": volume, "Damaged.fv": damaged_volume(volume, work)})
        return firmware_runner.FIRMWARES["ovmf"], host, driver, files
    if way == "load-option":
        return firmware_runner.FIRMWARES["ovmf-two-boots"], host, driver, files
    signed_host, signed_driver, refused = secure_boot_files(host, driver, work)
    files.update(refused)
    return firmware_runner.FIRMWARES["ovmf-secure-boot"], signed_host, signed_driver, files


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--way", required=True, choices=("firmware-volume", "load-option", "secure-boot"))
    parser.add_argument("--host", required=True, help="the reference host .efi")
    parser.add_argument("--driver", required=True, help="the driver .efi (unsigned)")
    parser.add_argument("--volume", help="the firmware volume holding the driver (firmware-volume)")
    parser.add_argument("--time-limit", type=float, default=60.0, help="seconds (default 60)")
    parser.add_argument("--log", help="keep the serial log at this path")
    parser.add_argument("--verbose", action="store_true", help="print every host line")
    args = parser.parse_args()
    if args.way == "firmware-volume" and not args.volume:
        parser.error("--volume is needed for the firmware-volume way")
    with tempfile.TemporaryDirectory(prefix="theme-shipping-") as work:
        try:
            firmware, host, driver, files = prepare(args.way, args.host, args.driver, args.volume, work)
        except (OSError, RuntimeError) as error:
            print(f"FAILED: preparing the {args.way} run: {error}")
            return 1
        outcome = firmware_runner.run(firmware, host, driver, args.time_limit, args.log, files=files)
    if args.verbose or not outcome.passed:
        for line in outcome.lines:
            print(line)
    print(("PASSED: " if outcome.passed else "FAILED: ") + f"{args.way}: {outcome.reason} ({outcome.seconds:.1f} s)")
    return 0 if outcome.passed else 1


if __name__ == "__main__":
    sys.exit(main())
