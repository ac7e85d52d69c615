// The main-screen set-up as the host drives it: a type-1 notification
// through the record, against a host that holds every image the set-up
// looks up, and the theme's button images at their packaged sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/DriverState.h"
#include "screen/Screen.h"

namespace {

constexpr UINT32 kNotifyMainScreen = 1;

// Every host image the set-up looks up, each shown as img<id>.
constexpr UINT32 kHostImages[] = {877,  1039, 3694, 3695, 876,  1049, 1046, 1050, 1047, 2198, 2199, 2200, 2201,
                                  2202, 2203, 2204, 2205, 2206, 2207, 2208, 2209, 2210, 2098, 2099, 2100, 2101,
                                  2102, 2103, 2104, 2105, 2106, 2107, 2108, 2109, 2110, 2228, 2229, 2230, 2231,
                                  2232, 2233, 2234, 2235, 2236, 2237, 2238, 2239, 2240, 808,  809,  810,  811};

// Steps one to nine with a 12 x 12 reference image 1039: both panels are
// 12 x 36 and the dark fill covers the 6 x 30 inside the 3-pixel frame.
const std::string kHostImageSteps = R"(
    GetImageSlot(877) -> img877
    AllocImage(img877, 48, 40) -> 0
    FillImage(img877, null, 0xFF666F75) -> 0
    GetImage(1039) -> img1039
    GetImageSlot(3694) -> img3694
    AllocImage(img3694, 12, 36) -> 0
    FillImage(img3694, null, 0xFF615B58) -> 0
    GetImageSlot(3695) -> img3695
    AllocImage(img3695, 12, 36) -> 0
    SetRect(ptr, 0, 0, 12, 36) -> 0
    InflateRect({0, 0, 12, 36}, -3, -3) -> 0
    FillImage(img3695, {3, 3, 9, 33}, 0xFF1E1B1A) -> 0
    RefreshImages() -> 0
    GetImageSlot(876) -> img876
    AllocImage(img876, 25, 25) -> 0
    FillImage(img876, null, 0xFFDDDDDD) -> 0
    GetImage(1049) -> img1049
    GetImageSlot(1046) -> img1046
    CopyImage(img1046, img1049) -> 0
    GetImage(1050) -> img1050
    GetImageSlot(1047) -> img1047
    CopyImage(img1047, img1050) -> 0
    GetImage(2228) -> img2228
    GetImageSlot(2198) -> img2198
    CopyImageInto(img2198, img2228) -> 0
    SetImageColor(2198, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2098) -> img2098
    CopyImageInto(img2098, img2228) -> 0
    SetImageColor(2098, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2229) -> img2229
    GetImageSlot(2199) -> img2199
    CopyImageInto(img2199, img2229) -> 0
    SetImageColor(2199, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2099) -> img2099
    CopyImageInto(img2099, img2229) -> 0
    SetImageColor(2099, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2230) -> img2230
    GetImageSlot(2200) -> img2200
    CopyImageInto(img2200, img2230) -> 0
    SetImageColor(2200, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2100) -> img2100
    CopyImageInto(img2100, img2230) -> 0
    SetImageColor(2100, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2231) -> img2231
    GetImageSlot(2201) -> img2201
    CopyImageInto(img2201, img2231) -> 0
    SetImageColor(2201, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2101) -> img2101
    CopyImageInto(img2101, img2231) -> 0
    SetImageColor(2101, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2232) -> img2232
    GetImageSlot(2202) -> img2202
    CopyImageInto(img2202, img2232) -> 0
    SetImageColor(2202, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2102) -> img2102
    CopyImageInto(img2102, img2232) -> 0
    SetImageColor(2102, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2233) -> img2233
    GetImageSlot(2203) -> img2203
    CopyImageInto(img2203, img2233) -> 0
    SetImageColor(2203, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2103) -> img2103
    CopyImageInto(img2103, img2233) -> 0
    SetImageColor(2103, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2234) -> img2234
    GetImageSlot(2204) -> img2204
    CopyImageInto(img2204, img2234) -> 0
    SetImageColor(2204, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2104) -> img2104
    CopyImageInto(img2104, img2234) -> 0
    SetImageColor(2104, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2235) -> img2235
    GetImageSlot(2205) -> img2205
    CopyImageInto(img2205, img2235) -> 0
    SetImageColor(2205, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2105) -> img2105
    CopyImageInto(img2105, img2235) -> 0
    SetImageColor(2105, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2236) -> img2236
    GetImageSlot(2206) -> img2206
    CopyImageInto(img2206, img2236) -> 0
    SetImageColor(2206, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2106) -> img2106
    CopyImageInto(img2106, img2236) -> 0
    SetImageColor(2106, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2237) -> img2237
    GetImageSlot(2207) -> img2207
    CopyImageInto(img2207, img2237) -> 0
    SetImageColor(2207, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2107) -> img2107
    CopyImageInto(img2107, img2237) -> 0
    SetImageColor(2107, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2238) -> img2238
    GetImageSlot(2208) -> img2208
    CopyImageInto(img2208, img2238) -> 0
    SetImageColor(2208, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2108) -> img2108
    CopyImageInto(img2108, img2238) -> 0
    SetImageColor(2108, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2239) -> img2239
    GetImageSlot(2209) -> img2209
    CopyImageInto(img2209, img2239) -> 0
    SetImageColor(2209, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2109) -> img2109
    CopyImageInto(img2109, img2239) -> 0
    SetImageColor(2109, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(2240) -> img2240
    GetImageSlot(2210) -> img2210
    CopyImageInto(img2210, img2240) -> 0
    SetImageColor(2210, 0xFFFFFFFF, 0xFFFF8333) -> 0
    GetImageSlot(2110) -> img2110
    CopyImageInto(img2110, img2240) -> 0
    SetImageColor(2110, 0xFFFFFFFF, 0xFFE5E2E1) -> 0
    GetImage(808) -> img808
    GetImage(809) -> img809
    GetImage(810) -> img810
    GetImage(811) -> img811

)";

// The packaged sizes: 280 x 46 loses one column each side and two rows,
// 400 x 60 two columns each side and four rows.
const std::string kFirstTrims = R"(
    AllocImage(ptr, 278, 44) -> 0
    BlitImage(ptr, ThemeImage(27), 0, 0, 1, 0, 278, 44, 0, null) -> 0
    FreeImage(ThemeImage(27)) -> 0
    CopyBuffer(ThemeImage(27), ptr, 32) -> 0
    AllocImage(ptr, 278, 44) -> 0
    BlitImage(ptr, ThemeImage(28), 0, 0, 1, 0, 278, 44, 0, null) -> 0
    FreeImage(ThemeImage(28)) -> 0
    CopyBuffer(ThemeImage(28), ptr, 32) -> 0
    AllocImage(ptr, 278, 44) -> 0
    BlitImage(ptr, ThemeImage(29), 0, 0, 1, 0, 278, 44, 0, null) -> 0
    FreeImage(ThemeImage(29)) -> 0
    CopyBuffer(ThemeImage(29), ptr, 32) -> 0
    AllocImage(ptr, 396, 56) -> 0
    BlitImage(ptr, ThemeImage(30), 0, 0, 2, 0, 396, 56, 0, null) -> 0
    FreeImage(ThemeImage(30)) -> 0
    CopyBuffer(ThemeImage(30), ptr, 32) -> 0
    AllocImage(ptr, 396, 56) -> 0
    BlitImage(ptr, ThemeImage(31), 0, 0, 2, 0, 396, 56, 0, null) -> 0
    FreeImage(ThemeImage(31)) -> 0
    CopyBuffer(ThemeImage(31), ptr, 32) -> 0
    AllocImage(ptr, 396, 56) -> 0
    BlitImage(ptr, ThemeImage(32), 0, 0, 2, 0, 396, 56, 0, null) -> 0
    FreeImage(ThemeImage(32)) -> 0
    CopyBuffer(ThemeImage(32), ptr, 32) -> 0
    AllocImage(ptr, 396, 56) -> 0
    BlitImage(ptr, ThemeImage(33), 0, 0, 2, 0, 396, 56, 0, null) -> 0
    FreeImage(ThemeImage(33)) -> 0
    CopyBuffer(ThemeImage(33), ptr, 32) -> 0
    AllocImage(ptr, 396, 56) -> 0
    BlitImage(ptr, ThemeImage(34), 0, 0, 2, 0, 396, 56, 0, null) -> 0
    FreeImage(ThemeImage(34)) -> 0
    CopyBuffer(ThemeImage(34), ptr, 32) -> 0
)";

// Again on the trimmed sizes, the threshold applied to them.
const std::string kSecondTrims = R"(
    AllocImage(ptr, 276, 42) -> 0
    BlitImage(ptr, ThemeImage(27), 0, 0, 1, 0, 276, 42, 0, null) -> 0
    FreeImage(ThemeImage(27)) -> 0
    CopyBuffer(ThemeImage(27), ptr, 32) -> 0
    AllocImage(ptr, 276, 42) -> 0
    BlitImage(ptr, ThemeImage(28), 0, 0, 1, 0, 276, 42, 0, null) -> 0
    FreeImage(ThemeImage(28)) -> 0
    CopyBuffer(ThemeImage(28), ptr, 32) -> 0
    AllocImage(ptr, 276, 42) -> 0
    BlitImage(ptr, ThemeImage(29), 0, 0, 1, 0, 276, 42, 0, null) -> 0
    FreeImage(ThemeImage(29)) -> 0
    CopyBuffer(ThemeImage(29), ptr, 32) -> 0
    AllocImage(ptr, 394, 54) -> 0
    BlitImage(ptr, ThemeImage(30), 0, 0, 1, 0, 394, 54, 0, null) -> 0
    FreeImage(ThemeImage(30)) -> 0
    CopyBuffer(ThemeImage(30), ptr, 32) -> 0
    AllocImage(ptr, 394, 54) -> 0
    BlitImage(ptr, ThemeImage(31), 0, 0, 1, 0, 394, 54, 0, null) -> 0
    FreeImage(ThemeImage(31)) -> 0
    CopyBuffer(ThemeImage(31), ptr, 32) -> 0
    AllocImage(ptr, 394, 54) -> 0
    BlitImage(ptr, ThemeImage(32), 0, 0, 1, 0, 394, 54, 0, null) -> 0
    FreeImage(ThemeImage(32)) -> 0
    CopyBuffer(ThemeImage(32), ptr, 32) -> 0
    AllocImage(ptr, 394, 54) -> 0
    BlitImage(ptr, ThemeImage(33), 0, 0, 1, 0, 394, 54, 0, null) -> 0
    FreeImage(ThemeImage(33)) -> 0
    CopyBuffer(ThemeImage(33), ptr, 32) -> 0
    AllocImage(ptr, 394, 54) -> 0
    BlitImage(ptr, ThemeImage(34), 0, 0, 1, 0, 394, 54, 0, null) -> 0
    FreeImage(ThemeImage(34)) -> 0
    CopyBuffer(ThemeImage(34), ptr, 32) -> 0
)";

// A fresh driver and a host with all of the above.
struct ScreenBench {
  ScreenBench() {
    Host.AttachTo(&mThemeProvider);
    for (UINT32 Id : kHostImages) {
      Host.Image(Id) = THEME_IMAGE{};
      Host.Name(&Host.Image(Id), "img" + std::to_string(Id));
    }
    Host.Image(1039).Width = 12;
    Host.Image(1039).Height = 12;
    for (UINT32 Id = 27; Id <= 34; Id++) {
      Host.ImageTable[Id].Width = Id <= 29 ? 280 : 400;
      Host.ImageTable[Id].Height = Id <= 29 ? 46 : 60;
    }
  }
  FreshDriverState Fresh;
  RecordingHost Host;
};

class MainScreen : public ::testing::Test, protected ScreenBench {};

// The expected trace with whole lines replaced; an empty replacement
// removes the line.
std::string Edited(std::string Lines, const std::vector<std::pair<std::string, std::string>> &Edits) {
  for (const auto &[Old, New] : Edits) {
    const std::string Line = "    " + Old + "\n";
    const size_t At = Lines.find(Line);
    EXPECT_NE(At, std::string::npos) << Old;
    if (At != std::string::npos) {
      Lines.replace(At, Line.size(), New.empty() ? "" : "    " + New + "\n");
    }
  }
  return Lines;
}

TEST_F(MainScreen, TwoNotificationsRepeatEveryStepAndTrimTheTrimmedImagesAgain) {
  EXPECT_EQ(mThemeProvider.Notify(kNotifyMainScreen), EFI_SUCCESS);
  EXPECT_TRACE(Host, kHostImageSteps + kFirstTrims);
  for (UINT32 Id = 27; Id <= 34; Id++) {
    EXPECT_EQ(Host.ImageTable[Id].Width, Id <= 29 ? 278u : 396u) << Id;
    EXPECT_EQ(Host.ImageTable[Id].Height, Id <= 29 ? 44u : 56u) << Id;
  }

  Host.ClearCalls();
  EXPECT_EQ(mThemeProvider.Notify(kNotifyMainScreen), EFI_SUCCESS);
  EXPECT_TRACE(Host, kHostImageSteps + kSecondTrims);
  for (UINT32 Id = 27; Id <= 34; Id++) {
    EXPECT_EQ(Host.ImageTable[Id].Width, Id <= 29 ? 276u : 394u) << Id;
    EXPECT_EQ(Host.ImageTable[Id].Height, Id <= 29 ? 42u : 54u) << Id;
  }
  EXPECT_EQ(Host.ImageTable[26].Width, 0u) << "neighbours untouched";
  EXPECT_EQ(Host.ImageTable[35].Width, 0u) << "neighbours untouched";
}

TEST_F(MainScreen, ModeBytesAreWrittenOnTheSwatchesAndTheFourSharedImagesOnly) {
  for (UINT32 Id : kHostImages) {
    Host.Image(Id).Mode = 9;
  }
  mThemeProvider.Notify(kNotifyMainScreen);
  for (UINT32 Id : kHostImages) {
    const UINT8 Expected = Id == 877 || Id == 876 ? 1 : Id >= 808 && Id <= 811 ? 4 : 9;
    EXPECT_EQ(Host.Image(Id).Mode, Expected) << Id;
  }
}

// The palette is reached through the record, as the host reaches it, and
// asked again for every tint.
std::vector<INT32> gColorsAsked;
UINT32 EFIAPI CountingGetColor(INT32 Index) {
  gColorsAsked.push_back(Index);
  return 0xC0DE0000u + static_cast<UINT32>(gColorsAsked.size());
}

TEST_F(MainScreen, EveryTintAsksTheRecordForItsColourAnew) {
  gColorsAsked.clear();
  mThemeProvider.GetColor = &CountingGetColor;
  mThemeProvider.Notify(kNotifyMainScreen);
  std::vector<INT32> Expected;
  for (int Pass = 0; Pass < 13; Pass++) {
    Expected.insert(Expected.end(), {108, 104});
  }
  EXPECT_EQ(gColorsAsked, Expected);
  std::vector<std::string> Tints;
  for (const std::string &Line : Host.Calls()) {
    if (Line.starts_with("SetImageColor(")) {
      Tints.push_back(Line);
    }
  }
  ASSERT_EQ(Tints.size(), 26u);
  EXPECT_EQ(Tints[0], "SetImageColor(2198, 0xFFFFFFFF, 0xC0DE0001) -> 0");
  EXPECT_EQ(Tints[1], "SetImageColor(2098, 0xFFFFFFFF, 0xC0DE0002) -> 0");
  EXPECT_EQ(Tints[25], "SetImageColor(2110, 0xFFFFFFFF, 0xC0DE001A) -> 0");
}

// The host may lack an image. For 808 to 811 the set-up expects that; for
// the others it skips the one step that needs the image and goes on.
TEST(MainScreenMissingImages, OnlyTheStepThatNeedsTheImageIsSkipped) {
  const struct {
    const char *Missing;
    UINT32 Withheld;
    std::vector<std::pair<std::string, std::string>> Edits;
  } Cases[] = {
      {"one of the shared images", 810, {{"GetImage(810) -> img810", "GetImage(810) -> null"}}},
      {"reference image: no panels",
       1039,
       {{"GetImage(1039) -> img1039", "GetImage(1039) -> null"},
        {"GetImageSlot(3694) -> img3694", ""},
        {"AllocImage(img3694, 12, 36) -> 0", ""},
        {"FillImage(img3694, null, 0xFF615B58) -> 0", ""},
        {"GetImageSlot(3695) -> img3695", ""},
        {"AllocImage(img3695, 12, 36) -> 0", ""},
        {"SetRect(ptr, 0, 0, 12, 36) -> 0", ""},
        {"InflateRect({0, 0, 12, 36}, -3, -3) -> 0", ""},
        {"FillImage(img3695, {3, 3, 9, 33}, 0xFF1E1B1A) -> 0", ""}}},
      {"swatch slot",
       877,
       {{"GetImageSlot(877) -> img877", "GetImageSlot(877) -> null"},
        {"AllocImage(img877, 48, 40) -> 0", ""},
        {"FillImage(img877, null, 0xFF666F75) -> 0", ""}}},
      {"panel slot",
       3695,
       {{"GetImageSlot(3695) -> img3695", "GetImageSlot(3695) -> null"},
        {"AllocImage(img3695, 12, 36) -> 0", ""},
        {"SetRect(ptr, 0, 0, 12, 36) -> 0", ""},
        {"InflateRect({0, 0, 12, 36}, -3, -3) -> 0", ""},
        {"FillImage(img3695, {3, 3, 9, 33}, 0xFF1E1B1A) -> 0", ""}}},
      {"copy source", 1050, {{"GetImage(1050) -> img1050", "GetImage(1050) -> null"}, {"CopyImage(img1047, img1050) -> 0", ""}}},
      {"copy destination",
       1046,
       {{"GetImageSlot(1046) -> img1046", "GetImageSlot(1046) -> null"}, {"CopyImage(img1046, img1049) -> 0", ""}}},
      {"tinted copies' source: both copies skipped, both tints kept",
       2240,
       {{"GetImage(2240) -> img2240", "GetImage(2240) -> null"},
        {"CopyImageInto(img2210, img2240) -> 0", ""},
        {"CopyImageInto(img2110, img2240) -> 0", ""}}},
      {"tinted copy's slot",
       2105,
       {{"GetImageSlot(2105) -> img2105", "GetImageSlot(2105) -> null"}, {"CopyImageInto(img2105, img2235) -> 0", ""}}},
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(Case.Missing);
    ScreenBench Bench;
    Bench.Host.Withhold(Case.Withheld);
    EXPECT_EQ(mThemeProvider.Notify(kNotifyMainScreen), EFI_SUCCESS);
    EXPECT_TRACE(Bench.Host, Edited(kHostImageSteps, Case.Edits) + kFirstTrims);
  }
}

// Trimming follows the entry's size at the time: 400 and more lose 4 pixels
// each way, less than 400 lose 2; an entry smaller than that is kept.
TEST(TrimImageBorder, TakesTwoOrFourPixelsByTheWidthItFinds) {
  const struct {
    UINT32 Width, Height;
    UINT32 WidthAfter, HeightAfter;
    const char *Calls;
  } Cases[] = {
      {400, 60, 396, 56, R"(
        AllocImage(ptr, 396, 56) -> 0
        BlitImage(ptr, ThemeImage(30), 0, 0, 2, 0, 396, 56, 0, null) -> 0
        FreeImage(ThemeImage(30)) -> 0
        CopyBuffer(ThemeImage(30), ptr, 32) -> 0
      )"},
      {399, 60, 397, 58, R"(
        AllocImage(ptr, 397, 58) -> 0
        BlitImage(ptr, ThemeImage(30), 0, 0, 1, 0, 397, 58, 0, null) -> 0
        FreeImage(ThemeImage(30)) -> 0
        CopyBuffer(ThemeImage(30), ptr, 32) -> 0
      )"},
      {2, 2, 0, 0, R"(
        AllocImage(ptr, 0, 0) -> 0
        BlitImage(ptr, ThemeImage(30), 0, 0, 1, 0, 0, 0, 0, null) -> 0
        FreeImage(ThemeImage(30)) -> 0
        CopyBuffer(ThemeImage(30), ptr, 32) -> 0
      )"},
      {1, 60, 1, 60, ""},
      {280, 1, 280, 1, ""},
      {402, 3, 402, 3, ""},
      {0x80000000, 60, 0x80000000, 60, ""},  // negative as a signed width: narrower than any trim
  };
  for (const auto &Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.Width << " x " << Case.Height);
    FreshDriverState Fresh;
    RecordingHost Host;
    Host.AttachTo(&mThemeProvider);
    Host.ImageTable[30] = THEME_IMAGE{Case.Width, Case.Height, {}, 7, {}};
    TrimImageBorder(30);
    EXPECT_TRACE(Host, Case.Calls);
    EXPECT_EQ(Host.ImageTable[30].Width, Case.WidthAfter);
    EXPECT_EQ(Host.ImageTable[30].Height, Case.HeightAfter);
  }
}

}  // namespace
