// Every row of the palette and the value table, held from outside the
// driver's own tables: a wrong value in any single row fails here.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <sstream>
#include <string>

#include "data/RangeText.h"
#include "data/ThemeQueries.h"

namespace {

// The palette written the other way round: each colour with every index
// that holds it, so that no row of the driver's table is copied here.
const struct {
  UINT32 Colour;
  const char *Indices;
} kPaletteByColour[] = {
    {0xFFE5E2E1, "0 5 7 32 39 41 46 54 57-58 62-63 66 69-70 76 87-91 93 96 98 104 109 112"},
    {0xFFFF8333, "1-3 6 10 12 25 33 35 49 52 55 68 71-73 77 80 94-95 102 108"},
    {0xFF707070, "4"},
    {0xFF959595, "8 50 53"},
    {0xFF808080, "9 24 105"},
    {0xFFFFFFFF, "11 48 97 106 110"},
    {0xFF52525B, "13-15"},
    {0xFFF4F4F5, "16-18 22-23 34 36 100 113-114"},
    {0xFF9DA4A9, "19 111"},
    {0xFF323639, "20 42"},
    {0xFF18181B, "21"},
    {0x20404040, "26"},
    {0x80FF8333, "27"},
    {0x00000000, "28 51 61 64-65 81-86 99 107"},
    {0xFF404040, "29 78-79"},
    {0xFF000000, "30-31 43"},
    {0xFFE2FF9B, "37"},
    {0xFFA0A0A0, "38"},
    {0xFF666F75, "40"},
    {0xF2363636, "44"},
    {0xF80A0300, "45 75"},
    {0xFFECEDEE, "47"},
    {0xA8FFD800, "56"},
    {0xFF1A1C1E, "59-60"},
    {0xFFF2F2DA, "67"},
    {0xFFE4E4E4, "74"},
    {0x00E4E4E4, "92"},
    {0xFF27272A, "101"},
    {0xFFA1A1AA, "103 115"},
};

std::map<INT32, UINT32> ExpectedPalette() {
  std::map<INT32, UINT32> Palette;
  for (const auto &Row : kPaletteByColour) {
    std::istringstream Stream(Row.Indices);
    std::string Run;
    while (Stream >> Run) {
      const auto [First, Last] = ParseRange(Run);
      for (INT32 Index = (INT32)First; Index <= (INT32)Last; Index++) {
        EXPECT_TRUE(Palette.emplace(Index, Row.Colour).second) << "index " << Index << " listed twice";
      }
    }
  }
  return Palette;
}

TEST(ThemeTableRows, EveryPaletteEntryHoldsItsColour) {
  const std::map<INT32, UINT32> Palette = ExpectedPalette();
  ASSERT_EQ(Palette.size(), 116u);
  ASSERT_EQ(Palette.rbegin()->first, 115) << "indices run 0..115 without a gap";
  for (INT32 Index = -300; Index <= 300; Index++) {
    const auto Found = Palette.find(Index);
    EXPECT_EQ(ThemeGetColor(Index), Found == Palette.end() ? 0u : Found->second) << "index " << Index;
  }
  for (INT32 Index : {INT_MIN, INT_MIN + 1, -65536 + 3, 65536 + 3, INT_MAX}) {
    EXPECT_EQ(ThemeGetColor(Index), 0u) << "index " << Index;
  }
}

// Id 18 and id 34 are the table's odd rows; the queries test holds them.
TEST(ThemeTableRows, EveryValueIdAnswersItsValueAndEveryOtherIdTheDefault) {
  const std::map<INT32, UINT64> Values = {
      {3, 16}, {4, 666}, {5, 552}, {6, 16}, {7, 296}, {8, 280}, {10, 1}, {29, 1}, {30, 1}, {32, 552}, {33, 276},
  };
  constexpr INT32 AdjustRectId = 34;
  constexpr INT32 PanelColourId = 18;
  for (INT32 Id = -300; Id <= 300; Id++) {
    if (Id == AdjustRectId) {
      continue;
    }
    for (UINT64 Default : {UINT64{0}, UINT64{1}, UINT64{0x8000000000000007}}) {
      const auto Found = Values.find(Id);
      UINT64 Expected = Found == Values.end() ? Default : Found->second;
      if (Id == PanelColourId && Default == 1) {
        Expected = 0xFF1A1C1EFF1A1C1EULL;
      }
      EXPECT_EQ(ThemeGetValue(Id, Default), Expected) << "id " << Id << ", default " << Default;
    }
  }
}

}  // namespace
