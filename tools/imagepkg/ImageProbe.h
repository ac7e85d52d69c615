// Decodes one PNG or JPEG file completely and reports what it is. A file
// that a decoder only warns about counts as broken: the firmware host's
// decoder may be less forgiving than ours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagepkg/ByteIo.h"
#include "tools/imagepkg/ImageFormat.h"

namespace imagepkg {

struct ImageFacts {
  ImageFormat Format = ImageFormat::Png;
  uint32_t Width = 0;
  uint32_t Height = 0;
  // PNG only.
  int ColorType = -1;
  int BitDepth = 0;
  bool Interlaced = false;
  // Chunks other than IHDR, IDAT and IEND, by name, in file order.
  std::vector<std::string> ExtraChunks;
  // JPEG only: the start-of-frame marker (0xC0 baseline, 0xC2 progressive ...)
  // and the component count.
  uint8_t FrameMarker = 0;
  int Components = 0;
  // An APP1 segment (EXIF or XMP), whose orientation a host may or may not
  // apply.
  bool HasApp1 = false;
};

struct ProbeResult {
  bool Ok = false;
  ImageFacts Facts;
  std::string Error;  // why the file does not decode, when !Ok
};

// The format is taken from the content, never from a file name.
ProbeResult ProbeImage(ByteView Data);

}  // namespace imagepkg
