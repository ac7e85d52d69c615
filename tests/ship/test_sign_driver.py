#!/usr/bin/python3
"""tools/sign-driver: signs the built driver so that the signature verifies
against the signing certificate, and refuses, with its reason and without
writing anything, a driver already signed and files that are not drivers."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SIGN_DRIVER = os.path.join(HERE, "..", "..", "tools", "sign-driver")
sys.path.insert(0, HERE)
from synthetic_pe import pe_image  # noqa: E402

DRIVER = APPLICATION = None  # set from the command line


def make_key(directory, name):
    key, cert = os.path.join(directory, name + ".key"), os.path.join(directory, name + ".pem")
    subprocess.run(["openssl", "req", "-new", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
                    "-subj", f"/CN=theme driver test {name}/", "-keyout", key, "-out", cert],
                   check=True, capture_output=True)
    return key, cert


def sign(key, cert, driver, output):
    return subprocess.run([sys.executable, SIGN_DRIVER, "--key", key, "--cert", cert, "--output", output, driver],
                          capture_output=True, text=True)


class SignDriver(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory(prefix="theme-sign-")
        cls.key, cls.cert = make_key(cls.work.name, "db")

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def path(self, name):
        return os.path.join(self.work.name, name)

    def test_signs_and_refuses_to_sign_twice(self):
        signed = self.path("signed.efi")
        result = sign(self.key, self.cert, DRIVER, signed)
        self.assertEqual(result.returncode, 0, result.stderr)
        verify = subprocess.run(["sbverify", "--cert", self.cert, signed], capture_output=True, text=True)
        self.assertEqual(verify.returncode, 0, verify.stdout + verify.stderr)
        again = sign(self.key, self.cert, signed, self.path("twice.efi"))
        self.assertEqual(again.returncode, 1)
        self.assertIn("already signed", again.stderr)
        self.assertFalse(os.path.exists(self.path("twice.efi")))

    def test_refuses_what_is_not_a_driver(self):
        garbage = self.path("garbage.efi")
        with open(garbage, "wb") as file:
            file.write(b"not an image")
        runtime = self.path("runtime.efi")
        with open(runtime, "wb") as file:
            file.write(pe_image(subsystem=12))
        for name, path, reason in [("application", APPLICATION, "not a boot-service driver: subsystem 10"),
                                   ("run-time driver", runtime, "subsystem 12"),
                                   ("not an image", garbage, "no MZ header")]:
            with self.subTest(name):
                output = self.path(name + ".signed.efi")
                result = sign(self.key, self.cert, path, output)
                self.assertEqual(result.returncode, 1)
                self.assertIn(reason, result.stderr)
                self.assertFalse(os.path.exists(output))


if __name__ == "__main__":
    DRIVER, APPLICATION = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1])
