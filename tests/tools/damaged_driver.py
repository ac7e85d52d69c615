#!/usr/bin/python3
"""theme-inspect against damaged copies of the built driver.

Each copy is truncated or has one byte changed. Where the damage hits the
headers, the resource tree or the package list the inspector must exit 1
with a message; anywhere else it may pass. It must never crash or trip a
sanitizer, whatever the damage.

usage: damaged_driver.py THEME_INSPECT DRIVER.efi
"""

import os
import random
import struct
import subprocess
import sys
import tempfile

ASAN_EXIT = 86
UBSAN_EXIT = 87
RANDOM_DAMAGES = 60


def run_inspector(inspector, data, scratch):
    path = os.path.join(scratch, "damaged.efi")
    with open(path, "wb") as out:
        out.write(data)
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = "exitcode=%d" % ASAN_EXIT
    env["UBSAN_OPTIONS"] = "halt_on_error=1:exitcode=%d" % UBSAN_EXIT
    run = subprocess.run([inspector, path], capture_output=True, text=True, env=env)
    return run.returncode, run.stderr


def locate(data):
    """File offsets the damage aims at: PE header and the package list's fields."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    needle = bytes.fromhex("25D05BCA181E904383BC55F1F65D6C50")
    start = data.find(needle)
    if start < 0:
        sys.exit("damaged_driver: the package list GUID is not in the driver")
    (length,) = struct.unpack_from("<I", data, start + 16)
    first_block = start + 32
    (first_size,) = struct.unpack_from("<I", data, first_block + 1)
    return pe, start, length, first_block, first_size


def main():
    inspector, driver = sys.argv[1], sys.argv[2]
    with open(driver, "rb") as f:
        original = f.read()
    pe, start, length, first_block, first_size = locate(original)
    end = start + length  # the trailing zero byte sits here

    # (description, damaged bytes) that the inspector must refuse.
    def flipped(at, mask=0xFF):
        damaged = bytearray(original)
        damaged[at] ^= mask
        return bytes(damaged)

    must_refuse = [
        ("empty file", b""),
        ("DOS header only", original[:64]),
        ("cut inside the PE headers", original[: pe + 30]),
        ("cut at the package list", original[:start]),
        ("cut inside the package list", original[: start + length // 2]),
        ("cut before the trailing zero", original[:end]),
        ("no MZ", flipped(0)),
        ("bad e_lfanew", flipped(0x3C, 0x40)),
        ("bad PE signature", flipped(pe)),
        ("bad GUID", flipped(start + 5)),
        ("bad list length", flipped(start + 16, 0x01)),
        ("bad package type", flipped(start + 23)),
        ("bad image info offset", flipped(start + 24, 0x04)),
        ("bad first block type", flipped(first_block, 0x01)),
        ("bad first block size", flipped(first_block + 3, 0x10)),
        ("bad first image header", flipped(first_block + 5 + 20)),
        ("bad END block", flipped(end - 5, 0x19)),
        ("bad end package", flipped(end - 1, 0x01)),
        ("non-zero trailing byte", flipped(end, 0x01)),
        ("garbage", bytes(random.Random(1).getrandbits(8) for _ in range(4096))),
    ]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        status, errors = run_inspector(inspector, original, scratch)
        if status != 0:
            failures.append("the undamaged driver is refused (%d):\n%s" % (status, errors))
        for description, data in must_refuse:
            status, errors = run_inspector(inspector, data, scratch)
            if status != 1 or "theme-inspect: " not in errors:
                failures.append("%s: exit %d, expected 1 with a message:\n%s" % (description, status, errors))

        # Random damage anywhere in the headers or the package: a refusal or
        # a pass, never a crash. Each run decodes the whole package under the
        # sanitizers, so the count is kept to what the suite's time allows.
        chance = random.Random(20240)
        for _ in range(RANDOM_DAMAGES):
            at = chance.choice([chance.randrange(0, 1024), chance.randrange(start, end + 1)])
            data = original[:at] if chance.random() < 0.3 else flipped(at, chance.randrange(1, 256))
            status, errors = run_inspector(inspector, data, scratch)
            if status not in (0, 1) or "Sanitizer" in errors or "runtime error" in errors:
                failures.append("damage at %d: exit %d:\n%s" % (at, status, errors[-2000:]))
    for failure in failures:
        print("damaged_driver: " + failure, file=sys.stderr)
    print("damaged_driver: %d fixed and %d random damages, %d failures" % (len(must_refuse), RANDOM_DAMAGES, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
