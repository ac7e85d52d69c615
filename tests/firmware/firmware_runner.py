"""Boots the reference host and the driver in QEMU under one UEFI firmware
and turns what the host printed on the serial port into a verdict.

Every run works the same way: the host is \\EFI\\BOOT\\BOOTX64.EFI of the
boot drive with the driver beside it, prints one line per check and ends
QEMU through its debug-exit device (status 33 when every check passed, 35
when one failed). Anything else (time limit, processor exception, QEMU
ending by itself) is a failure with its own reason.

Runs differ only in their `Firmware`: how QEMU gets the firmware, how the
boot drive is laid out, what the firmware prints on a processor exception,
which checks it cannot support, the QEMU machine, and how many boots a run
takes (more than one when the host resets on purpose; then QEMU reboots
instead of ending, and a further start of the host ends the run as a
failure). Files beside the driver on the boot drive (a mode file, a
firmware volume, signed copies) come with `run(..., files={name: path})`;
a driver of None leaves the driver file off the drive, for a firmware that
holds the driver in its flash.
To add a run, describe it with a
`Firmware` (or `dataclasses.replace` one of `FIRMWARES`) and call `run()`;
`extra_args` adds QEMU options (a trace log, say) without a new description,
and `stop_when` ends a run that never ends by itself once it has shown what
was to be seen.

    outcome = run(FIRMWARES["ovmf"], host, driver, limit=90)
    outcome.passed, outcome.reason, outcome.lines, outcome.seconds
"""
import dataclasses
import os
import re
import shutil
import subprocess
import tempfile
import time
from typing import Callable, Optional, Sequence

QEMU = "qemu-system-x86_64"
EXIT_PASSED = 33  # the host wrote 0x10 to the debug-exit port
EXIT_FAILED = 35  # the host wrote 0x11
ANSI_ESCAPE = re.compile(r"\x1b\[[0-9;?]*[A-Za-z]")
NOT_APPLICABLE = "N/A  "
LINE_KINDS = ("STEP ", "PASS ", "FAIL ", NOT_APPLICABLE, "INFO ", "SUMMARY:")
SUMMARY = re.compile(r"^SUMMARY: (\d+) passed, (\d+) failed(?:, (\d+) not applicable)?$")
HOST_STARTED = "INFO reference host started"
HOST_FILE = "BOOTX64.EFI"
DRIVER_FILE = "ThemeDriver.efi"


@dataclasses.dataclass(frozen=True)
class Firmware:
    """One way of booting the host; see the module's description."""
    name: str                                   # in reports: "OVMF", "U-Boot"
    files: tuple                                # must exist before booting (firmware images)
    firmware_args: Callable[[str], list]        # (work dir) -> QEMU options that load the firmware
    boot_drive: Callable[[str, str, str, dict], list]  # (work dir, host, driver, files) -> QEMU drive options
    exception_marks: tuple = ()                 # serial text of a processor exception in the firmware
    not_applicable: tuple = ()                  # names of checks the firmware may report not applicable
    machine: tuple = ("-machine", "pc")         # QEMU options for the machine
    boots: int = 1                              # host starts in one run; more than one lets QEMU reboot


@dataclasses.dataclass
class Outcome:
    passed: bool
    reason: str
    lines: list          # the host's own lines
    seconds: float
    exit_code: Optional[int]
    log_text: str


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


def check_name(line):
    """The check a PASS, FAIL or N/A line is about."""
    return line[5:].split(":", 1)[0].strip()


def processor_exception(log_text, firmware):
    """The firmware's report of a processor exception in the log, or None."""
    for mark in firmware.exception_marks:
        if mark in log_text:
            at = log_text.index(mark)
            return ANSI_ESCAPE.sub("", log_text[at:at + 120]).strip().splitlines()[0]
    return None


def host_starts(lines):
    return sum(1 for line in lines if line == HOST_STARTED)


def judge(log_text, exit_code, timed_out, limit, firmware, lines=None):
    """(passed, reason) for one run under firmware; lines are the host's own
    lines of log_text when the caller has them already."""
    lines = host_lines(log_text) if lines is None else lines
    starts = host_starts(lines)
    failures = [line for line in lines if line.startswith("FAIL ")]
    skipped = [line for line in lines if line.startswith(NOT_APPLICABLE)]
    summaries = [SUMMARY.match(line) for line in lines if line.startswith("SUMMARY:")]
    summary = summaries[-1] if summaries else None
    last = lines[-1] if lines else "nothing from the host"
    detail = processor_exception(log_text, firmware)
    if detail is not None:
        return False, f"processor exception in firmware ({detail}); last host line: {last}"
    if starts > firmware.boots:
        return False, f"the host started {starts} times, expected {firmware.boots}: an unexpected reset"
    if timed_out:
        return False, f"no verdict within {limit:.0f} s; last host line: {last}"
    if not lines:
        return False, f"the host printed nothing (QEMU exit status {exit_code})"
    if summary is None:
        return False, f"the host stopped before its summary (QEMU exit status {exit_code}); last line: {last}"
    passed, failed, inapplicable = (int(group or 0) for group in summary.groups())
    if failed != len(failures):
        return False, f"summary counts {failed} failures but {len(failures)} FAIL lines were printed"
    if inapplicable != len(skipped):
        return False, f"summary counts {inapplicable} not applicable but {len(skipped)} N/A lines were printed"
    unexpected = [line for line in skipped if check_name(line) not in firmware.not_applicable]
    if failures:
        shown = "; ".join(line[5:] for line in failures[:5])
        more = f" (and {len(failures) - 5} more)" if len(failures) > 5 else ""
        return False, f"{failed} of {passed + failed} checks failed: {shown}{more}"
    if unexpected:
        return False, f"{firmware.name} supports what the host called not applicable: {unexpected[0][5:]}"
    if exit_code != EXIT_PASSED:
        return False, f"QEMU exit status {exit_code}, expected {EXIT_PASSED} from the host's debug exit"
    if passed == 0:
        return False, "the host ran no check"
    reason = f"{passed} checks passed"
    if skipped:
        reason += f", {len(skipped)} not applicable ({'; '.join(check_name(line) for line in skipped)})"
    return True, reason


def read_log(path):
    with open(path, "rb") as log:
        return log.read().decode("latin-1")


def _stop_early(log_path, firmware):
    """True when the log already shows the run cannot pass: firmware halts
    after an exception, and a host started too often would go on resetting."""
    if not os.path.exists(log_path):
        return False
    log_text = read_log(log_path)
    return bool(processor_exception(log_text, firmware)) or host_starts(host_lines(log_text)) > firmware.boots


def boot(firmware, host, driver, limit, log_path, work_dir, extra_args=(), stop_when=None, files=None):
    """Runs QEMU once; returns (log text, exit code, timed out, seconds)."""
    command = [
        QEMU, *firmware.machine, "-m", "256", "-nodefaults", "-display", "none",
        *(["-no-reboot"] if firmware.boots == 1 else []),
        *firmware.firmware_args(work_dir),
        *firmware.boot_drive(work_dir, host, driver, files or {}),
        "-serial", f"file:{log_path}",
        "-monitor", "none",
        "-device", "isa-debug-exit,iobase=0xf4,iosize=0x04",
        *extra_args,
    ]
    started = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    timed_out = False
    while process.poll() is None:
        if time.monotonic() - started > limit:
            timed_out = True
            break
        if _stop_early(log_path, firmware):
            time.sleep(0.5)  # let a register dump reach the log
            break
        if stop_when is not None and stop_when():
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


def missing_prerequisite(firmware, host, driver, files=None):
    """What is missing to boot, or None."""
    wanted = [(host, "reference host")] + ([(driver, "driver")] if driver else []) + \
        [(path, name) for name, path in (files or {}).items()]
    for path, what in wanted:
        if not os.path.isfile(path):
            return f"{what} not found at {path}"
    for path in firmware.files:
        if not os.path.isfile(path):
            return f"{firmware.name} firmware file not found at {path}"
    if shutil.which(QEMU) is None:
        return f"{QEMU} not found"
    return None


def run(firmware, host, driver, limit, log_path=None, extra_args: Sequence[str] = (),
        stop_when: Optional[Callable[[], bool]] = None, files=None):
    """Boots and judges the run; the serial log stays at log_path when given."""
    missing = missing_prerequisite(firmware, host, driver, files)
    if missing:
        return Outcome(False, missing, [], 0.0, None, "")
    with tempfile.TemporaryDirectory(prefix="theme-firmware-") as work_dir:
        log_path = log_path or os.path.join(work_dir, "serial.log")
        if os.path.exists(log_path):
            os.remove(log_path)
        log_text, exit_code, timed_out, seconds = boot(firmware, host, driver, limit, log_path, work_dir, extra_args,
                                                       stop_when, files)
    lines = host_lines(log_text)
    passed, reason = judge(log_text, exit_code, timed_out, limit, firmware, lines)
    return Outcome(passed, reason, lines, seconds, exit_code, log_text)


# --- Boot drives ---------------------------------------------------------

def boot_files(host, driver, files):
    """(source path, name in \\EFI\\BOOT) of every file on the boot drive."""
    return [(host, HOST_FILE)] + ([(driver, DRIVER_FILE)] if driver else []) + \
        [(path, name) for name, path in sorted(files.items())]


def directory_drive(work_dir, host, driver, files=()):
    """A FAT drive that QEMU builds from a directory (no partition table)."""
    drive = os.path.join(work_dir, "drive")
    boot_dir = os.path.join(drive, "EFI", "BOOT")
    os.makedirs(boot_dir)
    for path, name in boot_files(host, driver, dict(files)):
        shutil.copyfile(path, os.path.join(boot_dir, name))
    return ["-drive", f"file=fat:rw:{drive},format=raw,if=ide"]


SECTOR = 512
PARTITION_START = 2048           # sectors: the first 1 MiB holds the MBR
PARTITION_SECTORS = 64 * 2048    # 64 MiB: FAT16 with room to spare
EFI_SYSTEM_PARTITION = 0xEF


def mbr(start, sectors, kind):
    """A master boot record with one partition (CHS fields left at their
    'use LBA' values)."""
    entry = bytes([0x00, 0xFE, 0xFF, 0xFF, kind, 0xFE, 0xFF, 0xFF])
    entry += start.to_bytes(4, "little") + sectors.to_bytes(4, "little")
    record = bytearray(SECTOR)
    record[446:446 + 16] = entry
    record[510:512] = b"\x55\xaa"
    return bytes(record)


def partitioned_drive(work_dir, host, driver, files=()):
    """A disk image with an MBR and one EFI system partition (FAT) at sector
    2048, made with mtools: no root or loop device needed."""
    image = os.path.join(work_dir, "disk.img")
    with open(image, "wb") as disk:
        disk.write(mbr(PARTITION_START, PARTITION_SECTORS, EFI_SYSTEM_PARTITION))
        disk.truncate((PARTITION_START + PARTITION_SECTORS) * SECTOR)
    partition = f"{image}@@{PARTITION_START * SECTOR}"
    environment = dict(os.environ, MTOOLS_SKIP_CHECK="1")
    for command in (
        ["mformat", "-i", partition, "-T", str(PARTITION_SECTORS), "-h", "64", "-s", "32", "-H",
         str(PARTITION_START), "-v", "THEMEBOOT", "::"],
        ["mmd", "-i", partition, "::/EFI", "::/EFI/BOOT"],
        *(["mcopy", "-i", partition, path, f"::/EFI/BOOT/{name}"] for path, name in boot_files(host, driver, dict(files))),
    ):
        subprocess.run(command, check=True, env=environment, stdout=subprocess.DEVNULL)
    return ["-drive", f"file={image},format=raw,if=ide"]


# --- Firmwares -----------------------------------------------------------

def bios(path):
    return lambda work_dir: ["-bios", path]


def split_flash(code, variables_template):
    """Firmware code read-only and a writable copy of a variable store, so
    that variables written in one boot are there in the next."""
    def arguments(work_dir):
        variables = os.path.join(work_dir, "vars.fd")
        shutil.copyfile(variables_template, variables)
        return ["-drive", f"if=pflash,format=raw,unit=0,readonly=on,file={code}",
                "-drive", f"if=pflash,format=raw,unit=1,file={variables}"]
    return arguments


OVMF_IMAGE = "/usr/share/ovmf/OVMF.fd"
OVMF_CODE = "/usr/share/OVMF/OVMF_CODE_4M.fd"
OVMF_VARS = "/usr/share/OVMF/OVMF_VARS_4M.fd"
OVMF_SECURE_CODE = "/usr/share/OVMF/OVMF_CODE_4M.secboot.fd"
# Debian's test store: its "snakeoil" certificate enrolled as PK, KEK and db.
OVMF_SNAKEOIL_VARS = "/usr/share/OVMF/OVMF_VARS_4M.snakeoil.fd"
OVMF_EXCEPTION = ("!!!! X64 Exception",)
UBOOT_IMAGE = "/usr/lib/u-boot/qemu-x86_64/u-boot.rom"

FIRMWARES = {
    "ovmf": Firmware(
        name="OVMF", files=(OVMF_IMAGE,), firmware_args=bios(OVMF_IMAGE), boot_drive=directory_drive,
        exception_marks=OVMF_EXCEPTION),
    # Two boots: the host writes a load option and resets; the boot manager
    # loads the driver in the second.
    "ovmf-two-boots": Firmware(
        name="OVMF (split flash, two boots)", files=(OVMF_CODE, OVMF_VARS),
        firmware_args=split_flash(OVMF_CODE, OVMF_VARS), boot_drive=directory_drive,
        exception_marks=OVMF_EXCEPTION, boots=2),
    "ovmf-secure-boot": Firmware(
        name="OVMF Secure Boot", files=(OVMF_SECURE_CODE, OVMF_SNAKEOIL_VARS),
        firmware_args=split_flash(OVMF_SECURE_CODE, OVMF_SNAKEOIL_VARS), boot_drive=directory_drive,
        exception_marks=OVMF_EXCEPTION,
        machine=("-machine", "q35,smm=on", "-global", "driver=cfi.pflash01,property=secure,value=on")),
    "u-boot": Firmware(
        name="U-Boot", files=(UBOOT_IMAGE,), firmware_args=bios(UBOOT_IMAGE), boot_drive=partitioned_drive,
        exception_marks=("### ERROR ### Please RESET the board ###",),
        not_applicable=("image package on the driver's image handle",)),
}
