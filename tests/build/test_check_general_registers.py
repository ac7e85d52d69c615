#!/usr/bin/python3
"""The register check refuses what a firmware without SSE, MMX or x87 would
fault on, names the function, and lets plain integer code through. Real
objects from clang show that it refuses vectorised code and that the UEFI
images' flags keep the same code clean.

    test_check_general_registers.py CHECKER OBJDUMP -- FLAG...
(the flags are those the UEFI images compile with)."""
import importlib.util
import io
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from contextlib import redirect_stderr

CHECKER, OBJDUMP = sys.argv[1], sys.argv[2]
IMAGE_FLAGS = sys.argv[sys.argv.index("--") + 1:]
spec = importlib.util.spec_from_file_location("check_general_registers", CHECKER)
check = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check)

CLANG_TARGET = ["--target=x86_64-unknown-windows", "-ffreestanding", "-O2", "-c"]
# A byte-zeroing loop that clang vectorises into SSE unless told not to.
ZEROING_LOOP = "void ZeroBytes(char *p, unsigned long n) { for (unsigned long i = 0; i < n; ++i) p[i] = 0; }\n"


def listing(*instructions):
    """objdump -d text of one function holding the instructions."""
    body = "".join(f"      {index:x}:      \t{text}\n" for index, text in enumerate(instructions))
    return f"\nx.obj:\tfile format coff-x86-64\n\nDisassembly of section .text:\n\n0000000000000000 <F>:\n{body}"


class Instructions(unittest.TestCase):
    def test_table(self):
        cases = [
            # instruction as objdump prints it, refused
            ("xorps\t%xmm0, %xmm0", True),                      # SSE
            ("movups\t%xmm0, 32(%rsp)", True),
            ("vmovdqu\t%ymm1, (%rcx)", True),                  # AVX
            ("vpxord\t%zmm0, %zmm0, %zmm0", True),             # AVX-512
            ("kmovw\t%k1, %eax", True),                        # AVX-512 mask
            ("movq\t%mm0, %rax", True),                        # MMX
            ("emms", True),
            ("fldz", True),                                    # x87
            ("fstp\t%st(0)", True),
            ("fnstcw\t6(%rsp)", True),
            ("wait", True),
            ("ldmxcsr\t(%rax)", True),                         # SSE state, no register named
            ("vzeroupper", True),
            ("<unknown>", True),                               # data among the instructions
            ("movq\t%rcx, %rdx", False),
            ("rep\t\tstosb\t%al, %es:(%rdi)", False),
            ("callq\t0x0 <fmemset>", False),                   # a symbol is not an instruction
            ("leaq\t(%rip), %rcx            # 0x11 <ZeroXmm+0x11>", False),
            ("mfence", False),
            ("pushq\t%r15", False),
        ]
        for text, refused in cases:
            with self.subTest(text):
                found = check.offending_instructions(listing(text))
                self.assertEqual(bool(found), refused, found)

    def test_each_offence_is_named_by_its_function(self):
        text = listing("pushq\t%rbx", "retq") + "\n0000000000000010 <void Draw(int)>:\n" \
            "      10:      \txorps\t%xmm0, %xmm0\n      13:      \tfldz\n      15:      \tretq\n"
        found = check.offending_instructions(text)
        self.assertEqual(found, [("void Draw(int)", "xorps %xmm0, %xmm0"), ("void Draw(int)", "fldz")])
        self.assertEqual(check.report("a.obj", found),
                         ["a.obj: void Draw(int): 2 refused: xorps %xmm0, %xmm0; fldz"])


@unittest.skipIf(shutil.which("clang") is None, "clang not installed")
class RealObjects(unittest.TestCase):
    def build_and_check(self, flags):
        """(exit status, what the check printed) for the zeroing loop compiled with flags."""
        with tempfile.TemporaryDirectory() as work_dir:
            source = os.path.join(work_dir, "zero.c")
            with open(source, "w") as file:
                file.write(ZEROING_LOOP)
            obj = os.path.join(work_dir, "zero.obj")
            subprocess.run(["clang", *CLANG_TARGET, *flags, source, "-o", obj], check=True)
            printed = io.StringIO()
            with redirect_stderr(printed):
                status = check.main(["--objdump", OBJDUMP, obj])
            return status, printed.getvalue()

    def test_vectorised_object_is_refused_by_name(self):
        status, printed = self.build_and_check([])
        self.assertEqual(status, 1, printed)
        self.assertIn("ZeroBytes", printed)
        self.assertIn("%xmm", printed)

    def test_the_images_flags_keep_it_clean(self):
        status, printed = self.build_and_check(IMAGE_FLAGS)
        self.assertEqual((status, printed), (0, ""))

    def test_unreadable_object_is_an_error(self):
        with tempfile.NamedTemporaryFile(suffix=".obj") as junk:
            junk.write(b"not an object")
            junk.flush()
            with redirect_stderr(io.StringIO()):
                self.assertEqual(check.main(["--objdump", OBJDUMP, junk.name]), 2)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
