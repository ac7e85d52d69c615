// Compares the facts of two builds: palette entries, layout rectangles,
// values, image-map entries, images pixel by pixel, the host store, and the
// styling rows call by call. Every change is named in text; a picture puts
// each changed item of the old sheet beside the new one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/preview/FactsFile.h"

namespace preview {

class Fonts;

struct Change {
  std::string Text;
  std::string AreaKey;  // the item on both sheets, when it has one
};

struct Comparison {
  std::vector<Change> Changes;
  // One line for each part of the facts: what changed in it, or that it is
  // unchanged, or unchanged apart from colour values. A re-coloured theme
  // shows here that layout, metrics, the image map and the styling
  // structure stayed as they were.
  std::vector<std::string> Summary;
  std::string Error;  // the inputs cannot be compared
};

// OldSheet and NewSheet are the sheets beside the facts; either may be
// empty, and then images are compared by their hashes alone.
Comparison CompareFacts(const Json &Old, const Json &New, const Pixmap &OldSheet, const Pixmap &NewSheet);

// The same, with the sheets asked for only when a pixel count needs them;
// the reader keeps them.
struct SheetPair {
  const Pixmap *Old;
  const Pixmap *New;
};
using SheetReader = std::function<SheetPair()>;
Comparison CompareFacts(const Json &Old, const Json &New, const SheetReader &ReadSheets);

// The widest and tallest sheet the tool reads back.
inline constexpr int32_t kLargestSheet = 1 << 15;

// The facts in a file, checked for format and version, for a sheet file
// and for areas that lie on a sheet.
std::optional<Json> ReadFacts(const std::string &Path, std::string &Error);

// Each changed item with an area: its label, old on the left, new on the right.
Pixmap DrawComparison(const Comparison &Result, const Json &Old, const Json &New, const Pixmap &OldSheet,
                      const Pixmap &NewSheet, Fonts &Text);

}  // namespace preview
