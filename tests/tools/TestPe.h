// A minimal PE32+ image with one resource section, written field by field
// so that tests can build drivers that are right or wrong in one place.
#pragma once

#include <cstdint>
#include <string>

#include "tools/imagepkg/ByteIo.h"

namespace fixtures {

struct TestPeShape {
  uint16_t Machine = 0x8664;
  uint16_t Magic = 0x20B;
  uint16_t Subsystem = 11;
  std::u16string TypeName = u"HII";  // empty: a numeric type 10 instead
  uint16_t NameId = 1;
  uint16_t Language = 1033;
  bool ExtraLanguage = false;  // a second language under the name
  uint32_t CodePage = 0;
  int64_t DataRvaShift = 0;  // moves the data entry's RVA
};

// Layout: headers in the first 0x200 bytes, then the section .rsrc at RVA
// 0x1000 holding the resource tree and, at its end, Data.
inline constexpr uint32_t kTestPeSectionRva = 0x1000;
inline constexpr uint32_t kTestPeSectionOffset = 0x200;

struct TestPe {
  imagepkg::Bytes File;
  uint32_t DataRva;
  uint32_t DataOffset;
};

inline void Put16(imagepkg::Bytes &Out, size_t At, uint16_t Value) {
  Out.at(At) = static_cast<uint8_t>(Value);
  Out.at(At + 1) = static_cast<uint8_t>(Value >> 8);
}

inline TestPe MakeTestPe(const TestPeShape &Shape, imagepkg::ByteView Data) {
  using imagepkg::PutU32;
  // The resource tree, offsets from the section start.
  imagepkg::Bytes Tree(16 + 8);                      // root: one type
  const uint32_t NameDirectory = 24;                 // one name
  const uint32_t LanguageDirectory = 48;             // one or two languages
  const uint32_t LanguageCount = Shape.ExtraLanguage ? 2 : 1;
  const uint32_t DataEntry = LanguageDirectory + 16 + 8 * LanguageCount;
  const uint32_t TypeString = DataEntry + 16;
  const uint32_t DataStart = (TypeString + 2 + 2 * static_cast<uint32_t>(Shape.TypeName.size()) + 7) & ~7u;
  Tree.resize(DataStart);

  const bool Named = !Shape.TypeName.empty();
  Put16(Tree, 12, Named ? 1 : 0);
  Put16(Tree, 14, Named ? 0 : 1);
  PutU32(Tree, 16, Named ? 0x80000000u | TypeString : 10);
  PutU32(Tree, 20, 0x80000000u | NameDirectory);
  Put16(Tree, NameDirectory + 14, 1);
  PutU32(Tree, NameDirectory + 16, Shape.NameId);
  PutU32(Tree, NameDirectory + 20, 0x80000000u | LanguageDirectory);
  Put16(Tree, LanguageDirectory + 14, static_cast<uint16_t>(LanguageCount));
  for (uint32_t Index = 0; Index < LanguageCount; Index++) {
    PutU32(Tree, LanguageDirectory + 16 + 8 * Index, Index == 0 ? Shape.Language : 1031u);
    PutU32(Tree, LanguageDirectory + 20 + 8 * Index, DataEntry);
  }
  const uint32_t DataRva = kTestPeSectionRva + DataStart;
  PutU32(Tree, DataEntry, static_cast<uint32_t>(DataRva + Shape.DataRvaShift));
  PutU32(Tree, DataEntry + 4, static_cast<uint32_t>(Data.size()));
  PutU32(Tree, DataEntry + 8, Shape.CodePage);
  Put16(Tree, TypeString, static_cast<uint16_t>(Shape.TypeName.size()));
  for (size_t Index = 0; Index < Shape.TypeName.size(); Index++) {
    Put16(Tree, TypeString + 2 + 2 * Index, Shape.TypeName[Index]);
  }
  imagepkg::AppendBytes(Tree, Data);
  Tree.resize((Tree.size() + 0x1FF) & ~size_t{0x1FF});

  // Headers: DOS header, "PE\0\0", COFF header, optional header, one section.
  imagepkg::Bytes File(kTestPeSectionOffset);
  File[0] = 'M';
  File[1] = 'Z';
  const uint32_t Pe = 0x40;
  PutU32(File, 0x3C, Pe);
  PutU32(File, Pe, 0x00004550);
  Put16(File, Pe + 4, Shape.Machine);
  Put16(File, Pe + 6, 1);
  Put16(File, Pe + 20, 240);
  const uint32_t Optional = Pe + 24;
  Put16(File, Optional, Shape.Magic);
  Put16(File, Optional + 68, Shape.Subsystem);
  PutU32(File, Optional + 108, 16);
  PutU32(File, Optional + 112 + 16, kTestPeSectionRva);
  PutU32(File, Optional + 112 + 20, DataStart);
  const uint32_t Section = Optional + 240;
  const char Name[8] = {'.', 'r', 's', 'r', 'c'};
  std::copy(Name, Name + 8, File.begin() + Section);
  PutU32(File, Section + 8, static_cast<uint32_t>(DataStart + Data.size()));
  PutU32(File, Section + 12, kTestPeSectionRva);
  PutU32(File, Section + 16, static_cast<uint32_t>(Tree.size()));
  PutU32(File, Section + 20, kTestPeSectionOffset);
  imagepkg::AppendBytes(File, Tree);
  return TestPe{File, DataRva, kTestPeSectionOffset + DataStart};
}

}  // namespace fixtures
