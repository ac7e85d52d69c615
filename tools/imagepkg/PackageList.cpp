#include "tools/imagepkg/PackageList.h"

#include <cstdio>
#include <cstring>

namespace imagepkg {

namespace {

uint32_t PackageHeader(uint32_t Length, uint8_t Type) { return Length | static_cast<uint32_t>(Type) << 24; }

std::string Hex(uint64_t Value) {
  char Text[24];
  std::snprintf(Text, sizeof(Text), "0x%llX", static_cast<unsigned long long>(Value));
  return Text;
}

}  // namespace

BuildResult BuildPackageList(const std::vector<PackedImage> &Images) {
  BuildResult Result;
  uint64_t PackageLength = kImagePackageHeaderSize + 1;  // its header, the blocks, the END block
  for (const PackedImage &Image : Images) {
    if (Image.File.size() > UINT32_MAX) {
      Result.Error = "an image file is larger than a block's 32-bit size field";
      return Result;
    }
    PackageLength += kImageBlockHeaderSize + Image.File.size();
  }
  // The package header has only 24 bits for the length; a longer package
  // would wrap silently and the firmware would read garbage.
  if (PackageLength > kMaxPackageLength) {
    Result.Error = "the images need an image package of " + std::to_string(PackageLength) +
                   " bytes; a package holds at most " + std::to_string(kMaxPackageLength);
    return Result;
  }
  const uint64_t ListLength = kPackageListHeaderSize + PackageLength + kPackageHeaderSize;

  Bytes &List = Result.List;
  List.reserve(ListLength);
  AppendBytes(List, kThemePackageListGuid);
  AppendU32(List, static_cast<uint32_t>(ListLength));
  AppendU32(List, PackageHeader(static_cast<uint32_t>(PackageLength), kPackageTypeImages));
  AppendU32(List, kImageInfoOffset);
  AppendU32(List, kPaletteInfoOffset);
  for (const PackedImage &Image : Images) {
    AppendU8(List, BlockTypeFor(Image.Format));
    AppendU32(List, static_cast<uint32_t>(Image.File.size()));
    AppendBytes(List, Image.File);
  }
  AppendU8(List, kBlockTypeEnd);
  AppendU32(List, PackageHeader(kPackageHeaderSize, kPackageTypeEnd));
  if (List.size() != ListLength) {
    Result.Error = "internal error: package list is " + std::to_string(List.size()) + " bytes, expected " +
                   std::to_string(ListLength);
    List.clear();
  }
  return Result;
}

PackageListReport ReadPackageList(ByteView List) {
  PackageListReport Report;
  auto Problem = [&](const std::string &Message) { Report.Problems.push_back("package list: " + Message); };

  if (List.size() < kPackageListHeaderSize) {
    Problem("truncated: " + std::to_string(List.size()) + " bytes, the header alone needs " +
            std::to_string(kPackageListHeaderSize));
    return Report;
  }
  if (std::memcmp(List.data(), kThemePackageListGuid, sizeof(kThemePackageListGuid)) != 0) {
    Problem(std::string("GUID is not ") + kThemePackageListGuidText);
  }
  Report.ListLength = *ReadU32(List, 16);
  if (Report.ListLength != List.size()) {
    Problem("length field says " + std::to_string(Report.ListLength) + " bytes, but the list holds " +
            std::to_string(List.size()));
    return Report;
  }

  // The image package.
  const uint64_t PackageStart = kPackageListHeaderSize;
  const std::optional<uint32_t> Header = ReadU32(List, PackageStart);
  const std::optional<uint32_t> InfoOffset = ReadU32(List, PackageStart + 4);
  const std::optional<uint32_t> PaletteOffset = ReadU32(List, PackageStart + 8);
  if (!Header || !InfoOffset || !PaletteOffset) {
    Problem("truncated inside the image package header");
    return Report;
  }
  const uint32_t PackageLength = *Header & kMaxPackageLength;
  const uint8_t PackageType = static_cast<uint8_t>(*Header >> 24);
  Report.ImagePackageLength = PackageLength;
  if (PackageType != kPackageTypeImages) {
    Problem("first package has type " + Hex(PackageType) + ", expected " + Hex(kPackageTypeImages) + " (images)");
    return Report;
  }
  if (*InfoOffset != kImageInfoOffset || *PaletteOffset != kPaletteInfoOffset) {
    Problem("image package has image information offset " + std::to_string(*InfoOffset) +
            " and palette information offset " + std::to_string(*PaletteOffset) + ", expected " +
            std::to_string(kImageInfoOffset) + " and " + std::to_string(kPaletteInfoOffset));
    return Report;
  }
  if (PackageLength < kImagePackageHeaderSize + 1 || !RangeFits(List.size(), PackageStart, PackageLength)) {
    Problem("image package length " + std::to_string(PackageLength) + " does not fit in the list");
    return Report;
  }
  const uint64_t PackageEnd = PackageStart + PackageLength;
  const ByteView Package = List.first(PackageEnd);

  // The image blocks, up to the END block.
  uint64_t Position = PackageStart + kImageInfoOffset;
  while (true) {
    const std::optional<uint8_t> Type = ReadU8(Package, Position);
    if (!Type) {
      Problem("image blocks run to the end of the image package without an END block");
      return Report;
    }
    if (*Type == kBlockTypeEnd) {
      Position++;
      break;
    }
    const uint32_t Id = static_cast<uint32_t>(Report.Blocks.size()) + 1;
    if (*Type != kBlockTypePng && *Type != kBlockTypeJpeg) {
      Problem("block " + std::to_string(Id) + " at offset " + std::to_string(Position) + " has type " + Hex(*Type) +
              ", expected a PNG (0x19) or JPEG (0x18) image block");
      return Report;
    }
    const std::optional<uint32_t> Size = ReadU32(Package, Position + 1);
    const std::optional<ByteView> File =
        Size ? SubView(Package, Position + kImageBlockHeaderSize, *Size) : std::nullopt;
    if (!File) {
      Problem("block " + std::to_string(Id) + " at offset " + std::to_string(Position) +
              " runs past the end of the image package");
      return Report;
    }
    Report.Blocks.push_back(ImageBlock{Id, *Type, Position, *File});
    Position += kImageBlockHeaderSize + *Size;
  }
  if (Position != PackageEnd) {
    Problem(std::to_string(PackageEnd - Position) + " bytes between the END block and the end of the image package");
  }

  // The end package closes the list.
  const std::optional<uint32_t> EndHeader = ReadU32(List, PackageEnd);
  if (!EndHeader) {
    Problem("no end package after the image package");
  } else if (*EndHeader != PackageHeader(kPackageHeaderSize, kPackageTypeEnd)) {
    Problem("package after the image package has header " + Hex(*EndHeader) + ", expected the end package " +
            Hex(PackageHeader(kPackageHeaderSize, kPackageTypeEnd)));
  } else if (PackageEnd + kPackageHeaderSize != List.size()) {
    Problem(std::to_string(List.size() - PackageEnd - kPackageHeaderSize) + " bytes after the end package");
  }

  // Every id is a position, so the count and each block's type must match.
  if (Report.Blocks.size() != kThemeImageCount) {
    Problem("holds " + std::to_string(Report.Blocks.size()) + " images, expected " +
            std::to_string(kThemeImageCount));
  }
  for (const ImageBlock &Block : Report.Blocks) {
    const ImageRequirement *Required = FindImageRequirement(Block.Id);
    if (Required != nullptr && Block.Type != BlockTypeFor(Required->Format)) {
      Problem("block " + std::to_string(Block.Id) + " is a " +
              (Block.Type == kBlockTypeJpeg ? "JPEG" : "PNG") + " block, expected " + FormatName(Required->Format));
    }
  }
  return Report;
}

}  // namespace imagepkg
