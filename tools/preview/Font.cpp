#include "tools/preview/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace preview {

namespace {

constexpr const char *kFontDirectory = "/usr/share/fonts/truetype/dejavu/";
constexpr const char *kFaceFiles[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf"};

}  // namespace

struct Fonts::Impl {
  FT_Library Library = nullptr;
  FT_Face Faces[3] = {};

  FT_Face Select(Face Which, int32_t PixelSize) {
    FT_Face F = Faces[static_cast<int>(Which)];
    FT_Set_Pixel_Sizes(F, 0, static_cast<FT_UInt>(PixelSize));
    return F;
  }
};

Fonts::Fonts() : Impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&Impl_->Library) != 0) {
    Error = "FreeType does not start";
    return;
  }
  for (int Index = 0; Index < 3; Index++) {
    const std::string Path = std::string(kFontDirectory) + kFaceFiles[Index];
    if (FT_New_Face(Impl_->Library, Path.c_str(), 0, &Impl_->Faces[Index]) != 0) {
      Error = "cannot open the font " + Path + " (Debian package fonts-dejavu-core)";
      return;
    }
  }
}

Fonts::~Fonts() {
  for (FT_Face F : Impl_->Faces) {
    if (F != nullptr) {
      FT_Done_Face(F);
    }
  }
  if (Impl_->Library != nullptr) {
    FT_Done_FreeType(Impl_->Library);
  }
}

int32_t Fonts::Draw(Pixmap &Target, int32_t X, int32_t Y, std::string_view Text, Face Which, int32_t PixelSize,
                    uint32_t Argb) {
  FT_Face F = Impl_->Select(Which, PixelSize);
  Canvas Paint(Target);
  const int32_t Baseline = Y + static_cast<int32_t>(F->size->metrics.ascender >> 6);
  int32_t PenX = X;
  for (const char Character : Text) {
    if (FT_Load_Char(F, static_cast<unsigned char>(Character), FT_LOAD_RENDER) != 0) {
      continue;
    }
    const FT_GlyphSlot Glyph = F->glyph;
    const FT_Bitmap &Bitmap = Glyph->bitmap;
    for (unsigned Row = 0; Row < Bitmap.rows; Row++) {
      for (unsigned Column = 0; Column < Bitmap.width; Column++) {
        const uint8_t Coverage = Bitmap.buffer[Row * Bitmap.pitch + Column];
        if (Coverage != 0) {
          Paint.Blend(PenX + Glyph->bitmap_left + static_cast<int32_t>(Column),
                      Baseline - Glyph->bitmap_top + static_cast<int32_t>(Row), Argb, Coverage);
        }
      }
    }
    PenX += static_cast<int32_t>(Glyph->advance.x >> 6);
  }
  return PenX - X;
}

int32_t Fonts::Measure(std::string_view Text, Face Which, int32_t PixelSize) {
  FT_Face F = Impl_->Select(Which, PixelSize);
  int32_t Width = 0;
  for (const char Character : Text) {
    if (FT_Load_Char(F, static_cast<unsigned char>(Character), FT_LOAD_DEFAULT) == 0) {
      Width += static_cast<int32_t>(F->glyph->advance.x >> 6);
    }
  }
  return Width;
}

}  // namespace preview
