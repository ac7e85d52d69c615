// The one form in which the driver's code writes a colour that it sends:
// Argb (the default theme's value). The theme the driver is built in maps
// each default colour to its own, when the driver is compiled, through the
// table that the theme tool generates from the role table
// (tools/theme/roles.py); the default theme maps every colour to itself. A
// colour the role table lacks stops the build. Numbers that are not colours
// (requests, masks, brush modifiers) are written as they are, never through
// Argb.
#pragma once

#include "platform/uefi/UefiBase.h"

typedef struct {
  UINT32 Default;
  UINT32 Theme;
} THEME_COLOR_MAPPING;

inline constexpr THEME_COLOR_MAPPING kThemeColorMap[] = {
#define THEME_COLOR(Default, Theme) {Default, Theme},
#include "ThemeColorMap.inc"
#undef THEME_COLOR
};

// The record's name in the theme (THEME_NAME_UNITS, from the same file):
// its UTF-16 code units and the terminating zero.
inline constexpr CHAR16 kThemeName[] = {THEME_NAME_UNITS};
static_assert(sizeof(kThemeName) <= 32 * sizeof(CHAR16), "a theme's name fits the record");

// Never defined: a consteval Argb that reaches it stops the build.
void ThemeColorMissingFromTheRoleTable(UINT32 Argb);

consteval UINT32 Argb(UINT32 DefaultArgb) {
  for (const THEME_COLOR_MAPPING &Mapping : kThemeColorMap) {
    if (Mapping.Default == DefaultArgb) {
      return Mapping.Theme;
    }
  }
  ThemeColorMissingFromTheRoleTable(DefaultArgb);
  return 0;
}
