// What every theme image must be, by theme image id: format, pixel size and
// interlacing. Code elsewhere in the driver depends on these sizes and on the
// ids, so the packer refuses image files that differ and the inspector
// refuses a driver whose package differs.
#pragma once

#include <cstdint>

#include "data/ThemeTables.h"
#include "tools/imagepkg/ImageFormat.h"

namespace imagepkg {

// A run of consecutive theme image ids that share one format and size.
// Interlaced means Adam7 and applies to PNG only; every PNG is 8-bit RGBA
// and every JPEG is baseline with three components.
struct ImageRequirement {
  uint8_t FirstId;
  uint8_t LastId;
  ImageFormat Format;
  uint16_t Width;
  uint16_t Height;
  bool Interlaced;
};

constexpr ImageFormat PNG = ImageFormat::Png;
constexpr ImageFormat JPEG = ImageFormat::Jpeg;
constexpr bool ADAM7 = true;
constexpr bool PLAIN = false;

inline constexpr ImageRequirement mImageRequirements[] = {
    // Ids       Format  Width Height Interlacing
    {  1,   1, PNG,   200,   40, PLAIN},
    {  2,   4, PNG,   390,   76, PLAIN},
    {  5,   7, PNG,   330,   76, PLAIN},
    {  8,   8, JPEG, 1920, 1080, PLAIN},
    {  9,   9, JPEG,  111,    1, PLAIN},
    { 10,  13, PNG,    16,   33, PLAIN},
    { 14,  17, PNG,    16,   16, PLAIN},
    { 18,  19, PNG,    18,   18, PLAIN},
    { 20,  20, PNG,    28,   25, PLAIN},
    { 21,  22, PNG,    12,   12, PLAIN},
    { 23,  24, PNG,    14,   12, PLAIN},
    { 25,  26, PNG,    34,   34, PLAIN},
    { 27,  29, PNG,   280,   46, PLAIN},
    { 30,  34, PNG,   400,   60, PLAIN},
    { 35,  36, PNG,    56,   30, PLAIN},
    { 37,  39, PNG,    64,   64, PLAIN},
    { 40,  40, PNG,   440,   76, PLAIN},
    { 41,  42, PNG,    24,   24, PLAIN},
    { 43,  43, PNG,   420,  420, PLAIN},
    { 44,  44, PNG,    16,  140, PLAIN},
    { 45,  45, PNG,    35,   45, PLAIN},
    { 46,  46, PNG,    43,   43, PLAIN},
    { 47,  47, PNG,    35,   45, PLAIN},
    { 48,  52, PNG,    43,   43, PLAIN},
    { 53,  53, PNG,   193,   31, PLAIN},
    { 54,  54, PNG,    18,   18, PLAIN},
    { 55,  55, PNG,    10,   10, PLAIN},
    { 56,  56, PNG,    20,   20, PLAIN},
    { 57,  57, PNG,   620,  348, PLAIN},
    { 58,  58, PNG,    26,   26, PLAIN},
    { 59,  59, PNG,   422,  228, PLAIN},
    { 60,  60, PNG,   420,  187, PLAIN},
    { 61,  63, PNG,   420,   40, PLAIN},
    { 64,  64, PNG,    40,   40, PLAIN},
    { 65,  78, PNG,    26,   26, PLAIN},
    { 79,  84, PNG,    56,   56, PLAIN},
    { 85,  86, PNG,    26,   26, PLAIN},
    { 87,  88, PNG,    56,   56, PLAIN},
    { 89,  91, PNG,    40,   40, PLAIN},
    { 92,  94, PNG,    26,   26, PLAIN},
    { 95,  95, JPEG,  567,    2, PLAIN},
    { 96,  96, JPEG,    2,  567, PLAIN},
    { 97,  99, PNG,    22,   22, PLAIN},
    {100, 102, PNG,    20,   21, ADAM7},
    {103, 103, PNG,   182,  134, PLAIN},
    {104, 105, PNG,    27,   27, ADAM7},
    {106, 107, PNG,    15,   15, ADAM7},
    {108, 110, PNG,    27,   27, PLAIN},
    {111, 116, PNG,    11,   11, ADAM7},
    {117, 123, PNG,    58,   58, PLAIN},
    {124, 124, PNG,   957,  160, PLAIN},
    {125, 125, PNG,   214,  174, PLAIN},
    {126, 128, PNG,    26,   26, PLAIN},
    {129, 131, PNG,    28,   28, PLAIN},
    {132, 133, PNG,   200,  200, PLAIN},
    {134, 137, PNG,    23,   21, PLAIN},
    {138, 143, PNG,    23,   23, PLAIN},
    {144, 144, PNG,     4,   40, PLAIN},
    {145, 156, PNG,    26,   26, PLAIN},
    {157, 160, PNG,   101,   59, PLAIN},
    {161, 164, PNG,    26,   26, PLAIN},
    {165, 165, PNG,    20,   20, PLAIN},
    {166, 166, PNG,    20,    4, PLAIN},
    {167, 168, PNG,    32,   32, PLAIN},
};

// The requirement for theme image Id, or nullptr when Id names no image.
constexpr const ImageRequirement *FindImageRequirement(uint32_t Id) {
  for (const ImageRequirement &Row : mImageRequirements) {
    if (Id >= Row.FirstId && Id <= Row.LastId) {
      return &Row;
    }
  }
  return nullptr;
}

// The rows cover 1..THEME_IMAGE_COUNT without gap or overlap, with four
// JPEG images and thirteen interlaced PNG images.
constexpr bool ImageRequirementsAreWellFormed() {
  uint32_t NextId = 1;
  uint32_t Jpegs = 0;
  uint32_t Interlaced = 0;
  for (const ImageRequirement &Row : mImageRequirements) {
    if (Row.FirstId != NextId || Row.LastId < Row.FirstId || Row.Width == 0 || Row.Height == 0) {
      return false;
    }
    if (Row.Format == JPEG && Row.Interlaced) {
      return false;
    }
    const uint32_t Count = Row.LastId - Row.FirstId + 1u;
    Jpegs += Row.Format == JPEG ? Count : 0;
    Interlaced += Row.Interlaced ? Count : 0;
    NextId = Row.LastId + 1u;
  }
  return NextId == THEME_IMAGE_COUNT + 1 && Jpegs == 4 && Interlaced == 13;
}
static_assert(ImageRequirementsAreWellFormed());

}  // namespace imagepkg
