"""The driver as firmware carries it: an FFS driver file (header, DXE
dependency, PE32 image, user-interface name) and a minimal firmware volume
holding that file. Both are byte-for-byte functions of the driver file and
of the names given (by default the theme driver's own)."""
import struct
import uuid

from driver_image import check_driver

# The driver's own file name in any firmware volume, and the name of the
# volume that this tool makes.
DRIVER_FILE_GUID = uuid.UUID("18648078-9134-4ce3-b85f-d48f695a6510")
VOLUME_NAME_GUID = uuid.UUID("6256628e-0fc7-48d9-baf5-c91fe0aee05c")
DRIVER_UI_NAME = "ThemeDriver"

FFS2_FILE_SYSTEM_GUID = uuid.UUID("8C8CE578-8A3D-4F1C-9935-896185C32DD3")

FILE_TYPE_DRIVER = 0x07
FILE_TYPE_PAD = 0xF0
SECTION_PE32 = 0x10
SECTION_DXE_DEPEX = 0x13
SECTION_USER_INTERFACE = 0x15
DEPEX_TRUE_END = bytes([0x06, 0x08])

FILE_HEADER_SIZE = 24
SECTION_HEADER_SIZE = 4
MAX_SIZE_24 = 0xFFFFFF
FILE_CHECKSUM_NOT_USED = 0xAA
# Header construction, header valid and data valid, written under erase
# polarity 1 (bits clear as the file is written).
FILE_STATE_VALID = 0xF8

VOLUME_SIGNATURE = b"_FVH"
VOLUME_REVISION = 2
VOLUME_BLOCK_SIZE = 0x1000
# Read enabled and readable, memory mapped, erase polarity 1, 8-byte aligned.
VOLUME_ATTRIBUTES = 0x00000002 | 0x00000004 | 0x00000400 | 0x00000800 | 0x00030000
VOLUME_HEADER_SIZE = 56 + 2 * 8  # fixed part and a block map of one run plus its terminator
VOLUME_EXT_HEADER_SIZE = 20
ERASED = 0xFF


class TooLarge(Exception):
    """The driver does not fit a 24-bit section or file size."""


def _align(data, boundary, fill):
    return data + bytes([fill]) * (-len(data) % boundary)


def section(kind, body):
    size = SECTION_HEADER_SIZE + len(body)
    if size > MAX_SIZE_24:
        raise TooLarge(f"section of {size} bytes exceeds the 24-bit size limit of {MAX_SIZE_24}")
    return size.to_bytes(3, "little") + bytes([kind]) + body


def ffs_file(name, kind, body):
    """One FFS file with a valid header checksum and no file checksum."""
    size = FILE_HEADER_SIZE + len(body)
    if size > MAX_SIZE_24:
        raise TooLarge(f"file of {size} bytes exceeds the 24-bit size limit of {MAX_SIZE_24}")
    attributes = 0
    header = bytearray(name.bytes_le + bytes([0, 0, kind, attributes]) + size.to_bytes(3, "little") + bytes([0]))
    header[16] = -sum(header) & 0xFF
    header[17] = FILE_CHECKSUM_NOT_USED
    header[23] = FILE_STATE_VALID
    return bytes(header) + body


def driver_ffs(driver, file_guid=DRIVER_FILE_GUID, ui_name=DRIVER_UI_NAME):
    """The FFS file of the driver, named file_guid and ui_name; raises
    NotADriver or TooLarge."""
    check_driver(driver)
    ui_name = (ui_name + "\0").encode("utf-16-le")
    sections = [section(SECTION_DXE_DEPEX, DEPEX_TRUE_END), section(SECTION_PE32, driver),
                section(SECTION_USER_INTERFACE, ui_name)]
    body = b"".join(_align(s, 4, 0) for s in sections[:-1]) + sections[-1]
    return ffs_file(file_guid, FILE_TYPE_DRIVER, body)


def _volume_header(length, ext_header_offset):
    blocks = length // VOLUME_BLOCK_SIZE
    header = bytearray(bytes(16) + FFS2_FILE_SYSTEM_GUID.bytes_le +
                       struct.pack("<Q4sIHHHBB", length, VOLUME_SIGNATURE, VOLUME_ATTRIBUTES, VOLUME_HEADER_SIZE,
                                   0, ext_header_offset, 0, VOLUME_REVISION) +
                       struct.pack("<IIII", blocks, VOLUME_BLOCK_SIZE, 0, 0))
    assert len(header) == VOLUME_HEADER_SIZE
    words = struct.unpack(f"<{VOLUME_HEADER_SIZE // 2}H", header)
    struct.pack_into("<H", header, 50, -sum(words) & 0xFFFF)
    return bytes(header)


def volume(files, name_guid=VOLUME_NAME_GUID):
    """A firmware volume holding the given FFS files after the pad file that
    carries the volume's name, free space erased, whole blocks long."""
    ext_header = name_guid.bytes_le + struct.pack("<I", VOLUME_EXT_HEADER_SIZE)
    name_pad = ffs_file(uuid.UUID(int=0), FILE_TYPE_PAD, ext_header)
    body = b""
    for file in [name_pad] + list(files):
        body = _align(body, 8, ERASED) + file
    length = VOLUME_HEADER_SIZE + len(body)
    length += -length % VOLUME_BLOCK_SIZE
    header = _volume_header(length, VOLUME_HEADER_SIZE + FILE_HEADER_SIZE)
    return (header + body).ljust(length, bytes([ERASED]))
