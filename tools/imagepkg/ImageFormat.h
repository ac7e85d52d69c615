// The two image formats that the package carries.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>

#include "tools/imagepkg/ByteIo.h"

namespace imagepkg {

enum class ImageFormat : uint8_t { Png, Jpeg };

constexpr const char *FormatName(ImageFormat Format) {
  return Format == ImageFormat::Jpeg ? "JPEG" : "PNG";
}

// Twice the largest theme image, and small enough that a hostile header
// cannot make a decoder allocate much or grind for long.
inline constexpr uint32_t kMaxImageDimension = 4096;

inline constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The format a file's first bytes announce (the PNG signature, or a JPEG
// start-of-image marker and the next marker's first byte); nothing for
// anything else. The format is taken from the content, never from a name.
inline std::optional<ImageFormat> FormatOfContent(ByteView Data) {
  if (Data.size() >= sizeof(kPngSignature) && memcmp(Data.data(), kPngSignature, sizeof(kPngSignature)) == 0) {
    return ImageFormat::Png;
  }
  if (Data.size() >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF) {
    return ImageFormat::Jpeg;
  }
  return std::nullopt;
}

}  // namespace imagepkg
