// The four theme queries, called through the record as the host calls them.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "data/RangeText.h"
#include "data/ThemeQueries.h"
#include "data/ThemeTables.h"
#include "fakes/DriverState.h"

namespace {

class ThemeQueries : public ::testing::Test {
 protected:
  ThemeQueries() {
    Host.AttachTo(&mThemeProvider);
    for (int Index = 0; Index < THEME_RECT_COUNT; Index++) {
      TracePointerNames().Name(&mThemeRects[Index], "&mThemeRects[" + std::to_string(Index) + "]");
    }
  }
  FreshDriverState Fresh;
  RecordingHost Host;
};

TEST_F(ThemeQueries, ColoursAtTheEdgesAndOutside) {
  const struct {
    INT32 Index;
    UINT32 Colour;
  } Cases[] = {
      {0, 0xFFE5E2E1}, {1, 0xFFFF8333},   {26, 0x20404040},  {44, 0xF2363636},   {47, 0xFFECEDEE},
      {92, 0x00E4E4E4}, {103, 0xFFA1A1AA}, {104, 0xFFE5E2E1}, {108, 0xFFFF8333}, {115, 0xFFA1A1AA},
      {116, 0},         {-1, 0},           {INT_MIN, 0},      {INT_MAX, 0},
  };
  for (const auto &Case : Cases) {
    EXPECT_EQ(mThemeProvider.GetColor(Case.Index), Case.Colour) << "index " << Case.Index;
  }
  EXPECT_TRUE(Host.Calls().empty());
}

TEST_F(ThemeQueries, ZeroEntriesReadLikeAnIndexOutOfRange) {
  const std::set<INT32> Zero = {28, 51, 61, 64, 65, 81, 82, 83, 84, 85, 86, 99, 107};
  for (INT32 Index = 0; Index < THEME_COLOR_COUNT; Index++) {
    EXPECT_EQ(mThemeProvider.GetColor(Index) == 0, Zero.count(Index) == 1) << "index " << Index;
    // The record's field and the operation itself agree everywhere.
    EXPECT_EQ(mThemeProvider.GetColor(Index), ThemeGetColor(Index));
  }
}

// The image map exactly as it is written for designers: four column pairs
// of "host ids | theme ids", read down each pair.
const char kImageMapText[] = R"(
1 8 | 9-12 1-4 | 20-22 5-7 | 776 9 | 778-779 95-96 | 808-811 10-13 | 818-820 97-99 | 828-829 14 |
830-831 16-17 | 832 15 | 838-839 18-19 | 848 56 | 849 20 | 1039-1042 21-24 | 1049-1050 25-26 |
1054-1056 27-29 | 1104-1108 30-34 | 1114-1115 35-36 | 1281-1283 37-39 | 1285 40 |
1291-1292 41-42 | 1330 43 | 1537-1542 45-50 | 1544-1545 51-52 | 1852 53 | 1854 54 | 1857 55 |
1862 57 | 2049 59 | 2053-2055 60-62 | 2059 64 | 2110 76 | 2228-2236 65-73 | 2237 58 |
2238-2239 74-75 | 2241-2242 77-78 | 2314-2315 79-80 | 2324-2325 81-82 | 2334-2335 83-84 |
2354-2355 87-88 | 2364-2365 79-80 | 2374-2375 87-88 | 2384-2385 85-86 | 2569-2571 89-91 |
2590 92 | 2611 93 | 2630 94 | 2818-2820 100-102 | 2826 103 | 2828-2829 104-105 |
2836-2837 106-107 | 2850-2852 108-110 | 2856-2861 111-116 | 2866-2872 117-123 | 3083-3084 125 |
3092-3097 126-131 | 3103-3104 132-133 | 3192-3193 124 | 3594-3603 134-143 | 4608 144 |
4609 158 | 4610 157 | 4611 159 | 4618 63 | 4619 146 | 4620 145 | 4621 147 | 4629 150 | 4630 149 |
4631 151 | 4639 154 | 4640 153 | 4641 155 | 4649-4650 162-163 | 4651 161 | 4652 164 | 4661 165 |
)";

std::map<UINT32, UINT32> ExpectedImageMap() {
  std::map<UINT32, UINT32> Map;
  std::istringstream Stream(kImageMapText);
  std::string Hosts, Themes, Bar;
  while (Stream >> Hosts >> Themes >> Bar) {
    const auto [FirstHost, LastHost] = ParseRange(Hosts);
    const auto [FirstTheme, LastTheme] = ParseRange(Themes);
    for (UINT32 Host = FirstHost; Host <= LastHost; Host++) {
      Map[Host] = FirstTheme == LastTheme ? FirstTheme : FirstTheme + (Host - FirstHost);
    }
  }
  return Map;
}

TEST_F(ThemeQueries, EveryHostImageIdMapsAsWrittenAndEveryOtherIdMisses) {
  const std::map<UINT32, UINT32> Expected = ExpectedImageMap();
  ASSERT_EQ(Expected.size(), 167u);
  for (UINT32 HostId = 0; HostId <= 70000; HostId++) {
    const auto Found = Expected.find(HostId);
    ASSERT_EQ(mThemeProvider.MapImage(HostId), Found == Expected.end() ? 0u : Found->second) << "host " << HostId;
  }
  for (UINT32 HostId : {0x10000u + 1u, 0x10000u + 4661u, 0x7FFFFFFFu, 0x80000001u, 0xFFFFFFFFu}) {
    EXPECT_EQ(mThemeProvider.MapImage(HostId), 0u) << "host " << HostId;
  }
  EXPECT_TRUE(Host.Calls().empty());
}

TEST_F(ThemeQueries, ImageMapCoversAllButEightThemeImages) {
  std::map<UINT32, std::set<UINT32>> HostsOf;
  for (UINT32 HostId = 0; HostId <= 5000; HostId++) {
    if (UINTN Theme = mThemeProvider.MapImage(HostId)) {
      HostsOf[Theme].insert(HostId);
    }
  }
  std::set<UINT32> Unmapped;
  for (UINT32 Theme = 1; Theme <= THEME_IMAGE_COUNT; Theme++) {
    if (HostsOf.count(Theme) == 0) {
      Unmapped.insert(Theme);
    }
  }
  EXPECT_EQ(Unmapped, (std::set<UINT32>{44, 148, 152, 156, 160, 166, 167, 168}));
  const std::map<UINT32, std::set<UINT32>> Shared = {
      {14, {828, 829}},   {79, {2314, 2364}},  {80, {2315, 2365}},  {87, {2354, 2374}},
      {88, {2355, 2375}}, {124, {3192, 3193}}, {125, {3083, 3084}},
  };
  for (const auto &[Theme, Hosts] : HostsOf) {
    if (Hosts.size() > 1) {
      EXPECT_EQ(Shared.count(Theme), 1u) << "theme image " << Theme << " serves several host ids";
    }
  }
  for (const auto &[Theme, Hosts] : Shared) {
    EXPECT_EQ(HostsOf[Theme], Hosts) << "theme image " << Theme;
  }
}

TEST_F(ThemeQueries, ValuesAndDefaults) {
  const struct {
    INT32 Id;
    UINT64 Default;
    UINT64 Value;
  } Cases[] = {
      {3, 7, 16},     {4, 7, 666},    {5, 7, 552},    {6, 7, 16},     {7, 7, 296},     {8, 7, 280},
      {10, 7, 1},     {29, 7, 1},     {30, 7, 1},     {32, 7, 552},   {33, 7, 276},    {18, 1, 0xFF1A1C1EFF1A1C1EULL},
      {18, 2, 2},     {18, 0, 0},     {9, 77, 77},    {-1, 5, 5},     {0, 9, 9},       {1, 9, 9},
      {2, 9, 9},      {11, 9, 9},     {31, 9, 9},     {35, 9, 9},     {INT_MIN, 4, 4}, {INT_MAX, 4, 4},
      {3 + 256, 8, 8}, {-34, 6, 6},
  };
  for (const auto &Case : Cases) {
    EXPECT_EQ(mThemeProvider.GetValue(Case.Id, Case.Default), Case.Value) << "id " << Case.Id;
  }
  EXPECT_TRUE(Host.Calls().empty()) << "only id 34 reaches the host";
}

TEST_F(ThemeQueries, ValueThirtyFourHandsThePointerToAdjustRect) {
  UINT8 Opaque[4] = {1, 2, 3, 4};
  TracePointerNames().Name(Opaque, "p");

  EXPECT_EQ(mThemeProvider.GetValue(34, reinterpret_cast<UINT64>(Opaque)), 0u);
  EXPECT_EQ(mThemeProvider.GetValue(34, 0), 0u);

  EXPECT_EQ(Host.Calls(), (Trace{"AdjustRect(p, 0, 12) -> 0", "AdjustRect(null, 0, 12) -> 0"}));
  EXPECT_EQ(Opaque[0] + Opaque[1] + Opaque[2] + Opaque[3], 10) << "the plug-in does not touch it";
}

TEST_F(ThemeQueries, EveryRectangleIsScaledByTheHost) {
  // X, Y, Width, Height in design units; the fake host scales 1:1.
  const THEME_RECT Expected[THEME_RECT_COUNT] = {
      {0, 0, 1920, 1080},  {1560, 0, 360, 88}, {1418, 158, 502, 834}, {776, 977, 1144, 103},
      {40, 194, 1220, 620}, {0, 0, 1920, 158}, {0, 1028, 203, 53},    {0, 949, 512, 131},
      {100, 906, 892, 144}, {188, 555, 600, 338},
  };
  Trace ExpectedCalls;
  for (INT32 Index = 0; Index < THEME_RECT_COUNT; Index++) {
    HOST_RECT Buffer{};
    TracePointerNames().Name(&Buffer, "buffer");
    EXPECT_EQ(mThemeProvider.GetRect(Index, &Buffer), EFI_SUCCESS);
    const THEME_RECT &Want = Expected[Index];
    EXPECT_EQ(Buffer.Left, Want.X);
    EXPECT_EQ(Buffer.Top, Want.Y);
    EXPECT_EQ(Buffer.Right, Want.X + Want.Width);
    EXPECT_EQ(Buffer.Bottom, Want.Y + Want.Height) << "rectangle " << Index;
    ExpectedCalls.push_back("ScaleRect(buffer, &mThemeRects[" + std::to_string(Index) + "]) -> 0");
  }
  EXPECT_EQ(Host.Calls(), ExpectedCalls);
}

TEST_F(ThemeQueries, InvalidRectangleRequestsNeverReachTheHost) {
  HOST_RECT Buffer{7, 7, 7, 7};
  const struct {
    INT32 Index;
    VOID *Buffer;
  } Cases[] = {{10, &Buffer}, {-1, &Buffer}, {INT_MIN, &Buffer}, {INT_MAX, &Buffer}, {0, nullptr}, {-1, nullptr}};
  for (const auto &Case : Cases) {
    EXPECT_EQ(mThemeProvider.GetRect(Case.Index, Case.Buffer), EFI_INVALID_PARAMETER) << "index " << Case.Index;
  }
  EXPECT_TRUE(Host.Calls().empty());
  EXPECT_EQ(Buffer.Left + Buffer.Top + Buffer.Right + Buffer.Bottom, 28) << "buffer left untouched";
}

TEST_F(ThemeQueries, HostPointersAreReadAfreshAtEveryCall) {
  RecordingHost::Active().ClearCalls();
  HOST_RECT Buffer{};
  mThemeProvider.GetRect(0, &Buffer);
  HOST_SERVICES_TABLE Moved = Host.Services;  // the host moves its table
  mThemeProvider.ServiceTable = &Moved;
  Moved.ScaleRect = Host.Services.ScaleRect;
  Host.Services.ScaleRect = nullptr;  // a stale copy would crash here
  mThemeProvider.GetRect(1, &Buffer);
  EXPECT_EQ(Host.Calls().size(), 2u);
}

}  // namespace
