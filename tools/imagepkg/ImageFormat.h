// The two image formats that the package carries.
#pragma once

#include <cstdint>

namespace imagepkg {

enum class ImageFormat : uint8_t { Png, Jpeg };

constexpr const char *FormatName(ImageFormat Format) {
  return Format == ImageFormat::Jpeg ? "JPEG" : "PNG";
}

}  // namespace imagepkg
