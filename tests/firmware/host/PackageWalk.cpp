#include "tests/firmware/host/PackageWalk.h"

#include "tests/firmware/host/ImageHeaders.h"

namespace {

constexpr UINT32 kPackageHeaderSize = 4;
constexpr UINT32 kImagePackageHeaderSize = 12;
constexpr UINT32 kImageBlockHeaderSize = 5;  // type byte, UINT32 file size

BOOLEAN Fail(PACKAGE_WALK *Walk, const char *Problem, UINTN Offset, UINT8 Value) {
  if (Walk->Problem == nullptr) {
    Walk->Problem = Problem;
    Walk->ProblemOffset = (UINT32)Offset;
    Walk->ProblemValue = Value;
  }
  return FALSE;
}

// The image blocks of one image package, Package..Package+Length.
BOOLEAN WalkImageBlocks(const UINT8 *List, UINTN PackageOffset, UINT32 Length, PACKAGE_WALK *Walk,
                        IMAGE_BLOCK_VISITOR Visit, VOID *Context) {
  const UINT8 *Package = List + PackageOffset;
  if (Length < kImagePackageHeaderSize) {
    return Fail(Walk, "image package shorter than its header", PackageOffset, 0);
  }
  Walk->ImageInfoOffset = ReadLittleEndian32(Package + 4);
  Walk->PaletteInfoOffset = ReadLittleEndian32(Package + 8);
  if (Walk->ImageInfoOffset == 0) {
    return Fail(Walk, "image package has no image information", PackageOffset, 0);
  }
  if (Walk->ImageInfoOffset < kImagePackageHeaderSize || Walk->ImageInfoOffset >= Length) {
    return Fail(Walk, "image information offset outside the image package", PackageOffset + 4, 0);
  }
  UINTN Offset = Walk->ImageInfoOffset;
  UINT32 Id = 1;
  while (Offset < Length) {
    const UINT8 Type = Package[Offset];
    if (Type == HII_IMAGE_BLOCK_END) {
      Walk->EndBlockSeen = TRUE;
      Walk->BytesAfterEndBlock = (UINT32)(Length - Offset - 1);
      return TRUE;
    }
    if (Type != HII_IMAGE_BLOCK_PNG && Type != HII_IMAGE_BLOCK_JPEG) {
      return Fail(Walk, "image block of a type other than PNG or JPEG", PackageOffset + Offset, Type);
    }
    if (Length - Offset < kImageBlockHeaderSize) {
      return Fail(Walk, "image block header runs past the image package", PackageOffset + Offset, Type);
    }
    const UINT32 FileSize = ReadLittleEndian32(Package + Offset + 1);
    if (FileSize > Length - Offset - kImageBlockHeaderSize) {
      return Fail(Walk, "image file runs past the image package", PackageOffset + Offset, Type);
    }
    if (Type == HII_IMAGE_BLOCK_PNG) {
      Walk->PngBlocks++;
    } else {
      Walk->JpegBlocks++;
    }
    if (Visit != nullptr) {
      Visit(Context, Id, Type, Package + Offset + kImageBlockHeaderSize, FileSize);
    }
    Id++;
    Offset += kImageBlockHeaderSize + (UINTN)FileSize;
  }
  return Fail(Walk, "image package ends without an END block", PackageOffset + Offset, 0);
}

}  // namespace

BOOLEAN WalkPackageList(const UINT8 *List, UINTN Available, PACKAGE_WALK *Walk, IMAGE_BLOCK_VISITOR Visit,
                        VOID *Context) {
  *Walk = PACKAGE_WALK{};
  if (List == nullptr || Available < HII_PACKAGE_LIST_HEADER_SIZE) {
    return Fail(Walk, "package list shorter than its header", 0, 0);
  }
  Walk->ListLength = ReadLittleEndian32(List + 16);
  if (Walk->ListLength < HII_PACKAGE_LIST_HEADER_SIZE || Walk->ListLength > Available) {
    return Fail(Walk, "package list length field out of bounds", 16, 0);
  }
  UINTN Offset = HII_PACKAGE_LIST_HEADER_SIZE;
  while (Offset < Walk->ListLength) {
    if (Walk->ListLength - Offset < kPackageHeaderSize) {
      return Fail(Walk, "package header runs past the list", Offset, 0);
    }
    const UINT32 Header = ReadLittleEndian32(List + Offset);
    const UINT32 Length = Header & 0xFFFFFF;
    const UINT8 Type = (UINT8)(Header >> 24);
    if (Length < kPackageHeaderSize || Length > Walk->ListLength - Offset) {
      return Fail(Walk, "package length out of bounds", Offset, Type);
    }
    Walk->PackageCount++;
    if (Type == HII_PACKAGE_TYPE_END) {
      Walk->EndPackageSeen = TRUE;
      Walk->BytesAfterEndPackage = (UINT32)(Walk->ListLength - Offset - Length);
      if (Length != kPackageHeaderSize) {
        return Fail(Walk, "end package longer than its header", Offset, Type);
      }
      if (Walk->BytesAfterEndPackage != 0) {
        return Fail(Walk, "bytes after the end package", Offset + Length, Type);
      }
      break;
    }
    if (Type == HII_PACKAGE_TYPE_IMAGES) {
      Walk->ImagePackageCount++;
      if (Walk->ImagePackageCount == 1) {
        Walk->ImagePackageLength = Length;
        if (!WalkImageBlocks(List, Offset, Length, Walk, Visit, Context)) {
          return FALSE;
        }
      }
    }
    Offset += Length;
  }
  if (!Walk->EndPackageSeen) {
    return Fail(Walk, "package list ends without an end package", Offset, 0);
  }
  if (Walk->ImagePackageCount == 0) {
    return Fail(Walk, "no image package in the list", HII_PACKAGE_LIST_HEADER_SIZE, 0);
  }
  return Walk->Problem == nullptr;
}
