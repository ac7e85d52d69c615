#include "tools/preview/Canvas.h"

#include <algorithm>

namespace preview {

Pixmap::Pixmap(int32_t W, int32_t H, uint32_t Fill)
    : Width(std::max(W, 0)), Height(std::max(H, 0)), Argb(static_cast<size_t>(Width) * Height, Fill) {}

uint32_t BlendOver(uint32_t Under, uint32_t Argb, uint32_t Coverage) {
  const uint32_t SourceAlpha = (Argb >> 24) * Coverage / 255;
  if (SourceAlpha == 0) {
    return Under;
  }
  const uint32_t UnderAlpha = Under >> 24;
  const uint32_t OutAlpha = SourceAlpha + UnderAlpha * (255 - SourceAlpha) / 255;
  uint32_t Out = OutAlpha << 24;
  for (int Shift = 0; Shift < 24; Shift += 8) {
    const uint32_t S = (Argb >> Shift) & 0xFF;
    const uint32_t U = (Under >> Shift) & 0xFF;
    const uint32_t Mixed = (S * SourceAlpha * 255 + U * UnderAlpha * (255 - SourceAlpha)) / (OutAlpha * 255);
    Out |= std::min<uint32_t>(Mixed, 255) << Shift;
  }
  return Out;
}

void Canvas::Fill(int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Argb) {
  const int32_t Left = std::max(X, 0);
  const int32_t Top = std::max(Y, 0);
  const int32_t Right = std::min<int64_t>(int64_t{X} + W, Target_.Width);
  const int32_t Bottom = std::min<int64_t>(int64_t{Y} + H, Target_.Height);
  for (int32_t Row = Top; Row < Bottom; Row++) {
    for (int32_t Column = Left; Column < Right; Column++) {
      Target_.Argb[static_cast<size_t>(Row) * Target_.Width + Column] = Argb;
    }
  }
}

void Canvas::Blend(int32_t X, int32_t Y, uint32_t Argb, uint32_t Coverage) {
  if (Target_.Contains(X, Y)) {
    uint32_t &Pixel = Target_.Argb[static_cast<size_t>(Y) * Target_.Width + X];
    Pixel = BlendOver(Pixel, Argb, Coverage);
  }
}

void Canvas::Outline(int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Thickness, uint32_t Argb) {
  for (int32_t Row = Y; Row < Y + H; Row++) {
    for (int32_t Column = X; Column < X + W; Column++) {
      const bool Edge = Row < Y + Thickness || Row >= Y + H - Thickness || Column < X + Thickness ||
                        Column >= X + W - Thickness;
      if (Edge) {
        Blend(Column, Row, Argb);
      }
    }
  }
}

void Canvas::Checkerboard(int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Square) {
  for (int32_t Row = 0; Row < H; Row++) {
    for (int32_t Column = 0; Column < W; Column++) {
      const bool Dark = ((Row / Square) + (Column / Square)) % 2 != 0;
      Fill(X + Column, Y + Row, 1, 1, Dark ? 0xFFBFBFBF : 0xFFFFFFFF);
    }
  }
}

void Canvas::Draw(int32_t X, int32_t Y, const Pixmap &Source) {
  for (int32_t Row = 0; Row < Source.Height; Row++) {
    for (int32_t Column = 0; Column < Source.Width; Column++) {
      Blend(X + Column, Y + Row, Source.At(Column, Row));
    }
  }
}

void Canvas::DrawScaled(int32_t X, int32_t Y, int32_t W, int32_t H, const Pixmap &Source) {
  if (Source.Width == 0 || Source.Height == 0) {
    return;
  }
  for (int32_t Row = 0; Row < H; Row++) {
    const int32_t SourceRow = static_cast<int32_t>(int64_t{Row} * Source.Height / H);
    for (int32_t Column = 0; Column < W; Column++) {
      const int32_t SourceColumn = static_cast<int32_t>(int64_t{Column} * Source.Width / W);
      Blend(X + Column, Y + Row, Source.At(SourceColumn, SourceRow));
    }
  }
}

}  // namespace preview
