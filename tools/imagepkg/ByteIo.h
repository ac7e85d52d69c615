// Little-endian byte helpers. Readers check every access against the end of
// the buffer they were given, so that truncated or hostile files can only
// produce a refusal, never a read past the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace imagepkg {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

inline void AppendU8(Bytes &Out, uint8_t Value) { Out.push_back(Value); }

inline void AppendU16(Bytes &Out, uint16_t Value) {
  Out.push_back(static_cast<uint8_t>(Value));
  Out.push_back(static_cast<uint8_t>(Value >> 8));
}

inline void AppendU32(Bytes &Out, uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8) {
    Out.push_back(static_cast<uint8_t>(Value >> Shift));
  }
}

inline void AppendBytes(Bytes &Out, ByteView Data) { Out.insert(Out.end(), Data.begin(), Data.end()); }

inline void PutU32(Bytes &Out, size_t Offset, uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8) {
    Out.at(Offset++) = static_cast<uint8_t>(Value >> Shift);
  }
}

// True when [Offset, Offset + Length) lies inside a buffer of Size bytes,
// without overflow for any operand values.
constexpr bool RangeFits(uint64_t Size, uint64_t Offset, uint64_t Length) {
  return Offset <= Size && Length <= Size - Offset;
}

inline std::optional<uint8_t> ReadU8(ByteView Data, uint64_t Offset) {
  if (!RangeFits(Data.size(), Offset, 1)) {
    return std::nullopt;
  }
  return Data[Offset];
}

inline std::optional<uint16_t> ReadU16(ByteView Data, uint64_t Offset) {
  if (!RangeFits(Data.size(), Offset, 2)) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(Data[Offset] | Data[Offset + 1] << 8);
}

inline std::optional<uint32_t> ReadU32(ByteView Data, uint64_t Offset) {
  if (!RangeFits(Data.size(), Offset, 4)) {
    return std::nullopt;
  }
  uint32_t Value = 0;
  for (int Index = 3; Index >= 0; Index--) {
    Value = Value << 8 | Data[Offset + Index];
  }
  return Value;
}

// Data[Offset, Offset + Length), or nothing when that runs past the end.
inline std::optional<ByteView> SubView(ByteView Data, uint64_t Offset, uint64_t Length) {
  if (!RangeFits(Data.size(), Offset, Length)) {
    return std::nullopt;
  }
  return Data.subspan(Offset, Length);
}

}  // namespace imagepkg
