// The package list reader that guards the built driver: a list damaged in
// any one field is refused with a message saying what is wrong, and no
// damage or truncation makes it read outside the list.
#include <gtest/gtest.h>

#include <functional>

#include "tools/imagepkg/PackageList.h"

namespace {

using imagepkg::Bytes;
using imagepkg::ImageFormat;

// Block contents do not matter to the reader; each "file" is a few bytes
// that identify its image.
struct FakeImages {
  explicit FakeImages(uint32_t Count) {
    for (uint32_t Id = 1; Id <= Count; Id++) {
      Files.push_back(Bytes(3 + Id % 5, static_cast<uint8_t>(Id)));
    }
  }
  std::vector<imagepkg::PackedImage> Packed() const {
    std::vector<imagepkg::PackedImage> Images;
    for (uint32_t Id = 1; Id <= Files.size(); Id++) {
      const imagepkg::ImageRequirement *Required = imagepkg::FindImageRequirement(Id);
      Images.push_back({Required != nullptr ? Required->Format : ImageFormat::Png, Files[Id - 1]});
    }
    return Images;
  }
  std::vector<Bytes> Files;
};

Bytes ValidList() {
  const imagepkg::BuildResult Built = imagepkg::BuildPackageList(FakeImages(imagepkg::kThemeImageCount).Packed());
  EXPECT_EQ(Built.Error, "");
  return Built.List;
}

void SetU32(Bytes &List, size_t At, uint32_t Value) { imagepkg::PutU32(List, At, Value); }

// Offset of block Id's type byte in a list built from FakeImages.
size_t BlockOffset(uint32_t Id) {
  size_t Offset = 32;
  for (uint32_t Before = 1; Before < Id; Before++) {
    Offset += 5 + 3 + Before % 5;
  }
  return Offset;
}

TEST(PackageList, BuiltListReadsBackBlockForBlock) {
  const FakeImages Images(imagepkg::kThemeImageCount);
  const Bytes List = ValidList();
  const imagepkg::PackageListReport Report = imagepkg::ReadPackageList(List);
  ASSERT_EQ(Report.Problems, std::vector<std::string>{});
  EXPECT_EQ(Report.ListLength, List.size());
  EXPECT_EQ(Report.ImagePackageLength, List.size() - 24);
  ASSERT_EQ(Report.Blocks.size(), imagepkg::kThemeImageCount);
  for (const imagepkg::ImageBlock &Block : Report.Blocks) {
    EXPECT_EQ(Block.BlockOffset, BlockOffset(Block.Id));
    EXPECT_TRUE(std::ranges::equal(Block.File, Images.Files[Block.Id - 1])) << "block " << Block.Id;
  }
  EXPECT_EQ(Report.Blocks[7].Type, 0x18);   // image 8 is a JPEG
  EXPECT_EQ(Report.Blocks[99].Type, 0x19);  // image 100 is a PNG
}

// The package header's length has 24 bits. One image whose block fills the
// package to 0xFFFFFF bytes packs; one byte more must be refused, not wrap
// into the type byte. Both block types count alike.
TEST(PackageList, ImagePackageLengthStopsAtTwentyFourBits) {
  constexpr size_t FixedBytes = 12 + 5 + 1;  // package header, one block header, END block
  const struct {
    ImageFormat Format;
    size_t FileSize;
    bool Packs;
  } Cases[] = {
      {ImageFormat::Png, 0xFFFFFF - FixedBytes, true},
      {ImageFormat::Png, 0xFFFFFF - FixedBytes + 1, false},
      {ImageFormat::Jpeg, 0xFFFFFF - FixedBytes, true},
      {ImageFormat::Jpeg, 0xFFFFFF - FixedBytes + 1, false},
  };
  for (const auto &Case : Cases) {
    const imagepkg::BuildResult Built = imagepkg::BuildPackageList({{Case.Format, Bytes(Case.FileSize, 0)}});
    const std::string Which = "file of " + std::to_string(Case.FileSize) + " bytes";
    if (Case.Packs) {
      ASSERT_EQ(Built.Error, "") << Which;
      EXPECT_EQ(imagepkg::ReadU32(Built.List, 20), 0x06FFFFFFu) << Which << ": length 0xFFFFFF, type images";
      EXPECT_EQ(Built.List.at(32), Case.Format == ImageFormat::Jpeg ? 0x18 : 0x19) << Which;
    } else {
      EXPECT_TRUE(Built.List.empty()) << Which;
      EXPECT_EQ(Built.Error, "the images need an image package of 16777216 bytes; a package holds at most 16777215")
          << Which;
    }
  }
}

struct Damage {
  const char *Name;
  std::function<void(Bytes &)> Apply;
  const char *Expected;
};

const Damage kDamages[] = {
    {"GuidByte", [](Bytes &L) { L[3] ^= 1; }, "GUID is not {CA5BD025-1E18-4390-83BC-55F1F65D6C50}"},
    {"ListLengthTooLarge", [](Bytes &L) { SetU32(L, 16, static_cast<uint32_t>(L.size() + 1)); },
     "length field says"},
    {"ListLengthTooSmall", [](Bytes &L) { SetU32(L, 16, static_cast<uint32_t>(L.size() - 1)); },
     "length field says"},
    {"PackageTypeNotImages", [](Bytes &L) { L[23] = 0x05; }, "first package has type 0x5, expected 0x6"},
    {"ImageInfoOffset", [](Bytes &L) { SetU32(L, 24, 16); }, "image information offset 16"},
    {"PaletteInfoOffset", [](Bytes &L) { SetU32(L, 28, 4); }, "palette information offset 4"},
    {"PackageLengthPastTheList", [](Bytes &L) { SetU32(L, 20, static_cast<uint32_t>(L.size() - 19) | 0x06000000u); },
     "does not fit in the list"},
    {"PackageLengthShort", [](Bytes &L) { SetU32(L, 20, static_cast<uint32_t>(L.size() - 29) | 0x06000000u); },
     "block 168 at offset"},
    {"UnknownBlockType", [](Bytes &L) { L[BlockOffset(3)] = 0x17; },
     "block 3 at offset 51 has type 0x17, expected a PNG (0x19) or JPEG (0x18) image block"},
    {"JpegBlockWherePngBelongs", [](Bytes &L) { L[BlockOffset(1)] = 0x18; },
     "block 1 is a JPEG block, expected PNG"},
    {"PngBlockWhereJpegBelongs", [](Bytes &L) { L[BlockOffset(8)] = 0x19; },
     "block 8 is a PNG block, expected JPEG"},
    {"BlockSizeRunsPastPackage", [](Bytes &L) { SetU32(L, BlockOffset(5) + 1, 0xFFFFFFF0u); },
     "block 5 at offset"},
    {"EarlyEndBlock", [](Bytes &L) { L[BlockOffset(168)] = 0x00; }, "bytes between the END block"},
    {"EndPackageType", [](Bytes &L) { L[L.size() - 1] = 0xDE; }, "expected the end package 0xDF000004"},
    {"BytesAfterEndPackage",
     [](Bytes &L) {
       L.push_back(0);
       SetU32(L, 16, static_cast<uint32_t>(L.size()));
     },
     "1 bytes after the end package"},
    {"NoEndPackage",
     [](Bytes &L) {
       L.resize(L.size() - 4);
       SetU32(L, 16, static_cast<uint32_t>(L.size()));
     },
     "no end package after the image package"},
};

void PrintTo(const Damage &Case, std::ostream *Out) { *Out << Case.Name; }

class PackageListRefuses : public testing::TestWithParam<Damage> {};

TEST_P(PackageListRefuses, ADamagedField) {
  Bytes List = ValidList();
  GetParam().Apply(List);
  const imagepkg::PackageListReport Report = imagepkg::ReadPackageList(List);
  std::string All;
  for (const std::string &Problem : Report.Problems) {
    All += Problem + "\n";
  }
  EXPECT_NE(All.find(GetParam().Expected), std::string::npos) << "expected: " << GetParam().Expected << "\ngot:\n"
                                                             << All;
}

INSTANTIATE_TEST_SUITE_P(Damages, PackageListRefuses, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage> &Info) { return std::string(Info.param.Name); });

TEST(PackageList, WrongImageCountIsRefused) {
  for (const uint32_t Count : {0u, 167u, 169u}) {
    const imagepkg::BuildResult Built = imagepkg::BuildPackageList(FakeImages(Count).Packed());
    const imagepkg::PackageListReport Report = imagepkg::ReadPackageList(Built.List);
    ASSERT_FALSE(Report.Problems.empty()) << Count;
    EXPECT_EQ(Report.Problems.back(), "package list: holds " + std::to_string(Count) + " images, expected 168");
  }
}

// Every prefix of a valid list, with its length field left alone or made
// to agree with the prefix: always refused, never a read past the end
// (the sanitizers watch).
TEST(PackageList, EveryTruncationIsRefused) {
  const Bytes List = ValidList();
  for (size_t Keep = 0; Keep < List.size(); Keep++) {
    Bytes Prefix(List.begin(), List.begin() + Keep);
    EXPECT_FALSE(imagepkg::ReadPackageList(Prefix).Problems.empty()) << Keep;
    if (Keep >= 20) {
      SetU32(Prefix, 16, static_cast<uint32_t>(Keep));
      EXPECT_FALSE(imagepkg::ReadPackageList(Prefix).Problems.empty()) << Keep;
    }
  }
}

}  // namespace
