#!/usr/bin/python3
"""The fatal-display verdicts on made-up traces: only the marker, the code and
two full cycles of the display, written the way QEMU reports them, pass."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fatal_display  # noqa: E402
import firmware_runner  # noqa: E402

OVMF = firmware_runner.FIRMWARES["ovmf"]
LOG = "STEP fatal-code display\r\nINFO refusing\r\n"


def write(port, value, size, region):
    return f"memory_region_ops_write cpu 0 mr 0x55aa addr 0x{port:x} value 0x{value:x} size {size} name '{region}'"


def post(value, region="ioport80"):
    return [write(0x80 + index, (value >> (8 * index)) & 0xFF, 1, region) for index in range(4)]


def trace(values, mark=True):
    lines = [write(0xE0, 0xDEAD, 2, "io")] if mark else []
    lines.append(write(0x3F8, 0x41, 1, "serial"))
    for value in values:
        lines += post(value)
    return lines


GOOD_VALUES = [fatal_display.CODE] + fatal_display.DISPLAY * 2


class FatalVerdicts(unittest.TestCase):
    def test_table(self):
        swapped = GOOD_VALUES[:]
        swapped[2], swapped[3] = swapped[3], swapped[2]
        cases = [
            # name, trace lines, serial log, passes, words the reason must hold
            ("marker, code and two cycles", trace(GOOD_VALUES), LOG, True, "0x250000DE"),
            ("no marker", trace(GOOD_VALUES, mark=False), LOG, False, "0xDEAD to port 0xE0"),
            ("marker twice", trace(GOOD_VALUES) + [write(0xE0, 0xDEAD, 2, "io")], LOG, False, "0xE0"),
            ("marker as a 32-bit write", [write(0xE0, 0xDEAD, 4, "io")] + trace(GOOD_VALUES, mark=False), LOG,
             False, "0xE0"),
            ("code before the marker", post(fatal_display.CODE) + trace(GOOD_VALUES), LOG, False, "before"),
            ("values out of order", trace(swapped), LOG, False, "expected the code"),
            ("one cycle only", trace(GOOD_VALUES[:7]), LOG, False, "expected the code"),
            ("byte writes to another region", trace(GOOD_VALUES)[:2] + post(fatal_display.CODE, "io")
             + trace(GOOD_VALUES[1:], mark=False)[1:], LOG, False, "four byte writes"),
            ("processor exception", trace(GOOD_VALUES), LOG + "!!!! X64 Exception Type - 0D(#GP)\r\n", False,
             "processor exception"),
            ("a failed host check", trace(GOOD_VALUES), LOG + "FAIL driver halts at the fatal code: returned\r\n",
             False, "failed a check"),
        ]
        for name, lines, log, passes, words in cases:
            with self.subTest(name):
                passed, reason = fatal_display.judge(fatal_display.port_writes(lines), log, OVMF)
                self.assertEqual(passed, passes, reason)
                self.assertIn(words, reason)

    def test_follower_reads_a_growing_trace_in_pieces(self):
        with tempfile.TemporaryDirectory() as work_dir:
            path = os.path.join(work_dir, "trace.log")
            follower = fatal_display.TraceFollower(path)
            follower.poll()
            text = "\n".join(trace(GOOD_VALUES)) + "\n"
            half = len(text) // 2
            with open(path, "w") as out:
                out.write(text[:half])
            follower.poll()
            self.assertFalse(follower.seen_cycles())
            with open(path, "a") as out:
                out.write(text[half:])
            follower.poll()
            self.assertTrue(follower.seen_cycles())
            self.assertEqual(len(follower.writes), 1 + 4 * len(GOOD_VALUES))


if __name__ == "__main__":
    unittest.main()
