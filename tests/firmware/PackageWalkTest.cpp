// The reference host's package walker and image-header readers, natively:
// they meet the real package only in firmware, so their handling of
// malformed input is proven here, under the sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/firmware/host/ImageHeaders.h"
#include "tests/firmware/host/PackageWalk.h"

namespace {

using Bytes = std::vector<UINT8>;

void Put32(Bytes &Out, UINT32 Value) {
  for (int Shift = 0; Shift < 32; Shift += 8) {
    Out.push_back((UINT8)(Value >> Shift));
  }
}

void PutBig32(Bytes &Out, UINT32 Value) {
  for (int Shift = 24; Shift >= 0; Shift -= 8) {
    Out.push_back((UINT8)(Value >> Shift));
  }
}

Bytes Png(UINT32 Width, UINT32 Height, UINT8 Interlace = 0) {
  Bytes File = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBig32(File, 13);
  File.insert(File.end(), {'I', 'H', 'D', 'R'});
  PutBig32(File, Width);
  PutBig32(File, Height);
  File.insert(File.end(), {8, 6, 0, 0, Interlace});
  PutBig32(File, 0);  // CRC, not checked
  return File;
}

// SOI, an APP0 segment, then a start-of-frame segment of the given marker.
Bytes Jpeg(UINT16 Width, UINT16 Height, UINT8 FrameMarker = 0xC0, UINT8 Components = 3) {
  Bytes File = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x06, 'J', 'F', 'I', 'F'};
  File.insert(File.end(), {0xFF, FrameMarker, 0x00, 0x08, 8, (UINT8)(Height >> 8), (UINT8)Height,
                           (UINT8)(Width >> 8), (UINT8)Width, Components});
  File.insert(File.end(), {0xFF, 0xD9});
  return File;
}

Bytes Prefix(const Bytes &File, size_t Length) { return Bytes(File.begin(), File.begin() + (long)Length); }
Bytes Suffix(const Bytes &File, size_t From) { return Bytes(File.begin() + (long)From, File.end()); }

struct Block {
  UINT8 Type;
  Bytes File;
};

// A package list: header, one image package of Blocks then END, end package.
Bytes PackageList(const std::vector<Block> &Blocks) {
  Bytes Image;
  Put32(Image, 12);  // image information offset
  Put32(Image, 0);   // palette information offset
  for (const Block &B : Blocks) {
    Image.push_back(B.Type);
    Put32(Image, (UINT32)B.File.size());
    Image.insert(Image.end(), B.File.begin(), B.File.end());
  }
  Image.push_back(HII_IMAGE_BLOCK_END);
  Bytes List(16, 0x5C);  // GUID, not the walker's business
  Put32(List, (UINT32)(20 + 4 + Image.size() + 4));
  Put32(List, (UINT32)(4 + Image.size()) | (HII_PACKAGE_TYPE_IMAGES << 24));
  List.insert(List.end(), Image.begin(), Image.end());
  Put32(List, 4u | (HII_PACKAGE_TYPE_END << 24));
  return List;
}

struct Seen {
  UINT32 Id;
  UINT8 Type;
  UINT32 Size;
};

void Collect(VOID *Context, UINT32 Id, UINT8 Type, const UINT8 *, UINT32 Size) {
  static_cast<std::vector<Seen> *>(Context)->push_back({Id, Type, Size});
}

const std::vector<Block> kThreeImages = {
    {HII_IMAGE_BLOCK_PNG, Png(200, 40)}, {HII_IMAGE_BLOCK_JPEG, Jpeg(1920, 1080)}, {HII_IMAGE_BLOCK_PNG, Png(20, 4, 1)}};

TEST(ReferenceHostPackageWalk, VisitsEveryImageBlockInOrder) {
  const Bytes List = PackageList(kThreeImages);
  std::vector<Seen> Visited;
  PACKAGE_WALK Walk;
  ASSERT_TRUE(WalkPackageList(List.data(), List.size(), &Walk, Collect, &Visited)) << Walk.Problem;
  ASSERT_EQ(Visited.size(), 3u);
  EXPECT_EQ(Visited[0].Id, 1u);
  EXPECT_EQ(Visited[1].Type, HII_IMAGE_BLOCK_JPEG);
  EXPECT_EQ(Visited[2].Size, kThreeImages[2].File.size());
  EXPECT_EQ(Walk.PngBlocks, 2u);
  EXPECT_EQ(Walk.JpegBlocks, 1u);
  EXPECT_EQ(Walk.ImagePackageCount, 1u);
  EXPECT_EQ(Walk.PackageCount, 2u);
  EXPECT_TRUE(Walk.EndBlockSeen);
  EXPECT_TRUE(Walk.EndPackageSeen);
  EXPECT_EQ(Walk.ListLength, List.size());
}

// Every damaged list is refused with a reason, and nothing is read outside
// the bytes given (the sanitizers watch the reads).
TEST(ReferenceHostPackageWalk, RefusesDamagedLists) {
  const Bytes Good = PackageList(kThreeImages);
  const size_t ImagePackage = 20;
  const size_t FirstBlock = ImagePackage + 12;
  const size_t EndPackage = Good.size() - 4;
  auto Patch32 = [](Bytes List, size_t At, UINT32 Value) {
    std::memcpy(&List[At], &Value, 4);
    return List;
  };
  auto PatchByte = [](Bytes List, size_t At, UINT8 Value) {
    List[At] = Value;
    return List;
  };
  Bytes Trailing = Good;
  Trailing.insert(Trailing.end(), {0, 0, 0, 0});
  Trailing = Patch32(Trailing, 16, (UINT32)Trailing.size());
  Bytes NoEndPackage(Good.begin(), Good.end() - 4);
  NoEndPackage = Patch32(NoEndPackage, 16, (UINT32)NoEndPackage.size());
  const struct {
    std::string Name;
    Bytes List;
    size_t Available;
  } Cases[] = {
      {"list length beyond the bytes given", Good, Good.size() - 1},
      {"list length below the header", Patch32(Good, 16, 19), Good.size()},
      {"package length zero", Patch32(Good, ImagePackage, HII_PACKAGE_TYPE_IMAGES << 24), Good.size()},
      {"package length past the list", Patch32(Good, ImagePackage, 0xFFFFFF | (HII_PACKAGE_TYPE_IMAGES << 24)),
       Good.size()},
      {"image file past its package", Patch32(Good, FirstBlock + 1, 0x7FFFFFFF), Good.size()},
      {"block of another type", PatchByte(Good, FirstBlock, 0x21), Good.size()},
      {"no image information", Patch32(Good, ImagePackage + 4, 0), Good.size()},
      {"image information past the package", Patch32(Good, ImagePackage + 4, 0x10000), Good.size()},
      {"no END block", PatchByte(Good, EndPackage - 1, HII_IMAGE_BLOCK_PNG), Good.size()},
      {"bytes after the end package", Trailing, Trailing.size()},
      {"no end package", NoEndPackage, NoEndPackage.size()},
      {"no image package", Patch32(Good, ImagePackage, (UINT32)(EndPackage - ImagePackage) | (0x05u << 24)),
       Good.size()},
  };
  for (const auto &Case : Cases) {
    PACKAGE_WALK Walk;
    EXPECT_FALSE(WalkPackageList(Case.List.data(), Case.Available, &Walk, nullptr, nullptr)) << Case.Name;
    EXPECT_NE(Walk.Problem, nullptr) << Case.Name;
  }
}

TEST(ReferenceHostPackageWalk, EveryTruncationIsRefusedWithinBounds) {
  const Bytes Good = PackageList(kThreeImages);
  for (size_t Length = 0; Length < Good.size(); Length++) {
    Bytes Cut = Prefix(Good, Length);
    if (Length >= 20) {
      const UINT32 Field = (UINT32)Length;
      std::memcpy(&Cut[16], &Field, 4);  // a list that claims exactly what it has
    }
    PACKAGE_WALK Walk;
    EXPECT_FALSE(WalkPackageList(Cut.data(), Cut.size(), &Walk, nullptr, nullptr)) << "length " << Length;
  }
}

TEST(ReferenceHostImageHeaders, ReadsSizesAndLayouts) {
  const struct {
    std::string Name;
    Bytes File;
    bool Jpeg;
    IMAGE_HEADER_INFO Expected;
  } Cases[] = {
      {"plain PNG", Png(400, 60), false, {400, 60, 8, 6, FALSE}},
      {"interlaced PNG", Png(11, 11, 1), false, {11, 11, 8, 6, TRUE}},
      {"baseline JPEG", Jpeg(567, 2), true, {567, 2, 8, 3, FALSE}},
      {"progressive JPEG", Jpeg(2, 567, 0xC2), true, {2, 567, 8, 3, TRUE}},
      {"extended JPEG, one component", Jpeg(111, 1, 0xC1, 1), true, {111, 1, 8, 1, FALSE}},
  };
  for (const auto &Case : Cases) {
    IMAGE_HEADER_INFO Info = {};
    const BOOLEAN Read = Case.Jpeg ? ReadJpegHeader(Case.File.data(), Case.File.size(), &Info)
                                   : ReadPngHeader(Case.File.data(), Case.File.size(), &Info);
    ASSERT_TRUE(Read) << Case.Name;
    EXPECT_EQ(Info.Width, Case.Expected.Width) << Case.Name;
    EXPECT_EQ(Info.Height, Case.Expected.Height) << Case.Name;
    EXPECT_EQ(Info.Depth, Case.Expected.Depth) << Case.Name;
    EXPECT_EQ(Info.Layout, Case.Expected.Layout) << Case.Name;
    EXPECT_EQ(Info.Interlaced, Case.Expected.Interlaced) << Case.Name;
  }
}

TEST(ReferenceHostImageHeaders, JpegSkipsFillBytesAndTablesBeforeTheFrame) {
  Bytes File = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xC4, 0x00, 0x04, 0x00, 0x00};  // fill bytes, then a DHT
  const Bytes Frame = Jpeg(330, 76);
  File.insert(File.end(), Frame.begin() + 2, Frame.end());
  IMAGE_HEADER_INFO Info = {};
  ASSERT_TRUE(ReadJpegHeader(File.data(), File.size(), &Info));
  EXPECT_EQ(Info.Width, 330u);
  EXPECT_EQ(Info.Height, 76u);
}

TEST(ReferenceHostImageHeaders, RefusesWhatIsNotAHeader) {
  Bytes BadSignature = Png(1, 1);
  BadSignature[1] = 'Q';
  Bytes NotIhdr = Png(1, 1);
  NotIhdr[12] = 'X';
  const Bytes ScanFirst = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};
  Bytes ShortFrame = Jpeg(10, 10);
  ShortFrame[13] = 0x05;  // frame segment length below its fields
  const Bytes SegmentPastEnd = {0xFF, 0xD8, 0xFF, 0xE0, 0x40, 0x00};
  const struct {
    std::string Name;
    Bytes File;
    bool Jpeg;
  } Cases[] = {
      {"PNG signature", BadSignature, false}, {"PNG first chunk", NotIhdr, false},
      {"PNG cut short", Prefix(Png(1, 1), 28), false},
      {"PNG of zero width", Png(0, 5), false}, {"JPEG scan before frame", ScanFirst, true},
      {"JPEG short frame", ShortFrame, true}, {"JPEG segment past the end", SegmentPastEnd, true},
      {"JPEG without SOI", Suffix(Jpeg(1, 1), 2), true},
      {"JPEG of zero height", Jpeg(5, 0), true},
  };
  for (const auto &Case : Cases) {
    IMAGE_HEADER_INFO Info = {};
    const BOOLEAN Read = Case.Jpeg ? ReadJpegHeader(Case.File.data(), Case.File.size(), &Info)
                                   : ReadPngHeader(Case.File.data(), Case.File.size(), &Info);
    EXPECT_FALSE(Read) << Case.Name;
  }
}

}  // namespace
