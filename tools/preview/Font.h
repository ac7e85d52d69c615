// Text for the sheet: DejaVu through FreeType, rendered in grey levels and
// blended onto a pixmap. Rendering is deterministic for one FreeType build.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tools/preview/Canvas.h"

namespace preview {

enum class Face { Sans, SansBold, Mono };

class Fonts {
 public:
  // Opens the three faces; Error says which file failed when !Ok().
  Fonts();
  ~Fonts();
  Fonts(const Fonts &) = delete;
  Fonts &operator=(const Fonts &) = delete;

  bool Ok() const { return Error.empty(); }
  std::string Error;

  // Draws Text (UTF-8, ASCII in practice) with its top-left at (X, Y);
  // returns the advance width in pixels.
  int32_t Draw(Pixmap &Target, int32_t X, int32_t Y, std::string_view Text, Face Which, int32_t PixelSize,
               uint32_t Argb);
  int32_t Measure(std::string_view Text, Face Which, int32_t PixelSize);

 private:
  struct Impl;
  std::unique_ptr<Impl> Impl_;
};

}  // namespace preview
