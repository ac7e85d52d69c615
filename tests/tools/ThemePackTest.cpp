// The packer against whole image sets: a valid set packs into exactly the
// bytes the firmware expects, and every kind of bad input is refused with a
// message naming the image, the file and the fault, leaving no output.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "ImageFixtures.h"
#include "tools/imagepkg/PackageList.h"
#include "tools/imagepkg/ThemePack.h"

namespace {

namespace fs = std::filesystem;
using imagepkg::Bytes;

std::string Hex(imagepkg::ByteView Data) {
  std::string Text;
  char Byte[4];
  for (const uint8_t Value : Data) {
    snprintf(Byte, sizeof(Byte), "%02X ", Value);
    Text += Byte;
  }
  if (!Text.empty()) {
    Text.pop_back();
  }
  return Text;
}

std::string LittleEndianHex(uint32_t Value) {
  const uint8_t Bytes[4] = {static_cast<uint8_t>(Value), static_cast<uint8_t>(Value >> 8),
                            static_cast<uint8_t>(Value >> 16), static_cast<uint8_t>(Value >> 24)};
  return Hex(Bytes);
}

// A working copy of a valid image set: the real artwork when it exists,
// else a synthetic set made once per run.
class ImageSet {
 public:
  explicit ImageSet(const std::string &Name) : Folder_(Scratch() / Name) {
    fs::remove_all(Folder_);
    fs::create_directories(Folder_);
    fs::copy(Source(), Folder_, fs::copy_options::recursive);
  }
  ~ImageSet() { fs::remove_all(Folder_); }

  fs::path Manifest() const { return Folder_ / "manifest.tsv"; }
  fs::path Folder() const { return Folder_; }
  // The path of theme image Id's file, as the manifest names it.
  fs::path FileOf(uint32_t Id) const { return Folder_ / Field(Lines().at(Id), 1); }
  std::string DisplayPathOf(uint32_t Id) const { return Folder_.string() + "/" + Field(Lines().at(Id), 1); }

  std::vector<std::string> Lines() const {
    std::ifstream In(Manifest());
    std::vector<std::string> Result;
    for (std::string Line; std::getline(In, Line);) {
      Result.push_back(Line);
    }
    return Result;
  }
  void SetLines(const std::vector<std::string> &Lines) const {
    std::ofstream Out(Manifest(), std::ios::trunc);
    for (const std::string &Line : Lines) {
      Out << Line << "\n";
    }
  }
  void Replace(uint32_t Id, imagepkg::ByteView Data) const { fixtures::WriteFile(FileOf(Id), Data); }

  static bool UsesRealImages() { return fs::exists(fs::path(THEME_IMAGES_DIR) / "manifest.tsv"); }

 private:
  // One folder per test process, removed when the process ends.
  static fs::path Scratch() {
    struct Root {
      fs::path Path;
      ~Root() {
        std::error_code Ignored;
        fs::remove_all(Path, Ignored);
      }
    };
    static const Root Folder{fs::path(testing::TempDir()) / ("imagepkg-" + std::to_string(getpid()))};
    return Folder.Path;
  }
  static fs::path Source() {
    if (UsesRealImages()) {
      return THEME_IMAGES_DIR;
    }
    static const fs::path Synthetic = [] {
      const fs::path Path = Scratch() / "synthetic";
      fixtures::WriteSyntheticImageSet(Path);
      return Path;
    }();
    return Synthetic;
  }
  static std::string Field(const std::string &Line, size_t Index) {
    std::stringstream Stream(Line);
    std::string Value;
    for (size_t Current = 0; Current <= Index; Current++) {
      std::getline(Stream, Value, '\t');
    }
    return Value;
  }

  fs::path Folder_;
};

struct PackRun {
  int Status;
  std::string Out;
  std::string Err;
};

PackRun Pack(const ImageSet &Set, const fs::path &Res, const fs::path &List) {
  std::ostringstream Out;
  std::ostringstream Err;
  const int Status =
      imagepkg::RunThemePack({"--package-out", List.string(), Set.Manifest().string(), Res.string()}, Out, Err);
  return {Status, Out.str(), Err.str()};
}

TEST(ThemePack, ValidSetPacksIntoTheExpectedPackageList) {
  RecordProperty("ImageSource", ImageSet::UsesRealImages() ? "data/images" : "synthetic");
  const ImageSet Set("valid");
  const PackRun Run = Pack(Set, Set.Folder() / "out.res", Set.Folder() / "out.hii");
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Err, "");
  const Bytes List = fixtures::ReadFile(Set.Folder() / "out.hii");

  // Header: GUID, list length, image package header (type 6 in the top
  // byte), image info offset 12, palette info offset 0.
  ASSERT_GT(List.size(), 64u);
  const uint32_t Length = static_cast<uint32_t>(List.size());
  EXPECT_EQ(Hex(imagepkg::ByteView(List).first(32)),
            "25 D0 5B CA 18 1E 90 43 83 BC 55 F1 F6 5D 6C 50 " + LittleEndianHex(Length) + " " +
                LittleEndianHex((Length - 24) | 0x06000000u) + " 0C 00 00 00 00 00 00 00");
  // END block, then the end package of length 4 and type 0xDF.
  EXPECT_EQ(Hex(imagepkg::ByteView(List).last(5)), "00 04 00 00 DF");

  // Block k holds file k byte for byte, with its size and the type that
  // matches its format.
  size_t Position = 32;
  for (uint32_t Id = 1; Id <= imagepkg::kThemeImageCount; Id++) {
    const Bytes File = fixtures::ReadFile(Set.FileOf(Id));
    const bool Jpeg = File.size() > 2 && File[0] == 0xFF && File[1] == 0xD8;
    ASSERT_LE(Position + 5 + File.size(), List.size()) << "block " << Id;
    EXPECT_EQ(List[Position], Jpeg ? 0x18 : 0x19) << "block " << Id;
    EXPECT_EQ(Hex(imagepkg::ByteView(List).subspan(Position + 1, 4)), LittleEndianHex(File.size())) << "block " << Id;
    EXPECT_TRUE(std::equal(File.begin(), File.end(), List.begin() + Position + 5)) << "block " << Id;
    Position += 5 + File.size();
  }
  EXPECT_EQ(Position, List.size() - 5);
}

TEST(ThemePack, ResFileHoldsOneHiiResourceWithTheListAndAZeroByte) {
  const ImageSet Set("res");
  const PackRun Run = Pack(Set, Set.Folder() / "out.res", Set.Folder() / "out.hii");
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  const Bytes Res = fixtures::ReadFile(Set.Folder() / "out.res");
  const Bytes List = fixtures::ReadFile(Set.Folder() / "out.hii");
  const imagepkg::ByteView View(Res);

  ASSERT_GE(Res.size(), 32u + 36u + List.size() + 1);
  // The empty entry that opens every 32-bit .res file.
  EXPECT_EQ(Hex(View.first(32)),
            "00 00 00 00 20 00 00 00 FF FF 00 00 FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  // Data size, header size 36, type "HII" as a string, name id 1, data
  // version, memory flags, language 0x0409, version, characteristics.
  EXPECT_EQ(Hex(View.subspan(32, 36)), LittleEndianHex(List.size() + 1) +
                                           " 24 00 00 00 48 00 49 00 49 00 00 00 FF FF 01 00 "
                                           "00 00 00 00 30 10 09 04 00 00 00 00 00 00 00 00");
  EXPECT_TRUE(std::equal(List.begin(), List.end(), Res.begin() + 68));
  EXPECT_EQ(Res[68 + List.size()], 0);
  // Padding to a 4-byte boundary, and nothing else.
  EXPECT_EQ(Res.size(), (68 + List.size() + 1 + 3) & ~size_t{3});
  for (size_t Index = 68 + List.size() + 1; Index < Res.size(); Index++) {
    EXPECT_EQ(Res[Index], 0);
  }
}

TEST(ThemePack, OutputDependsOnlyOnTheImages) {
  const ImageSet First("first");
  const ImageSet Second("second-copy-at-another-path");
  ASSERT_EQ(Pack(First, First.Folder() / "a.res", First.Folder() / "a.hii").Status, 0);
  ASSERT_EQ(Pack(Second, Second.Folder() / "b.res", Second.Folder() / "b.hii").Status, 0);
  EXPECT_EQ(fixtures::ReadFile(First.Folder() / "a.res"), fixtures::ReadFile(Second.Folder() / "b.res"));
}

TEST(ThemePack, ReplacingAnImageRepacksItInPlace) {
  const ImageSet Set("replace");
  const Bytes Replacement = fixtures::EncodePng({280, 46}, 999);
  Set.Replace(28, Replacement);
  ASSERT_EQ(Pack(Set, Set.Folder() / "out.res", Set.Folder() / "out.hii").Status, 0);
  const Bytes List = fixtures::ReadFile(Set.Folder() / "out.hii");
  const imagepkg::PackageListReport Report = imagepkg::ReadPackageList(List);
  ASSERT_EQ(Report.Problems, std::vector<std::string>{});
  const imagepkg::ByteView Block28 = Report.Blocks.at(27).File;
  EXPECT_TRUE(std::equal(Block28.begin(), Block28.end(), Replacement.begin(), Replacement.end()));
}

TEST(ThemePack, BadUsageIsRefused) {
  std::ostringstream Out;
  std::ostringstream Err;
  EXPECT_EQ(imagepkg::RunThemePack({}, Out, Err), 2);
  EXPECT_EQ(imagepkg::RunThemePack({"only-one"}, Out, Err), 2);
  EXPECT_EQ(imagepkg::RunThemePack({"--bogus", "a", "b"}, Out, Err), 2);
  EXPECT_NE(Err.str().find("usage: theme-pack"), std::string::npos);
}

// ---- Bad inputs -------------------------------------------------------------

struct BadInput {
  const char *Name;
  std::function<void(const ImageSet &)> Break;
  // Each must appear in the messages; "@N:" stands for image N's prefix
  // "theme-pack: image N (<path>): ".
  std::vector<std::string> Expected;
};

Bytes Truncated(Bytes Data, size_t Keep) {
  Data.resize(Keep);
  return Data;
}

// Flips one byte inside the first IDAT chunk's data, which its CRC covers.
Bytes WithCorruptIdat(Bytes Png) {
  const std::string Tag = "IDAT";
  const auto At = std::search(Png.begin(), Png.end(), Tag.begin(), Tag.end());
  *(At + 6) ^= 0x55;
  return Png;
}

void SwapManifestRows(const ImageSet &Set, size_t First, size_t Second) {
  std::vector<std::string> Lines = Set.Lines();
  std::swap(Lines.at(First), Lines.at(Second));
  Set.SetLines(Lines);
}

void EditManifestField(const ImageSet &Set, size_t Row, size_t Field, const std::string &Value) {
  std::vector<std::string> Lines = Set.Lines();
  std::vector<std::string> Fields;
  std::stringstream Stream(Lines.at(Row));
  for (std::string Item; std::getline(Stream, Item, '\t');) {
    Fields.push_back(Item);
  }
  Fields.at(Field) = Value;
  std::string Line;
  for (const std::string &Item : Fields) {
    Line += (Line.empty() ? "" : "\t") + Item;
  }
  Lines.at(Row) = Line;
  Set.SetLines(Lines);
}

// Moves image Id's file to NewName and points its manifest row there.
void RenameImage(const ImageSet &Set, uint32_t Id, const std::string &NewName) {
  fs::rename(Set.FileOf(Id), Set.Folder() / NewName);
  EditManifestField(Set, Id, 1, NewName);
}

Bytes WithTrailingBytes(Bytes Data, const Bytes &Extra) {
  Data.insert(Data.end(), Extra.begin(), Extra.end());
  return Data;
}

const BadInput kBadInputs[] = {
    {"OnePixelWider", [](const ImageSet &S) { S.Replace(27, fixtures::EncodePng({281, 46})); },
     {"@27:size 281x46, expected 280x46"}},
    {"OnePixelShorter", [](const ImageSet &S) { S.Replace(166, fixtures::EncodePng({20, 3})); },
     {"@166:size 20x3, expected 20x4"}},
    {"PlainWhereAdam7IsRequired", [](const ImageSet &S) { S.Replace(100, fixtures::EncodePng({20, 21, false})); },
     {"@100:not interlaced, expected Adam7 interlacing"}},
    {"Adam7WherePlainIsRequired", [](const ImageSet &S) { S.Replace(1, fixtures::EncodePng({200, 40, true})); },
     {"@1:Adam7-interlaced, expected not interlaced"}},
    {"ProgressiveJpeg", [](const ImageSet &S) { S.Replace(8, fixtures::EncodeJpeg({1920, 1080, true})); },
     {"@8:JPEG frame is progressive (SOF2), expected baseline (SOF0)"}},
    {"GreyscaleJpeg", [](const ImageSet &S) { S.Replace(9, fixtures::EncodeJpeg({111, 1, false, 1})); },
     {"@9:1 colour components, expected 3"}},
    {"PalettePng",
     [](const ImageSet &S) { S.Replace(5, fixtures::EncodePng({330, 76, false, PNG_COLOR_TYPE_PALETTE})); },
     {"@5:PNG colour type 3 (palette), expected 6 (RGBA)"}},
    {"RgbPngWithoutAlpha",
     [](const ImageSet &S) { S.Replace(6, fixtures::EncodePng({330, 76, false, PNG_COLOR_TYPE_RGB})); },
     {"@6:PNG colour type 2 (RGB), expected 6 (RGBA)"}},
    {"SixteenBitPng",
     [](const ImageSet &S) { S.Replace(7, fixtures::EncodePng({330, 76, false, PNG_COLOR_TYPE_RGB_ALPHA, 16})); },
     {"@7:bit depth 16, expected 8"}},
    {"JpegWherePngIsRequired", [](const ImageSet &S) { S.Replace(2, fixtures::EncodeJpeg({390, 76})); },
     {"@2:content is JPEG, expected PNG"}},
    {"PngWhereJpegIsRequired", [](const ImageSet &S) { S.Replace(96, fixtures::EncodePng({2, 567})); },
     {"@96:content is PNG, expected JPEG"}},
    {"NotAnImage", [](const ImageSet &S) { S.Replace(15, Bytes{'h', 'e', 'l', 'l', 'o'}); },
     {"@15:neither a PNG nor a JPEG file"}},
    {"EmptyFile", [](const ImageSet &S) { S.Replace(16, Bytes{}); }, {"@16:empty file"}},
    {"TruncatedPng",
     [](const ImageSet &S) { S.Replace(3, Truncated(fixtures::ReadFile(S.FileOf(3)), fixtures::ReadFile(S.FileOf(3)).size() / 2)); },
     {"@3:PNG does not decode"}},
    {"PngWithBadCrc", [](const ImageSet &S) { S.Replace(4, WithCorruptIdat(fixtures::ReadFile(S.FileOf(4)))); },
     {"@4:PNG does not decode"}},
    {"TruncatedJpeg",
     [](const ImageSet &S) { S.Replace(95, Truncated(fixtures::ReadFile(S.FileOf(95)), fixtures::ReadFile(S.FileOf(95)).size() - 40)); },
     {"@95:JPEG"}},
    {"BytesAfterPngEnd",
     [](const ImageSet &S) {
       Bytes Data = fixtures::ReadFile(S.FileOf(14));
       Data.push_back(0);
       S.Replace(14, Data);
     },
     {"@14:1 bytes after the PNG end chunk"}},
    {"BytesAfterJpegEnd", [](const ImageSet &S) { S.Replace(9, WithTrailingBytes(fixtures::ReadFile(S.FileOf(9)), {0})); },
     {"@9:1 bytes after the JPEG end marker"}},
    {"SecondEndMarkerAfterJpeg",
     [](const ImageSet &S) { S.Replace(96, WithTrailingBytes(fixtures::ReadFile(S.FileOf(96)), {0xFF, 0xD9})); },
     {"@96:2 bytes after the JPEG end marker"}},
    {"PngWithTextChunk", [](const ImageSet &S) { S.Replace(14, fixtures::EncodePng({16, 16, false, 6, 8, true})); },
     {"@14:PNG holds chunks beyond IHDR, IDAT and IEND: tEXt"}},
    {"JpegWithApp1", [](const ImageSet &S) { S.Replace(95, fixtures::EncodeJpeg({567, 2, false, 3, true})); },
     {"@95:JPEG holds an APP1 (EXIF or XMP) segment"}},
    {"FileNameWithoutItsId", [](const ImageSet &S) { RenameImage(S, 27, "button.png"); },
     {"manifest.tsv:28: file name \"button.png\" must start with \"027-\""}},
    {"FileNameWithAnotherId", [](const ImageSet &S) { RenameImage(S, 27, "028-button.png"); },
     {"manifest.tsv:28: file name \"028-button.png\" must start with \"027-\""}},
    {"JpegNamedAsPng", [](const ImageSet &S) { RenameImage(S, 8, "008-background.png"); },
     {"manifest.tsv:9: file name \"008-background.png\" must end in \".jpg\" or \".jpeg\""}},
    {"PngNamedAsJpeg", [](const ImageSet &S) { RenameImage(S, 10, "010-spinner.jpg"); },
     {"manifest.tsv:11: file name \"010-spinner.jpg\" must end in \".png\""}},
    {"UnlistedImageBesideTheManifest",
     [](const ImageSet &S) { fixtures::WriteFile(S.Folder() / "169-extra.png", fixtures::EncodePng({4, 4})); },
     {"169-extra.png: image file that the manifest does not list"}},
    {"MissingFile", [](const ImageSet &S) { fs::remove(S.FileOf(12)); },
     {"@12:cannot read the file: No such file or directory"}},
    {"RowsOutOfOrder", [](const ImageSet &S) { SwapManifestRows(S, 4, 5); },
     {"manifest.tsv:5: id 5 out of order, expected id 4", "manifest.tsv:6: id 4 out of order, expected id 5"}},
    {"RowMissing",
     [](const ImageSet &S) {
       std::vector<std::string> Lines = S.Lines();
       Lines.pop_back();
       S.SetLines(Lines);
     },
     {"manifest.tsv: 167 image rows, expected 168"}},
    {"ManifestClaimsWrongSize", [](const ImageSet &S) { EditManifestField(S, 27, 3, "281"); },
     {"manifest.tsv:28: image 27 listed as 281x46, expected 280x46"}},
    {"ManifestClaimsWrongInterlacing", [](const ImageSet &S) { EditManifestField(S, 111, 5, "0"); },
     {"manifest.tsv:112: image 111 listed as not interlaced, expected interlaced"}},
    {"ManifestClaimsWrongFormat", [](const ImageSet &S) { EditManifestField(S, 8, 2, "png"); },
     {"manifest.tsv:9: image 8 listed as PNG, expected JPEG"}},
    {"FileNameLeavesTheFolder", [](const ImageSet &S) { EditManifestField(S, 7, 1, "../escape.png"); },
     {"manifest.tsv:8: file name \"../escape.png\" must be a relative path"}},
    {"BadHeader",
     [](const ImageSet &S) {
       std::vector<std::string> Lines = S.Lines();
       Lines.at(0) = "id\tfile\tformat\twidth\theight";
       S.SetLines(Lines);
     },
     {"manifest.tsv:1: header must be"}},
    {"SeveralProblemsAreAllReported",
     [](const ImageSet &S) {
       S.Replace(27, fixtures::EncodePng({281, 46}));
       S.Replace(100, fixtures::EncodePng({20, 21, false}));
       S.Replace(8, fixtures::EncodeJpeg({1920, 1080, true}));
     },
     {"@27:size 281x46", "@100:not interlaced", "@8:JPEG frame is progressive", "3 problems; no package written"}},
};

void PrintTo(const BadInput &Case, std::ostream *Out) { *Out << Case.Name; }

class ThemePackRefuses : public testing::TestWithParam<BadInput> {};

TEST_P(ThemePackRefuses, WithAMessageAndNoOutput) {
  const BadInput &Case = GetParam();
  const ImageSet Set(Case.Name);
  const fs::path Res = Set.Folder() / "out.res";
  const fs::path List = Set.Folder() / "out.hii";
  // A package from an earlier run must not survive a refused one.
  fixtures::WriteFile(Res, Bytes{1, 2, 3});
  fixtures::WriteFile(List, Bytes{1, 2, 3});
  Case.Break(Set);

  const PackRun Run = Pack(Set, Res, List);
  EXPECT_EQ(Run.Status, 1);
  EXPECT_FALSE(fs::exists(Res));
  EXPECT_FALSE(fs::exists(List));
  for (std::string Expected : Case.Expected) {
    if (Expected[0] == '@') {
      const size_t Colon = Expected.find(':');
      const uint32_t Id = static_cast<uint32_t>(std::stoul(Expected.substr(1, Colon - 1)));
      Expected = "theme-pack: image " + std::to_string(Id) + " (" + Set.DisplayPathOf(Id) + "): " +
                 Expected.substr(Colon + 1);
    }
    EXPECT_NE(Run.Err.find(Expected), std::string::npos) << "expected: " << Expected << "\nmessages:\n" << Run.Err;
  }
}

INSTANTIATE_TEST_SUITE_P(BadInputs, ThemePackRefuses, testing::ValuesIn(kBadInputs),
                         [](const testing::TestParamInfo<BadInput> &Info) { return std::string(Info.param.Name); });

}  // namespace
