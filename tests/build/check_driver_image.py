#!/usr/bin/python3
"""Reads the built driver with an independent PE parser and checks what
firmware relies on: machine, subsystem, entry point, relocations, section
alignment, no writable code, NX compatibility, no imports."""
import sys

import pefile

IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000


def main(path):
    pe = pefile.PE(path)
    problems = []

    def check(condition, message):
        if not condition:
            problems.append(message)

    opt = pe.OPTIONAL_HEADER
    check(pe.FILE_HEADER.Machine == 0x8664, "machine is not x86-64")
    check(opt.Magic == 0x20B, "not PE32+")
    check(opt.Subsystem == 11, f"subsystem {opt.Subsystem}, expected 11 (boot-service driver)")
    check(opt.AddressOfEntryPoint != 0, "no entry point")
    check(opt.SectionAlignment == 4096, f"section alignment {opt.SectionAlignment}")
    check(opt.DllCharacteristics & 0x100, "NX_COMPAT not set")
    names = [s.Name.rstrip(b"\0").decode() for s in pe.sections]
    check(".reloc" in names, "no .reloc section")
    for name, section in zip(names, pe.sections):
        flags = section.Characteristics
        check(not (flags & IMAGE_SCN_MEM_EXECUTE and flags & IMAGE_SCN_MEM_WRITE),
              f"section {name} is writable and executable")
        check(section.VirtualAddress % 4096 == 0, "section not page aligned")
    entry_section = [s for s in pe.sections if s.contains_rva(opt.AddressOfEntryPoint)]
    check(entry_section and entry_section[0].Characteristics & IMAGE_SCN_MEM_EXECUTE,
          "entry point is not in executable code")
    check(not hasattr(pe, "DIRECTORY_ENTRY_IMPORT"), "the driver imports something")

    print(f"{path}: sections {' '.join(names)}, entry 0x{opt.AddressOfEntryPoint:X}, "
          f"{len(pe.__data__)} bytes")
    for problem in problems:
        print(f"FAIL: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
