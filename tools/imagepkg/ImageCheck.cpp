#include "tools/imagepkg/ImageCheck.h"

#include <cstdio>
#include <string>

namespace imagepkg {

namespace {

constexpr int kColorTypeRgba = 6;

std::string SizeText(uint32_t Width, uint32_t Height) {
  return std::to_string(Width) + "x" + std::to_string(Height);
}

const char *ColorTypeName(int ColorType) {
  switch (ColorType) {
    case 0:
      return "greyscale";
    case 2:
      return "RGB";
    case 3:
      return "palette";
    case 4:
      return "greyscale with alpha";
    case kColorTypeRgba:
      return "RGBA";
    default:
      return "unknown";
  }
}

std::string FrameName(uint8_t Marker) {
  char Text[48];
  switch (Marker) {
    case 0xC0:
      return "baseline (SOF0)";
    case 0xC1:
      return "extended sequential (SOF1)";
    case 0xC2:
      return "progressive (SOF2)";
    case 0xC3:
      return "lossless (SOF3)";
    default:
      std::snprintf(Text, sizeof(Text), "frame marker 0x%02X", Marker);
      return Text;
  }
}

}  // namespace

std::vector<std::string> CompareWithRequirement(const ImageFacts &Facts, const ImageRequirement &Required) {
  std::vector<std::string> Problems;
  if (Facts.Format != Required.Format) {
    Problems.push_back(std::string("content is ") + FormatName(Facts.Format) + ", expected " +
                       FormatName(Required.Format));
    return Problems;
  }
  if (Facts.Width != Required.Width || Facts.Height != Required.Height) {
    Problems.push_back("size " + SizeText(Facts.Width, Facts.Height) + ", expected " +
                       SizeText(Required.Width, Required.Height));
  }
  if (Facts.Format == ImageFormat::Png) {
    if (Facts.ColorType != kColorTypeRgba) {
      Problems.push_back("PNG colour type " + std::to_string(Facts.ColorType) + " (" +
                         ColorTypeName(Facts.ColorType) + "), expected 6 (RGBA)");
    }
    if (Facts.BitDepth != 8) {
      Problems.push_back("bit depth " + std::to_string(Facts.BitDepth) + ", expected 8");
    }
    if (Facts.Interlaced != Required.Interlaced) {
      Problems.push_back(Facts.Interlaced ? "Adam7-interlaced, expected not interlaced"
                                          : "not interlaced, expected Adam7 interlacing");
    }
    if (!Facts.ExtraChunks.empty()) {
      std::string Names;
      for (const std::string &Name : Facts.ExtraChunks) {
        Names += (Names.empty() ? "" : ", ") + Name;
      }
      Problems.push_back("PNG holds chunks beyond IHDR, IDAT and IEND: " + Names);
    }
  } else {
    if (Facts.FrameMarker != 0xC0) {
      Problems.push_back("JPEG frame is " + FrameName(Facts.FrameMarker) + ", expected baseline (SOF0)");
    }
    if (Facts.Components != 3) {
      Problems.push_back(std::to_string(Facts.Components) + " colour components, expected 3");
    }
    if (Facts.HasApp1) {
      Problems.push_back("JPEG holds an APP1 (EXIF or XMP) segment");
    }
  }
  return Problems;
}

}  // namespace imagepkg
