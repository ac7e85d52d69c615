// The command line: bad input of every kind ends with a clear error, exit 2
// and no file written; comparisons exit 0 for no difference and 1 otherwise.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/preview/FactsFile.h"
#include "tools/preview/ThemePreview.h"

namespace preview {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int Exit;
  std::string Out;
  std::string Err;
};

Outcome Preview(const std::vector<std::string> &Arguments) {
  std::ostringstream Out;
  std::ostringstream Err;
  const int Exit = RunThemePreview(Arguments, Out, Err);
  return {Exit, Out.str(), Err.str()};
}

std::string ReadBytes(const fs::path &Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

void WriteBytes(const fs::path &Path, const std::string &Bytes) { std::ofstream(Path, std::ios::binary) << Bytes; }

class PreviewCommand : public ::testing::Test {
 protected:
  PreviewCommand() : Dir(fs::path(::testing::TempDir()) / ("preview-" + std::to_string(::getpid()))) {
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  ~PreviewCommand() override { fs::remove_all(Dir); }

  // Only the files a test wrote itself: the tool must add none.
  std::vector<std::string> Files() const {
    std::vector<std::string> Names;
    for (const auto &Entry : fs::directory_iterator(Dir)) {
      Names.push_back(Entry.path().filename());
    }
    std::sort(Names.begin(), Names.end());
    return Names;
  }

  fs::path Dir;
};

// A copy of the built driver with the first byte of Needle's first match
// after Skip bytes changed, or cut at Cut bytes.
std::string DamagedDriver(const std::string &Needle, size_t Skip, size_t Cut = std::string::npos) {
  std::string Driver = ReadBytes(THEME_DRIVER_EFI);
  if (Cut != std::string::npos) {
    return Driver.substr(0, Cut);
  }
  const size_t At = Driver.find(Needle);
  if (At != std::string::npos && At + Skip < Driver.size()) {
    Driver[At + Skip] = static_cast<char>(Driver[At + Skip] ^ 0x5A);
  }
  return Driver;
}

TEST_F(PreviewCommand, BadDriversAreRefusedWithoutOutput) {
  const std::string Driver = ReadBytes(THEME_DRIVER_EFI);
  ASSERT_FALSE(Driver.empty()) << "build the driver first";
  const struct {
    const char *Name;
    std::string Bytes;
    const char *Says;
  } Cases[] = {
      {"a driver without a package", ReadBytes(THEME_REFERENCE_HOST_EFI), "image package"},
      {"a package cut short", Driver.substr(0, Driver.find("\x89PNG") + 100), "image package"},
      {"an image whose header is damaged", DamagedDriver("IHDR", 6), "image"},
      {"an image whose data is damaged", DamagedDriver("IDAT", 40), "image"},
      {"not a driver at all", "{\"format\": \"theme-preview facts\"}", "image package"},
      {"an empty file", "", "image package"},
  };
  for (const auto &Case : Cases) {
    WriteBytes(Dir / "driver.efi", Case.Bytes);
    const Outcome Result = Preview({(Dir / "driver.efi").string(), "--out", (Dir / "sheet.png").string()});
    EXPECT_EQ(Result.Exit, 2) << Case.Name;
    EXPECT_NE(Result.Err.find(Case.Says), std::string::npos) << Case.Name << ": " << Result.Err;
    EXPECT_NE(Result.Err.find("driver.efi"), std::string::npos) << Case.Name << ": " << Result.Err;
    EXPECT_EQ(Files(), std::vector<std::string>{"driver.efi"}) << Case.Name;
  }
  const Outcome Missing = Preview({(Dir / "missing.efi").string(), "--out", (Dir / "sheet.png").string()});
  EXPECT_EQ(Missing.Exit, 2);
  EXPECT_NE(Missing.Err.find("missing.efi"), std::string::npos) << Missing.Err;
}

TEST_F(PreviewCommand, ComparisonExitsBySameOrDifferentAndRefusesOtherFacts) {
  Json Facts = {{"format", kFactsFormat}, {"version", kFactsVersion}, {"theme", {{"name", "T"}}},
                {"sheet", {{"file", "absent.png"}, {"pixels", "00"}}},
                {"palette", {"0xFF000000", "0xFFFFFFFF"}}, {"image_map", Json::object()},
                {"values", Json::object()}, {"images", Json::array()}, {"screens", Json::array()},
                {"style_rows", Json::array()}, {"areas", Json::object()}};
  WriteBytes(Dir / "old.json", Facts.dump());
  WriteBytes(Dir / "same.json", Facts.dump());
  Facts["palette"][1] = "0xFFFFFF00";
  WriteBytes(Dir / "new.json", Facts.dump());
  Json Other = Facts;
  Other["version"] = kFactsVersion + 1;
  WriteBytes(Dir / "other-version.json", Other.dump());
  Json Foreign = Facts;
  Foreign["format"] = "something else";
  WriteBytes(Dir / "foreign.json", Foreign.dump());
  Json Partial = Facts;
  Partial.erase("style_rows");
  WriteBytes(Dir / "partial.json", Partial.dump());
  WriteBytes(Dir / "broken.json", "{\"format\": ");
  const std::vector<std::string> Inputs = Files();

  const Outcome Same = Preview({"--compare", (Dir / "old.json").string(), (Dir / "same.json").string()});
  EXPECT_EQ(Same.Exit, 0);
  EXPECT_EQ(Same.Out, "no difference\n");
  EXPECT_EQ(Files(), Inputs);

  const Outcome Changed = Preview({"--compare", (Dir / "old.json").string(), (Dir / "new.json").string(), "--out",
                               (Dir / "diff.png").string()});
  EXPECT_EQ(Changed.Exit, 1);
  EXPECT_NE(Changed.Out.find("palette 1: 0xFFFFFFFF -> 0xFFFFFF00\n"), std::string::npos) << Changed.Out;
  EXPECT_TRUE(fs::exists(Dir / "diff.png"));
  fs::remove(Dir / "diff.png");

  const struct {
    const char *File;
    const char *Says;
  } Refused[] = {
      {"other-version.json", "version"},  {"foreign.json", "not theme-preview facts"},
      {"partial.json", "style_rows"},     {"broken.json", "not a JSON object"},
      {"missing.json", "missing.json"},
  };
  for (const auto &Case : Refused) {
    const Outcome Result = Preview({"--compare", (Dir / "old.json").string(), (Dir / Case.File).string()});
    EXPECT_EQ(Result.Exit, 2) << Case.File;
    EXPECT_NE(Result.Err.find(Case.Says), std::string::npos) << Case.File << ": " << Result.Err;
    EXPECT_EQ(Files(), Inputs) << Case.File;
  }
}

// Facts that are not shaped as the tool writes them (a hand-edited or
// damaged file) are refused with exit 2, never a crash, whichever part of
// the comparison or the drawing reaches the damage.
TEST_F(PreviewCommand, ComparisonRefusesMisshapenFacts) {
  const Json Facts = {{"format", kFactsFormat}, {"version", kFactsVersion}, {"theme", {{"name", "T"}}},
                      {"sheet", {{"file", "absent.png"}, {"pixels", "00"}}},
                      {"palette", {"0xFF000000"}}, {"image_map", {{"1", 1}}}, {"values", Json::object()},
                      {"images", {{{"id", 1}, {"format", "PNG"}, {"width", 2}, {"height", 2}, {"pixels", "aa"},
                                   {"host_ids", {1}}}}},
                      {"screens", {{{"size", "4x4"}, {"rects", {{0, 0, 1, 1}, {1, 1, 2, 2}}},
                                    {"layout_event", {0, 0, 1, 1}}, {"store", Json::array()},
                                    {"set_up_calls", Json::array()}, {"event_calls", Json::array()},
                                    {"pixels", "bb"}}}},
                      {"style_rows", {{{"row", "class 9"}, {"calls", {"Req(1, 0, 0)"}}}}},
                      {"areas", {{"image 1", {0, 0, 2, 2}}}}};
  WriteBytes(Dir / "old.json", Facts.dump());
  const struct {
    const char *Name;
    std::function<void(Json &)> Damage;
    const char *Says;
  } Cases[] = {
      {"an image without its format", [](Json &F) { F["images"][0].erase("format"); }, "not shaped"},
      {"a screen with fewer rectangles", [](Json &F) { F["screens"][0]["rects"].erase(1); }, "not shaped"},
      {"a style row without its calls", [](Json &F) { F["style_rows"][0].erase("calls"); }, "not shaped"},
      {"the same facts without the sheet's hash", [](Json &F) { F["sheet"].erase("pixels"); }, "not shaped"},
      {"a sheet that is not an object", [](Json &F) { F["palette"][0] = "0xFF0000FF"; F["sheet"] = 5; }, "sheet"},
      {"a sheet file that is not a name", [](Json &F) { F["palette"][0] = "0xFF0000FF"; F["sheet"]["file"] = 7; },
       "sheet"},
      {"an area of two numbers", [](Json &F) { F["images"][0]["pixels"] = "cc"; F["areas"]["image 1"] = {0, 0}; },
       "area"},
      {"an area of negative width",
       [](Json &F) { F["images"][0]["pixels"] = "cc"; F["areas"]["image 1"] = {0, 0, -5, 2}; }, "area"},
      {"an area beyond any sheet",
       [](Json &F) { F["images"][0]["pixels"] = "cc"; F["areas"]["image 1"] = {0, 0, 2, 1 << 30}; }, "area"},
  };
  for (const auto &Case : Cases) {
    Json Damaged = Facts;
    Case.Damage(Damaged);
    WriteBytes(Dir / "new.json", Damaged.dump());
    const std::vector<std::string> Inputs = Files();
    const Outcome Result = Preview({"--compare", (Dir / "old.json").string(), (Dir / "new.json").string(), "--out",
                                    (Dir / "diff.png").string()});
    EXPECT_EQ(Result.Exit, 2) << Case.Name << ": " << Result.Out;
    EXPECT_NE(Result.Err.find(Case.Says), std::string::npos) << Case.Name << ": " << Result.Err;
    EXPECT_EQ(Files(), Inputs) << Case.Name;
  }
}

TEST_F(PreviewCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> Cases = {
      {}, {"driver.efi"}, {"driver.efi", "--out"}, {"--out", "x.png", "driver.efi"}, {"--compare", "a.json"},
      {"--compare", "a.json", "b.json", "--out"}};
  for (const auto &Arguments : Cases) {
    const Outcome Result = Preview(Arguments);
    EXPECT_EQ(Result.Exit, 2);
    EXPECT_NE(Result.Err.find("usage"), std::string::npos);
  }
}

}  // namespace
}  // namespace preview
