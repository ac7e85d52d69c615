#!/usr/bin/python3
"""Boots the reference host and the driver in QEMU with OVMF so that the
driver's set-up fails under HaltOnError 1, and judges the fatal-code display
from QEMU's trace of I/O writes. See fatal_display.py.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fatal_display  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True, help="the reference host .efi")
    parser.add_argument("--driver", required=True, help="the driver .efi")
    parser.add_argument("--time-limit", type=float, default=60.0, help="seconds (default 60)")
    parser.add_argument("--log", help="keep the serial log at this path")
    parser.add_argument("--trace", required=True, help="where QEMU writes its trace (removed afterwards)")
    args = parser.parse_args()
    passed, reason, seconds = fatal_display.run(args.host, args.driver, args.time_limit, args.log, args.trace)
    print(("PASSED: " if passed else "FAILED: ") + f"{reason} ({seconds:.1f} s)")
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
