"""The run in which the driver meets a failure under HaltOnError 1: the
reference host, in its fatal-code mode (named by HostMode.txt), makes the
firmware refuse the heap-record list and loads the driver, whose fatal-code
display then runs for ever. QEMU traces every I/O write; the run ends once
the display has gone round twice, and the verdict is read from that trace:

  - one 16-bit write of 0xDEAD to port 0xE0 (the `io` region);
  - the code 0x00080225 on port 0x80, a 32-bit write that arrives as four
    byte writes to addresses 0x80..0x83 of the `ioport80` region;
  - then the six display values in order, twice;
  - and no processor exception in the firmware's log.

    outcome = run(host, driver, limit, log_path, trace_path)
"""
import dataclasses
import os
import re
import tempfile
from typing import Optional

import firmware_runner

HOST_MODE = "fatal-code"
CODE = 0x00080225
DISPLAY = [0x250000DE, 0x0000DEAD, 0x00DEAD00, 0xDEAD0008, 0xAD000802, 0x00080225]
CYCLES = 2
WRITE = re.compile(r"memory_region_ops_write cpu \d+ mr \S+ addr (0x[0-9a-f]+) value (0x[0-9a-f]+) "
                   r"size (\d+) name '([^']*)'")
PORTS = {0xE0, 0x80, 0x81, 0x82, 0x83}


@dataclasses.dataclass
class PortWrite:
    port: int
    value: int
    size: int
    region: str


def port_writes(lines):
    """The writes to port 0xE0 and to ports 0x80..0x83, in order."""
    writes = []
    for line in lines:
        match = WRITE.search(line)
        if match and int(match.group(1), 16) in PORTS:
            writes.append(PortWrite(int(match.group(1), 16), int(match.group(2), 16), int(match.group(3)),
                                    match.group(4)))
    return writes


class TraceFollower:
    """Reads the growing trace a piece at a time, keeping only the writes
    that matter (the trace grows by megabytes a second)."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = ""
        self.writes = []

    def poll(self):
        if not os.path.exists(self.path):
            return
        with open(self.path, "rb") as trace:
            trace.seek(self.offset)
            chunk = trace.read(64 << 20).decode("latin-1")
            self.offset = trace.tell()
        lines = (self.partial + chunk).split("\n")
        self.partial = lines.pop()
        self.writes += port_writes(line for line in lines if "addr 0xe0 " in line or "'ioport80'" in line)

    def seen_cycles(self):
        return sum(1 for write in self.writes if write.port == 0x80) >= 1 + CYCLES * len(DISPLAY)


def post_values(writes):
    """32-bit values put together from byte writes to 0x80..0x83 of the
    ioport80 region; (values, problem)."""
    values = []
    post = [write for write in writes if write.port != 0xE0]
    for start in range(0, len(post) - len(post) % 4, 4):
        group = post[start:start + 4]
        if [write.port for write in group] != [0x80, 0x81, 0x82, 0x83] or any(
                write.size != 1 or write.region != "ioport80" or write.value > 0xFF for write in group):
            return values, f"write {start // 4 + 1} to port 0x80 is not four byte writes to ioport80 0x80..0x83"
        values.append(sum(write.value << (8 * index) for index, write in enumerate(group)))
    return values, None


def judge(writes, log_text, firmware) -> (bool, str):
    exception = firmware_runner.processor_exception(log_text, firmware)
    if exception is not None:
        return False, f"processor exception in firmware ({exception})"
    failures = [line for line in firmware_runner.host_lines(log_text) if line.startswith("FAIL ")]
    if failures:
        return False, f"the host failed a check: {failures[0][5:]}"
    marks = [write for write in writes if write.port == 0xE0]
    if len(marks) != 1 or (marks[0].value, marks[0].size, marks[0].region) != (0xDEAD, 2, "io"):
        shown = ", ".join(f"0x{write.value:X}/{write.size}/{write.region}" for write in marks[:3]) or "none"
        return False, f"expected one 16-bit write of 0xDEAD to port 0xE0 (io), got {shown}"
    if writes[0] is not marks[0]:
        return False, "port 0x80 was written before 0xDEAD reached port 0xE0"
    values, problem = post_values(writes)
    if problem:
        return False, problem
    expected = [CODE] + DISPLAY * CYCLES
    shown = ", ".join(f"0x{value:08X}" for value in values[:len(expected)])
    if values[:len(expected)] != expected:
        return False, f"port 0x80 showed {shown}; expected the code, then the six display values twice"
    return True, f"0xDEAD on port 0xE0, code 0x{CODE:08X} on port 0x80, then {shown[12:]}"


def run(host, driver, limit, log_path: Optional[str], trace_path):
    """Boots OVMF into the fatal-code display; (passed, reason, seconds)."""
    firmware = firmware_runner.FIRMWARES["ovmf"]
    if os.path.exists(trace_path):
        os.remove(trace_path)
    follower = TraceFollower(trace_path)

    def displayed_twice():
        follower.poll()
        return follower.seen_cycles()

    with tempfile.TemporaryDirectory(prefix="theme-fatal-") as work:
        mode_file = os.path.join(work, "HostMode.txt")
        with open(mode_file, "w") as mode:
            mode.write(HOST_MODE + "\n")
        outcome = firmware_runner.run(firmware, host, driver, limit, log_path,
                                      ["-trace", f"enable=memory_region_ops_write,file={trace_path}"],
                                      displayed_twice, files={"HostMode.txt": mode_file})
    follower.poll()
    if os.path.exists(trace_path):
        os.remove(trace_path)  # hundreds of megabytes by now
    if not follower.seen_cycles() and outcome.reason.startswith("no verdict"):
        return False, f"the display did not go round twice within {limit:.0f} s", outcome.seconds
    passed, reason = judge(follower.writes, outcome.log_text, firmware)
    return passed, reason, outcome.seconds
