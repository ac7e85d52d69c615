// The theme's constant data: palette, layout rectangles, image map and value
// table. The tables are constexpr so that host tools can read them too.
#pragma once

#include "host/HostTypes.h"

#define THEME_COLOR_COUNT 116
#define THEME_RECT_COUNT 10
#define THEME_IMAGE_COUNT 168
#define THEME_MAPPED_HOST_ID_COUNT 167

extern const UINT32 mThemeColors[THEME_COLOR_COUNT];
extern const THEME_RECT mThemeRects[THEME_RECT_COUNT];

// One row of the image map: a run of consecutive host image ids beside
// either a run of theme image ids of the same length (mapped element by
// element) or a single theme image id (shared by every host id of the run).
typedef struct {
  UINT16 FirstHostId;
  UINT16 LastHostId;
  UINT8 FirstThemeId;
  UINT8 LastThemeId;
} THEME_IMAGE_RUN;

// Rows in ascending host id order, so that a lookup can start at the run
// that the block index below names and walk forward from it.
inline constexpr THEME_IMAGE_RUN kThemeImageMap[] = {
    // Host ids    Theme ids
    {   1,    1,   8,   8},
    {   9,   12,   1,   4},
    {  20,   22,   5,   7},
    { 776,  776,   9,   9},
    { 778,  779,  95,  96},
    { 808,  811,  10,  13},
    { 818,  820,  97,  99},
    { 828,  829,  14,  14},  // two host ids, one image
    { 830,  831,  16,  17},
    { 832,  832,  15,  15},
    { 838,  839,  18,  19},
    { 848,  848,  56,  56},
    { 849,  849,  20,  20},
    {1039, 1042,  21,  24},
    {1049, 1050,  25,  26},
    {1054, 1056,  27,  29},
    {1104, 1108,  30,  34},
    {1114, 1115,  35,  36},
    {1281, 1283,  37,  39},
    {1285, 1285,  40,  40},
    {1291, 1292,  41,  42},
    {1330, 1330,  43,  43},
    {1537, 1542,  45,  50},
    {1544, 1545,  51,  52},
    {1852, 1852,  53,  53},
    {1854, 1854,  54,  54},
    {1857, 1857,  55,  55},
    {1862, 1862,  57,  57},
    {2049, 2049,  59,  59},
    {2053, 2055,  60,  62},
    {2059, 2059,  64,  64},
    {2110, 2110,  76,  76},
    {2228, 2236,  65,  73},
    {2237, 2237,  58,  58},
    {2238, 2239,  74,  75},
    {2241, 2242,  77,  78},
    {2314, 2315,  79,  80},
    {2324, 2325,  81,  82},
    {2334, 2335,  83,  84},
    {2354, 2355,  87,  88},
    {2364, 2365,  79,  80},  // same images as 2314-2315
    {2374, 2375,  87,  88},  // same images as 2354-2355
    {2384, 2385,  85,  86},
    {2569, 2571,  89,  91},
    {2590, 2590,  92,  92},
    {2611, 2611,  93,  93},
    {2630, 2630,  94,  94},
    {2818, 2820, 100, 102},
    {2826, 2826, 103, 103},
    {2828, 2829, 104, 105},
    {2836, 2837, 106, 107},
    {2850, 2852, 108, 110},
    {2856, 2861, 111, 116},
    {2866, 2872, 117, 123},
    {3083, 3084, 125, 125},  // two host ids, one image
    {3092, 3097, 126, 131},
    {3103, 3104, 132, 133},
    {3192, 3193, 124, 124},  // two host ids, one image
    {3594, 3603, 134, 143},
    {4608, 4608, 144, 144},
    {4609, 4609, 158, 158},
    {4610, 4610, 157, 157},
    {4611, 4611, 159, 159},
    {4618, 4618,  63,  63},
    {4619, 4619, 146, 146},
    {4620, 4620, 145, 145},
    {4621, 4621, 147, 147},
    {4629, 4629, 150, 150},
    {4630, 4630, 149, 149},
    {4631, 4631, 151, 151},
    {4639, 4639, 154, 154},
    {4640, 4640, 153, 153},
    {4641, 4641, 155, 155},
    {4649, 4650, 162, 163},
    {4651, 4651, 161, 161},
    {4652, 4652, 164, 164},
    {4661, 4661, 165, 165},
};

#define THEME_IMAGE_RUN_COUNT (sizeof(kThemeImageMap) / sizeof(kThemeImageMap[0]))

// The theme id that HostImageId maps to within Run, which must contain it.
constexpr UINT32 ThemeIdInRun(const THEME_IMAGE_RUN &Run, UINT32 HostImageId) {
  return Run.FirstThemeId == Run.LastThemeId ? Run.FirstThemeId
                                             : Run.FirstThemeId + (HostImageId - Run.FirstHostId);
}

// Every row is one of the two shapes, the rows ascend without overlap, and
// they name THEME_MAPPED_HOST_ID_COUNT host ids in all.
constexpr bool ImageMapIsWellFormed() {
  UINT32 HostIds = 0;
  for (UINTN Index = 0; Index < THEME_IMAGE_RUN_COUNT; Index++) {
    const THEME_IMAGE_RUN &Run = kThemeImageMap[Index];
    const UINT32 HostSpan = Run.LastHostId - Run.FirstHostId;
    const UINT32 ThemeSpan = Run.LastThemeId - Run.FirstThemeId;
    if (Run.LastHostId < Run.FirstHostId || (ThemeSpan != 0 && ThemeSpan != HostSpan)) {
      return false;
    }
    if (Run.FirstThemeId == 0 || Run.LastThemeId > THEME_IMAGE_COUNT) {
      return false;
    }
    if (Index > 0 && Run.FirstHostId <= kThemeImageMap[Index - 1].LastHostId) {
      return false;
    }
    HostIds += HostSpan + 1;
  }
  return HostIds == THEME_MAPPED_HOST_ID_COUNT;
}
static_assert(ImageMapIsWellFormed());

// A small direct index into the map: for each block of 64 host ids, the
// first run that ends inside or after the block. A lookup starts there and
// walks past at most the few runs that end earlier in the same block,
// instead of bisecting the whole map.
#define THEME_IMAGE_MAP_BLOCK_SHIFT 6
inline constexpr UINT32 kLastMappedHostId = kThemeImageMap[THEME_IMAGE_RUN_COUNT - 1].LastHostId;
#define THEME_IMAGE_MAP_BLOCKS ((kLastMappedHostId >> THEME_IMAGE_MAP_BLOCK_SHIFT) + 1)
static_assert(THEME_IMAGE_RUN_COUNT <= 256, "a run index must fit in a byte");

typedef struct {
  UINT8 FirstRun[THEME_IMAGE_MAP_BLOCKS];
} THEME_IMAGE_MAP_INDEX;

consteval THEME_IMAGE_MAP_INDEX IndexImageMap() {
  THEME_IMAGE_MAP_INDEX Index = {};
  UINTN Run = 0;
  for (UINT32 Block = 0; Block < THEME_IMAGE_MAP_BLOCKS; Block++) {
    while (kThemeImageMap[Run].LastHostId < (Block << THEME_IMAGE_MAP_BLOCK_SHIFT)) {
      Run++;
    }
    Index.FirstRun[Block] = (UINT8)Run;
  }
  return Index;
}
inline constexpr THEME_IMAGE_MAP_INDEX kThemeImageMapIndex = IndexImageMap();
