#!/usr/bin/python3
"""Boots the reference host and the driver in QEMU with OVMF and turns what
the host printed on the serial port into a verdict.

The host is \\EFI\\BOOT\\BOOTX64.EFI of a FAT drive that QEMU builds from a
directory, with the driver beside it. The host prints one line per check and
ends QEMU through its debug-exit device: status 33 when every check passed,
35 when one failed. Anything else (time limit, processor exception, QEMU
ending by itself) is a failure with its own reason.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

OVMF = "/usr/share/ovmf/OVMF.fd"
QEMU = "qemu-system-x86_64"
EXIT_PASSED = 33  # the host wrote 0x10 to the debug-exit port
EXIT_FAILED = 35  # the host wrote 0x11
EXCEPTION_MARK = "!!!! X64 Exception"
ANSI_ESCAPE = re.compile(r"\x1b\[[0-9;?]*[A-Za-z]")
LINE_KINDS = ("STEP ", "PASS ", "FAIL ", "INFO ", "SUMMARY:")
SUMMARY = re.compile(r"^SUMMARY: (\d+) passed, (\d+) failed$")


def host_lines(log_text):
    """The host's own lines, freed of the firmware's terminal output."""
    lines = []
    for raw in log_text.replace("\r", "\n").split("\n"):
        line = ANSI_ESCAPE.sub("", raw).strip()
        for kind in LINE_KINDS:
            at = line.find(kind)
            if at >= 0:
                lines.append(line[at:])
                break
    return lines


def judge(log_text, exit_code, timed_out, limit):
    """(passed, reason) for one boot."""
    lines = host_lines(log_text)
    failures = [line for line in lines if line.startswith("FAIL ")]
    summaries = [SUMMARY.match(line) for line in lines if line.startswith("SUMMARY:")]
    summary = summaries[-1] if summaries else None
    if EXCEPTION_MARK in log_text:
        at = log_text.index(EXCEPTION_MARK)
        detail = ANSI_ESCAPE.sub("", log_text[at:at + 120]).splitlines()[0]
        last = lines[-1] if lines else "nothing"
        return False, f"processor exception in firmware ({detail}); last host line: {last}"
    if timed_out:
        last = lines[-1] if lines else "nothing from the host"
        return False, f"no verdict within {limit:.0f} s; last host line: {last}"
    if not lines:
        return False, f"the host printed nothing (QEMU exit status {exit_code})"
    if summary is None:
        return False, f"the host stopped before its summary (QEMU exit status {exit_code}); last line: {lines[-1]}"
    passed, failed = int(summary.group(1)), int(summary.group(2))
    if failed != len(failures):
        return False, f"summary counts {failed} failures but {len(failures)} FAIL lines were printed"
    if failures:
        shown = "; ".join(line[5:] for line in failures[:5])
        more = f" (and {len(failures) - 5} more)" if len(failures) > 5 else ""
        return False, f"{failed} of {passed + failed} checks failed: {shown}{more}"
    if exit_code != EXIT_PASSED:
        return False, f"QEMU exit status {exit_code}, expected {EXIT_PASSED} from the host's debug exit"
    if passed == 0:
        return False, "the host ran no check"
    return True, f"{passed} checks passed"


def lay_out_drive(directory, host, driver):
    boot = os.path.join(directory, "EFI", "BOOT")
    os.makedirs(boot)
    shutil.copyfile(host, os.path.join(boot, "BOOTX64.EFI"))
    shutil.copyfile(driver, os.path.join(boot, "ThemeDriver.efi"))


def boot(host, driver, limit, log_path, work_dir):
    """Runs QEMU once; returns (log text, exit code, timed out, seconds)."""
    drive = os.path.join(work_dir, "drive")
    lay_out_drive(drive, host, driver)
    command = [
        QEMU, "-machine", "pc", "-m", "256", "-nodefaults", "-display", "none", "-no-reboot",
        "-bios", OVMF,
        "-drive", f"file=fat:rw:{drive},format=raw,if=ide",
        "-serial", f"file:{log_path}",
        "-monitor", "none",
        "-device", "isa-debug-exit,iobase=0xf4,iosize=0x04",
    ]
    started = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    timed_out = False
    while process.poll() is None:
        elapsed = time.monotonic() - started
        if elapsed > limit:
            timed_out = True
            break
        # OVMF halts with interrupts off after an exception: stop waiting.
        if os.path.exists(log_path) and EXCEPTION_MARK in read_log(log_path):
            time.sleep(0.5)  # let the register dump reach the log
            break
        time.sleep(0.1)
    if process.poll() is None:
        process.kill()
    output = process.communicate()[0].decode(errors="replace")
    seconds = time.monotonic() - started
    log_text = read_log(log_path) if os.path.exists(log_path) else ""
    if output.strip() and process.returncode not in (EXIT_PASSED, EXIT_FAILED):
        log_text += "\n[qemu] " + output.strip()
    return log_text, process.returncode, timed_out, seconds


def read_log(path):
    with open(path, "rb") as log:
        return log.read().decode("latin-1")


def report(lines, driver, seconds, passed, reason):
    """What the host saw, step by step, for a person."""
    print(f"driver: {os.path.abspath(driver)} ({os.path.getsize(driver)} bytes)")
    print(f"booted under the reference host in QEMU with OVMF: {seconds:.1f} s")
    steps = [["start", []]]
    for line in lines:
        if line.startswith("STEP "):
            steps.append([line[5:], []])
        else:
            steps[-1][1].append(line)
    for name, step_lines in steps:
        checks = [line for line in step_lines if line.startswith(("PASS ", "FAIL "))]
        failed = sum(1 for line in checks if line.startswith("FAIL "))
        if not checks and not any(line.startswith("INFO ") for line in step_lines):
            continue
        tally = f"{len(checks) - failed} passed" + (f", {failed} FAILED" if failed else "") if checks else "no checks"
        print(f"  {name}: {tally}")
        for line in step_lines:
            if line.startswith("FAIL "):
                print(f"    FAIL {line[5:]}")
            elif line.startswith("INFO "):
                print(f"    {line[5:]}")
    print(("PASSED: " if passed else "FAILED: ") + reason)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True, help="the reference host .efi")
    parser.add_argument("--driver", required=True, help="the driver .efi")
    parser.add_argument("--time-limit", type=float, default=90.0, help="seconds (default 90)")
    parser.add_argument("--log", help="keep the serial log at this path")
    parser.add_argument("--report", action="store_true", help="print what the host saw, step by step")
    parser.add_argument("--verbose", action="store_true", help="print every host line")
    args = parser.parse_args()

    for path, what in ((args.host, "reference host"), (args.driver, "driver"), (OVMF, "OVMF firmware")):
        if not os.path.isfile(path):
            print(f"FAILED: {what} not found at {path}")
            return 1
    if shutil.which(QEMU) is None:
        print(f"FAILED: {QEMU} not found")
        return 1

    with tempfile.TemporaryDirectory(prefix="theme-firmware-") as work_dir:
        log_path = args.log or os.path.join(work_dir, "serial.log")
        if os.path.exists(log_path):
            os.remove(log_path)
        log_text, exit_code, timed_out, seconds = boot(args.host, args.driver, args.time_limit, log_path, work_dir)

    passed, reason = judge(log_text, exit_code, timed_out, args.time_limit)
    lines = host_lines(log_text)
    if args.verbose or (not passed and not args.report):
        for line in lines:
            print(line)
    if args.report:
        report(lines, args.driver, seconds, passed, reason)
    else:
        print(("PASSED: " if passed else "FAILED: ") + f"{reason} ({seconds:.1f} s)")
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
