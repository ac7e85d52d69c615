// The record as the host finds it in the loaded image, before the host has
// written any of its pointers: its name, version and theme info, and each
// operation answering through its own slot.
#include <gtest/gtest.h>

#include "fakes/DriverState.h"

namespace {

TEST(ThemeProviderRecord, HoldsItsLoadTimeValuesAndAnswersThroughItsSlotsBeforeTheHostAttaches) {
  FreshDriverState Fresh;
  const char16_t Expected[THEME_NAME_LENGTH] = u"Harbor Slate";
  EXPECT_EQ(memcmp(mThemeProvider.Name, Expected, sizeof(Expected)), 0) << "twelve characters, zeros after";
  EXPECT_EQ(mThemeProvider.Version, 40u);
  EXPECT_EQ(memcmp(&mThemeProvider.Signature, "THME", 4), 0);
  EXPECT_EQ(mThemeProvider.ThemeInfo, 167u);
  EXPECT_EQ(mThemeProvider.UiTable, nullptr);
  EXPECT_EQ(mThemeProvider.ServiceTable, nullptr);

  // Answers that tell the operations apart, none of which needs the host.
  EXPECT_EQ(mThemeProvider.Notify(4), EFI_INVALID_PARAMETER);
  EXPECT_EQ(mThemeProvider.GetColor(115), 0xFFA1A1AAu);
  EXPECT_EQ(mThemeProvider.MapImage(1), 8u);
  EXPECT_EQ(mThemeProvider.StyleObject(0, 0, 0, 0), 0u);
  EXPECT_EQ(mThemeProvider.GetValue(3, 0), 16u);
  EXPECT_EQ(mThemeProvider.GetRect(10, nullptr), EFI_INVALID_PARAMETER);
  EXPECT_EQ(mThemeProvider.Reserved(), 0u);
}

}  // namespace
