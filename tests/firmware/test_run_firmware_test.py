#!/usr/bin/python3
"""The runner's verdicts on serial logs and QEMU outcomes: a boot must never
be called a pass unless the host said so in every way it can."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_firmware_test as runner  # noqa: E402

FIRMWARE_NOISE = "\x1b[2J\x1b[01;01HBdsDxe: starting Boot0001\r\n\r\n"
GOOD = FIRMWARE_NOISE + "STEP load\r\nPASS driver started: status 0x0\r\nINFO x\r\nSUMMARY: 1 passed, 0 failed\r\n"
FAILING = (FIRMWARE_NOISE + "PASS a: 1\r\nFAIL image package: no image package on the driver's image handle\r\n"
           "SUMMARY: 1 passed, 1 failed\r\n")


class Verdicts(unittest.TestCase):
    def test_table(self):
        cases = [
            # name, log, exit code, timed out, passes, words the reason must hold
            ("all passed", GOOD, 33, False, True, "1 checks passed"),
            ("a check failed", FAILING, 35, False, False, "no image package"),
            ("failure lines despite a pass exit", FAILING, 33, False, False, "1 of 2 checks failed"),
            ("pass summary but fail exit", GOOD, 35, False, False, "exit status 35"),
            ("QEMU ended without the debug exit", GOOD, 0, False, False, "exit status 0"),
            ("processor exception", GOOD.replace("SUMMARY", "!!!! X64 Exception Type - 0E(#PF) \r\nX"), None,
             False, False, "processor exception"),
            ("time limit", FIRMWARE_NOISE + "STEP load\r\n", None, True, False, "last host line: STEP load"),
            ("host stopped early", FIRMWARE_NOISE + "PASS a: 1\r\n", 0, False, False, "before its summary"),
            ("nothing from the host", FIRMWARE_NOISE, 0, False, False, "printed nothing"),
            ("summary disagrees with the lines", GOOD.replace("0 failed", "2 failed"), 35, False, False,
             "2 failures but 0 FAIL lines"),
            ("no checks at all", FIRMWARE_NOISE + "SUMMARY: 0 passed, 0 failed\r\n", 33, False, False, "no check"),
        ]
        for name, log, code, timed_out, passes, words in cases:
            with self.subTest(name):
                passed, reason = runner.judge(log, code, timed_out, 90)
                self.assertEqual(passed, passes, reason)
                self.assertIn(words, reason)

    def test_host_lines_are_freed_of_terminal_output(self):
        lines = runner.host_lines("\x1b[2J\x1b[01;01HPASS a: 1\r\n\x1b[0mINFO b\r\nBdsDxe: noise\r\n")
        self.assertEqual(lines, ["PASS a: 1", "INFO b"])


if __name__ == "__main__":
    unittest.main()
