// The reference host's resource lookup, natively: where the firmware
// publishes no package list, it alone finds the theme's images, so it must
// find them in the real driver and refuse damaged images within bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/firmware/host/HiiResource.h"

namespace {

using Bytes = std::vector<UINT8>;

void Put16(Bytes &Out, size_t At, UINT16 Value) {
  Out[At] = (UINT8)Value;
  Out[At + 1] = (UINT8)(Value >> 8);
}

void Put32(Bytes &Out, size_t At, UINT32 Value) {
  for (int Byte = 0; Byte < 4; Byte++) {
    Out[At + Byte] = (UINT8)(Value >> (8 * Byte));
  }
}

UINT32 Get32(const Bytes &In, size_t At) {
  return In[At] | (In[At + 1] << 8) | (In[At + 2] << 16) | ((UINT32)In[At + 3] << 24);
}

UINT16 Get16(const Bytes &In, size_t At) { return (UINT16)(In[At] | (In[At + 1] << 8)); }

// A PE32+ file of headers only, and its loaded image with a resource tree
// at kTreeRva: type "HII" -> name 1 -> language 0x409 -> 0x40 bytes at 0x1100.
constexpr UINT32 kPeOffset = 0x40;
constexpr UINT32 kOptional = kPeOffset + 24;
constexpr UINT32 kResourceEntry = kOptional + 112 + 2 * 8;
constexpr UINT32 kTreeRva = 0x1000;
constexpr UINT32 kTypeDirectory = 0x00, NameDirectory = 0x20, LanguageDirectory = 0x38, DataEntry = 0x50,
                 TypeName = 0x60, OtherName = 0x68, TreeSize = 0x70;
constexpr UINT32 kSubdirectory = 0x80000000u;

struct TestImage {
  Bytes File = Bytes(0x200);
  Bytes Image = Bytes(0x2000);

  TestImage() {
    File[0] = 'M';
    File[1] = 'Z';
    Put32(File, 0x3C, kPeOffset);
    Put32(File, kPeOffset, 0x00004550);
    Put16(File, kOptional, 0x20B);
    Put32(File, kOptional + 108, 16);
    Put32(File, kResourceEntry, kTreeRva);
    Put32(File, kResourceEntry + 4, TreeSize);
    Directory(kTypeDirectory, 1, 0);
    Put32(Image, Tree(kTypeDirectory + 16), kSubdirectory | TypeName);
    Put32(Image, Tree(kTypeDirectory + 20), kSubdirectory | NameDirectory);
    Directory(NameDirectory, 0, 1);
    Put32(Image, Tree(NameDirectory + 16), 1);
    Put32(Image, Tree(NameDirectory + 20), kSubdirectory | LanguageDirectory);
    Directory(LanguageDirectory, 0, 1);
    Put32(Image, Tree(LanguageDirectory + 16), 0x409);
    Put32(Image, Tree(LanguageDirectory + 20), DataEntry);
    Put32(Image, Tree(DataEntry), 0x1100);
    Put32(Image, Tree(DataEntry + 4), 0x40);
    Name(TypeName, "HII");
  }
  static size_t Tree(UINT32 Offset) { return kTreeRva + Offset; }
  void Directory(UINT32 Offset, UINT16 Named, UINT16 Numbered) {
    Put16(Image, Tree(Offset + 12), Named);
    Put16(Image, Tree(Offset + 14), Numbered);
  }
  void Name(UINT32 Offset, const char *Text) {
    Put16(Image, Tree(Offset), (UINT16)std::strlen(Text));
    for (size_t Index = 0; Text[Index] != '\0'; Index++) {
      Put16(Image, Tree(Offset + 2 + 2 * Index), (UINT16)Text[Index]);
    }
  }
};

HII_RESOURCE Find(const Bytes &File, const Bytes &Image, BOOLEAN *Found) {
  HII_RESOURCE Resource;
  *Found = FindHiiResource(File.data(), File.size(), Image.data(), Image.size(), &Resource);
  return Resource;
}

TEST(ReferenceHostHiiResource, FindsTheFirstNameAndLanguageUnderTypeHii) {
  TestImage Test;
  BOOLEAN Found = FALSE;
  const HII_RESOURCE Resource = Find(Test.File, Test.Image, &Found);
  ASSERT_TRUE(Found) << Resource.Problem;
  EXPECT_EQ(Resource.Rva, 0x1100u);
  EXPECT_EQ(Resource.Size, 0x40u);
}

TEST(ReferenceHostHiiResource, RefusesWhatALoaderCouldNotPublish) {
  const struct {
    const char *Name;
    std::function<void(TestImage &)> Damage;
    const char *Problem;  // null: still found
  } Cases[] = {
      {"no MZ", [](TestImage &T) { T.File[0] = 'X'; }, "no DOS header"},
      {"PE header beyond the file", [](TestImage &T) { Put32(T.File, 0x3C, 0x1F0); }, "no PE headers"},
      {"PE32, not PE32+", [](TestImage &T) { Put16(T.File, kOptional, 0x10B); }, "not PE32+"},
      {"two data directories only", [](TestImage &T) { Put32(T.File, kOptional + 108, 2); }, "no resource data directory"},
      {"empty resource directory", [](TestImage &T) { Put32(T.File, kResourceEntry + 4, 0); }, "empty resource directory"},
      {"tree beyond the image", [](TestImage &T) { Put32(T.File, kResourceEntry, 0x1FF0); }, "outside the loaded image"},
      {"type named HIJ", [](TestImage &T) { T.Name(TypeName, "HIJ"); }, "no resource of type HII"},
      {"type named HIIX", [](TestImage &T) { T.Name(TypeName, "HIIX"); }, "no resource of type HII"},
      {"type by number", [](TestImage &T) { Put32(T.Image, TestImage::Tree(16), 6); }, "no resource of type HII"},
      {"type name beyond the tree", [](TestImage &T) { Put32(T.Image, TestImage::Tree(16), kSubdirectory | 0x6F); },
       "no resource of type HII"},
      {"more entries than the tree holds",
       [](TestImage &T) {
         T.Directory(kTypeDirectory, 0xFFFF, 0);
         Put32(T.Image, TestImage::Tree(16), 6);
       },
       "no resource of type HII"},
      {"HII after another named type",
       [](TestImage &T) {
         T.Directory(kTypeDirectory, 2, 0);
         T.Name(OtherName, "ABC");
         Put32(T.Image, TestImage::Tree(16), kSubdirectory | OtherName);
         Put32(T.Image, TestImage::Tree(24), kSubdirectory | TypeName);
         Put32(T.Image, TestImage::Tree(28), kSubdirectory | NameDirectory);
       },
       nullptr},
      {"type leads straight to data", [](TestImage &T) { Put32(T.Image, TestImage::Tree(20), DataEntry); },
       "shallower"},
      {"name directory beyond the tree", [](TestImage &T) { Put32(T.Image, TestImage::Tree(20), kSubdirectory | 0x6C); },
       "empty or outside"},
      {"name directory empty", [](TestImage &T) { T.Directory(NameDirectory, 0, 0); }, "empty or outside"},
      {"language is a directory", [](TestImage &T) { Put32(T.Image, TestImage::Tree(LanguageDirectory + 20), kSubdirectory | kTypeDirectory); },
       "data entry malformed"},
      {"data entry beyond the tree", [](TestImage &T) { Put32(T.Image, TestImage::Tree(LanguageDirectory + 20), 0x68); },
       "data entry malformed"},
      {"data beyond the image", [](TestImage &T) { Put32(T.Image, TestImage::Tree(DataEntry + 4), 0xF01); },
       "data outside the loaded image"},
      {"data size wraps", [](TestImage &T) { Put32(T.Image, TestImage::Tree(DataEntry + 4), 0xFFFFFFFF); },
       "data outside the loaded image"},
  };
  for (const auto &Case : Cases) {
    TestImage Test;
    Case.Damage(Test);
    BOOLEAN Found = FALSE;
    const HII_RESOURCE Resource = Find(Test.File, Test.Image, &Found);
    if (Case.Problem == nullptr) {
      EXPECT_TRUE(Found) << Case.Name << ": " << Resource.Problem;
      continue;
    }
    ASSERT_FALSE(Found) << Case.Name;
    ASSERT_NE(Resource.Problem, nullptr) << Case.Name;
    EXPECT_NE(std::string(Resource.Problem).find(Case.Problem), std::string::npos)
        << Case.Name << ": " << Resource.Problem;
  }
}

TEST(ReferenceHostHiiResource, EveryTruncationOfTheFileIsRefusedWithinBounds) {
  TestImage Test;
  for (size_t Length = 0; Length < kResourceEntry + 8; Length++) {
    const Bytes Prefix(Test.File.begin(), Test.File.begin() + (long)Length);
    BOOLEAN Found = TRUE;
    Find(Prefix, Test.Image, &Found);
    EXPECT_FALSE(Found) << Length;
  }
}

Bytes ReadFile(const char *Path) {
  std::ifstream In(Path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The driver file's sections at their RVAs, as a loader places them.
Bytes LoadSections(const Bytes &File) {
  const UINT32 Pe = Get32(File, 0x3C);
  const UINT32 Sections = Pe + 24 + Get16(File, Pe + 20);
  Bytes Image(Get32(File, Pe + 24 + 56));
  std::memcpy(Image.data(), File.data(), Get32(File, Pe + 24 + 60));
  for (UINT16 Index = 0; Index < Get16(File, Pe + 6); Index++) {
    const UINT32 Header = Sections + Index * 40u;
    const UINT32 Copied = std::min(Get32(File, Header + 8), Get32(File, Header + 16));
    std::memcpy(Image.data() + Get32(File, Header + 12), File.data() + Get32(File, Header + 20), Copied);
  }
  return Image;
}

TEST(ReferenceHostHiiResource, FindsThePackedListInTheBuiltDriver) {
  const Bytes Driver = ReadFile(THEME_DRIVER_EFI);
  const Bytes List = ReadFile(THEME_PACKAGE_LIST);
  ASSERT_GT(Driver.size(), 0x200u) << THEME_DRIVER_EFI;
  ASSERT_GT(List.size(), 0u) << THEME_PACKAGE_LIST;
  const Bytes Image = LoadSections(Driver);
  BOOLEAN Found = FALSE;
  const HII_RESOURCE Resource = Find(Driver, Image, &Found);
  ASSERT_TRUE(Found) << Resource.Problem;
  ASSERT_GE(Resource.Size, List.size());
  EXPECT_EQ(Bytes(Image.begin() + Resource.Rva, Image.begin() + Resource.Rva + (long)List.size()), List);
}

}  // namespace
