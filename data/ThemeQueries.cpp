// The four theme queries the host may make at any time: colour, image
// replacement, metric and layout rectangle. Constant data, no state.
#include "data/ThemeQueries.h"

#include "data/ThemeColorMap.h"
#include "data/ThemeTables.h"

namespace {

typedef struct {
  INT32 Id;
  UINT64 Value;
} THEME_VALUE;

constexpr THEME_VALUE kThemeValues[] = {
    { 3,  16},
    { 4, 666},
    { 5, 552},
    { 6,  16},
    { 7, 296},
    { 8, 280},
    {10,   1},
    {29,   1},
    {30,   1},
    {32, 552},
    {33, 276},
};

// Id 18 answers only a caller that offers 1; it is the dark panel colour
// (palette entries 59 and 60) in both halves.
constexpr INT32 kValueIdPanelColor = 18;
constexpr UINT64 kPanelColorPair = (UINT64)Argb(0xFF1A1C1E) << 32 | Argb(0xFF1A1C1E);

// Id 34 is not a value: it hands the caller's pointer to the host's AdjustRect.
constexpr INT32 kValueIdAdjustRect = 34;

}  // namespace

UINT32 EFIAPI ThemeGetColor(INT32 Index) {
  if (Index < 0 || Index >= THEME_COLOR_COUNT) {
    return 0;
  }
  return mThemeColors[Index];
}

UINTN EFIAPI ThemeMapImage(UINT32 HostImageId) {
  if (HostImageId > kLastMappedHostId) {
    return 0;
  }
  // The last run ends at kLastMappedHostId, so the walk stops inside the map.
  const THEME_IMAGE_RUN *Run = &kThemeImageMap[kThemeImageMapIndex.FirstRun[HostImageId >> THEME_IMAGE_MAP_BLOCK_SHIFT]];
  while (Run->LastHostId < HostImageId) {
    Run++;
  }
  return HostImageId >= Run->FirstHostId ? ThemeIdInRun(*Run, HostImageId) : 0;
}

UINT64 EFIAPI ThemeGetValue(INT32 Id, UINT64 Default) {
  if (Id == kValueIdPanelColor) {
    return Default == 1 ? kPanelColorPair : Default;
  }
  if (Id == kValueIdAdjustRect) {
    HostServices()->AdjustRect(reinterpret_cast<VOID *>(Default), 0, 12);
    return 0;
  }
  for (const THEME_VALUE &Entry : kThemeValues) {
    if (Entry.Id == Id) {
      return Entry.Value;
    }
  }
  return Default;
}

EFI_STATUS EFIAPI ThemeGetRect(INT32 Index, VOID *Buffer) {
  if (Buffer == nullptr || Index < 0 || Index >= THEME_RECT_COUNT) {
    return EFI_INVALID_PARAMETER;
  }
  HostServices()->ScaleRect(Buffer, &mThemeRects[Index]);
  return EFI_SUCCESS;
}
