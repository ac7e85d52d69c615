// Test images made at test time with libpng and libjpeg, in any shape the
// tests need (including the wrong ones), and whole image sets on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/imagepkg/ByteIo.h"

namespace fixtures {

using imagepkg::Bytes;

struct PngShape {
  uint32_t Width;
  uint32_t Height;
  bool Interlaced = false;
  int ColorType = 6;  // RGBA
  int BitDepth = 8;
  bool WithTextChunk = false;  // a tEXt chunk, which a theme image must not carry
};

struct JpegShape {
  uint32_t Width;
  uint32_t Height;
  bool Progressive = false;
  int Components = 3;
  bool WithApp1 = false;  // an EXIF APP1 segment, which a theme image must not carry
};

// Pixels vary with Seed, so that images of the same size differ.
Bytes EncodePng(const PngShape &Shape, uint32_t Seed = 0);
Bytes EncodeJpeg(const JpegShape &Shape, uint32_t Seed = 0);

// A file that meets the requirement of theme image Id.
Bytes ValidImageFor(uint32_t Id);

// Writes 168 valid images and their manifest into Folder.
void WriteSyntheticImageSet(const std::filesystem::path &Folder);

void WriteFile(const std::filesystem::path &Path, imagepkg::ByteView Data);
Bytes ReadFile(const std::filesystem::path &Path);

}  // namespace fixtures
