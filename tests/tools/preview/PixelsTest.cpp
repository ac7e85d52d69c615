// The pixel primitives under the sheet: blending and the PNG and JPEG
// reader and writer that carry images in and sheets out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/imagepkg/ImageDecode.h"
#include "tools/preview/Canvas.h"

namespace preview {
namespace {

TEST(Pixels, BlendOverCases) {
  const struct {
    const char *Name;
    uint32_t Under, Over, Coverage, Expected;
  } Cases[] = {
      {"transparent source leaves the pixel", 0xFF123456, 0x00FFFFFF, 255, 0xFF123456},
      {"opaque source replaces it", 0xFF123456, 0xFFABCDEF, 255, 0xFFABCDEF},
      {"no coverage leaves it", 0xFF123456, 0xFFABCDEF, 0, 0xFF123456},
      {"half white over opaque black", 0xFF000000, 0x80FFFFFF, 255, 0xFF808080},
      {"opaque white at half coverage", 0xFF000000, 0xFFFFFFFF, 128, 0xFF808080},
      {"anything over nothing keeps its own colour", 0x00000000, 0x80FF8333, 255, 0x80FF8333},
  };
  for (const auto &Case : Cases) {
    EXPECT_EQ(BlendOver(Case.Under, Case.Over, Case.Coverage), Case.Expected) << Case.Name;
  }
}

TEST(Pixels, PngRoundTripKeepsEveryChannel) {
  const std::vector<uint32_t> Argb = {0xFF000000, 0xFFFFFFFF, 0x80FF8333, 0xFF102030, 0x01020304, 0xFE7F8081};
  const imagepkg::Bytes Png = imagepkg::EncodePng(3, 2, Argb);
  ASSERT_FALSE(Png.empty());
  const imagepkg::DecodedImage Decoded = imagepkg::DecodeImagePixels(Png);
  ASSERT_TRUE(Decoded.Ok) << Decoded.Error;
  EXPECT_EQ(Decoded.Width, 3u);
  EXPECT_EQ(Decoded.Height, 2u);
  EXPECT_EQ(Decoded.Argb, Argb);
  EXPECT_EQ(imagepkg::EncodePng(3, 2, Argb), Png) << "equal pixels give equal files";
}

TEST(Pixels, DecoderRefusesWhatItCannotRead) {
  const imagepkg::Bytes Png = imagepkg::EncodePng(40, 30, std::vector<uint32_t>(40 * 30, 0xFF336699));
  const imagepkg::Bytes Truncated(Png.begin(), Png.begin() + static_cast<long>(Png.size() / 2));
  const std::string Gif = "GIF89a\x01\x00\x01\x00";
  const imagepkg::Bytes JpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  const struct {
    const char *Name;
    imagepkg::Bytes Data;
    uint32_t MaxDimension;
  } Cases[] = {
      {"empty", {}, 4096},
      {"another format", imagepkg::Bytes(Gif.begin(), Gif.end()), 4096},
      {"a PNG cut in half", Truncated, 4096},
      {"a JPEG that stops after its first marker", JpegStart, 4096},
      {"a PNG larger than allowed", Png, 32},
  };
  for (const auto &Case : Cases) {
    const imagepkg::DecodedImage Decoded = imagepkg::DecodeImagePixels(Case.Data, Case.MaxDimension);
    EXPECT_FALSE(Decoded.Ok) << Case.Name;
    EXPECT_NE(Decoded.Error, "") << Case.Name;
    EXPECT_TRUE(Decoded.Argb.empty()) << Case.Name;
  }
}

}  // namespace
}  // namespace preview
