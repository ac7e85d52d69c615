#include "tests/firmware/host/HiiResource.h"

#include "tests/firmware/host/ImageHeaders.h"

namespace {

constexpr UINT32 kDosNewHeaderOffset = 0x3C;
constexpr UINT32 kPeSignature = 0x00004550;  // "PE\0\0"
constexpr UINT32 kFileHeaderSize = 20;
constexpr UINT16 kPe32PlusMagic = 0x20B;
constexpr UINT32 kRvaCountOffset = 108;       // in the PE32+ optional header
constexpr UINT32 kDataDirectoryOffset = 112;
constexpr UINT32 kResourceDirectoryIndex = 2;
constexpr UINT32 kDirectoryHeaderSize = 16;
constexpr UINT32 kDirectoryEntrySize = 8;
constexpr UINT32 kDataEntrySize = 16;
constexpr UINT32 kHighBit = 0x80000000u;
constexpr CHAR16 kHiiTypeName[] = {'H', 'I', 'I'};

UINT16 ReadLittleEndian16(const UINT8 *Bytes) { return (UINT16)(Bytes[0] | (Bytes[1] << 8)); }

BOOLEAN Fits(UINT64 Offset, UINT64 Length, UINT64 Size) { return Offset <= Size && Length <= Size - Offset; }

BOOLEAN Fail(HII_RESOURCE *Found, const char *Problem) {
  Found->Problem = Problem;
  return FALSE;
}

// The resource directory's RVA and size from the file's PE32+ headers.
BOOLEAN ReadResourceDirectory(const UINT8 *File, UINTN FileSize, UINT32 *Rva, UINT32 *Size, HII_RESOURCE *Found) {
  if (!Fits(0, kDosNewHeaderOffset + 4, FileSize) || File[0] != 'M' || File[1] != 'Z') {
    return Fail(Found, "no DOS header");
  }
  const UINT32 Pe = ReadLittleEndian32(File + kDosNewHeaderOffset);
  const UINT32 Optional = Pe + 4 + kFileHeaderSize;
  if (!Fits(Pe, 4 + kFileHeaderSize + kDataDirectoryOffset, FileSize) || ReadLittleEndian32(File + Pe) != kPeSignature) {
    return Fail(Found, "no PE headers");
  }
  if (ReadLittleEndian16(File + Optional) != kPe32PlusMagic) {
    return Fail(Found, "not PE32+");
  }
  const UINT32 Entry = Optional + kDataDirectoryOffset + kResourceDirectoryIndex * 8;
  if (ReadLittleEndian32(File + Optional + kRvaCountOffset) <= kResourceDirectoryIndex || !Fits(Entry, 8, FileSize)) {
    return Fail(Found, "no resource data directory");
  }
  *Rva = ReadLittleEndian32(File + Entry);
  *Size = ReadLittleEndian32(File + Entry + 4);
  if (*Size == 0) {
    return Fail(Found, "empty resource directory");
  }
  return TRUE;
}

BOOLEAN NameIsHii(const UINT8 *Tree, UINT32 TreeSize, UINT32 NameField) {
  const UINT32 Offset = NameField & ~kHighBit;
  if ((NameField & kHighBit) == 0 || !Fits(Offset, 2, TreeSize)) {
    return FALSE;
  }
  const UINT16 Length = ReadLittleEndian16(Tree + Offset);
  if (Length != sizeof(kHiiTypeName) / sizeof(kHiiTypeName[0]) || !Fits(Offset + 2, Length * 2u, TreeSize)) {
    return FALSE;
  }
  for (UINT16 Index = 0; Index < Length; Index++) {
    if (ReadLittleEndian16(Tree + Offset + 2 + Index * 2) != kHiiTypeName[Index]) {
      return FALSE;
    }
  }
  return TRUE;
}

// The offset field of the entry under the directory at Directory whose name
// is "HII" (WantHii), or of its first entry; 0 when there is none.
UINT32 PickEntry(const UINT8 *Tree, UINT32 TreeSize, UINT32 Directory, BOOLEAN WantHii) {
  if (!Fits(Directory, kDirectoryHeaderSize, TreeSize)) {
    return 0;
  }
  const UINT32 Count = (UINT32)ReadLittleEndian16(Tree + Directory + 12) + ReadLittleEndian16(Tree + Directory + 14);
  for (UINT32 Index = 0; Index < Count; Index++) {
    const UINT32 Entry = Directory + kDirectoryHeaderSize + Index * kDirectoryEntrySize;
    if (!Fits(Entry, kDirectoryEntrySize, TreeSize)) {
      return 0;
    }
    if (!WantHii || NameIsHii(Tree, TreeSize, ReadLittleEndian32(Tree + Entry))) {
      return ReadLittleEndian32(Tree + Entry + 4);
    }
  }
  return 0;
}

}  // namespace

BOOLEAN FindHiiResource(const UINT8 *File, UINTN FileSize, const UINT8 *Image, UINTN ImageSize, HII_RESOURCE *Found) {
  *Found = {};
  UINT32 TreeRva = 0;
  UINT32 TreeSize = 0;
  if (!ReadResourceDirectory(File, FileSize, &TreeRva, &TreeSize, Found)) {
    return FALSE;
  }
  if (!Fits(TreeRva, TreeSize, ImageSize)) {
    return Fail(Found, "resource directory outside the loaded image");
  }
  const UINT8 *Tree = Image + TreeRva;
  // Type "HII", then the first name, then the first language: two
  // subdirectories and a data entry.
  UINT32 Field = PickEntry(Tree, TreeSize, 0, TRUE);
  if (Field == 0) {
    return Fail(Found, "no resource of type HII");
  }
  for (int Level = 0; Level < 2; Level++) {
    if ((Field & kHighBit) == 0) {
      return Fail(Found, "HII resource tree shallower than type, name, language");
    }
    Field = PickEntry(Tree, TreeSize, Field & ~kHighBit, FALSE);
    if (Field == 0) {
      return Fail(Found, "HII resource directory empty or outside the resource section");
    }
  }
  if ((Field & kHighBit) != 0 || !Fits(Field, kDataEntrySize, TreeSize)) {
    return Fail(Found, "HII resource data entry malformed");
  }
  Found->Rva = ReadLittleEndian32(Tree + Field);
  Found->Size = ReadLittleEndian32(Tree + Field + 4);
  if (!Fits(Found->Rva, Found->Size, ImageSize)) {
    return Fail(Found, "HII resource data outside the loaded image");
  }
  return TRUE;
}
