#!/usr/bin/python3
"""The runner's verdicts on serial logs and QEMU outcomes: a boot must never
be called a pass unless the host said so in every way it can. And the
partitioned boot drive must be one that firmware can find its files on."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import firmware_runner as runner  # noqa: E402

OVMF = runner.FIRMWARES["ovmf"]
UBOOT = runner.FIRMWARES["u-boot"]
TWO_BOOTS = runner.FIRMWARES["ovmf-two-boots"]
STARTED = "INFO reference host started\r\n"
FIRMWARE_NOISE = "\x1b[2J\x1b[01;01HBdsDxe: starting Boot0001\r\n\r\n"
GOOD = FIRMWARE_NOISE + "STEP load\r\nPASS driver started: status 0x0\r\nINFO x\r\nSUMMARY: 1 passed, 0 failed\r\n"
FAILING = (FIRMWARE_NOISE + "PASS a: 1\r\nFAIL image package: no image package on the driver's image handle\r\n"
           "SUMMARY: 1 passed, 1 failed\r\n")
SKIPPED = (FIRMWARE_NOISE + "PASS a: 1\r\nN/A  image package on the driver's image handle: not published\r\n"
           "SUMMARY: 1 passed, 0 failed, 1 not applicable\r\n")


class Verdicts(unittest.TestCase):
    def test_table(self):
        cases = [
            # name, firmware, log, exit code, timed out, passes, words the reason must hold
            ("all passed", OVMF, GOOD, 33, False, True, "1 checks passed"),
            ("a check failed", OVMF, FAILING, 35, False, False, "no image package"),
            ("failure lines despite a pass exit", OVMF, FAILING, 33, False, False, "1 of 2 checks failed"),
            ("pass summary but fail exit", OVMF, GOOD, 35, False, False, "exit status 35"),
            ("QEMU ended without the debug exit", OVMF, GOOD, 0, False, False, "exit status 0"),
            ("processor exception", OVMF, GOOD.replace("SUMMARY", "!!!! X64 Exception Type - 0E(#PF) \r\nX"), None,
             False, False, "processor exception"),
            ("U-Boot's hang after an exception", UBOOT,
             FIRMWARE_NOISE + "STEP load\r\n### ERROR ### Please RESET the board ###\r\n", None, False, False,
             "last host line: STEP load"),
            ("another firmware's mark is noise", UBOOT, GOOD.replace("INFO x", "INFO !!!! X64 Exception"), 33,
             False, True, "1 checks passed"),
            ("time limit", OVMF, FIRMWARE_NOISE + "STEP load\r\n", None, True, False, "last host line: STEP load"),
            ("host stopped early", OVMF, FIRMWARE_NOISE + "PASS a: 1\r\n", 0, False, False, "before its summary"),
            ("nothing from the host", OVMF, FIRMWARE_NOISE, 0, False, False, "printed nothing"),
            ("summary disagrees with the lines", OVMF, GOOD.replace("0 failed", "2 failed"), 35, False, False,
             "2 failures but 0 FAIL lines"),
            ("no checks at all", OVMF, FIRMWARE_NOISE + "SUMMARY: 0 passed, 0 failed\r\n", 33, False, False,
             "no check"),
            ("not applicable where the firmware cannot", UBOOT, SKIPPED, 33, False, True,
             "1 checks passed, 1 not applicable (image package on the driver's image handle)"),
            ("not applicable where the firmware can", OVMF, SKIPPED, 33, False, False,
             "OVMF supports what the host called not applicable"),
            ("N/A line the summary does not count", UBOOT, SKIPPED.replace(", 1 not applicable", ""), 33, False,
             False, "0 not applicable but 1 N/A lines"),
            ("a second start where one boot is expected", OVMF, STARTED + STARTED + GOOD, 33, False, False,
             "started 2 times, expected 1"),
            ("two starts in a run of two boots", TWO_BOOTS, STARTED + "INFO resetting\r\n" + STARTED + GOOD, 33,
             False, True, "1 checks passed"),
            ("a third start in a run of two boots", TWO_BOOTS, STARTED * 3, None, True, False,
             "started 3 times, expected 2"),
            ("not applicable counted, no line", UBOOT, GOOD.replace("0 failed", "0 failed, 1 not applicable"), 33,
             False, False, "1 not applicable but 0 N/A lines"),
        ]
        for name, firmware, log, code, timed_out, passes, words in cases:
            with self.subTest(name):
                passed, reason = runner.judge(log, code, timed_out, 90, firmware)
                self.assertEqual(passed, passes, reason)
                self.assertIn(words, reason)

    def test_host_lines_are_freed_of_terminal_output(self):
        lines = runner.host_lines("\x1b[2J\x1b[01;01HPASS a: 1\r\n\x1b[0mINFO b\r\nBdsDxe: noise\r\nN/A  c: d\r\n")
        self.assertEqual(lines, ["PASS a: 1", "INFO b", "N/A  c: d"])


@unittest.skipIf(shutil.which("mcopy") is None, "mtools not installed")
class PartitionedDrive(unittest.TestCase):
    def test_files_on_an_efi_system_partition_at_sector_2048(self):
        with tempfile.TemporaryDirectory() as work_dir:
            host = os.path.join(work_dir, "host.efi")
            driver = os.path.join(work_dir, "driver.efi")
            for path, content in ((host, b"host" * 1000), (driver, b"driver" * 50000)):
                with open(path, "wb") as file:
                    file.write(content)
            arguments = runner.partitioned_drive(work_dir, host, driver)
            image = os.path.join(work_dir, "disk.img")
            self.assertIn(f"file={image},format=raw,if=ide", arguments)
            with open(image, "rb") as disk:
                data = disk.read()
            entry = data[446:462]
            self.assertEqual((data[510:512], entry[4]), (b"\x55\xaa", 0xEF))
            start = int.from_bytes(entry[8:12], "little")
            sectors = int.from_bytes(entry[12:16], "little")
            self.assertEqual(start, 2048)
            self.assertEqual((start + sectors) * 512, len(data), "partition ends with the image")
            boot_sector = data[start * 512:start * 512 + 512]
            self.assertEqual(boot_sector[510:512], b"\x55\xaa")
            self.assertEqual(int.from_bytes(boot_sector[28:32], "little"), start, "hidden sectors")
            partition = f"{image}@@{start * 512}"
            for name, path in ((runner.HOST_FILE, host), (runner.DRIVER_FILE, driver)):
                copied = subprocess.run(["mtype", "-i", partition, f"::/EFI/BOOT/{name}"], check=True,
                                        capture_output=True, env=dict(os.environ, MTOOLS_SKIP_CHECK="1")).stdout
                with open(path, "rb") as original:
                    self.assertEqual(copied, original.read(), name)


if __name__ == "__main__":
    unittest.main()
