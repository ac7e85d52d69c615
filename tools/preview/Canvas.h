// A plain ARGB pixel buffer (alpha in the top byte) with the few drawing
// steps the preview needs. Everything is clipped to the buffer, so callers
// may draw partly or wholly outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace preview {

struct Pixmap {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Argb;  // row-major, Width * Height

  Pixmap() = default;
  Pixmap(int32_t W, int32_t H, uint32_t Fill = 0);
  uint32_t At(int32_t X, int32_t Y) const { return Argb[static_cast<size_t>(Y) * Width + X]; }
  bool Contains(int32_t X, int32_t Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
};

// Source-over of Argb onto Under; Coverage (0..255) scales Argb's alpha.
uint32_t BlendOver(uint32_t Under, uint32_t Argb, uint32_t Coverage = 255);

class Canvas {
 public:
  explicit Canvas(Pixmap &Target) : Target_(Target) {}

  // Sets the pixels, alpha included (no blending).
  void Fill(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Argb);
  void Blend(int32_t X, int32_t Y, uint32_t Argb, uint32_t Coverage = 255);
  void Outline(int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Thickness, uint32_t Argb);
  // Grey squares that make transparency visible under what is drawn next.
  void Checkerboard(int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Square = 6);
  // Draws Source at its own size, blended.
  void Draw(int32_t X, int32_t Y, const Pixmap &Source);
  // Draws Source scaled to W x H by nearest neighbour, blended.
  void DrawScaled(int32_t X, int32_t Y, int32_t W, int32_t H, const Pixmap &Source);

 private:
  Pixmap &Target_;
};

}  // namespace preview
