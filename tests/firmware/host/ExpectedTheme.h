// What the host expects of the theme, written down here on its own rather
// than taken from the driver's tables, so that a fault in those tables
// shows up as a mismatch.
#pragma once

#include "platform/uefi/UefiBase.h"

// Whether the PCD reads that the driver's platform library makes at load
// are demanded in their exact order and widths (false accepts no reads).
inline constexpr BOOLEAN kDemandPcdReads = true;

inline constexpr UINT32 kHostInterfaceVersion = 40;
inline constexpr UINT32 kLiveSignature = 0x454D4854;     // "THME"
inline constexpr UINT32 kRetiredSignature = 0x4C4C554E;  // "NULL"
inline constexpr const char16_t kThemeName[] = u"Harbor Slate";
inline constexpr UINT64 kThemeInfo = 167;
inline constexpr EFI_STATUS kInvalidParameter = 0x8000000000000002ULL;

typedef struct {
  INT32 Index;
  UINT32 Argb;
} EXPECTED_COLOR;

inline constexpr EXPECTED_COLOR kColors[] = {
    {0, 0xFFE5E2E1},   {1, 0xFFFF8333},   {4, 0xFF707070},   {19, 0xFF9DA4A9},  {26, 0x20404040},
    {27, 0x80FF8333},  {28, 0x00000000},  {44, 0xF2363636},  {45, 0xF80A0300},  {47, 0xFFECEDEE},
    {56, 0xA8FFD800},  {59, 0xFF1A1C1E},  {92, 0x00E4E4E4},  {101, 0xFF27272A}, {103, 0xFFA1A1AA},
    {104, 0xFFE5E2E1}, {108, 0xFFFF8333}, {111, 0xFF9DA4A9}, {115, 0xFFA1A1AA}, {116, 0},
    {-1, 0},           {0x7FFFFFFF, 0},   {(INT32)0x80000000, 0},
};

typedef struct {
  UINT32 HostId;
  UINT32 ThemeId;
} EXPECTED_MAPPING;

inline constexpr EXPECTED_MAPPING kMappings[] = {
    {1, 8},       {9, 1},       {12, 4},      {777, 0},     {808, 10},    {828, 14},    {829, 14},
    {832, 15},    {1039, 21},   {1055, 28},   {1104, 30},   {1108, 34},   {2237, 58},   {2239, 75},
    {2240, 0},    {2364, 79},   {3083, 125},  {3192, 124},  {4608, 144},  {4652, 164},  {4661, 165},
    {4662, 0},    {0, 0},       {0xFFFFFFFF, 0},
    {0x10001, 0},  // host id 1 plus 2^16: a lookup that drops the high bits would answer 8
};

// The image map as a whole: scanning host ids 0..kMapScanEnd must find this
// many mapped ids, this many distinct theme images, and none of the
// theme images that no host id names.
inline constexpr UINT32 kMapScanEnd = 6000;
inline constexpr UINTN kMappedHostIds = 167;
inline constexpr UINTN kMappedThemeImages = 160;
inline constexpr UINT32 kUnnamedThemeImages[] = {44, 148, 152, 156, 160, 166, 167, 168};

typedef struct {
  INT32 Id;
  UINT64 Default;
  UINT64 Value;
} EXPECTED_VALUE;

inline constexpr EXPECTED_VALUE kValues[] = {
    {3, 0, 16},   {4, 0, 666},  {5, 0, 552},  {6, 0, 16},   {7, 0, 296},  {8, 0, 280},
    {10, 0, 1},   {29, 0, 1},   {30, 0, 1},   {32, 0, 552}, {33, 0, 276}, {18, 1, 0xFF1A1C1EFF1A1C1EULL},
    {18, 2, 2},   {18, 0, 0},   {9, 77, 77},  {-1, 5, 5},   {11, 0xDEADBEEFCAFEULL, 0xDEADBEEFCAFEULL},
    {3, 99, 16},  {35, 123, 123},
};

typedef struct {
  INT32 X, Y, Width, Height;
} EXPECTED_RECT;

inline constexpr EXPECTED_RECT kRects[10] = {
    {0, 0, 1920, 1080},  {1560, 0, 360, 88},  {1418, 158, 502, 834}, {776, 977, 1144, 103}, {40, 194, 1220, 620},
    {0, 0, 1920, 158},   {0, 1028, 203, 53},  {0, 949, 512, 131},    {100, 906, 892, 144},  {188, 555, 600, 338},
};

// The theme's images by id: format and pixel size.
inline constexpr UINTN kThemeImageCount = 168;

typedef struct {
  UINT8 FirstId;
  UINT8 LastId;
  UINT16 Width;
  UINT16 Height;
  BOOLEAN Jpeg;
} EXPECTED_IMAGES;

inline constexpr EXPECTED_IMAGES kImages[] = {
    {1, 1, 200, 40, 0},     {2, 4, 390, 76, 0},     {5, 7, 330, 76, 0},     {8, 8, 1920, 1080, 1},
    {9, 9, 111, 1, 1},      {10, 13, 16, 33, 0},    {14, 17, 16, 16, 0},    {18, 19, 18, 18, 0},
    {20, 20, 28, 25, 0},    {21, 22, 12, 12, 0},    {23, 24, 14, 12, 0},    {25, 26, 34, 34, 0},
    {27, 29, 280, 46, 0},   {30, 34, 400, 60, 0},   {35, 36, 56, 30, 0},    {37, 39, 64, 64, 0},
    {40, 40, 440, 76, 0},   {41, 42, 24, 24, 0},    {43, 43, 420, 420, 0},  {44, 44, 16, 140, 0},
    {45, 45, 35, 45, 0},    {46, 46, 43, 43, 0},    {47, 47, 35, 45, 0},    {48, 52, 43, 43, 0},
    {53, 53, 193, 31, 0},   {54, 54, 18, 18, 0},    {55, 55, 10, 10, 0},    {56, 56, 20, 20, 0},
    {57, 57, 620, 348, 0},  {58, 58, 26, 26, 0},    {59, 59, 422, 228, 0},  {60, 60, 420, 187, 0},
    {61, 63, 420, 40, 0},   {64, 64, 40, 40, 0},    {65, 78, 26, 26, 0},    {79, 84, 56, 56, 0},
    {85, 86, 26, 26, 0},    {87, 88, 56, 56, 0},    {89, 91, 40, 40, 0},    {92, 94, 26, 26, 0},
    {95, 95, 567, 2, 1},    {96, 96, 2, 567, 1},    {97, 99, 22, 22, 0},    {100, 102, 20, 21, 0},
    {103, 103, 182, 134, 0}, {104, 105, 27, 27, 0}, {106, 107, 15, 15, 0},  {108, 110, 27, 27, 0},
    {111, 116, 11, 11, 0},  {117, 123, 58, 58, 0},  {124, 124, 957, 160, 0}, {125, 125, 214, 174, 0},
    {126, 128, 26, 26, 0},  {129, 131, 28, 28, 0},  {132, 133, 200, 200, 0}, {134, 137, 23, 21, 0},
    {138, 143, 23, 23, 0},  {144, 144, 4, 40, 0},   {145, 156, 26, 26, 0},  {157, 160, 101, 59, 0},
    {161, 164, 26, 26, 0},  {165, 165, 20, 20, 0},  {166, 166, 20, 4, 0},   {167, 168, 32, 32, 0},
};
