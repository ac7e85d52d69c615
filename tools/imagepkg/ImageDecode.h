// Decodes a PNG or JPEG file into 32-bit ARGB pixels (alpha in the top byte),
// row by row from the top, for tools that draw with the theme's images.
// Only files that ProbeImage accepts should be handed here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagepkg/ByteIo.h"
#include "tools/imagepkg/ImageFormat.h"

namespace imagepkg {

struct DecodedImage {
  bool Ok = false;
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint32_t> Argb;  // Width * Height pixels
  std::string Error;
};

// Images larger than MaxDimension either way are refused before decoding.
DecodedImage DecodeImagePixels(ByteView Data, uint32_t MaxDimension = kMaxImageDimension);

// The PNG file (8-bit RGBA, not interlaced) of Width x Height ARGB pixels.
Bytes EncodePng(uint32_t Width, uint32_t Height, const std::vector<uint32_t> &Argb);

}  // namespace imagepkg
