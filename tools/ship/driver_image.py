"""What the shipping tools need to know about a driver file: that it is a
PE32+ image for x64 built as a boot-service driver, and whether it already
carries an Authenticode signature. The headers are read with pefile."""
import pefile

MACHINE_X64 = 0x8664
MAGIC_PE32_PLUS = 0x20B
SUBSYSTEM_BOOT_SERVICE_DRIVER = 11
SECURITY_DIRECTORY = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]

# pefile's refusals, by what they are about, as this tool words them.
_PARSE_FAILURES = (
    ("DOS Header", "not a PE image: the file ends before its DOS header"),
    ("NT Headers signature", "not a PE image: no PE signature"),
    ("Optional Header", "not a PE image: the file ends before its optional header"),
)


class NotADriver(Exception):
    """The file is not a PE32+ boot-service driver for x64."""


def _headers(data):
    """The parsed headers of a PE32+ x64 boot-service driver."""
    if data[:2] != b"MZ":
        raise NotADriver("not a PE image: no MZ header")
    try:
        pe = pefile.PE(data=bytes(data), fast_load=True)
    except pefile.PEFormatError as error:
        reason = next((text for topic, text in _PARSE_FAILURES if topic in error.value), None)
        raise NotADriver(reason or f"not a PE image: {error.value}") from None
    machine = pe.FILE_HEADER.Machine
    if machine != MACHINE_X64:
        raise NotADriver(f"not an x64 image: machine type 0x{machine:04X}")
    magic = pe.OPTIONAL_HEADER.Magic
    if magic != MAGIC_PE32_PLUS:
        raise NotADriver(f"not a PE32+ image: optional header magic 0x{magic:03X}")
    subsystem = pe.OPTIONAL_HEADER.Subsystem
    if subsystem != SUBSYSTEM_BOOT_SERVICE_DRIVER:
        raise NotADriver(f"not a boot-service driver: subsystem {subsystem}, expected {SUBSYSTEM_BOOT_SERVICE_DRIVER}")
    return pe


def check_driver(data):
    """Raises NotADriver with the reason unless data is a driver we ship."""
    _headers(data)


def is_signed(data):
    """True when the driver's certificate table is not empty."""
    directories = _headers(data).OPTIONAL_HEADER.DATA_DIRECTORY
    return len(directories) > SECURITY_DIRECTORY and directories[SECURITY_DIRECTORY].Size != 0
