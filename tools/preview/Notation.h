// How the preview writes numbers and rectangles in its call lines: the way
// the styling tables write them (colours and codes in hex, small values and
// indices in decimal).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "host/HostTypes.h"

namespace preview {

// Values below 10 in decimal; others in hex, 32-bit ones with eight digits.
inline std::string Number(uint64_t Value) {
  char Text[24];
  if (Value < 10) {
    snprintf(Text, sizeof(Text), "%llu", static_cast<unsigned long long>(Value));
  } else if (Value <= 0xFFFF || Value > 0xFFFFFFFF) {
    snprintf(Text, sizeof(Text), "0x%llX", static_cast<unsigned long long>(Value));
  } else {
    snprintf(Text, sizeof(Text), "0x%08llX", static_cast<unsigned long long>(Value));
  }
  return Text;
}

// A palette colour: always eight hex digits, so columns of colours line up.
inline std::string ArgbText(uint32_t Argb) {
  char Text[12];
  snprintf(Text, sizeof(Text), "0x%08X", Argb);
  return Text;
}

// Request codes, kinds and indices: decimal, indices signed.
inline std::string Decimal(uint64_t Value) { return std::to_string(Value); }
inline std::string SignedNumber(uint64_t Value) { return std::to_string(static_cast<int64_t>(Value)); }

inline std::string RectText(const HOST_RECT &Rect) {
  return "(" + std::to_string(Rect.Left) + ", " + std::to_string(Rect.Top) + ", " + std::to_string(Rect.Right) + ", " +
         std::to_string(Rect.Bottom) + ")";
}

}  // namespace preview
