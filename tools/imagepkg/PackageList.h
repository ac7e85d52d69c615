// The UEFI HII package list that carries the theme images: the list header
// with the theme's GUID, one image package of image blocks in id order
// (block k is theme image k), and the end package.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagepkg/ByteIo.h"
#include "tools/imagepkg/ImageRequirements.h"

namespace imagepkg {

// {CA5BD025-1E18-4390-83BC-55F1F65D6C50} in EFI_GUID byte order: Data1,
// Data2 and Data3 little-endian, Data4 as written.
inline constexpr uint8_t kThemePackageListGuid[16] = {0x25, 0xD0, 0x5B, 0xCA, 0x18, 0x1E, 0x90, 0x43,
                                                    0x83, 0xBC, 0x55, 0xF1, 0xF6, 0x5D, 0x6C, 0x50};
inline constexpr const char *kThemePackageListGuidText = "{CA5BD025-1E18-4390-83BC-55F1F65D6C50}";

// EFI_HII_PACKAGE_LIST_HEADER: GUID and UINT32 length.
constexpr uint32_t kPackageListHeaderSize = 20;
// EFI_HII_PACKAGE_HEADER: Length in bits 0..23, Type in bits 24..31.
constexpr uint32_t kPackageHeaderSize = 4;
constexpr uint32_t kMaxPackageLength = 0xFFFFFF;
constexpr uint8_t kPackageTypeImages = 0x06;
constexpr uint8_t kPackageTypeEnd = 0xDF;
// EFI_HII_IMAGE_PACKAGE_HDR: package header, kImageInfoOffset, kPaletteInfoOffset.
// The image blocks follow it directly and there are no palettes.
constexpr uint32_t kImagePackageHeaderSize = 12;
constexpr uint32_t kImageInfoOffset = kImagePackageHeaderSize;
constexpr uint32_t kPaletteInfoOffset = 0;
// EFI_HII_IIBT_JPEG_BLOCK / EFI_HII_IIBT_PNG_BLOCK: UINT8 block type, UINT32
// size of the image file, the file. EFI_HII_IIBT_END is the type byte alone.
constexpr uint8_t kBlockTypeEnd = 0x00;
constexpr uint8_t kBlockTypeJpeg = 0x18;
constexpr uint8_t kBlockTypePng = 0x19;
constexpr uint32_t kImageBlockHeaderSize = 5;

constexpr uint8_t BlockTypeFor(ImageFormat Format) {
  return Format == ImageFormat::Jpeg ? kBlockTypeJpeg : kBlockTypePng;
}

struct PackedImage {
  ImageFormat Format;
  ByteView File;
};

struct BuildResult {
  Bytes List;
  std::string Error;  // set when the images do not fit the format's fields
};

// The package list holding Images in order; image k becomes theme image k.
BuildResult BuildPackageList(const std::vector<PackedImage> &Images);

// One image block as found in a package list.
struct ImageBlock {
  uint32_t Id;
  uint8_t Type;
  uint64_t BlockOffset;  // of the block's type byte, from the list's start
  ByteView File;
};

struct PackageListReport {
  uint32_t ListLength = 0;
  uint32_t ImagePackageLength = 0;
  std::vector<ImageBlock> Blocks;
  std::vector<std::string> Problems;
};

// Checks List byte by byte: the GUID, a length field equal to List.size(),
// one image package of kThemeImageCount image blocks whose types match
// the fixed requirements, the END block, the end package, nothing more.
// Never reads outside List, whatever it holds.
PackageListReport ReadPackageList(ByteView List);

}  // namespace imagepkg
