// Finding the image resource in a PE32+ file, on small test images that are
// right or wrong in one place, and on every truncation and byte flip of one.
#include <gtest/gtest.h>

#include "TestPe.h"
#include "tools/imagepkg/PeResource.h"

namespace {

using fixtures::MakeTestPe;
using fixtures::TestPeShape;
using imagepkg::Bytes;

const Bytes kPayload = {'p', 'a', 'y', 'l', 'o', 'a', 'd', 0};

imagepkg::ResourceLookup Find(const Bytes &File) {
  return imagepkg::FindPeResource(File, u"HII", 1, 1033);
}

std::string Joined(const std::vector<std::string> &Problems) {
  std::string All;
  for (const std::string &Problem : Problems) {
    All += Problem + "\n";
  }
  return All;
}

TEST(PeResource, FindsTheResourceAndItsPlaceInTheFile) {
  const fixtures::TestPe Pe = MakeTestPe({}, kPayload);
  const imagepkg::ResourceLookup Lookup = Find(Pe.File);
  ASSERT_TRUE(Lookup.Found) << Joined(Lookup.Problems);
  EXPECT_EQ(Lookup.Problems, std::vector<std::string>{});
  EXPECT_EQ(Lookup.DataRva, Pe.DataRva);
  EXPECT_EQ(Lookup.FileOffset, Pe.DataOffset);
  EXPECT_EQ(Lookup.CodePage, 0u);
  EXPECT_TRUE(std::ranges::equal(Lookup.Data, kPayload));
}

struct PeFault {
  const char *Name;
  TestPeShape Shape;
  bool StillFound;
  const char *Expected;
};

TestPeShape With(void (*Change)(TestPeShape &)) {
  TestPeShape Shape;
  Change(Shape);
  return Shape;
}

const PeFault kPeFaults[] = {
    {"OtherTypeName", With([](TestPeShape &S) { S.TypeName = u"HIJ"; }), false,
     "no resource of type \"HII\""},
    {"NumericType", With([](TestPeShape &S) { S.TypeName.clear(); }), false, "no resource of type \"HII\""},
    {"OtherNameId", With([](TestPeShape &S) { S.NameId = 2; }), false, "no id 1 for type \"HII\""},
    {"OtherLanguage", With([](TestPeShape &S) { S.Language = 1031; }), false, "no language 1033"},
    {"SecondLanguage", With([](TestPeShape &S) { S.ExtraLanguage = true; }), true,
     "2 entries where only language 1033 belongs"},
    {"DataOutsideAnySection", With([](TestPeShape &S) { S.DataRvaShift = 0x10000; }), false,
     "does not lie within one section's data"},
    {"DataRunsPastSection", With([](TestPeShape &S) { S.DataRvaShift = 4; }), false,
     "does not lie within one section's data"},
    {"Machine32Bit", With([](TestPeShape &S) { S.Machine = 0x14C; }), true, "machine 0x14C, expected 0x8664"},
    {"Pe32Header", With([](TestPeShape &S) { S.Magic = 0x10B; }), false, "expected 0x20B (PE32+)"},
    {"ApplicationSubsystem", With([](TestPeShape &S) { S.Subsystem = 10; }), true, "subsystem 10, expected 11"},
};

void PrintTo(const PeFault &Case, std::ostream *Out) { *Out << Case.Name; }

class PeResourceReports : public testing::TestWithParam<PeFault> {};

TEST_P(PeResourceReports, TheFault) {
  const PeFault &Fault = GetParam();
  const imagepkg::ResourceLookup Lookup = Find(MakeTestPe(Fault.Shape, kPayload).File);
  EXPECT_EQ(Lookup.Found, Fault.StillFound);
  EXPECT_NE(Joined(Lookup.Problems).find(Fault.Expected), std::string::npos)
      << "expected: " << Fault.Expected << "\ngot:\n"
      << Joined(Lookup.Problems);
}

INSTANTIATE_TEST_SUITE_P(Faults, PeResourceReports, testing::ValuesIn(kPeFaults),
                         [](const testing::TestParamInfo<PeFault> &Info) { return std::string(Info.param.Name); });

TEST(PeResource, NotAPeFileIsRefused) {
  for (const Bytes &File : {Bytes{}, Bytes{'M'}, Bytes{'M', 'Z'}, Bytes(64, 'x'), Bytes{0x7F, 'E', 'L', 'F'}}) {
    const imagepkg::ResourceLookup Lookup = Find(File);
    EXPECT_FALSE(Lookup.Found);
    EXPECT_FALSE(Lookup.Problems.empty());
  }
}

// A resource tree whose name level points back at the root must end in a
// refusal, not a loop.
TEST(PeResource, DirectoryPointingBackAtTheRootIsRefused) {
  fixtures::TestPe Pe = MakeTestPe({}, kPayload);
  imagepkg::PutU32(Pe.File, fixtures::kTestPeSectionOffset + 20, 0x80000000u);
  const imagepkg::ResourceLookup Lookup = Find(Pe.File);
  EXPECT_FALSE(Lookup.Found);
  EXPECT_NE(Joined(Lookup.Problems).find("no id 1"), std::string::npos) << Joined(Lookup.Problems);
}

TEST(PeResource, EveryTruncationIsRefused) {
  const Bytes File = MakeTestPe({}, kPayload).File;
  // The payload sits at the end of the section's data; the section's
  // padding after it may go without losing anything.
  const size_t Needed = MakeTestPe({}, kPayload).DataOffset + kPayload.size();
  for (size_t Keep = 0; Keep < Needed; Keep++) {
    const imagepkg::ResourceLookup Lookup = Find(Bytes(File.begin(), File.begin() + Keep));
    EXPECT_FALSE(Lookup.Found) << Keep;
    EXPECT_FALSE(Lookup.Problems.empty()) << Keep;
  }
}

// Any single damaged byte either leaves the resource findable or is
// reported; under the sanitizers this also shows that no damaged offset
// leads outside the file.
TEST(PeResource, EveryDamagedByteIsSurvived) {
  const Bytes File = MakeTestPe({}, kPayload).File;
  for (size_t At = 0; At < File.size(); At++) {
    for (const uint8_t Mask : {0x01, 0x80, 0xFF}) {
      Bytes Damaged = File;
      Damaged[At] ^= Mask;
      const imagepkg::ResourceLookup Lookup = Find(Damaged);
      EXPECT_TRUE(Lookup.Found || !Lookup.Problems.empty()) << At;
      if (Lookup.Found) {
        EXPECT_LE(Lookup.FileOffset + Lookup.Data.size(), Damaged.size()) << At;
      }
    }
  }
}

}  // namespace
