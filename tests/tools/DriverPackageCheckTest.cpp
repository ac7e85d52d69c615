// The inspector on small drivers built around a packed synthetic image set:
// it accepts the right one, says which host images point at each theme
// image, and refuses a driver that is wrong in the resource or an image.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "ImageFixtures.h"
#include "TestPe.h"
#include "tools/imagepkg/DriverPackageCheck.h"
#include "tools/imagepkg/ThemePack.h"

namespace {

namespace fs = std::filesystem;
using imagepkg::Bytes;

// The package list of a valid synthetic image set, made once.
const Bytes &ValidList() {
  static const Bytes List = [] {
    const fs::path Folder = fs::path(testing::TempDir()) / ("imagepkg-inspect-" + std::to_string(getpid()));
    fixtures::WriteSyntheticImageSet(Folder);
    imagepkg::PackResult Packed = imagepkg::PackFromManifest((Folder / "manifest.tsv").string());
    fs::remove_all(Folder);
    EXPECT_EQ(Packed.Problems, std::vector<std::string>{});
    return Packed.List;
  }();
  return List;
}

std::string Joined(const std::vector<std::string> &Problems) {
  std::string All;
  for (const std::string &Problem : Problems) {
    All += Problem + "\n";
  }
  return All;
}

TEST(ThemeInspect, AcceptsAGoodDriverAndMapsHostImages) {
  const fixtures::TestPe Pe = fixtures::MakeTestPe({}, imagepkg::ResourceDataFor(ValidList()));
  const imagepkg::DriverReport Report = imagepkg::InspectDriver(Pe.File);
  ASSERT_EQ(Report.Problems, std::vector<std::string>{});
  ASSERT_EQ(Report.Images.size(), imagepkg::kThemeImageCount);
  EXPECT_EQ(Report.MappedHostIds, 167u);
  EXPECT_EQ(Report.MappedThemeIds, 160u);

  const auto HostIds = [&](uint32_t Id) { return Report.Images.at(Id - 1).HostIds; };
  EXPECT_EQ(HostIds(8), (std::vector<uint32_t>{1}));
  EXPECT_EQ(HostIds(14), (std::vector<uint32_t>{828, 829}));
  EXPECT_EQ(HostIds(79), (std::vector<uint32_t>{2314, 2364}));
  EXPECT_EQ(HostIds(165), (std::vector<uint32_t>{4661}));
  for (const uint32_t Unmapped : {44u, 148u, 152u, 156u, 160u, 166u, 167u, 168u}) {
    EXPECT_TRUE(HostIds(Unmapped).empty()) << Unmapped;
  }

  const imagepkg::InspectedImage &Background = Report.Images.at(7);
  EXPECT_EQ(Background.Format, imagepkg::ImageFormat::Jpeg);
  EXPECT_EQ(Background.Facts.Width, 1920u);
  EXPECT_EQ(Background.Facts.Height, 1080u);
  EXPECT_TRUE(Report.Images.at(110).Facts.Interlaced);
}

struct DriverFault {
  const char *Name;
  Bytes (*Data)();
  fixtures::TestPeShape Shape;
  const char *Expected;
};

Bytes WithoutTrailingZero() { return ValidList(); }
Bytes WithTwoTrailingBytes() {
  Bytes Data = imagepkg::ResourceDataFor(ValidList());
  Data.push_back(0);
  return Data;
}
Bytes WithNonZeroTrailingByte() {
  Bytes Data = imagepkg::ResourceDataFor(ValidList());
  Data.back() = 1;
  return Data;
}
// A PNG block whose file has one damaged byte inside the image data.
Bytes WithDamagedImage() {
  Bytes Data = imagepkg::ResourceDataFor(ValidList());
  const imagepkg::PackageListReport Report = imagepkg::ReadPackageList(ValidList());
  const uint64_t Start = Report.Blocks.at(42).BlockOffset + 5;
  Data.at(Start + Report.Blocks.at(42).File.size() - 20) ^= 0x40;
  return Data;
}
Bytes Valid() { return imagepkg::ResourceDataFor(ValidList()); }

fixtures::TestPeShape CodePage1252() {
  fixtures::TestPeShape Shape;
  Shape.CodePage = 1252;
  return Shape;
}

const DriverFault kDriverFaults[] = {
    {"NoTrailingZeroByte", WithoutTrailingZero, {}, "expected the package list length"},
    {"TwoTrailingBytes", WithTwoTrailingBytes, {}, "expected the package list length"},
    {"TrailingByteNotZero", WithNonZeroTrailingByte, {}, "the byte after the package list is 1, expected 0"},
    {"DamagedImage", WithDamagedImage, {}, "image 43: PNG does not decode"},
    {"CodePage", Valid, CodePage1252(), "resource: code page 1252, expected 0"},
};

void PrintTo(const DriverFault &Case, std::ostream *Out) { *Out << Case.Name; }

class ThemeInspectRefuses : public testing::TestWithParam<DriverFault> {};

TEST_P(ThemeInspectRefuses, TheFault) {
  const fixtures::TestPe Pe = fixtures::MakeTestPe(GetParam().Shape, GetParam().Data());
  const imagepkg::DriverReport Report = imagepkg::InspectDriver(Pe.File);
  EXPECT_NE(Joined(Report.Problems).find(GetParam().Expected), std::string::npos)
      << "expected: " << GetParam().Expected << "\ngot:\n"
      << Joined(Report.Problems);
}

INSTANTIATE_TEST_SUITE_P(Faults, ThemeInspectRefuses, testing::ValuesIn(kDriverFaults),
                         [](const testing::TestParamInfo<DriverFault> &Info) { return std::string(Info.param.Name); });

TEST(ThemeInspect, CommandLineExitCodes) {
  const fs::path Folder = fs::path(testing::TempDir()) / ("imagepkg-cli-" + std::to_string(getpid()));
  fs::create_directories(Folder);
  const fs::path Good = Folder / "good.efi";
  const fs::path Bad = Folder / "bad.efi";
  fixtures::WriteFile(Good, fixtures::MakeTestPe({}, imagepkg::ResourceDataFor(ValidList())).File);
  fixtures::WriteFile(Bad, fixtures::MakeTestPe({}, WithNonZeroTrailingByte()).File);

  std::ostringstream Out;
  std::ostringstream Err;
  EXPECT_EQ(imagepkg::RunThemeInspect({Good.string()}, Out, Err), 0) << Err.str();
  EXPECT_NE(Out.str().find("  8  JPEG    1920x1080"), std::string::npos) << Out.str();
  EXPECT_NE(Out.str().find(" 44  PNG     16x140"), std::string::npos) << Out.str();
  EXPECT_NE(Out.str().find("theme-inspect: OK"), std::string::npos);

  Err.str("");
  EXPECT_EQ(imagepkg::RunThemeInspect({Bad.string()}, Out, Err), 1);
  EXPECT_NE(Err.str().find("theme-inspect: resource data: the byte after the package list is 1"), std::string::npos)
      << Err.str();
  EXPECT_EQ(imagepkg::RunThemeInspect({(Folder / "missing.efi").string()}, Out, Err), 1);
  EXPECT_EQ(imagepkg::RunThemeInspect({}, Out, Err), 2);
  fs::remove_all(Folder);
}

}  // namespace
