// Walks a UEFI HII package list that the firmware published: the packages,
// and the image blocks of its image package. Reads only within the list's
// own length, which the caller bounds.
#pragma once

#include "platform/uefi/UefiBase.h"

#define HII_PACKAGE_LIST_HEADER_SIZE 20
#define HII_PACKAGE_TYPE_IMAGES 0x06
#define HII_PACKAGE_TYPE_END 0xDF
#define HII_IMAGE_BLOCK_END 0x00
#define HII_IMAGE_BLOCK_JPEG 0x18
#define HII_IMAGE_BLOCK_PNG 0x19

// Called for each image block, Id counting from 1 in block order.
typedef void (*IMAGE_BLOCK_VISITOR)(VOID *Context, UINT32 Id, UINT8 BlockType, const UINT8 *File, UINT32 FileSize);

typedef struct {
  UINT32 ListLength;           // the header's length field
  UINT32 PackageCount;         // packages before and including the end package
  UINT32 ImagePackageCount;
  UINT32 ImagePackageLength;   // of the first image package
  UINT32 ImageInfoOffset;
  UINT32 PaletteInfoOffset;
  UINT32 PngBlocks;
  UINT32 JpegBlocks;
  BOOLEAN EndBlockSeen;        // the image package's END block
  UINT32 BytesAfterEndBlock;   // left in the image package after END
  BOOLEAN EndPackageSeen;
  UINT32 BytesAfterEndPackage;
  const char *Problem;         // the first fault found, null when none
  UINT32 ProblemOffset;        // from the start of the list
  UINT8 ProblemValue;          // the block or package type at fault, where one
} PACKAGE_WALK;

// Walks the list at List, trusting at most Available bytes. Returns true
// when the list is well formed (Walk->Problem is null); Visit (may be null)
// sees each PNG and JPEG block of the first image package.
BOOLEAN WalkPackageList(const UINT8 *List, UINTN Available, PACKAGE_WALK *Walk, IMAGE_BLOCK_VISITOR Visit,
                        VOID *Context);
