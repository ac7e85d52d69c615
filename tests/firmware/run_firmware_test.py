#!/usr/bin/python3
"""Boots the reference host and the driver in QEMU under one firmware
(OVMF by default) and prints the verdict, or with --report what the host
saw step by step. The boot and its verdict live in firmware_runner.py.
"""
import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import firmware_runner  # noqa: E402


def report(firmware, outcome, driver, sheet, ship):
    """What the host saw, step by step, for a person."""
    print(f"driver: {os.path.abspath(driver)} ({os.path.getsize(driver)} bytes)")
    if ship:
        print(f"for firmware builds: {os.path.abspath(ship)}")
    if sheet:
        print(f"preview sheet: {os.path.abspath(sheet)}")
    print(f"booted under the reference host in QEMU with {firmware.name}: {outcome.seconds:.1f} s")
    steps = [["start", []]]
    for line in outcome.lines:
        if line.startswith("STEP "):
            steps.append([line[5:], []])
        else:
            steps[-1][1].append(line)
    for name, step_lines in steps:
        checks = [line for line in step_lines if line.startswith(("PASS ", "FAIL "))]
        failed = sum(1 for line in checks if line.startswith("FAIL "))
        skipped = [line for line in step_lines if line.startswith(firmware_runner.NOT_APPLICABLE)]
        if not checks and not skipped and not any(line.startswith("INFO ") for line in step_lines):
            continue
        tally = f"{len(checks) - failed} passed" + (f", {failed} FAILED" if failed else "") if checks else "no checks"
        if skipped:
            tally += f", {len(skipped)} not applicable"
        print(f"  {name}: {tally}")
        for line in step_lines:
            if line.startswith(("FAIL ", firmware_runner.NOT_APPLICABLE)):
                print(f"    {line}")
            elif line.startswith("INFO "):
                print(f"    {line[5:]}")
    print(("PASSED: " if outcome.passed else "FAILED: ") + outcome.reason)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True, help="the reference host .efi")
    parser.add_argument("--driver", required=True, help="the driver .efi")
    parser.add_argument("--firmware", choices=sorted(firmware_runner.FIRMWARES), default="ovmf",
                        help="which firmware boots them (default ovmf)")
    parser.add_argument("--time-limit", type=float, default=90.0, help="seconds (default 90)")
    parser.add_argument("--log", help="keep the serial log at this path")
    parser.add_argument("--report", action="store_true", help="print what the host saw, step by step")
    parser.add_argument("--verbose", action="store_true", help="print every host line")
    parser.add_argument("--sheet", help="the driver's preview sheet, named in the report")
    parser.add_argument("--ship", help="the driver's folder for firmware builds, named in the report")
    parser.add_argument("--expected", help="the theme tool's expectations for a driver built in another theme")
    parser.add_argument("--pcd-tokens", help="the PCD tokens the driver was built with: eight comma-separated "
                        "numbers, or none (default: the default driver's)")
    args = parser.parse_args()

    firmware = firmware_runner.FIRMWARES[args.firmware]
    with tempfile.TemporaryDirectory(prefix="theme-expected-") as work:
        files = {}
        lines = ""
        if args.expected:
            with open(args.expected, encoding="utf-8") as theme:
                lines += theme.read()
        if args.pcd_tokens:
            lines += "pcd-tokens " + " ".join(args.pcd_tokens.replace(",", " ").split()) + "\n"
        if lines:
            files["Expected.txt"] = os.path.join(work, "Expected.txt")
            with open(files["Expected.txt"], "w", encoding="utf-8") as expected:
                expected.write(lines)
        outcome = firmware_runner.run(firmware, args.host, args.driver, args.time_limit, args.log, files=files)
    if args.verbose or (not outcome.passed and not args.report):
        for line in outcome.lines:
            print(line)
    if args.report and outcome.lines:
        report(firmware, outcome, args.driver, args.sheet, args.ship)
    else:
        print(("PASSED: " if outcome.passed else "FAILED: ") + f"{outcome.reason} ({outcome.seconds:.1f} s)")
    return 0 if outcome.passed else 1


if __name__ == "__main__":
    sys.exit(main())
