// The record as the host finds it in the loaded image, before and after the
// host writes its pointers.
#include <gtest/gtest.h>

#include "data/ThemeQueries.h"
#include "fakes/DriverState.h"
#include "screen/Screen.h"
#include "style/Style.h"

namespace {

TEST(ThemeProviderRecord, HoldsItsLoadTimeValues) {
  const char16_t Expected[THEME_NAME_LENGTH] = u"Harbor Slate";
  EXPECT_EQ(memcmp(mThemeProvider.Name, Expected, sizeof(Expected)), 0) << "twelve characters, zeros after";
  EXPECT_EQ(mThemeProvider.Name[12], 0);
  EXPECT_EQ(mThemeProvider.Version, 40u);
  EXPECT_EQ(mThemeProvider.Signature, 0x454D4854u);
  EXPECT_EQ(memcmp(&mThemeProvider.Signature, "THME", 4), 0);
  EXPECT_EQ(mThemeProvider.ImageHandle, nullptr);
  EXPECT_EQ(mThemeProvider.Reserved1, 0u);
  EXPECT_EQ(mThemeProvider.ImageTable, nullptr);
  EXPECT_EQ(mThemeProvider.ThemeInfo, 167u);
  EXPECT_EQ(mThemeProvider.UiTable, nullptr);
  EXPECT_EQ(mThemeProvider.ServiceTable, nullptr);
  EXPECT_EQ(mThemeProvider.Reserved2, 0u);
}

TEST(ThemeProviderRecord, OperationsSitInSlotOrder) {
  EXPECT_EQ(mThemeProvider.Notify, &ThemeNotify);
  EXPECT_EQ(mThemeProvider.GetColor, &ThemeGetColor);
  EXPECT_EQ(mThemeProvider.MapImage, &ThemeMapImage);
  EXPECT_EQ(mThemeProvider.StyleObject, &ThemeStyleObject);
  EXPECT_EQ(mThemeProvider.GetValue, &ThemeGetValue);
  EXPECT_EQ(mThemeProvider.GetRect, &ThemeGetRect);
  EXPECT_EQ(mThemeProvider.Reserved, &ThemeReserved);
}

TEST(ThemeProviderRecord, GuidIsTheInterfaceIdentifier) {
  const UINT8 Bytes[16] = {0x1B, 0x1D, 0x79, 0x80, 0x8B, 0xD3, 0xE9, 0x44,
                           0x9A, 0xC1, 0xA4, 0xE0, 0xC9, 0x0C, 0x6E, 0x06};
  EXPECT_EQ(memcmp(&gThemeProviderProtocolGuid, Bytes, sizeof(Bytes)), 0);
}

TEST(ThemeProviderRecord, QueriesWithoutHostTablesWorkBeforeTheHostAttaches) {
  FreshDriverState Fresh;  // no host pointers written
  EXPECT_EQ(mThemeProvider.Reserved(), 0u);
  EXPECT_EQ(mThemeProvider.GetColor(0), 0xFFE5E2E1u);
  EXPECT_EQ(mThemeProvider.MapImage(1), 8u);
  EXPECT_EQ(mThemeProvider.GetValue(3, 0), 16u);
  EXPECT_EQ(mThemeProvider.GetRect(10, nullptr), EFI_INVALID_PARAMETER);
}

}  // namespace
