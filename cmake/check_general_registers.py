#!/usr/bin/python3
"""Refuses UEFI objects whose code touches SSE, AVX, MMX or x87 state, or
holds bytes that are not instructions.

A firmware may run images without having enabled those units (one that
never sets CR4.OSFXSR faults on the first `xorps`), so UEFI images keep to
the general-purpose registers. The compile flags ask for that; this check
makes sure of it, naming each function that breaks it.

    check_general_registers.py --objdump llvm-objdump OBJECT...

Exit status 0 when every object is clean, 1 when one is not, 2 when an
object cannot be disassembled.
"""
import argparse
import re
import subprocess
import sys

FUNCTION = re.compile(r"^[0-9a-f]+ <(.+)>:$")
INSTRUCTION = re.compile(r"^\s*[0-9a-f]+:\s+(\S+)\s*(.*)$")
# Registers of the units the firmware may not have enabled: SSE and AVX
# vector registers, AVX-512 masks, MMX, and the x87 stack.
UNIT_REGISTER = re.compile(r"%(?:[xyz]mm\d+|k[0-7]|mm[0-7]|st\b)")
# Instructions of those units that name none of their registers.
UNIT_MNEMONICS = frozenset((
    "ldmxcsr", "stmxcsr", "vldmxcsr", "vstmxcsr", "emms", "femms", "vzeroupper", "vzeroall",
    "wait", "xsave", "xsave64", "xrstor", "xrstor64", "xsaveopt", "xsaveopt64",
))
# Bytes the disassembler cannot decode: data among the instructions (a jump
# table, say), which would make the rest of this scan guesswork.
UNDECODABLE = "<unknown>"
SHOWN_PER_FUNCTION = 3


def is_refused(mnemonic, operands):
    """True for an instruction that needs SSE, AVX, MMX or x87 enabled, or
    for undecodable bytes. Every x86 mnemonic that starts with "f" belongs
    to the x87 unit."""
    return (mnemonic.startswith("f") or mnemonic in UNIT_MNEMONICS or mnemonic == UNDECODABLE
            or bool(UNIT_REGISTER.search(operands)))


def offending_instructions(disassembly):
    """(function, instruction) for each offending instruction, in order, from
    llvm-objdump -d output in AT&T syntax without raw bytes."""
    found = []
    function = "(no symbol)"
    for line in disassembly.splitlines():
        header = FUNCTION.match(line)
        if header:
            function = header.group(1)
            continue
        instruction = INSTRUCTION.match(line)
        if instruction and is_refused(*instruction.groups()):
            found.append((function, " ".join(instruction.group(0).split()[1:])))
    return found


def disassemble(objdump, path):
    return subprocess.run([objdump, "-d", "--demangle", "--no-show-raw-insn", path],
                          check=True, capture_output=True, text=True).stdout


def report(path, found):
    """Lines that name each offending function and show its first instructions."""
    by_function = {}
    for function, instruction in found:
        by_function.setdefault(function, []).append(instruction)
    lines = []
    for function, instructions in by_function.items():
        shown = "; ".join(instructions[:SHOWN_PER_FUNCTION])
        more = f" (and {len(instructions) - SHOWN_PER_FUNCTION} more)" if len(instructions) > SHOWN_PER_FUNCTION else ""
        lines.append(f"{path}: {function}: {len(instructions)} refused: {shown}{more}")
    return lines


def main(arguments):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--objdump", default="llvm-objdump")
    parser.add_argument("objects", nargs="+")
    args = parser.parse_args(arguments)
    refused = []
    for path in args.objects:
        try:
            refused += report(path, offending_instructions(disassemble(args.objdump, path)))
        except (OSError, subprocess.CalledProcessError) as error:
            print(f"cannot disassemble {path}: {error}", file=sys.stderr)
            return 2
    for line in refused:
        print(line, file=sys.stderr)
    if refused:
        print("UEFI images keep to general-purpose registers (the firmware may not have enabled "
              "SSE, AVX, MMX or x87) and hold no data among their instructions", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
