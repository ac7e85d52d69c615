"""Just enough of a PE image for the shipping tools' checks: DOS stub
pointer, PE signature, COFF header and a PE32+ optional header with its
data directories, padded to the size asked for."""
import struct

MACHINE_X64 = 0x8664
MACHINE_ARM64 = 0xAA64


def pe_image(size=1024, machine=MACHINE_X64, magic=0x20B, subsystem=11, certificate_size=0):
    pe = 0x40
    optional = pe + 24
    header_end = optional + 112 + 16 * 8
    data = bytearray(max(size, header_end))
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, pe)
    data[pe:pe + 4] = b"PE\0\0"
    struct.pack_into("<HH", data, pe + 4, machine, 0)
    struct.pack_into("<H", data, pe + 20, 112 + 16 * 8)
    struct.pack_into("<H", data, optional, magic)
    struct.pack_into("<H", data, optional + 68, subsystem)
    struct.pack_into("<I", data, optional + 108, 16)
    if certificate_size:
        struct.pack_into("<II", data, optional + 112 + 4 * 8, len(data), certificate_size)
    return bytes(data)
