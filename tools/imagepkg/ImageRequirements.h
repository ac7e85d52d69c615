// What every theme image must be, by theme image id: format, pixel size and
// interlacing. Code elsewhere in the driver depends on these sizes and on the
// ids, so the packer refuses image files that differ and the inspector
// refuses a driver whose package differs. The rows are generated at
// configure time from data/images/manifest.tsv, the one place they are
// written.
#pragma once

#include <cstdint>
#include <iterator>

#include "tools/imagepkg/ImageFormat.h"

namespace imagepkg {

// Interlaced means Adam7 and applies to PNG only; every PNG is 8-bit RGBA
// and every JPEG is baseline with three components.
struct ImageRequirement {
  uint32_t Id;
  ImageFormat Format;
  uint16_t Width;
  uint16_t Height;
  bool Interlaced;
};

constexpr ImageFormat PNG = ImageFormat::Png;
constexpr ImageFormat JPEG = ImageFormat::Jpeg;
constexpr bool ADAM7 = true;
constexpr bool PLAIN = false;

inline constexpr ImageRequirement kImageRequirements[] = {
#include "tools/imagepkg/ImageTable.inc"
};

inline constexpr uint32_t kThemeImageCount = std::size(kImageRequirements);

// The requirement for theme image Id, or nullptr when Id names no image.
constexpr const ImageRequirement *FindImageRequirement(uint32_t Id) {
  return Id >= 1 && Id <= kThemeImageCount ? &kImageRequirements[Id - 1] : nullptr;
}

// Row k is image k (the manifest's own order), and only PNGs are interlaced.
constexpr bool ImageRequirementsAreWellFormed() {
  uint32_t Id = 1;
  for (const ImageRequirement &Row : kImageRequirements) {
    if (Row.Id != Id++ || Row.Width == 0 || Row.Height == 0 || (Row.Format == JPEG && Row.Interlaced)) {
      return false;
    }
  }
  return true;
}
static_assert(ImageRequirementsAreWellFormed());

}  // namespace imagepkg
