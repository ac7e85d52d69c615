"""What the shipping tools need to know about a driver file: that it is a
PE32+ image for x64 built as a boot-service driver, and whether it already
carries an Authenticode signature."""
import struct

MACHINE_X64 = 0x8664
MAGIC_PE32_PLUS = 0x20B
SUBSYSTEM_BOOT_SERVICE_DRIVER = 11
SECURITY_DIRECTORY = 4


class NotADriver(Exception):
    """The file is not a PE32+ boot-service driver for x64."""


def _field(data, offset, fmt, what):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise NotADriver(f"not a PE image: the file ends before its {what}")
    return struct.unpack_from(fmt, data, offset)[0]


def optional_header(data):
    """Offset of the optional header of a PE32+ x64 boot-service driver."""
    if data[:2] != b"MZ":
        raise NotADriver("not a PE image: no MZ header")
    pe = _field(data, 0x3C, "<I", "PE header offset")
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotADriver("not a PE image: no PE signature")
    machine = _field(data, pe + 4, "<H", "machine type")
    if machine != MACHINE_X64:
        raise NotADriver(f"not an x64 image: machine type 0x{machine:04X}")
    optional = pe + 24
    magic = _field(data, optional, "<H", "optional header")
    if magic != MAGIC_PE32_PLUS:
        raise NotADriver(f"not a PE32+ image: optional header magic 0x{magic:03X}")
    subsystem = _field(data, optional + 68, "<H", "subsystem")
    if subsystem != SUBSYSTEM_BOOT_SERVICE_DRIVER:
        raise NotADriver(f"not a boot-service driver: subsystem {subsystem}, expected {SUBSYSTEM_BOOT_SERVICE_DRIVER}")
    return optional


def check_driver(data):
    """Raises NotADriver with the reason unless data is a driver we ship."""
    optional_header(data)


def is_signed(data):
    """True when the driver's certificate table is not empty."""
    optional = optional_header(data)
    directories = _field(data, optional + 108, "<I", "data directory count")
    if directories <= SECURITY_DIRECTORY:
        return False
    size = _field(data, optional + 112 + 8 * SECURITY_DIRECTORY + 4, "<I", "certificate table")
    return size != 0
