// Draws the preview sheet from the gathered facts: the main screen at each
// size with its layout rectangles and the images set-up left in the host's
// store, the style board, the palette and the image atlas. Every item's
// place on the sheet is kept, so a comparison can cut it out again.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tools/preview/Canvas.h"
#include "tools/preview/Font.h"
#include "tools/preview/Preview.h"

namespace preview {

struct SheetArea {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

struct Sheet {
  Pixmap Pixels;
  // Item key ("palette 47", "image 8", "style class 16", "screen 1920x1080",
  // "store 1920x1080 host 877") -> its place on the sheet.
  std::map<std::string, SheetArea> Areas;
};

Sheet DrawSheet(const PreviewFacts &Facts, Fonts &Text);

// Keys of the sheet's items, shared with the facts file and the comparison.
std::string PaletteKey(size_t Index);
std::string ImageKey(uint32_t Id);
std::string StyleKey(const std::string &RowLabel);
std::string ScreenKey(const ScreenFacts &Screen);
std::string StoreKey(const ScreenFacts &Screen, const std::string &ItemLabel);

}  // namespace preview
