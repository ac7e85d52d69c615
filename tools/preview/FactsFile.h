// The facts file beside the sheet: what the sheet shows, as JSON, with the
// place of every item on the sheet, so that two builds can be compared
// without their drivers.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/preview/Preview.h"
#include "tools/preview/Sheet.h"

namespace preview {

using Json = nlohmann::ordered_json;

inline constexpr const char *kFactsFormat = "theme-preview facts";
inline constexpr int kFactsVersion = 1;

// A 64-bit FNV-1a hash, taken a 32-bit word at a time, of a pixmap's size
// and pixels, as 16 hex digits.
std::string PixelHash(const Pixmap &Pixels);

Json FactsToJson(const PreviewFacts &Facts, const Sheet &Drawn, const std::string &SheetFileName);

}  // namespace preview
